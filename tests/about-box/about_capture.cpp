// Pictures of the About box for the demo.
//   about_capture.exe OUTPUT.bmp   opens the box over a plain owner window and saves what the
//                                  screen shows of it, frame included, as a 24-bit BMP
//   about_capture.exe --open-from-main
//                                  chooses Help > About in the running program's main window,
//                                  waits for the box and prints its screen rectangle
//                                  "left top width height" (the picture is taken outside)
//   about_capture.exe --close-from-main
//                                  closes the box and then the main window

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "identity/identity.h"
#include "ui/window-utils/message_presenter.h"
#include "box_driver.h"
#include "ui/about-box/frm_about.h"
#include "ui/main-window/main_window_layout.h"

namespace {

bool SaveWindowBitmap(HWND window, const char* path) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;

    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = ((width * 3 + 3) / 4) * 4;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    return std::fclose(out) == 0;
}

// Another program's windows appear in their own time; wait for them a bounded while.
template <typename Find>
HWND WaitFor(Find find) {
    for (int i = 0; i < 300; ++i) {
        if (HWND found = find()) return found;
        Sleep(100);
    }
    return nullptr;
}

HWND MainWindow() {
    return FindWindowW(nullptr, L"" TARVELLO_TITLE);
}

HWND OpenBox() {
    return FindWindowW(tarvello::ui::frmAbout::kClassName, nullptr);
}

// Help > About, as the menu item sends it.
void ChooseHelpAbout(HWND main) {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(tarvello::ui::main_window::kMnuHelpAbout, 0), 0);
}

int OpenFromMain() {
    HWND main = WaitFor(MainWindow);
    if (!main) {
        std::fprintf(stderr, "the main window did not open\n");
        return 1;
    }
    ChooseHelpAbout(main);
    HWND box = WaitFor([] {
        HWND found = OpenBox();
        return found && IsWindowVisible(found) ? found : nullptr;
    });
    if (!box) {
        std::fprintf(stderr, "the About box did not open\n");
        return 1;
    }
    RECT r{};
    GetWindowRect(box, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

int CloseFromMain() {
    if (HWND box = OpenBox()) PostMessageW(box, WM_CLOSE, 0, 0);
    WaitFor([] { return OpenBox() ? nullptr : GetDesktopWindow(); });
    if (HWND main = MainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--open-from-main") return OpenFromMain();
    if (argc == 2 && std::string(argv[1]) == "--close-from-main") return CloseFromMain();
    if (argc != 2) {
        std::fprintf(stderr, "usage: about_capture OUTPUT.bmp\n");
        return 2;
    }
    bool saved = false;
    tarvello::test::BoxDriver driver;
    driver.Then([&] {
        HWND box = tarvello::test::FindBox();
        saved = box && SaveWindowBitmap(box, argv[1]);
        PostMessageW(box, WM_CLOSE, 0, 0);
    });
    driver.ArmGuard();
    tarvello::ui::SystemMessagePresenter messages;
    tarvello::ui::frmAbout box(driver.owner(), messages);
    box.Form_Load();
    driver.DisarmGuard();
    return saved ? 0 : 1;
}
