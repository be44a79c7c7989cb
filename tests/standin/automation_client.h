#pragma once
// A raw IDispatch client for the stand-in tests: attach through the running object table,
// read a property, invoke an operation by name with arguments in call order. Results come
// back described as the stand-in's own log shows them ("VT_R8 12.5"), so whole expectations
// compare as text.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace tarvello::testing {

struct CallResult {
    HRESULT hr = E_FAIL;
    std::wstring value;        // e.g. VT_I2 3; empty on failure
    std::wstring description;  // EXCEPINFO text on DISP_E_EXCEPTION
};

// CLSIDFromProgID("Tarvello.Application") + GetActiveObject; null with *hr on failure.
Microsoft::WRL::ComPtr<IDispatch> AttachToHost(HRESULT* hr);

// Reads a property such as "ItemFunctions" as an object.
Microsoft::WRL::ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name,
                                                    HRESULT* hr, WORD flags = DISPATCH_PROPERTYGET);

// Invokes `name` as a method (or with `flags`); `args` are in call order and stay owned by
// the caller.
CallResult Invoke(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {},
                  WORD flags = DISPATCH_METHOD);

VARIANT I2Ref(short* value);
VARIANT I2(short value);
VARIANT R8Ref(double* value);
VARIANT R8(double value);
VARIANT Bstr(BSTR text);  // the caller keeps `text` alive

std::wstring HexHr(HRESULT hr);

}  // namespace tarvello::testing
