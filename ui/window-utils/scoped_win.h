#pragma once
// Thin owners for Win32 handles: each closes what it holds, and nothing more.

#include <windows.h>

#include <utility>

namespace tarvello::ui {

template <typename H, typename Traits>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(H h) : h_(h) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    ScopedHandle& operator=(ScopedHandle&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Traits::Invalid());
        }
        return *this;
    }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    H* put() {
        reset();
        return &h_;
    }
    H release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(H h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// CreateFileW answers INVALID_HANDLE_VALUE, not null, when it fails.
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};

// A memory DC of CreateCompatibleDC.
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

struct AcceleratorTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL h) { DestroyAcceleratorTable(h); }
};

using ScopedHandleKernel = ScopedHandle<HANDLE, KernelHandleTraits>;
using ScopedFile = ScopedHandle<HANDLE, FileHandleTraits>;
using ScopedKey = ScopedHandle<HKEY, RegKeyTraits>;
using ScopedGdiObject = ScopedHandle<HGDIOBJ, GdiObjectTraits>;
using ScopedIcon = ScopedHandle<HICON, IconTraits>;
using ScopedAccelerators = ScopedHandle<HACCEL, AcceleratorTraits>;
using ScopedMemoryDc = ScopedHandle<HDC, MemoryDcTraits>;

// Selects an object into a DC and the one it replaced back again however the scope is left.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelection() { SelectObject(dc_, previous_); }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Restores the previous cursor however the scope is left.
class ScopedCursor {
public:
    explicit ScopedCursor(LPCWSTR cursor) : previous_(SetCursor(LoadCursorW(nullptr, cursor))) {}
    ~ScopedCursor() { SetCursor(previous_); }
    ScopedCursor(const ScopedCursor&) = delete;
    ScopedCursor& operator=(const ScopedCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace tarvello::ui
