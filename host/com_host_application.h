#pragma once
// The host's application object as the rounding pass sees it, over IDispatch.

#include <windows.h>
#include <oleauto.h>

#include <memory>

#include "engine/request/host_application.h"
#include "host/busy_retry.h"
#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "host/dispatch_session.h"

namespace tarvello::host {

class ComHostApplication : public HostApplication {
public:
    ComHostApplication(ComPtr<IDispatch> application, const ComHostOptions& options);

    Variant GetActiveDocumentIndex() override;
    Variant LineItemGetSelectedRows() override;
    Variant LineItemCount() override;
    Variant LineItemGetValue(std::int16_t& row, const Text& field) override;
    Variant LineItemGetActiveRow() override;
    void LineItemSetValue(std::int16_t& row, const Text& field, Variant& value) override;

    // An operation of the host: the member of the application that offers it, and its name.
    struct Operation {
        const wchar_t* member;
        const wchar_t* name;
    };

private:
    // Reads the operation's member of the application afresh, invokes the operation on it with
    // `flags` and `arguments` (last argument first) and gives the result in `result`.
    void Call(const Operation& operation, WORD flags, VARIANTARG* arguments, UINT count,
              VARIANT* result);
    Variant CallForValue(const Operation& operation, VARIANTARG* arguments = nullptr,
                         UINT count = 0, bool nullIsEmpty = false);

    // Declared first so that it is unregistered last, after every host reference is gone.
    ScopedBusyMessageFilter filter_;
    // The names of this Round; none of them outlives it.
    DispatchSession session_;
    ComPtr<IDispatch> application_;
};

// Attaches to the running instance registered under `progId`; never starts one.
ComPtr<IDispatch> AttachToRunningObject(const std::u16string& progId);

}  // namespace tarvello::host
