#include "ui/main-window/placement_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarvello::ui {

std::wstring PlacementText(float value, const std::wstring& decimalSeparator) {
    if (!std::isfinite(value) || value == 0.0f) return L"0";
    // "%.6e" rounds to exactly 7 significant digits: d.dddddde±x.
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%.6e", static_cast<double>(value));
    const char* p = scientific;
    std::wstring text;
    if (*p == '-') {
        text += L'-';
        ++p;
    }
    std::wstring digits;
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.') digits += static_cast<wchar_t>(*p);
    }
    int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    int point = exponent + 1;  // digits before the decimal point
    std::wstring whole;
    std::wstring fraction;
    if (point >= static_cast<int>(digits.size())) {
        whole = digits + std::wstring(static_cast<size_t>(point) - digits.size(), L'0');
    } else if (point <= 0) {
        whole = L"0";
        fraction = std::wstring(static_cast<size_t>(-point), L'0') + digits;
    } else {
        whole = digits.substr(0, static_cast<size_t>(point));
        fraction = digits.substr(static_cast<size_t>(point));
    }
    while (!fraction.empty() && fraction.back() == L'0') fraction.pop_back();
    text += whole;
    if (!fraction.empty()) text += decimalSeparator + fraction;
    return text;
}

}  // namespace tarvello::ui
