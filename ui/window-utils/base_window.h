#pragma once
// A window is a class: the window procedure finds the object through GWLP_USERDATA (stored
// at WM_NCCREATE) and hands every message to Derived::HandleMessage. No exception may cross
// the window procedure: anything that escapes a handler ends here as a message box.

#include <windows.h>

#include <exception>
#include <string>

#include "identity/identity.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

template <typename Derived>
class BaseWindow {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class once and creates the window with `this` as its creation parameter.
    HWND CreateBase(LPCWSTR className, LPCWSTR caption, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HWND owner, HMENU menu, HICON icon = nullptr,
                    HICON smallIcon = nullptr) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        if (!GetClassInfoExW(instance, className, &wc)) {
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = &BaseWindow::WindowProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = className;
            wc.hIcon = icon;
            wc.hIconSm = smallIcon;
            RegisterClassExW(&wc);
        }
        return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, owner, menu,
                               instance, this);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            self = static_cast<Derived*>(static_cast<BaseWindow*>(create->lpCreateParams));
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);

        LRESULT result = 0;
        try {
            result = self->HandleMessage(msg, wParam, lParam);
        } catch (const std::exception& e) {
            ReportUnexpected(hwnd, e.what());
        } catch (...) {
            ReportUnexpected(hwnd, "unknown error");
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    static void ReportUnexpected(HWND hwnd, const char* what) {
        const std::wstring text =
            L"An unexpected error occurred: " + ToWide(ShortenedText(TextFromUtf8(what), 200));
        // The last resort of every window: it speaks to the user directly, so that a fault in a
        // presenter cannot hide the fault it reports.
        MessageBoxW(hwnd, text.c_str(), L"" TARVELLO_TITLE, MB_OK | MB_ICONERROR);
    }
};

}  // namespace tarvello::ui
