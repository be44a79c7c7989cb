#pragma once
// The launcher of the platform's system information tool: found through the registry, started
// as a program of its own, or the user is told that it is unavailable. Registry texts cross in
// the system's ANSI code page.

#include <windows.h>

#include <string>

#include "ui/about-box/sys_info_settings.h"
#include "ui/window-utils/message_presenter.h"

namespace tarvello::ui {

// Reads one registry value as text into KeyVal; true when the value was read. Throws when the
// value holds no bytes at all, or a number beyond 32 bits.
bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal);

// Starts the tool from the first place of `where` that names it, or tells the user through
// `messages`, over `owner`, that it is unavailable. Never throws.
void StartSysInfo(HWND owner, const SysInfoSettings& where, MessagePresenter& messages);

}  // namespace tarvello::ui
