#include "ui/window-utils/platform_accessible_properties.h"

#include <oleacc.h>
#include <wrl/client.h>

namespace tarvello::ui {

namespace {

// Not in every SDK's headers; the documented values.
// LiveSetting_Property_GUID {C12BCD8E-2A8E-4950-8AE7-3625111D58EB}
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
// The LiveSetting value Polite: read out when the reader is done with what it is saying.
constexpr LONG kPolite = 1;
#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
constexpr DWORD EVENT_OBJECT_LIVEREGIONCHANGED = 0x8019;
#endif

// Made for each use rather than kept: a service held past the end of the apartment would be
// released after COM has gone.
Microsoft::WRL::ComPtr<IAccPropServices> Services() {
    Microsoft::WRL::ComPtr<IAccPropServices> services;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices,
                                reinterpret_cast<void**>(services.GetAddressOf())))) {
        services.Reset();
    }
    return services;
}

void SetText(HWND control, const MSAAPROPID& property, const std::wstring& text) {
    if (auto services = Services()) {
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                                 text.c_str());
    }
}

}  // namespace

void PlatformAccessibleProperties::SetName(HWND control, const std::wstring& name) {
    SetText(control, PROPID_ACC_NAME, name);
}

void PlatformAccessibleProperties::SetDescription(HWND control, const std::wstring& description) {
    SetText(control, PROPID_ACC_DESCRIPTION, description);
}

void PlatformAccessibleProperties::SetPoliteLiveRegion(HWND control) {
    if (auto services = Services()) {
        VARIANT polite{};
        polite.vt = VT_I4;
        polite.lVal = kPolite;
        services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              kLiveSettingProperty, polite);
    }
}

void PlatformAccessibleProperties::LiveRegionChanged(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}

void PlatformAccessibleProperties::Clear(HWND control) {
    if (auto services = Services()) {
        // One at a time: a system that does not know the live setting refuses the whole list.
        for (const MSAAPROPID& property :
             {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, kLiveSettingProperty}) {
            services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     &property, 1);
        }
    }
}

}  // namespace tarvello::ui
