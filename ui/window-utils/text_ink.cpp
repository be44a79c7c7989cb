#include "ui/window-utils/text_ink.h"

#include <algorithm>
#include <cstdint>

#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;

}  // namespace

SIZE TextInk(HFONT font, const std::wstring& text, UINT format, int wrapWidth) {
    if (text.empty()) return {0, 0};
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return {0, 0};
    ScopedSelection fontIn(dc.get(), font);
    RECT extent{0, 0, wrapWidth, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &extent, format | DT_CALCRECT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    // Room for whatever is drawn beyond the extent.
    const int width = std::max<int>(extent.right, wrapWidth) + metrics.tmHeight;
    const int height = extent.bottom + metrics.tmHeight;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedGdiObject bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {extent.right, extent.bottom};
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + static_cast<std::size_t>(width) * height, kWhite);
    {
        ScopedSelection bitmapIn(dc.get(), bitmap.get());
        SetTextColor(dc.get(), RGB(0, 0, 0));
        SetBkMode(dc.get(), TRANSPARENT);
        // Unclipped: what a control would cut off at its edge shows beyond the area.
        RECT area{0, 0, wrapWidth > 0 ? wrapWidth : width, height};
        DrawTextW(dc.get(), text.c_str(), -1, &area, format | DT_NOCLIP);
        GdiFlush();
    }
    SIZE ink{0, 0};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((pixels[static_cast<std::size_t>(y) * width + x] & kWhite) != kWhite) {
                ink.cx = std::max<LONG>(ink.cx, x + 1);
                ink.cy = std::max<LONG>(ink.cy, y + 1);
            }
        }
    }
    return ink;
}

int DigitWidth(HFONT font) {
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return 0;
    ScopedSelection fontIn(dc.get(), font);
    INT width = 0;
    GetCharWidth32W(dc.get(), L'0', L'0', &width);
    return width;
}

int LineHeight(HFONT font) {
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return 0;
    ScopedSelection fontIn(dc.get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

}  // namespace tarvello::ui
