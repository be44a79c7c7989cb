// Edit > Undo Round as the menu shows it: greyed while there is nothing to give back, otherwise
// how many line items it gives back and when the Round that wrote them was made.

#include <cstdio>

#include "ui/main-window/frm_main.h"
#include "ui/main-window/main_window_layout.h"

namespace tarvello::ui {
namespace {

// "14:03", or "05/12/2026 14:03" for a Round of another day, in the user's formats and time
// zone; empty when the journal's time ("2026-12-07 14:03:22", UTC) cannot be read.
std::wstring WhenMade(const std::string& beganUtc) {
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
    if (!GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 64)) {
        return std::wstring();
    }
    const bool sameDay =
        local.wYear == today.wYear && local.wMonth == today.wMonth && local.wDay == today.wDay;
    if (sameDay || !GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date,
                                    64, nullptr)) {
        return time;
    }
    return std::wstring(date) + L" " + time;
}

}  // namespace

void frmMain::UpdateUndoItem() {
    HMENU menu = GetMenu(hwnd_);
    if (!menu) return;
    const std::optional<RoundRecord> round = history_.NextUndo();
    const std::int32_t count = round ? round->Undoable() : 0;
    std::wstring caption = L"&Undo Round";
    if (count > 0) {
        caption += L" (" + std::to_wstring(count) + (count == 1 ? L" line item" : L" line items");
        const std::wstring when = WhenMade(round->began);
        if (!when.empty()) caption += L", " + when;
        caption += L")";
    }
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_STATE;
    item.dwTypeData = caption.data();
    item.fState = count > 0 ? MFS_ENABLED : MFS_GRAYED;
    SetMenuItemInfoW(menu, main_window::kMnuEditUndo, FALSE, &item);
    DrawMenuBar(hwnd_);
}

}  // namespace tarvello::ui
