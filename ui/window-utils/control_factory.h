#pragma once
// Turns a window's control table (control_table.h) into child windows.
//
// Use:
//   ControlSet controls_;   // a member of the window class, lives as long as the window
//   // in WM_CREATE (or right after CreateWindowEx):
//   controls_.Create(hwnd, kRows, std::size(kRows), WindowDpi(hwnd), FontSpec{L"Tahoma", 8.25},
//                    SIZE{kClientWidthTwips, kClientHeightTwips});
//   HWND ok = controls_.Handle(kIdOk);
//   // once the window has set texts of its own (or at once when it sets none):
//   controls_.Fit();
//   SIZE client = controls_.ClientSize();   // what the window's client area is to be
//   // on WM_DPICHANGED: controls_.ChangeDpi(HIWORD(wParam));
//   // in the window procedure, the control colours and theme changes (theme_colors.h):
//   case WM_CTLCOLORSTATIC: ... return ControlColors(hwnd, msg, wParam, lParam, {&controls_});
//   case WM_COMMAND: BN_CLICKED from an option button -> controls_.SetOptionOn(id), which turns
//       the other options of its frame off and says whether the option was off before.
//
// What each row becomes:
// - Label: a STATIC with the row's font and, if given, its opaque background and text colour
//   (system colours, theme_colors.h). Labels keep the table's stacking: a later row lies above
//   an earlier one.
// - Line: a thin STATIC bar in the line colour above every other control (horizontal or
//   vertical lines only; the bar is lineWidthPixels thick).
// - Frame: a group box; its options and boxes are its siblings, placed at the frame's offset.
// - OptionButton: a radio button. Each frame is one exclusive group that the set keeps itself
//   (the options of a frame need not be neighbours in tab order), and only the option that is
//   on is a tab stop, so a frame is one stop. Arrow keys move to the next or previous option
//   of the same frame and turn it on, as a click would (BN_CLICKED reaches the parent).
// - TextBox: a single-line EDIT. PushButton: a BS_PUSHBUTTON (never a default button).
// - Picture: a STATIC with SS_ICON; set its icon with STM_SETICON.
// - ListView: a report-style list view (the common controls must be set up for it).
// - DropDownList: a CBS_DROPDOWNLIST combo box holding the caption's lines as its items, the
//   first chosen; the row's height is the box as it stands closed.
// - CheckBox: a BS_AUTOCHECKBOX, checked when the row is initiallyOn.
// The controls lie where the table puts them, except where a caption needs more room at the
// window's DPI than the table gives it, measured in the control's own font as it is drawn: then
// it grows and the controls around it make room by the rule of layout_fit.h.
// Focusable controls are created in tab-index order, which is the order Tab follows with
// IsDialogMessage. Ids 1 and 2 (IDOK, IDCANCEL) must not be used: the dialog manager sends
// them for Enter and Escape.

#include <windows.h>

#include <cstddef>
#include <vector>

#include "ui/window-utils/control_table.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

class ControlSet {
public:
    ControlSet() = default;
    ~ControlSet();
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

    // Creates every row as a child of `parent` at `dpi`, where the table puts it; controls
    // without a font of their own use `defaultFont`. `clientTwips`: the window's client area as
    // the table has it; none for a set that lies within the controls of another. The captions
    // get their room with Fit, once the window's texts are in: each is measured once.
    void Create(HWND parent, const ControlSpec* rows, std::size_t count, int dpi,
                const FontSpec& defaultFont, SIZE clientTwips = {0, 0});
    void Create(HWND parent, const std::vector<ControlSpec>& rows, int dpi,
                const FontSpec& defaultFont, SIZE clientTwips = {0, 0}) {
        Create(parent, rows.data(), rows.size(), dpi, defaultFont, clientTwips);
    }

    // The DPI the controls are drawn at, and the client area they need there in pixels as the
    // last Fit found it: the table's, or more where a caption needed more room.
    int Dpi() const { return dpi_; }
    SIZE ClientSize() const { return client_; }
    // Makes room for the texts the controls hold now: once after Create, and again whenever
    // they change in a way that may need more or less room.
    void Fit();
    // For WM_DPICHANGED: fonts made for the new DPI, and the controls laid out again at it.
    void ChangeDpi(int dpi);

    // The child window of a row, or null for an unknown id.
    HWND Handle(int id) const;
    // The row of a child window or id, or null.
    const ControlSpec* RowOf(HWND control) const;
    const ControlSpec* Row(int id) const;
    const std::vector<ControlSpec>& Rows() const { return rows_; }

    // For WM_CTLCOLOR* of any kind of control (a label, an edit box, a button): the brush of a
    // row with colours of its own (and sets the DC's colours), or null when the control takes
    // the system's colours for its kind.
    HBRUSH ControlBrush(HDC dc, HWND control);
    // Lets go of the brushes made so far: after a theme change their colours are the old ones.
    void ForgetBrushes() { brushes_.clear(); }

    bool IsOptionOn(int id) const;
    // Turns an option on and the other options of its frame off. True when it was off.
    bool SetOptionOn(int id);

private:
    static constexpr UINT_PTR kOptionKeysSubclass = 1;
    struct Created {
        int id;
        HWND hwnd;
    };
    struct TextNeed {
        int width = 0, height = 0;  // 0: none
    };
    HFONT FontFor(const FontSpec& font, int dpi);
    HBRUSH BrushFor(COLORREF colour);
    HWND CreateOne(HWND parent, const ControlSpec& row, int dpi);
    RECT PixelRect(const ControlSpec& row, int dpi) const;
    TextNeed NeedOf(const ControlSpec& row, HWND control, const RECT& table) const;
    void Place(const Created& created, RECT rect) const;
    void ArrangeStacking() const;
    static LRESULT CALLBACK OptionKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR subclassId, DWORD_PTR refData);
    HWND NeighbourOption(int id, bool forward) const;

    std::vector<ControlSpec> rows_;
    std::vector<Created> windows_;
    FontSpec defaultFont_{};
    int dpi_ = 96;
    SIZE clientTwips_{0, 0};
    SIZE client_{0, 0};
    struct Font {
        FontSpec font;
        int dpi;
        ScopedGdiObject handle;
    };
    std::vector<Font> fonts_;
    struct Brush {
        COLORREF colour;
        ScopedGdiObject handle;
    };
    std::vector<Brush> brushes_;
};

}  // namespace tarvello::ui
