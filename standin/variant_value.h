#pragma once
// RAII for VARIANT and BSTR, and the conversions the stand-in's operations need.

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <optional>
#include <string>

namespace tarvello::standin {

class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&v_); }
    ~ScopedVariant() { VariantClear(&v_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    // Hands the value over to `out` (which must be empty or initialised).
    void MoveTo(VARIANT* out) {
        *out = v_;
        VariantInit(&v_);
    }

private:
    VARIANT v_;
};

class ScopedBstr {
public:
    explicit ScopedBstr(const std::wstring& text)
        : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~ScopedBstr() { SysFreeString(b_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR get() const { return b_; }
    BSTR release() {
        BSTR b = b_;
        b_ = nullptr;
        return b;
    }

private:
    BSTR b_;
};

// The kinds that hold a number proper (not a date, a Boolean or a text).
bool IsNumericKind(VARTYPE vt);

// The argument with any VT_BYREF (and VT_VARIANT|VT_BYREF) looked through.
const VARIANT& Dereferenced(const VARIANT& v);

// A whole number in the 16-bit range from any numeric kind (by value or by reference).
std::optional<short> ReadRow(const VARIANT& v);
// A double from a numeric kind, never from text.
std::optional<double> ReadNumber(const VARIANT& v);
// Text from VT_BSTR only.
std::optional<std::wstring> ReadText(const VARIANT& v);

void SetI2(VARIANT* out, short value);
void SetI4(VARIANT* out, long value);
void SetR8(VARIANT* out, double value);
void SetText(VARIANT* out, const std::wstring& text);

}  // namespace tarvello::standin
