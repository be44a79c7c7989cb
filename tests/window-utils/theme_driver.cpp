// ContrastTheme: puts the Wine session of a prefix into a white-on-black contrast theme for a
// picture, and the colours it had back afterwards. Used by scripts/screenshot-contrast.
//
//   ContrastTheme.exe --set KEPT.txt        keeps the colours it changes in KEPT.txt, then sets
//                                           white on black
//   ContrastTheme.exe --put-back KEPT.txt   sets the colours kept in KEPT.txt again
//   ContrastTheme.exe --window-rect         waits until the utility's window is up and answers,
//                                           and prints its screen rectangle
//                                           "left top width height"
//
// The colours last for the session of the prefix's Wine server: a shutdown of the prefix puts
// them back as well. Exit codes: 0 done, 1 bad command line, 2 it could not be done.

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/window-utils/system_colours.h"

using namespace tarvello::ui::testing;

namespace {

int PrintWindowRect() {
    // The utility was started beside this program; its window comes in its own time.
    for (int i = 0; i < 600; ++i) {
        HWND window = FindWindowW(L"TarvelloRoundingMain", nullptr);
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
    if (argc == 2 && option == L"--window-rect") return PrintWindowRect();
    if (argc != 3) {
        std::fprintf(stderr, "usage: ContrastTheme --set|--put-back KEPT.txt | --window-rect\n");
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
