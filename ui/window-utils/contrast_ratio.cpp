#include "ui/window-utils/contrast_ratio.h"

#include <cmath>

namespace tarvello::ui {

namespace {

// One sRGB channel of 0..255 as linear light.
double Linear(std::uint32_t channel) {
    const double c = static_cast<double>(channel & 0xFFu) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(std::uint32_t colour) {
    return 0.2126 * Linear(colour) + 0.7152 * Linear(colour >> 8) + 0.0722 * Linear(colour >> 16);
}

}  // namespace

double ContrastRatio(std::uint32_t colour, std::uint32_t other) {
    const double a = RelativeLuminance(colour) + 0.05;
    const double b = RelativeLuminance(other) + 0.05;
    return a > b ? a / b : b / a;
}

}  // namespace tarvello::ui
