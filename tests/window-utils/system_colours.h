#pragma once
// A theme for one test: system colours set for the test process with SetSysColors and put back
// when the test ends, however it ends.

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace tarvello::ui::testing {

struct SystemColour {
    int index;
    COLORREF colour;
};

struct Theme {
    const char* name;
    std::vector<SystemColour> colours;  // none: the colours the system has
};
inline void PrintTo(const Theme& theme, std::ostream* out) {
    *out << theme.name;
}

// White text on black, as a light-on-dark contrast theme has it.
Theme WhiteOnBlack();

// Sets the theme's colours for the session of the Wine server (Windows: until sign-out).
void ApplyTheme(const Theme& theme);
// The colours the system has now for the entries of `theme`.
Theme CurrentColoursOf(const Theme& theme);

class ScopedTheme {
public:
    explicit ScopedTheme(const Theme& theme);
    ~ScopedTheme();
    ScopedTheme(const ScopedTheme&) = delete;
    ScopedTheme& operator=(const ScopedTheme&) = delete;

private:
    Theme before_;
};

// A brush's colour, and the window class's background colour.
COLORREF BrushColour(HBRUSH brush);
COLORREF ClassBackground(HWND window);
std::string Describe(COLORREF colour);

}  // namespace tarvello::ui::testing
