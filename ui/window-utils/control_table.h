#pragma once
// A window's controls as data: one row per control, in twips, mirroring the window's layout
// table. The rows are turned into child windows (and lines to paint) by CreateControls.

#include <windows.h>

#include <string>
#include <vector>

namespace tarvello::ui {

enum class ControlKind {
    Label,
    Line,
    Frame,
    OptionButton,
    TextBox,
    PushButton,
    Picture,
    ListView,
    DropDownList,
    CheckBox
};

// A font by face, size in points and weight; a null face means the window's default font.
struct FontSpec {
    const wchar_t* face = nullptr;
    double points = 8.25;
    int weight = FW_NORMAL;
};

// The font of the controls that name none, in every window of the program, so that the windows
// read alike.
inline constexpr FontSpec kProgramFont{L"Tahoma", 8.25, FW_NORMAL};

// A colour is a system colour (a GetSysColor index), read each time the control paints, so that
// it follows the user's theme: a white that is right in the default theme would be the wrong one
// for text in a light-on-dark contrast theme. A fixed colour (Rgb) is for a rule whose look is
// fixed in every theme, never for text or a fill: the About box's etched rule, a grey line over a
// white one, shows on any face.
struct ColorSpec {
    enum class Kind { Default, System, Rgb } kind = Kind::Default;
    int index = 0;  // System: the GetSysColor index; Rgb: the COLORREF
    static ColorSpec System(int index) { return {Kind::System, index}; }
    static ColorSpec Rgb(COLORREF colour) { return {Kind::Rgb, static_cast<int>(colour)}; }
};

struct ControlSpec {
    int id;               // child window id; lines and frames have ids too, for lookup
    const wchar_t* name;  // the control's name, e.g. L"optNearest"
    ControlKind kind;
    int container;  // id of the frame that holds it, or 0 for the window
    // Caption or initial text; nullptr for none. A drop-down list's items, apart by '\n'.
    const wchar_t* caption;
    // Left, Top, Width, Height in twips, relative to the container. For a line: x1, y1, x2, y2.
    int left, top, width, height;
    int tabIndex;              // -1 for controls that take no focus
    bool initiallyOn = false;  // option buttons; check boxes: checked
    FontSpec font{};
    ColorSpec background{};  // labels: opaque background colour; lines: what they lie on
    ColorSpec foreground{};  // labels: text colour; lines: line colour
    // Takes the foreground's place where a theme's foreground would not stand out against the
    // background (see theme_colors.h); none keeps the foreground whatever the theme.
    ColorSpec fallback{};
    int lineWidthPixels = 1;  // lines
    int labelledBy = 0;       // id of the control whose caption names this one to screen readers
    bool liveRegion = false;  // screen readers read its new text out, without taking the focus
    // Its name for screen readers where no one caption says what it is: a box in a grid, named
    // by its row and its column. Empty: the system's own name, or labelledBy's.
    std::wstring accessibleName{};
};

}  // namespace tarvello::ui
