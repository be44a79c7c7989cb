#include "tests/standin/registry_state.h"

namespace tarvello::testing {
bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<std::wstring> ReadDefaultValue(HKEY root, const std::wstring& path) {
    wchar_t data[256] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

bool WriteDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value) {
    return RegSetKeyValueW(root, path.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

RegistryKeyGuard::RegistryKeyGuard(HKEY root, std::wstring parent, std::wstring child)
    : root_(root),
      parent_(std::move(parent)),
      child_(std::move(child)),
      parentExisted_(KeyExists(root_, parent_)),
      childValue_(ReadDefaultValue(root_, parent_ + L"\\" + child_)) {}

RegistryKeyGuard::~RegistryKeyGuard() {
    std::wstring childPath = parent_ + L"\\" + child_;
    if (childValue_) {
        WriteDefaultValue(root_, childPath, *childValue_);
        return;
    }
    RegDeleteKeyW(root_, childPath.c_str());
    if (!parentExisted_) RegDeleteKeyW(root_, parent_.c_str());
}

}  // namespace tarvello::testing
