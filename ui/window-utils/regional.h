#pragma once
// The user's regional number format, read afresh each time (the user may change it while
// the program runs).

#include <windows.h>

#include "engine/numbers/number_format.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

inline NumberFormat UserNumberFormat() {
    wchar_t separator[8] = {};
    NumberFormat format;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 1) {
        format.decimalSeparator = ToText(separator);
    }
    return format;
}

}  // namespace tarvello::ui
