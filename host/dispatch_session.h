#pragma once
// The late-bound calls of one Round: member reads and operations invoked by name, with the
// names each object knows looked up once per object and kept until the Round ends.

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/com_raii.h"

namespace tarvello::host {

class DispatchSession {
public:
    explicit DispatchSession(std::uint32_t busyRetryMilliseconds)
        : busyRetry_(busyRetryMilliseconds) {}

    // The DISPID of `name` on `object`, asked of the object the first time only. Objects are
    // told apart by their COM identity, which the cache holds on to for the session so that
    // the identity cannot pass to another object meanwhile.
    DISPID IdOf(IDispatch* object, const std::wstring& name, const std::string& operation);

    // Reads the object-valued property `name` of `object` (a fresh property get every time).
    ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const std::wstring& name,
                                        const std::string& operation);

    // Invokes `id` with `arguments` (last argument first, as IDispatch takes them). Throws
    // HostError for a failed call.
    void Invoke(IDispatch* object, DISPID id, WORD flags, VARIANTARG* arguments, UINT count,
                VARIANT* result, const std::string& operation);

private:
    struct Names {
        ComPtr<IUnknown> identity;
        std::map<std::wstring, DISPID> ids;
    };
    Names& NamesOf(IDispatch* object, const std::string& operation);

    std::uint32_t busyRetry_;
    std::vector<Names> objects_;
};

}  // namespace tarvello::host
