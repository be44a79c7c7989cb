#include "host/com_host_application.h"

#include <string>

#include "engine/numbers/errors.h"
#include "engine/numbers/text_util.h"
#include "engine/request/line_item_fields.h"
#include "host/host_failure.h"
#include "host/variant_convert.h"

namespace tarvello::host {
namespace {

using Operation = ComHostApplication::Operation;

// The host's operations by the names it knows them by, and the member that offers each: the
// one place they are spelt.
constexpr Operation kGetActiveDocumentIndex{L"DocFunctions", L"GetActiveDocumentIndex"};
constexpr Operation kLineItemGetSelectedRows{L"ItemFunctions", L"LineItemGetSelectedRows"};
constexpr Operation kLineItemCount{L"ItemFunctions", L"LineItemCount"};
constexpr Operation kLineItemGetActiveRow{L"ItemFunctions", L"LineItemGetActiveRow"};
constexpr Operation kLineItemGetValue{L"ItemFunctions", L"LineItemGetValue"};
constexpr Operation kLineItemSetValue{L"ItemFunctions", L"LineItemSetValue"};

// For error messages.
std::string Utf8Name(const wchar_t* name) {
    return Utf8Of(reinterpret_cast<const char16_t*>(name));
}

VARIANTARG RowArgument(std::int16_t& row) {
    VARIANTARG argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_I2 | VT_BYREF;
    V_I2REF(&argument) = &row;
    return argument;
}

}  // namespace

ComHostApplication::ComHostApplication(ComPtr<IDispatch> application, const ComHostOptions& options)
    : filter_(options.busyRetryMilliseconds),
      session_(options.busyRetryMilliseconds),
      application_(std::move(application)) {}

void ComHostApplication::Call(const Operation& operation, WORD flags, VARIANTARG* arguments,
                              UINT count, VARIANT* result) {
    // The member is read afresh for every operation and released right after it.
    ComPtr<IDispatch> functions = session_.GetObjectProperty(
        application_.Get(), L"Application", operation.member, Utf8Name(operation.member));
    session_.Call(functions.Get(), operation.member, operation.name, flags, arguments, count,
                  result, Utf8Name(operation.name));
}

Variant ComHostApplication::CallForValue(const Operation& operation, VARIANTARG* arguments,
                                         UINT count, bool nullIsEmpty) {
    // An operation that answers a value may be declared as a method or as a read-only
    // property; flagged as both, it is found either way.
    VariantOwner result;
    Call(operation, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, count, result.get());
    if (nullIsEmpty && V_VT(result.get()) == VT_NULL) return Variant();
    try {
        return FromAutomationValue(*result);
    } catch (const EngineError& error) {
        throw EngineError(error.kind(), Utf8Name(operation.name) + ": " + error.what());
    }
}

Variant ComHostApplication::GetActiveDocumentIndex() {
    return CallForValue(kGetActiveDocumentIndex);
}

Variant ComHostApplication::LineItemGetSelectedRows() {
    return CallForValue(kLineItemGetSelectedRows);
}

Variant ComHostApplication::LineItemCount() {
    return CallForValue(kLineItemCount);
}

Variant ComHostApplication::LineItemGetActiveRow() {
    return CallForValue(kLineItemGetActiveRow);
}

Variant ComHostApplication::LineItemGetValue(std::int16_t& row, const Text& field) {
    Bstr fieldName(field);
    VARIANTARG arguments[2];
    VariantInit(&arguments[0]);
    V_VT(&arguments[0]) = VT_BSTR;
    V_BSTR(&arguments[0]) = fieldName.get();
    arguments[1] = RowArgument(row);
    // A host may answer "no modifier" as Null, which Visual Basic takes for an empty one; a
    // Null price or quantity stays what no pass can work with.
    return CallForValue(kLineItemGetValue, arguments, 2,
                        field == FieldName(LineItemField::PriceModifier));
}

void ComHostApplication::LineItemSetValue(std::int16_t& row, const Text& field, Variant& value) {
    Bstr fieldName(field);
    Bstr text;
    double number = 0;
    VARIANTARG arguments[3];
    VariantInit(&arguments[0]);
    switch (value.kind()) {
        case Variant::Kind::Double:
            // A double goes by reference to the caller's value, which sees what the host
            // leaves there.
            number = value.AsDouble();
            V_VT(&arguments[0]) = VT_R8 | VT_BYREF;
            V_R8REF(&arguments[0]) = &number;
            break;
        case Variant::Kind::Text:
            text = Bstr(value.AsText());
            V_VT(&arguments[0]) = VT_BSTR;
            V_BSTR(&arguments[0]) = text.get();
            break;
        case Variant::Kind::Int16:
            V_VT(&arguments[0]) = VT_I2;
            V_I2(&arguments[0]) = value.AsInt16();
            break;
        case Variant::Kind::Int32:
            V_VT(&arguments[0]) = VT_I4;
            V_I4(&arguments[0]) = value.AsInt32();
            break;
        case Variant::Kind::Boolean:
            V_VT(&arguments[0]) = VT_BOOL;
            V_BOOL(&arguments[0]) = value.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case Variant::Kind::Empty:
            break;
    }
    VariantInit(&arguments[1]);
    V_VT(&arguments[1]) = VT_BSTR;
    V_BSTR(&arguments[1]) = fieldName.get();
    arguments[2] = RowArgument(row);

    VariantOwner ignored;
    Call(kLineItemSetValue, DISPATCH_METHOD, arguments, 3, ignored.get());
    if (value.kind() == Variant::Kind::Double && number != value.AsDouble()) {
        value = Variant::Double(number);
    }
}

ComPtr<IDispatch> AttachToRunningObject(const std::u16string& progId) {
    CLSID clsid;
    HRESULT result = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.c_str()), &clsid);
    if (FAILED(result)) throw MakeHostError(result, "attach").MarkDisconnected();

    ComPtr<IUnknown> running;
    result = GetActiveObject(clsid, nullptr, running.GetAddressOf());
    if (FAILED(result)) throw MakeHostError(result, "attach").MarkDisconnected();

    ComPtr<IDispatch> application;
    result = running.As(&application);
    if (FAILED(result)) throw MakeHostError(result, "attach");
    return application;
}

}  // namespace tarvello::host
