#include "bench/round-trips/reference_client.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "host/com_raii.h"

namespace tarvello::bench {
namespace {

using host::ComPtr;
using host::VariantOwner;

void Check(HRESULT result, const char* what) {
    if (FAILED(result)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
        throw std::runtime_error(std::string("reference client: ") + what + " failed (" + code +
                                 ")");
    }
}

DISPID IdOf(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    auto* text = const_cast<LPOLESTR>(name);
    Check(object->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id), "GetIDsOfNames");
    return id;
}

class Host {
public:
    Host() {
        CLSID clsid;
        Check(CLSIDFromProgID(L"Tarvello.Application", &clsid), "CLSIDFromProgID");
        ComPtr<IUnknown> running;
        Check(GetActiveObject(clsid, nullptr, running.GetAddressOf()), "GetActiveObject");
        Check(running.As(&application_), "IDispatch");
        docFunctionsId_ = IdOf(application_.Get(), L"DocFunctions");
        itemFunctionsId_ = IdOf(application_.Get(), L"ItemFunctions");
        auto items = Member(itemFunctionsId_);
        auto documents = Member(docFunctionsId_);
        activeDocument_ = IdOf(documents.Get(), L"GetActiveDocumentIndex");
        selectedRows_ = IdOf(items.Get(), L"LineItemGetSelectedRows");
        count_ = IdOf(items.Get(), L"LineItemCount");
        getValue_ = IdOf(items.Get(), L"LineItemGetValue");
        activeRow_ = IdOf(items.Get(), L"LineItemGetActiveRow");
        setValue_ = IdOf(items.Get(), L"LineItemSetValue");
    }

    // A fresh read of the member for every call, as the host's interface asks.
    ComPtr<IDispatch> Member(DISPID member) {
        VariantOwner value;
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        Check(application_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                   &none, value.get(), nullptr, nullptr),
              "member");
        if (V_VT(value.get()) != VT_DISPATCH) throw std::runtime_error("member is no object");
        return ComPtr<IDispatch>(V_DISPATCH(value.get()));
    }

    void Call(DISPID member, DISPID operation, VARIANTARG* arguments, UINT count, VARIANT* result) {
        auto functions = Member(member);
        DISPPARAMS parameters{arguments, nullptr, count, 0};
        Check(functions->Invoke(operation, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                &parameters, result, nullptr, nullptr),
              "operation");
    }

    double Number(DISPID operation, VARIANTARG* arguments = nullptr, UINT count = 0) {
        VariantOwner result;
        Call(itemFunctionsId_, operation, arguments, count, result.get());
        VariantOwner number;
        Check(VariantChangeType(number.get(), result.get(), 0, VT_R8), "number");
        return V_R8(number.get());
    }

    std::int32_t Round() {
        VariantOwner ignored;
        Call(docFunctionsId_, activeDocument_, nullptr, 0, ignored.get());
        ignored.Clear();
        Call(itemFunctionsId_, selectedRows_, nullptr, 0, ignored.get());
        const auto last = static_cast<std::int16_t>(Number(count_) - 1);
        std::int32_t written = 0;
        for (std::int16_t row = 0; row <= last; ++row) {
            if (Read(row, L"LineType") != 1) continue;
            const double unit = Read(row, L"UnitPrice");
            Read(row, L"ExtendedPrice");
            Read(row, L"QtyTotal");
            Number(activeRow_);
            ReadAsIs(row, L"PriceModifier");  // kept for Undo
            double price = std::nearbyint(unit / 5) * 5;
            Write(row, L"PriceModifier", nullptr);
            Write(row, L"UnitPrice", &price);
            ++written;
        }
        return written;
    }

private:
    void Get(std::int16_t& row, const wchar_t* field, VARIANT* result) {
        host::Bstr name(field);
        VARIANTARG arguments[2];
        VariantInit(&arguments[0]);
        V_VT(&arguments[0]) = VT_BSTR;
        V_BSTR(&arguments[0]) = name.get();
        VariantInit(&arguments[1]);
        V_VT(&arguments[1]) = VT_I2 | VT_BYREF;
        V_I2REF(&arguments[1]) = &row;
        Call(itemFunctionsId_, getValue_, arguments, 2, result);
    }

    double Read(std::int16_t& row, const wchar_t* field) {
        VariantOwner result;
        Get(row, field, result.get());
        VariantOwner number;
        Check(VariantChangeType(number.get(), result.get(), 0, VT_R8), "number");
        return V_R8(number.get());
    }

    void ReadAsIs(std::int16_t& row, const wchar_t* field) {
        VariantOwner result;
        Get(row, field, result.get());
    }

    // A null price writes an empty text.
    void Write(std::int16_t& row, const wchar_t* field, double* price) {
        host::Bstr name(field);
        host::Bstr empty(L"");
        VARIANTARG arguments[3];
        VariantInit(&arguments[0]);
        if (price != nullptr) {
            V_VT(&arguments[0]) = VT_R8 | VT_BYREF;
            V_R8REF(&arguments[0]) = price;
        } else {
            V_VT(&arguments[0]) = VT_BSTR;
            V_BSTR(&arguments[0]) = empty.get();
        }
        VariantInit(&arguments[1]);
        V_VT(&arguments[1]) = VT_BSTR;
        V_BSTR(&arguments[1]) = name.get();
        VariantInit(&arguments[2]);
        V_VT(&arguments[2]) = VT_I2 | VT_BYREF;
        V_I2REF(&arguments[2]) = &row;
        VariantOwner ignored;
        Call(itemFunctionsId_, setValue_, arguments, 3, ignored.get());
    }

    ComPtr<IDispatch> application_;
    DISPID docFunctionsId_, itemFunctionsId_;
    DISPID activeDocument_, selectedRows_, count_, getValue_, activeRow_, setValue_;
};

}  // namespace

std::int32_t ReferenceRound() {
    // The pass first asks whether a host runs, then attaches again for itself.
    CLSID clsid;
    Check(CLSIDFromProgID(L"Tarvello.Application", &clsid), "CLSIDFromProgID");
    ComPtr<IUnknown> running;
    Check(GetActiveObject(clsid, nullptr, running.GetAddressOf()), "GetActiveObject");
    ComPtr<IDispatch> probe;
    Check(running.As(&probe), "IDispatch");
    probe.Reset();
    running.Reset();
    Host host;
    return host.Round();
}

}  // namespace tarvello::bench
