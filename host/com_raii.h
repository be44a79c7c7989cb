#pragma once
// Owners for the COM resources the host link hands around: interface pointers (ComPtr), BSTRs,
// VARIANTs and the apartment itself. Every one is released on every way out.

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace tarvello::host {

using Microsoft::WRL::ComPtr;

// A BSTR the holder frees.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::u16string& text)
        : value_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                   static_cast<UINT>(text.size()))) {}
    explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(value_); }
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) {
            SysFreeString(value_);
            value_ = std::exchange(other.value_, nullptr);
        }
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return value_; }
    // Hands ownership to a VARIANT or an out-parameter.
    BSTR release() { return std::exchange(value_, nullptr); }
    // For out-parameters: frees what it held and gives the address to fill.
    BSTR* put() {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    std::u16string text() const { return ToText(value_); }

    static std::u16string ToText(BSTR value) {
        if (value == nullptr) return {};
        return std::u16string(reinterpret_cast<const char16_t*>(value), SysStringLen(value));
    }

private:
    BSTR value_ = nullptr;
};

// A VARIANT the holder clears.
class VariantOwner {
public:
    VariantOwner() { VariantInit(&value_); }
    ~VariantOwner() { VariantClear(&value_); }
    VariantOwner(const VariantOwner&) = delete;
    VariantOwner& operator=(const VariantOwner&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }
    const VARIANT* operator->() const { return &value_; }
    void Clear() { VariantClear(&value_); }

private:
    VARIANT value_;
};

// The EXCEPINFO of one failed Invoke; its BSTRs are freed with it.
class ExcepInfoOwner {
public:
    ExcepInfoOwner() : value_{} {}
    ~ExcepInfoOwner() { Reset(); }
    ExcepInfoOwner(const ExcepInfoOwner&) = delete;
    ExcepInfoOwner& operator=(const ExcepInfoOwner&) = delete;

    EXCEPINFO* get() { return &value_; }
    void Reset() {
        SysFreeString(value_.bstrSource);
        SysFreeString(value_.bstrDescription);
        SysFreeString(value_.bstrHelpFile);
        value_ = EXCEPINFO{};
    }
    // Fills in the texts a server left for later, once. Only an object in this process can
    // leave a callable fill-in: across processes the server's stub calls it, and what arrives
    // in the field then is no address of ours (Wine hands over a truncated server address).
    EXCEPINFO& Filled(bool objectInThisProcess) {
        auto fill = std::exchange(value_.pfnDeferredFillIn, nullptr);
        if (fill != nullptr && objectInThisProcess) fill(&value_);
        return value_;
    }

private:
    EXCEPINFO value_;
};

// Joins the calling thread to a single-threaded apartment for the holder's lifetime.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT result() const { return result_; }
    // Throws when the thread could not join an apartment (another kind was chosen before, or
    // COM itself could not start): nothing of the host could be reached.
    void Require() const {
        if (SUCCEEDED(result_)) return;
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result_));
        throw std::runtime_error(std::string("COM could not be set up for this program (code ") +
                                 code + ").");
    }

private:
    HRESULT result_;
};

}  // namespace tarvello::host
