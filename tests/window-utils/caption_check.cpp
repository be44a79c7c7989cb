#include "tests/window-utils/caption_check.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
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

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// Where Wine's button draws its caption at `dpi`: the room left of it and right of it.
int ButtonInsets(HWND button, HFONT font, int dpi) {
    switch (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) {
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return 12 * dpi / 96 + 1 + DigitWidth(font) / 2;
        case BS_GROUPBOX:
            return 7 + 7;
        default:
            return 3 + 3;  // the default button's border and the space inside the frame
    }
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
        const int margins = 2 * 3 * MetricForDpi(SM_CXEDGE, dpi);
        EXPECT_LE(TextInk(FontOf(header), name, DT_SINGLELINE).cx + margins,
                  ListView_GetColumnWidth(list, column))
            << "the header of column " << column << " is cut off";
    }
}

void ExpectCaptionWhole(HWND control, const RECT& r, int dpi) {
    const std::wstring text = WindowText(control);
    const std::wstring cls = ClassOf(control);
    const HFONT font = FontOf(control);
    const int width = r.right - r.left;
    SCOPED_TRACE(::testing::Message() << "control " << GetDlgCtrlID(control) << " '"
                                      << std::string(text.begin(), text.end()) << "'");
    if (_wcsicmp(cls.c_str(), WC_LISTVIEWW) == 0) ExpectHeadersWhole(control, dpi);
    if (text.empty() || (GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return;
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        if (r.bottom - r.top >= 2 * LineHeight(font)) {
            const SIZE ink = TextInk(font, text, DT_WORDBREAK | DT_EXPANDTABS, width);
            EXPECT_LE(ink.cx, width) << "wrapped past its edge";
            EXPECT_LE(ink.cy, r.bottom - r.top) << "its last lines cut off";
        } else {
            EXPECT_LE(TextInk(font, text, DT_SINGLELINE).cx, width);
        }
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        const int ink = TextInk(font, text, DT_SINGLELINE).cx;
        EXPECT_GT(ink, 0);
        EXPECT_LE(ink + ButtonInsets(control, font, dpi), width);
    }
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) && !EqualRect(&both, &a) && !EqualRect(&both, &b);
}

// What a control draws: a label's or an option's caption where it is drawn (the table lets an
// option's box reach into the text box below it, and the title's into the band's rule), any
// other control's whole rectangle.
RECT Drawn(HWND window, HWND control, int dpi) {
    const RECT r = RectIn(window, control);
    const std::wstring text = WindowText(control);
    const HFONT font = FontOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (text.empty()) return r;
    if (_wcsicmp(ClassOf(control).c_str(), L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON) {
        const SIZE ink = TextInk(font, text, DT_WORDBREAK | DT_EXPANDTABS, r.right - r.left);
        return {r.left, r.top, r.left + ink.cx, r.top + ink.cy};
    }
    const LONG_PTR type = style & BS_TYPEMASK;
    if (_wcsicmp(ClassOf(control).c_str(), L"Button") == 0 &&
        (type == BS_RADIOBUTTON || type == BS_AUTOCHECKBOX)) {
        const SIZE ink = TextInk(font, text, DT_SINGLELINE);
        const int top = r.top + (r.bottom - r.top - LineHeight(font)) / 2;
        return {r.left, top, r.left + ButtonInsets(control, font, dpi) + ink.cx, top + ink.cy};
    }
    return r;
}

}  // namespace

void ExpectCaptionsWhole(HWND window, int dpi) {
    const std::vector<HWND> controls = VisibleControls(window);
    ASSERT_FALSE(controls.empty());
    RECT client;
    GetClientRect(window, &client);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        ExpectCaptionWhole(controls[i], RectIn(window, controls[i]), dpi);
        const RECT drawn = Drawn(window, controls[i], dpi);
        if (!WindowText(controls[i]).empty()) {
            RECT inside;
            IntersectRect(&inside, &drawn, &client);
            EXPECT_TRUE(EqualRect(&inside, &drawn))
                << "control " << GetDlgCtrlID(controls[i]) << " lies outside the client area";
        }
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(Overlap(drawn, Drawn(window, controls[j], dpi)))
                << "controls " << GetDlgCtrlID(controls[i]) << " and " << GetDlgCtrlID(controls[j])
                << " overlap";
        }
    }
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_LE(frame.right - frame.left, 1280);
    EXPECT_LE(frame.bottom - frame.top, 1024 - 40 * 144 / 96);
}

void ExpectFollowsDpi(HWND window, int from, int dpi) {
    std::map<HWND, int> lines;
    for (HWND c : VisibleControls(window)) lines[c] = LineHeight(FontOf(c));
    RECT now;
    GetWindowRect(window, &now);
    RECT suggested{now.left + 10, now.top + 10,
                   now.left + 10 + MulDiv(now.right - now.left, dpi, from),
                   now.top + 10 + MulDiv(now.bottom - now.top, dpi, from)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_EQ((std::vector<LONG>{after.left, after.top}),
              (std::vector<LONG>{suggested.left, suggested.top}));
    for (const auto& [control, height] : lines) {
        if (WindowText(control).empty()) continue;
        EXPECT_NEAR(LineHeight(FontOf(control)), MulDiv(height, dpi, from), 2)
            << "the font of control " << GetDlgCtrlID(control) << " is not of " << dpi << " DPI";
    }
}

}  // namespace tarvello::ui::testing
