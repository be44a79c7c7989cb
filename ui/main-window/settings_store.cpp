#include "ui/main-window/settings_store.h"

#include <vector>

#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

std::optional<std::wstring> SettingsStore::Read(const wchar_t* name) const {
    ScopedKey key;
    if (RegOpenKeyExW(where_.root, where_.key.c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    buffer.back() = L'\0';  // a stored text need not end in a null
    return std::wstring(buffer.data());
}

bool SettingsStore::Write(const wchar_t* name, const std::wstring& text) const {
    ScopedKey key;
    if (RegCreateKeyExW(where_.root, where_.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          bytes) == ERROR_SUCCESS;
}

}  // namespace tarvello::ui
