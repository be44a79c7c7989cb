#include "tests/window-utils/system_colours.h"

#include <cstdio>

namespace tarvello::ui::testing {

void ApplyTheme(const Theme& theme) {
    if (theme.colours.empty()) return;
    std::vector<int> indices;
    std::vector<COLORREF> values;
    for (const SystemColour& c : theme.colours) {
        indices.push_back(c.index);
        values.push_back(c.colour);
    }
    SetSysColors(static_cast<int>(indices.size()), indices.data(), values.data());
}

Theme CurrentColoursOf(const Theme& theme) {
    Theme current{"current", {}};
    for (const SystemColour& c : theme.colours) {
        current.colours.push_back({c.index, GetSysColor(c.index)});
    }
    return current;
}

Theme WhiteOnBlack() {
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF grey = RGB(128, 128, 128);
    const COLORREF cyan = RGB(26, 235, 255);
    return {"WhiteOnBlack",
            {{COLOR_WINDOW, black},
             {COLOR_WINDOWTEXT, white},
             {COLOR_WINDOWFRAME, white},
             {COLOR_BTNFACE, black},
             {COLOR_BTNTEXT, white},
             {COLOR_GRAYTEXT, RGB(63, 242, 63)},
             {COLOR_3DSHADOW, grey},
             {COLOR_3DHIGHLIGHT, white},
             {COLOR_3DDKSHADOW, grey},
             {COLOR_3DLIGHT, RGB(192, 192, 192)},
             {COLOR_ACTIVECAPTION, black},
             {COLOR_GRADIENTACTIVECAPTION, black},
             {COLOR_CAPTIONTEXT, white},
             // As dark as the band: the rules on it must find another colour.
             {COLOR_INACTIVECAPTION, black},
             {COLOR_GRADIENTINACTIVECAPTION, black},
             {COLOR_INACTIVECAPTIONTEXT, white},
             {COLOR_ACTIVEBORDER, black},
             {COLOR_INACTIVEBORDER, black},
             {COLOR_MENU, black},
             {COLOR_MENUBAR, black},
             {COLOR_MENUTEXT, white},
             {COLOR_MENUHILIGHT, cyan},
             {COLOR_HIGHLIGHT, cyan},
             {COLOR_HIGHLIGHTTEXT, black},
             {COLOR_HOTLIGHT, RGB(255, 255, 0)},
             {COLOR_INFOBK, black},
             {COLOR_INFOTEXT, white},
             {COLOR_SCROLLBAR, black},
             {COLOR_APPWORKSPACE, black}}};
}

ScopedTheme::ScopedTheme(const Theme& theme) : before_(CurrentColoursOf(theme)) {
    ApplyTheme(theme);
}

ScopedTheme::~ScopedTheme() {
    ApplyTheme(before_);
}

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof lb, &lb);
    return lb.lbColor;
}

// A class brush below the first real handle is a system colour index plus one.
COLORREF ClassBackground(HWND window) {
    const auto brush = static_cast<ULONG_PTR>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
    if (brush > 0 && brush <= COLOR_MENUBAR + 1) return GetSysColor(static_cast<int>(brush - 1));
    return BrushColour(reinterpret_cast<HBRUSH>(brush));
}

std::string Describe(COLORREF colour) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

}  // namespace tarvello::ui::testing
