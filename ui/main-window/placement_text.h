#pragma once
// The text in which a placement value is stored: at most 7 significant digits, a leading
// minus when negative, no grouping, the regional decimal separator only for a fraction.

#include <string>

namespace tarvello::ui {

std::wstring PlacementText(float value, const std::wstring& decimalSeparator);

}  // namespace tarvello::ui
