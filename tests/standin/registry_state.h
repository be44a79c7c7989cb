#pragma once
// Reading and restoring the registry entries the stand-in tests look at.

#include <windows.h>

#include <optional>
#include <string>

namespace tarvello::testing {

inline constexpr wchar_t kStandinClsid[] = L"{6D1E3A52-4C0B-4B8E-9F21-7A5C3E9B1D40}";

bool KeyExists(HKEY root, const std::wstring& path);
// The default value of root\path, or nullopt when the key or value is missing.
std::optional<std::wstring> ReadDefaultValue(HKEY root, const std::wstring& path);
bool WriteDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value);

// Remembers a key's default value (and whether the key existed) and puts it back when it
// goes out of scope, deleting keys the test created.
class RegistryKeyGuard {
public:
    RegistryKeyGuard(HKEY root, std::wstring parent, std::wstring child);
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;
    ~RegistryKeyGuard();

private:
    HKEY root_;
    std::wstring parent_, child_;
    bool parentExisted_;
    std::optional<std::wstring> childValue_;
};

}  // namespace tarvello::testing
