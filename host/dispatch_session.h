#pragma once
// The late-bound calls of one Round: member reads and operations invoked by name, with the
// names each object knows looked up once per object and kept while that object is the one
// its slot (the application, or the member it was read as) last gave.

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <map>
#include <string>

#include "host/com_raii.h"

namespace tarvello::host {

class DispatchSession {
public:
    explicit DispatchSession(std::uint32_t busyRetryMilliseconds)
        : busyRetry_(busyRetryMilliseconds) {}

    // The DISPID of `name` on `object`, asked of the object the first time only. `slot` says
    // where the object came from ("Application", or the member it was read as); each slot
    // keeps the names of one object, told apart by its COM identity. The cache holds on to
    // that identity so that it cannot pass to another object meanwhile. A slot that comes
    // back with another object drops the old one, so a host that hands out a new object on
    // every read costs a look-up per object but never piles objects up.
    DISPID IdOf(IDispatch* object, const std::wstring& slot, const std::wstring& name,
                const std::string& operation);

    // Reads the object-valued member `name` of `object`, which came from `slot` (a fresh read
    // every time). The read is flagged both as a method call and as a property get, so that
    // it works whichever of the two the host declares the member as.
    ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const std::wstring& slot,
                                        const std::wstring& name, const std::string& operation);

    // Invokes `id` with `arguments` (last argument first, as IDispatch takes them). Throws
    // HostError for a failed call.
    void Invoke(IDispatch* object, DISPID id, WORD flags, VARIANTARG* arguments, UINT count,
                VARIANT* result, const std::string& operation);

private:
    struct Names {
        ComPtr<IUnknown> identity;
        std::map<std::wstring, DISPID> ids;
    };
    Names& NamesOf(IDispatch* object, const std::wstring& slot, const std::string& operation);

    std::uint32_t busyRetry_;
    // At most one entry per slot: three in all.
    std::map<std::wstring, Names> slots_;
};

}  // namespace tarvello::host
