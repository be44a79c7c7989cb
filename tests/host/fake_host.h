#pragma once
// A hand-written automation object with the host's shape (an application object whose
// DocFunctions and ItemFunctions properties give two function objects) that records every
// call it receives in the stand-in's log format and answers through a test's handler.

#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tarvello::host::testing {

class FakeHost;

// One operation call as the fake's handler sees it: arguments in call order.
struct FakeInvocation {
    std::wstring operation;  // "LineItemGetValue"
    VARIANTARG* arguments;   // first argument first
    UINT count;
};

// The handler fills `result` and returns the call's HRESULT; for DISP_E_EXCEPTION it may fill
// `exception`.
using FakeHandler =
    std::function<HRESULT(const FakeInvocation& call, VARIANT* result, EXCEPINFO* exception)>;

class FakeObject final : public IDispatch {
public:
    // The object's members are numbered from `firstId` in the order of the fake's name table.
    FakeObject(FakeHost& host, std::wstring role, DISPID firstId = 1)
        : host_(host), role_(std::move(role)), firstId_(firstId) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override;

    const std::wstring& role() const { return role_; }
    // References held beyond the one the fake keeps for itself.
    long references() const { return references_; }

private:
    FakeHost& host_;
    std::wstring role_;
    DISPID firstId_;
    long references_ = 1;
};

// How a member is declared, as a type library would: a dispatch built from one finds a member
// only when the call's flags include the declared kind.
enum class Declared { Method, Property };

class FakeHost {
public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    IDispatch* application() { return application_; }
    FakeObject& docFunctions() { return *docFunctions_; }
    FakeObject& itemFunctions() { return *itemFunctions_; }

    // Answers the operations; the default answers every operation with VT_EMPTY.
    void SetHandler(FakeHandler handler);
    // The application's members are declared as properties and the operations as methods
    // unless declared otherwise here; a call without the declared flag is not found.
    void Declare(const std::wstring& member, Declared kind);
    // From now on every read of DocFunctions or ItemFunctions gives a new object.
    void HandOutFreshMembers();
    // Objects made by fresh reads from now on number their members from `firstId` (1 before).
    void NumberFreshMembersFrom(DISPID firstId);

    // Every call received, one line each, with the call's flags marked as the stand-in's
    // log marks them (nothing for a method, [get], [method|get]), e.g.
    //   GetIDsOfNames ItemFunctions "LineItemGetValue"
    //   Invoke Application.ItemFunctions [method|get]
    //   Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 3, VT_BSTR "UnitPrice") [method|get]
    //   Invoke ItemFunctions.#3 [method|get]        (a number the object does not know)
    std::vector<std::wstring> Log() const;
    void ClearLog();
    // References all objects ever handed out hold beyond their own: 0 once every client let go.
    long OutstandingReferences() const;
    // Objects some client still holds (the application included).
    int HeldObjects() const;
    // Objects made by fresh member reads so far.
    int FreshObjectsMade() const;

private:
    friend class FakeObject;
    void Record(std::wstring line);
    HRESULT Operation(FakeObject& object, const std::wstring& name, WORD flags,
                      DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception);
    bool Accepts(const std::wstring& member, bool property, WORD flags) const;
    FakeObject& Member(DISPID id);
    std::vector<const FakeObject*> Objects() const;

    FakeObject* application_;
    FakeObject* docFunctions_;
    FakeObject* itemFunctions_;
    mutable std::mutex mutex_;
    std::vector<std::wstring> log_;
    FakeHandler handler_;
    std::map<std::wstring, Declared> declared_;
    bool freshMembers_ = false;
    DISPID freshFirstId_ = 1;
    std::vector<std::unique_ptr<FakeObject>> fresh_;
};

// Describes an argument as the log does: `VT_I2|VT_BYREF 3`, `VT_BSTR "UnitPrice"`.
std::wstring DescribeArgument(const VARIANT& value);

}  // namespace tarvello::host::testing
