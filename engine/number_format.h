#pragma once
// How numbers are written in text for this user. The engine never asks the system: the
// Windows layer reads the user's regional decimal separator (LOCALE_SDECIMAL) and hands it in.

#include "variant.h"

namespace tarvello {

struct NumberFormat {
    Text decimalSeparator = u".";
};

}  // namespace tarvello
