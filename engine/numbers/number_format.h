#pragma once
// How numbers are written in text for this user. The engine never asks the system: the
// Windows layer reads the user's regional decimal separator (LOCALE_SDECIMAL) and hands it in.

#include <string_view>

#include "numbers/variant.h"

namespace tarvello {

struct NumberFormat {
    Text decimalSeparator = u".";
};

// A number the program wrote with a point ("-1234.5", digits and signs only) in `format`.
inline Text NumberTextIn(std::string_view plain, const NumberFormat& format) {
    Text text;
    for (const char c : plain) {
        if (c == '.') {
            text += format.decimalSeparator;
        } else {
            text += static_cast<char16_t>(c);
        }
    }
    return text;
}

}  // namespace tarvello
