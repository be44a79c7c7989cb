#pragma once
// How far apart two colours are for the eye: the ratio of their relative luminances, each plus
// 0.05, the lighter over the darker (WCAG 2.1). Equal colours give 1, black and white give 21.
// Portable: colours are 0x00BBGGRR, the layout of a COLORREF.

#include <cstdint>

namespace tarvello::ui {

// Text and what lies behind it must be at least this far apart to be read (WCAG 2.1, 1.4.3).
inline constexpr double kReadableTextContrast = 4.5;
// A rule beside text only has to be told apart from what it lies on. The light themes' own rule
// colours stand at about 1.6 against white; below 1.5 a rule has faded into its background.
inline constexpr double kVisibleRuleContrast = 1.5;

double ContrastRatio(std::uint32_t colour, std::uint32_t other);

}  // namespace tarvello::ui
