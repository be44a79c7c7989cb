#include "tests/window-utils/system_colours.h"

#include <cstdio>

namespace tarvello::ui::testing {

namespace {

void Apply(const std::vector<SystemColour>& colours) {
    if (colours.empty()) return;
    std::vector<int> indices;
    std::vector<COLORREF> values;
    for (const SystemColour& c : colours) {
        indices.push_back(c.index);
        values.push_back(c.colour);
    }
    SetSysColors(static_cast<int>(colours.size()), indices.data(), values.data());
}

}  // namespace

Theme WhiteOnBlack() {
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    return {"WhiteOnBlack",
            {{COLOR_WINDOW, black},
             {COLOR_WINDOWTEXT, white},
             {COLOR_BTNFACE, black},
             {COLOR_BTNTEXT, white},
             {COLOR_GRAYTEXT, RGB(63, 242, 63)},
             {COLOR_3DSHADOW, RGB(128, 128, 128)},
             {COLOR_3DHIGHLIGHT, white},
             // As dark as the band: the rules on it must find another colour.
             {COLOR_INACTIVECAPTION, black},
             {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
             {COLOR_HIGHLIGHTTEXT, black},
             {COLOR_MENU, black},
             {COLOR_MENUTEXT, white}}};
}

ScopedTheme::ScopedTheme(const Theme& theme) {
    for (const SystemColour& c : theme.colours) before_.push_back({c.index, GetSysColor(c.index)});
    Apply(theme.colours);
}

ScopedTheme::~ScopedTheme() {
    Apply(before_);
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
