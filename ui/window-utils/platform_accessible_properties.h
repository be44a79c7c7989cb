#pragma once
// The platform's side of the AccessibleProperties seam: dynamic annotation through
// IAccPropServices, and the live-region event. Where the accessibility services cannot be had
// (no COM on the thread, an old system), nothing is set and nothing fails: the window works the
// same, only less well described.

#include <windows.h>

#include <string>

#include "ui/window-utils/accessible_names.h"

namespace tarvello::ui {

class PlatformAccessibleProperties : public AccessibleProperties {
public:
    void SetName(HWND control, const std::wstring& name) override;
    void SetDescription(HWND control, const std::wstring& description) override;
    void SetPoliteLiveRegion(HWND control) override;
    void LiveRegionChanged(HWND control) override;
    void Clear(HWND control) override;
};

}  // namespace tarvello::ui
