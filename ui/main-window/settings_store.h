#pragma once
// The window's section of the settings store: REG_SZ values under one registry key.

#include <optional>
#include <string>

#include "ui/main-window/services.h"

namespace tarvello::ui {

class SettingsStore {
public:
    explicit SettingsStore(SettingsLocation where) : where_(std::move(where)) {}
    // The stored text, or nothing when the key or value is missing or is not a text.
    std::optional<std::wstring> Read(const wchar_t* name) const;
    // Creates or replaces the value; false when the store cannot be written.
    bool Write(const wchar_t* name, const std::wstring& text) const;

private:
    SettingsLocation where_;
};

}  // namespace tarvello::ui
