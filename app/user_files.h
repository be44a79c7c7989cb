#pragma once
// What the program's own files in the user's profile (the journal, the price rules) share:
// the program's folder there, reading a small file whole, and the system's words for what went
// wrong with a file.

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

namespace tarvello::app {

// The program's folder in one of the user's known folders (FOLDERID_LocalAppData,
// FOLDERID_RoamingAppData); empty when the system cannot tell where that is.
std::wstring ProgramFolderIn(REFKNOWNFOLDERID known);

// UTF-16 from the system as UTF-8 for the engine's messages.
std::string Utf8(const std::wstring& text);

// The whole of a small text file (the price rules); nothing when it cannot be read, with why in
// the system's words (or that it is too large to be one) and the system's error (0: too large).
std::optional<std::string> ReadSmallFile(const std::wstring& path, std::string& why, DWORD& error);

// Why a call failed, in the system's words ("There is not enough space on the disk"), without
// the full stop and line end the system adds.
std::string SystemReason(DWORD error);

}  // namespace tarvello::app
