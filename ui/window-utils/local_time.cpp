#include "ui/window-utils/local_time.h"

#include <cstdio>

namespace tarvello::ui {

std::wstring LocalWhen(const std::string& beganUtc, bool whole) {
    SYSTEMTIME utc{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(beganUtc.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute,
                    &second) != 6) {
        return std::wstring();
    }
    utc.wYear = static_cast<WORD>(year);
    utc.wMonth = static_cast<WORD>(month);
    utc.wDay = static_cast<WORD>(day);
    utc.wHour = static_cast<WORD>(hour);
    utc.wMinute = static_cast<WORD>(minute);
    utc.wSecond = static_cast<WORD>(second);
    SYSTEMTIME local{}, today{};
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return std::wstring();
    GetLocalTime(&today);
    wchar_t time[64] = L"", date[64] = L"";
    if (!GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, whole ? 0 : TIME_NOSECONDS, &local, nullptr,
                         time, 64)) {
        return std::wstring();
    }
    const bool sameDay =
        local.wYear == today.wYear && local.wMonth == today.wMonth && local.wDay == today.wDay;
    if ((sameDay && !whole) || !GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local,
                                                nullptr, date, 64, nullptr)) {
        return time;
    }
    return std::wstring(date) + L" " + time;
}

}  // namespace tarvello::ui
