#include "tests/window-utils/caption_check.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/window-utils/dpi.h"
#include "ui/window-utils/text_ink.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {

namespace {

std::vector<HWND> VisibleControls(HWND window) {
    std::vector<HWND> controls;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c)) controls.push_back(c);
    }
    return controls;
}

RECT RectIn(HWND window, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Is(HWND control, const wchar_t* windowClass) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return _wcsicmp(name, windowClass) == 0;
}

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

bool IsOption(HWND control) {
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return Is(control, L"Button") && (type == BS_RADIOBUTTON || type == BS_AUTOCHECKBOX);
}

// A caption as Wine draws it at `dpi`: where its pixels fall, and the room its control gives
// them (an option's circle or box and half a digit before it, a frame's 7 pixels on either
// side, a button's frame and border).
struct Caption {
    RECT drawn, room;
};
std::optional<Caption> CaptionOf(HWND window, HWND control, int dpi) {
    const std::wstring text = WindowText(control);
    const RECT r = RectIn(window, control);
    const HFONT font = FontOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (text.empty()) return std::nullopt;
    if (Is(control, L"Static") && (style & SS_TYPEMASK) != SS_ICON) {
        const bool wraps = r.bottom - r.top >= 2 * LineHeight(font);
        const SIZE ink = TextInk(font, text, wraps ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE,
                                 wraps ? r.right - r.left : 0);
        return Caption{{r.left, r.top, r.left + ink.cx, r.top + ink.cy}, r};
    }
    if (!Is(control, L"Button")) return std::nullopt;
    const bool option = IsOption(control);
    const int inset = option ? 12 * dpi / 96 + 1 + DigitWidth(font) / 2
                      : (style & BS_TYPEMASK) == BS_GROUPBOX ? 7
                                                             : 3;
    const SIZE ink = TextInk(font, text, DT_SINGLELINE);
    const int top = r.top + (r.bottom - r.top - LineHeight(font)) / 2;
    return Caption{{r.left + inset, top, r.left + inset + ink.cx, top + ink.cy},
                   {r.left + inset, r.top, r.right - (option ? 0 : inset), r.bottom}};
}

// What a control covers: a label's or an option's caption where it is drawn (the table lets an
// option reach into the box below it, and the title into the band's rule), any other's whole.
RECT Covered(HWND window, HWND control, int dpi) {
    RECT r = RectIn(window, control);
    const auto caption = CaptionOf(window, control, dpi);
    if (caption && (Is(control, L"Static") || IsOption(control))) {
        return {r.left, caption->drawn.top, caption->drawn.right, caption->drawn.bottom};
    }
    return r;
}

bool Within(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

void ExpectHeadersWhole(HWND list, int dpi) {
    HWND header = ListView_GetHeader(list);
    for (int column = 0; column < Header_GetItemCount(header); ++column) {
        wchar_t name[64] = {};
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        item.pszText = name;
        item.cchTextMax = 64;
        ListView_GetColumn(list, column, &item);
        // Wine's header keeps three edges' widths free on either side of a caption.
        EXPECT_LE(
            TextInk(FontOf(header), name, DT_SINGLELINE).cx + 6 * MetricForDpi(SM_CXEDGE, dpi),
            ListView_GetColumnWidth(list, column))
            << "the header of column " << column << " is cut off";
    }
}

}  // namespace

void ExpectCaptionsWhole(HWND window, int dpi) {
    const std::vector<HWND> controls = VisibleControls(window);
    ASSERT_FALSE(controls.empty());
    RECT client;
    GetClientRect(window, &client);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int id = GetDlgCtrlID(controls[i]);
        if (Is(controls[i], WC_LISTVIEWW)) ExpectHeadersWhole(controls[i], dpi);
        if (const auto caption = CaptionOf(window, controls[i], dpi)) {
            EXPECT_GT(caption->drawn.right, caption->drawn.left) << "control " << id;
            EXPECT_TRUE(Within(caption->drawn, caption->room)) << "control " << id << " cut off";
            EXPECT_TRUE(Within(caption->drawn, client)) << "control " << id << " outside";
        }
        const RECT covered = Covered(window, controls[i], dpi);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const RECT other = Covered(window, controls[j], dpi);
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &covered, &other) && !EqualRect(&both, &covered) &&
                         !EqualRect(&both, &other))
                << "controls " << id << " and " << GetDlgCtrlID(controls[j]) << " overlap";
        }
    }
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_LE(frame.right - frame.left, 1280);
    EXPECT_LE(frame.bottom - frame.top, 1024 - 60);
}

void ExpectFollowsDpi(HWND window, int from, int dpi) {
    std::map<HWND, int> lines;
    for (HWND c : VisibleControls(window)) {
        if (!WindowText(c).empty()) lines[c] = LineHeight(FontOf(c));
    }
    RECT r;
    GetWindowRect(window, &r);
    RECT suggested{r.left + 10, r.top + 10, r.left + 10 + MulDiv(r.right - r.left, dpi, from),
                   r.top + 10 + MulDiv(r.bottom - r.top, dpi, from)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(window, &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top}),
              (std::vector<LONG>{suggested.left, suggested.top}));
    for (const auto& [control, height] : lines) {
        EXPECT_NEAR(LineHeight(FontOf(control)), MulDiv(height, dpi, from), 2)
            << "the font of control " << GetDlgCtrlID(control) << " is not of " << dpi << " DPI";
    }
}

}  // namespace tarvello::ui::testing
