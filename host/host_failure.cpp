#include "host/host_failure.h"

#include <cstdio>

#include "engine/numbers/text_util.h"
#include "host/com_raii.h"

namespace tarvello::host {
namespace {

Text SystemText(HRESULT result) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    Text text;
    if (length != 0 && buffer != nullptr) {
        text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    }
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                             text.back() == u'.')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

bool IsDisconnection(HRESULT result) {
    switch (static_cast<unsigned long>(result)) {
        case 0x80010108UL:  // RPC_E_DISCONNECTED
        case 0x800706BAUL:  // RPC_S_SERVER_UNAVAILABLE
        case 0x800706BEUL:  // RPC_S_CALL_FAILED
        case 0x800706BFUL:  // RPC_S_CALL_FAILED_DNE
        case 0x800706B5UL:  // RPC_S_UNKNOWN_IF: Wine's answer once the server process is gone
        case 0x800401FDUL:  // CO_E_OBJNOTCONNECTED
        case 0x80010007UL:  // RPC_E_SERVER_DIED
        case 0x80010012UL:  // RPC_E_SERVER_DIED_DNE
            return true;
        default:
            return false;
    }
}

bool IsBusy(HRESULT result) {
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

std::string HresultText(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

HostError MakeHostError(HRESULT result, const std::string& operation, EXCEPINFO* info) {
    Text description;
    if (info != nullptr) {
        description = Bstr::ToText(info->bstrDescription);
        if (description.empty() && info->scode != 0) description = SystemText(info->scode);
    }
    if (description.empty()) description = SystemText(result);

    std::string what = operation + " failed (" + HresultText(result) + ")";
    if (!description.empty()) what += ": " + Utf8Of(description);
    HostError error(static_cast<std::int32_t>(result), std::move(description), what);
    if (IsDisconnection(result)) error.MarkDisconnected();
    if (IsBusy(result)) error.MarkBusy();
    return error;
}

}  // namespace tarvello::host
