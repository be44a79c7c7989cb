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

}  // namespace

void frmMain::MoveToTwips(float left, float top) {
    SetWindowPos(hwnd_, nullptr, TwipsToPixels(static_cast<double>(left), dpi_),
                 TwipsToPixels(static_cast<double>(top), dpi_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::Form_Load() {
    const std::int32_t top = StoredWholeNumber(settings_, L"Top").value_or(0);
    if (top >= 1) {
        const std::int32_t left = StoredWholeNumber(settings_, L"Left").value_or(0);
        MoveToTwips(static_cast<float>(left), static_cast<float>(top));
    } else {
        // Never saved, or saved at the top edge or above it: centre on the screen.
        RECT window;
        GetWindowRect(hwnd_, &window);
        const float width = PixelsToTwipsSingle(window.right - window.left, dpi_);
        const float height = PixelsToTwipsSingle(window.bottom - window.top, dpi_);
        const float screenWidth = PixelsToTwipsSingle(GetSystemMetrics(SM_CXSCREEN), dpi_);
        const float screenHeight = PixelsToTwipsSingle(GetSystemMetrics(SM_CYSCREEN), dpi_);
        MoveToTwips((screenWidth - width) / 2, (screenHeight - height) / 2);
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
