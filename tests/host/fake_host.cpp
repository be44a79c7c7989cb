#include "tests/host/fake_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvello::host::testing {
namespace {

struct NameTable {
    const wchar_t* role;
    std::vector<std::wstring> names;  // DISPID = position + 1
};

const NameTable kNames[] = {
    {L"Application", {L"DocFunctions", L"ItemFunctions"}},
    {L"DocFunctions", {L"GetActiveDocumentIndex"}},
    {L"ItemFunctions",
     {L"LineItemGetSelectedRows", L"LineItemCount", L"LineItemGetValue", L"LineItemGetActiveRow",
      L"LineItemSetValue"}},
};

const std::vector<std::wstring>& NamesOf(const std::wstring& role) {
    for (const auto& table : kNames) {
        if (role == table.role) return table.names;
    }
    static const std::vector<std::wstring> none;
    return none;
}

std::wstring Shortest(double value) {
    char text[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value && std::strchr(text, 'e') == nullptr) break;
    }
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring FlagsMark(WORD flags) {
    if (!(flags & DISPATCH_PROPERTYGET)) return L"";
    return (flags & DISPATCH_METHOD) ? L" [method|get]" : L" [get]";
}

}  // namespace

std::wstring DescribeArgument(const VARIANT& value) {
    const VARTYPE type = V_VT(&value);
    const bool byRef = (type & VT_BYREF) != 0;
    const std::wstring suffix = byRef ? L"|VT_BYREF " : L" ";
    switch (type & VT_TYPEMASK) {
        case VT_EMPTY:
            return L"VT_EMPTY";
        case VT_I2:
            return L"VT_I2" + suffix + std::to_wstring(byRef ? *V_I2REF(&value) : V_I2(&value));
        case VT_I4:
            return L"VT_I4" + suffix + std::to_wstring(byRef ? *V_I4REF(&value) : V_I4(&value));
        case VT_R8:
            return L"VT_R8" + suffix + Shortest(byRef ? *V_R8REF(&value) : V_R8(&value));
        case VT_BSTR: {
            BSTR text = byRef ? *V_BSTRREF(&value) : V_BSTR(&value);
            return L"VT_BSTR" + suffix + L"\"" +
                   std::wstring(text ? text : L"", text ? SysStringLen(text) : 0) + L"\"";
        }
        default:
            return L"VT_" + std::to_wstring(type);
    }
}

HRESULT FakeObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG FakeObject::Release() {
    // The fake host owns its objects; a count that would reach zero shows a client releasing
    // more than it took, which the reference checks then report.
    return static_cast<ULONG>(InterlockedDecrement(&references_));
}

HRESULT FakeObject::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT FakeObject::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT FakeObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        host_.Record(L"GetIDsOfNames " + role_ + L" \"" + names[i] + L"\"");
        ids[i] = DISPID_UNKNOWN;
        const auto& known = NamesOf(role_);
        for (size_t k = 0; k < known.size(); ++k) {
            if (_wcsicmp(known[k].c_str(), names[i]) == 0)
                ids[i] = firstId_ + static_cast<DISPID>(k);
        }
        if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT FakeObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                           VARIANT* result, EXCEPINFO* exception, UINT*) {
    const auto& known = NamesOf(role_);
    if (id < firstId_ || static_cast<size_t>(id - firstId_) >= known.size()) {
        host_.Record(L"Invoke " + role_ + L".#" + std::to_wstring(id) + FlagsMark(flags));
        return DISP_E_MEMBERNOTFOUND;
    }
    const std::wstring& name = known[static_cast<size_t>(id - firstId_)];
    const bool application = role_ == L"Application";
    if (!application) return host_.Operation(*this, name, flags, parameters, result, exception);

    host_.Record(L"Invoke Application." + name + FlagsMark(flags));
    if (!host_.Accepts(name, true, flags) || result == nullptr) return DISP_E_MEMBERNOTFOUND;
    FakeObject& member = host_.Member(id);
    member.AddRef();
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = &member;
    return S_OK;
}

bool FakeHost::Accepts(const std::wstring& member, bool property, WORD flags) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto declared = declared_.find(member);
    if (declared != declared_.end()) property = declared->second == Declared::Property;
    return (flags & (property ? DISPATCH_PROPERTYGET : DISPATCH_METHOD)) != 0;
}

FakeObject& FakeHost::Member(DISPID id) {
    const wchar_t* role = id == 1 ? L"DocFunctions" : L"ItemFunctions";
    std::lock_guard<std::mutex> lock(mutex_);
    if (!freshMembers_) return id == 1 ? *docFunctions_ : *itemFunctions_;
    fresh_.push_back(std::make_unique<FakeObject>(*this, role, freshFirstId_));
    return *fresh_.back();
}

FakeHost::FakeHost()
    : application_(new FakeObject(*this, L"Application")),
      docFunctions_(new FakeObject(*this, L"DocFunctions")),
      itemFunctions_(new FakeObject(*this, L"ItemFunctions")),
      handler_([](const FakeInvocation&, VARIANT*, EXCEPINFO*) { return S_OK; }) {}

FakeHost::~FakeHost() {
    delete application_;
    delete docFunctions_;
    delete itemFunctions_;
}

void FakeHost::SetHandler(FakeHandler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

void FakeHost::Declare(const std::wstring& member, Declared kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    declared_[member] = kind;
}

void FakeHost::HandOutFreshMembers() {
    std::lock_guard<std::mutex> lock(mutex_);
    freshMembers_ = true;
}

void FakeHost::NumberFreshMembersFrom(DISPID firstId) {
    std::lock_guard<std::mutex> lock(mutex_);
    freshFirstId_ = firstId;
}

std::vector<std::wstring> FakeHost::Log() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void FakeHost::ClearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
}

std::vector<const FakeObject*> FakeHost::Objects() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<const FakeObject*> objects{application_, docFunctions_, itemFunctions_};
    for (const auto& object : fresh_) objects.push_back(object.get());
    return objects;
}

long FakeHost::OutstandingReferences() const {
    long references = 0;
    for (const FakeObject* object : Objects()) references += object->references() - 1;
    return references;
}

int FakeHost::HeldObjects() const {
    int held = 0;
    for (const FakeObject* object : Objects()) held += object->references() > 1 ? 1 : 0;
    return held;
}

int FakeHost::FreshObjectsMade() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(fresh_.size());
}

void FakeHost::Record(std::wstring line) {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.push_back(std::move(line));
}

HRESULT FakeHost::Operation(FakeObject& object, const std::wstring& name, WORD flags,
                            DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception) {
    // IDispatch hands the arguments last first; the log and the handler see them in call order.
    std::vector<VARIANTARG> inOrder;
    for (UINT i = parameters->cArgs; i > 0; --i) inOrder.push_back(parameters->rgvarg[i - 1]);
    std::wstring line = L"Invoke " + object.role() + L"." + name + L"(";
    for (size_t i = 0; i < inOrder.size(); ++i) {
        if (i > 0) line += L", ";
        line += DescribeArgument(inOrder[i]);
    }
    Record(line + L")" + FlagsMark(flags));
    // The flags are checked after the call is logged, so a test sees what was asked.
    if (!Accepts(name, false, flags)) return DISP_E_MEMBERNOTFOUND;

    FakeHandler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handler = handler_;
    }
    VARIANT ignored;
    VariantInit(&ignored);
    const HRESULT status =
        handler(FakeInvocation{name, inOrder.data(), static_cast<UINT>(inOrder.size())},
                result != nullptr ? result : &ignored, exception);
    VariantClear(&ignored);
    return status;
}

}  // namespace tarvello::host::testing
