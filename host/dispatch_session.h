#pragma once
// The late-bound calls of one Round: member reads and operations invoked by name, with the
// number each name has kept per member slot for the whole Round, whatever object the slot's
// read hands out each time.

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "host/com_raii.h"

namespace tarvello::host {

class DispatchSession {
public:
    explicit DispatchSession(std::uint32_t busyRetryMilliseconds)
        : busyRetry_(busyRetryMilliseconds) {}

    // Reads the object-valued member `name` of `object`, which came from `slot` (a fresh read
    // every time). The read is flagged both as a method call and as a property get, so that
    // it works whichever of the two the host declares the member as.
    ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const std::wstring& slot,
                                        const std::wstring& name, const std::string& operation);

    // Invokes `name` on `object`, which came from `slot` ("Application", or the member it was
    // read as), with `arguments` (last argument first, as IDispatch takes them). The name is
    // asked of the host the first time the slot is called by it in this session only: many
    // hosts hand out a new object on every member read, and its members keep their numbers.
    // A host that numbers them differently on a new object answers the old number with "no
    // such member"; the name is then asked of that object and the call made once more.
    // Throws HostError for a failed call.
    void Call(IDispatch* object, const std::wstring& slot, const std::wstring& name, WORD flags,
              VARIANTARG* arguments, UINT count, VARIANT* result, const std::string& operation);

private:
    DISPID LookUp(IDispatch* object, const std::wstring& name, const std::string& operation);
    HRESULT TryInvoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS& parameters,
                      VARIANT* result, ExcepInfoOwner& exception);

    std::uint32_t busyRetry_;
    // (slot, name) -> DISPID; eight entries in a Round that calls every operation. No object
    // is kept: a number is all a later object of the same slot needs.
    std::map<std::pair<std::wstring, std::wstring>, DISPID> ids_;
};

}  // namespace tarvello::host
