#pragma once
// How a failed call to the host becomes the HostError the rounding pass reports.

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "engine/numbers/errors.h"

namespace tarvello::host {

// The host process is gone or its object no longer answers.
bool IsDisconnection(HRESULT result);
// The host is busy (for instance in a modal dialog) and asks to be called again later.
bool IsBusy(HRESULT result);

// "0x80020009"
std::string HresultText(HRESULT result);

// `operation` names the call ("LineItemGetValue", "attach"); `info` is the EXCEPINFO of a
// DISP_E_EXCEPTION, or null. The description is what the host said, else what the system
// says about the code.
HostError MakeHostError(HRESULT result, const std::string& operation, EXCEPINFO* info = nullptr);

}  // namespace tarvello::host
