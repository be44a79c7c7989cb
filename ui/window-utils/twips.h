#pragma once
// Layouts are written in twips (1/1440 inch), the unit the window tables use; this is the
// one place where they become pixels. At 96 DPI 15 twips make one pixel.

#include <windows.h>

#include <cmath>

#include "ui/window-utils/dpi.h"

namespace tarvello::ui {

constexpr int kTwipsPerInch = 1440;

inline int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, kTwipsPerInch);
}
inline int PixelsToTwips(int pixels, int dpi) {
    return MulDiv(pixels, kTwipsPerInch, dpi);
}

// Window positions are single-precision twips and may carry a fraction (a centred window).
inline int TwipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}
inline float PixelsToTwipsSingle(int pixels, int dpi) {
    return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(dpi);
}

// Font heights are given in points (8.25, 18); negative means character height.
inline int PointsToFontHeight(double points, int dpi) {
    return -static_cast<int>(points * dpi / 72.0 + 0.5);
}

}  // namespace tarvello::ui
