// ContrastTheme: puts the Wine session of a prefix into a white-on-black contrast theme for a
// picture, and the colours it had back afterwards; finds where a window of the utility is for a
// picture. Used by scripts/screenshot-contrast and scripts/screenshot-150.
//
//   ContrastTheme.exe --set KEPT.txt        keeps the colours it changes in KEPT.txt, then sets
//                                           white on black
//   ContrastTheme.exe --put-back KEPT.txt   sets the colours kept in KEPT.txt again
//   ContrastTheme.exe --window-rect [CLASS] waits until the utility's window (of CLASS, the
//                                           main window's by default) is up and answers, and
//                                           prints its screen rectangle "left top width height"
//
// The colours last for the session of the prefix's Wine server: a shutdown of the prefix puts
// them back as well. Exit codes: 0 done, 1 bad command line, 2 it could not be done.

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/window-utils/system_colours.h"

using namespace tarvello::ui::testing;

namespace {

// Kept colours in a text file, one "index red green blue" a line.
bool WriteTheme(const std::wstring& path, const Theme& theme) {
    FILE* out = _wfopen(path.c_str(), L"w");
    if (!out) return false;
    for (const SystemColour& c : theme.colours) {
        std::fprintf(out, "%d %d %d %d\n", c.index, GetRValue(c.colour), GetGValue(c.colour),
                     GetBValue(c.colour));
    }
    return std::fclose(out) == 0;
}

bool ReadTheme(const std::wstring& path, Theme& theme) {
    FILE* in = _wfopen(path.c_str(), L"r");
    if (!in) return false;
    int index = 0, red = 0, green = 0, blue = 0;
    while (std::fscanf(in, "%d %d %d %d", &index, &red, &green, &blue) == 4) {
        theme.colours.push_back({index, RGB(red, green, blue)});
    }
    std::fclose(in);
    return !theme.colours.empty();
}

int PrintWindowRect(const wchar_t* windowClass) {
    // The utility was started beside this program; its window comes in its own time.
    for (int i = 0; i < 600; ++i) {
        HWND window = FindWindowW(windowClass, nullptr);
        DWORD_PTR answer = 0;
        if (window && IsWindowVisible(window) &&
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
            RECT r{};
            GetWindowRect(window, &r);
            std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "ContrastTheme: the utility's window did not come up\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring option = argc > 1 ? argv[1] : L"";
    if (option == L"--window-rect" && argc <= 3) {
        return PrintWindowRect(argc == 3 ? argv[2] : L"TarvelloRoundingMain");
    }
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: ContrastTheme --set|--put-back KEPT.txt | --window-rect [CLASS]\n");
        return 1;
    }
    if (option == L"--set") {
        const Theme contrast = WhiteOnBlack();
        if (!WriteTheme(argv[2], CurrentColoursOf(contrast))) return 2;
        ApplyTheme(contrast);
        return 0;
    }
    if (option == L"--put-back") {
        Theme kept{"kept", {}};
        if (!ReadTheme(argv[2], kept)) return 2;
        ApplyTheme(kept);
        return 0;
    }
    return 1;
}
