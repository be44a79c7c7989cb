#pragma once
// When a Round began, as the journal keeps it (UTC, "2026-12-07 14:03:22"), in the user's own
// date and time formats and time zone, read afresh each time.

#include <windows.h>

#include <string>

namespace tarvello::ui {

// "14:03", or "05/12/2026 14:03" for a Round of another day; with `whole`, the date always and
// the seconds too ("07/12/2026 14:03:22"). Empty when the journal's time cannot be read.
std::wstring LocalWhen(const std::string& beganUtc, bool whole = false);

}  // namespace tarvello::ui
