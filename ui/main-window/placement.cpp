// Where the window opens and what it remembers when the Close command ends the program.

#include <cstdint>
#include <optional>

#include "engine/numbers/rounding.h"
#include "ui/main-window/frm_main.h"
#include "ui/main-window/placement_text.h"
#include "ui/window-utils/module1.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/twips.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

namespace {

// A stored value that does not read as a whole number in range counts as missing, so a
// damaged setting never stops the program from starting.
std::optional<std::int32_t> StoredWholeNumber(const SettingsStore& store, const wchar_t* name) {
    std::optional<std::wstring> text = store.Read(name);
    if (!text) return std::nullopt;
    try {
        return ToWholeNumber(ToText(*text), UserNumberFormat());
    } catch (const EngineError&) {
        return std::nullopt;
    }
}

POINT PixelPlace(float left, float top, int dpi) {
    return {TwipsToPixels(static_cast<double>(left), dpi),
            TwipsToPixels(static_cast<double>(top), dpi)};
}

struct MonitorSearch {
    float left, top;
    std::optional<int> dpi;
};

BOOL CALLBACK TakeMonitorAtItsDpi(HMONITOR monitor, HDC, RECT* area, LPARAM data) {
    auto& search = *reinterpret_cast<MonitorSearch*>(data);
    const int dpi = MonitorDpi(monitor);
    const POINT at = PixelPlace(search.left, search.top, dpi);
    if (!PtInRect(area, at)) return TRUE;
    search.dpi = dpi;
    return FALSE;
}

// The place was kept in twips of the DPI of the monitor the window was on as it closed, which
// need not be the one it is made on: the DPI of the monitor that the place, read at that
// monitor's own DPI, lies on. None when it lies on no monitor (one taken away since).
std::optional<int> DpiOfMonitorAt(float left, float top) {
    MonitorSearch search{left, top, std::nullopt};
    EnumDisplayMonitors(nullptr, nullptr, TakeMonitorAtItsDpi, reinterpret_cast<LPARAM>(&search));
    return search.dpi;
}

}  // namespace

void frmMain::MoveToTwips(float left, float top, int dpi) {
    const POINT at = PixelPlace(left, top, dpi);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::Form_Load() {
    const std::int32_t top = StoredWholeNumber(settings_, L"Top").value_or(0);
    if (top >= 1) {
        const auto left = static_cast<float>(StoredWholeNumber(settings_, L"Left").value_or(0));
        const auto topTwips = static_cast<float>(top);
        // Off every monitor, it opens where the window's own DPI puts it.
        MoveToTwips(left, topTwips, DpiOfMonitorAt(left, topTwips).value_or(dpi_));
    } else {
        // Never saved, or saved at the top edge or above it: centre on the screen.
        RECT window;
        GetWindowRect(hwnd_, &window);
        const float width = PixelsToTwipsSingle(window.right - window.left, dpi_);
        const float height = PixelsToTwipsSingle(window.bottom - window.top, dpi_);
        const float screenWidth = PixelsToTwipsSingle(GetSystemMetrics(SM_CXSCREEN), dpi_);
        const float screenHeight = PixelsToTwipsSingle(GetSystemMetrics(SM_CYSCREEN), dpi_);
        MoveToTwips((screenWidth - width) / 2, (screenHeight - height) / 2, dpi_);
    }
    Module1::SetFormOnTop(hwnd_);
}

void frmMain::cmdClose_Click() {
    RECT window;
    GetWindowRect(hwnd_, &window);
    const std::wstring separator = ToWide(UserNumberFormat().decimalSeparator);
    auto save = [&](const wchar_t* name, int pixels) {
        // A store that cannot be written must not keep the user from closing.
        settings_.Write(name, PlacementText(PixelsToTwipsSingle(pixels, dpi_), separator));
    };
    save(L"Left", window.left);
    save(L"Top", window.top);
    save(L"Height", window.bottom - window.top);
    save(L"Width", window.right - window.left);
    DestroyWindow(hwnd_);
}

}  // namespace tarvello::ui
