#include "tests/support/modal_driver.h"

#include <utility>

namespace tarvello::test {

namespace {

constexpr UINT kRunStep = WM_APP + 1;
constexpr UINT_PTR kGuardTimer = 1;
constexpr UINT kGuardMs = 30000;
constexpr wchar_t kOwnerClass[] = L"TarvelloModalTestOwner";

}  // namespace

ModalDriver::ModalDriver(const wchar_t* boxClass) : boxClass_(boxClass) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ModalDriver::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    owner_ = CreateWindowExW(0, kOwnerClass, L"Owner", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200,
                             nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(owner_, SW_SHOWNORMAL);
    SetForegroundWindow(owner_);
}

ModalDriver::~ModalDriver() {
    if (owner_) DestroyWindow(owner_);
}

void ModalDriver::Then(std::function<void()> step) {
    steps_.push_back(std::move(step));
    PostMessageW(owner_, kRunStep, 0, 0);
}

void ModalDriver::ArmGuard() {
    guardFired_ = false;
    SetTimer(owner_, kGuardTimer, kGuardMs, nullptr);
}

void ModalDriver::DisarmGuard() {
    KillTimer(owner_, kGuardTimer);
}

LRESULT CALLBACK ModalDriver::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ModalDriver*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == kRunStep && !self->steps_.empty()) {
        auto step = std::move(self->steps_.front());
        self->steps_.pop_front();
        step();
        return 0;
    }
    if (self && msg == WM_TIMER && wParam == kGuardTimer) {
        KillTimer(hwnd, kGuardTimer);
        self->guardFired_ = true;
        if (HWND box = FindModal(self->boxClass_)) DestroyWindow(box);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND FindModal(const wchar_t* boxClass) {
    HWND box = FindWindowW(boxClass, nullptr);
    if (box && GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) return box;
    return nullptr;
}

void PressKey(UINT virtualKey) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(focus, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001));
}

void CopyClient(HWND window, HDC dc) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetClientRect(window, &r);
    HDC source = GetDC(window);
    BitBlt(dc, 0, 0, r.right, r.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
}

void PressAltKey(wchar_t letter) {
    // Bit 29: the Alt key is down.
    PostMessageW(GetFocus(), WM_SYSCHAR, letter, static_cast<LPARAM>(0x20000001));
}

}  // namespace tarvello::test
