#pragma once
// The system's words for what went wrong with a file, for the messages of the program's own
// files (the journal, the price rules).

#include <windows.h>

#include <string>

namespace tarvello::app {

// UTF-16 from the system as UTF-8 for the engine's messages.
std::string Utf8(const std::wstring& text);

// Why a call failed, in the system's words ("There is not enough space on the disk"), without
// the full stop and line end the system adds.
std::string SystemReason(DWORD error);

}  // namespace tarvello::app
