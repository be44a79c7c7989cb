#include "standin/registration.h"

#include "standin/text_file.h"

namespace tarvello::standin {

// {6D1E3A52-4C0B-4B8E-9F21-7A5C3E9B1D40}
const CLSID kStandinClsid = {
    0x6d1e3a52, 0x4c0b, 0x4b8e, {0x9f, 0x21, 0x7a, 0x5c, 0x3e, 0x9b, 0x1d, 0x40}};
const wchar_t kProgId[] = L"Tarvello.Application";
const wchar_t kStandinClsidText[] = L"{6D1E3A52-4C0B-4B8E-9F21-7A5C3E9B1D40}";

namespace {

const std::wstring kClsidKey = std::wstring(L"CLSID\\") + kStandinClsidText;

class Key {
public:
    ~Key() {
        if (h_) RegCloseKey(h_);
    }
    HKEY* put() { return &h_; }
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

// The default value of `path`; nullopt-like empty with *exists false when there is none.
std::wstring DefaultValue(HKEY root, const std::wstring& path, bool* exists) {
    *exists = false;
    Key key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return {};
    wchar_t data[256] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &size) != ERROR_SUCCESS)
        return {};
    *exists = true;
    return data;
}

LSTATUS SetDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value) {
    Key key;
    LSTATUS s = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                key.put(), nullptr);
    if (s != ERROR_SUCCESS) return s;
    return RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Deletes `path` when it has nothing left in it (no subkeys, no values).
void DeleteIfEmpty(HKEY root, const std::wstring& path) {
    Key key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    if (subkeys == 0 && values == 0) RegDeleteKeyW(root, path.c_str());
}

// Deletes `path` (a key holding only its default value) when that value is `expected`,
// then its parent when nothing else is left there.
void DeleteIfOurs(HKEY root, const std::wstring& path, const std::wstring& expected,
                  const std::wstring& parent) {
    bool exists = false;
    std::wstring value = DefaultValue(root, path, &exists);
    if (!exists || lstrcmpiW(value.c_str(), expected.c_str()) != 0) return;
    Key key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
    DWORD subkeys = 0, values = 0;
    RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    if (subkeys != 0 || values > 1) return;  // someone added to it: leave it
    RegDeleteKeyW(root, path.c_str());
    DeleteIfEmpty(root, parent);
}

}  // namespace

Registration::Outcome Registration::Register(std::wstring* message) {
    const std::vector<Root> roots = {{HKEY_CURRENT_USER, L"Software\\Classes\\"},
                                     {HKEY_CLASSES_ROOT, L""}};
    // Look first, write after: a foreign registration in either place means no change at all.
    for (const auto& root : roots) {
        bool exists = false;
        std::wstring clsid = DefaultValue(root.key, root.classes + kProgId + L"\\CLSID", &exists);
        if (exists && lstrcmpiW(clsid.c_str(), kStandinClsidText) != 0) {
            *message = std::wstring(L"\"") + kProgId + L"\" is already registered (CLSID " + clsid +
                       L"), probably by an installed Tarvello. The stand-in leaves that "
                       L"registration alone and does not start.";
            return Outcome::Foreign;
        }
    }
    for (const auto& root : roots) {
        LSTATUS s =
            SetDefaultValue(root.key, root.classes + kProgId + L"\\CLSID", kStandinClsidText);
        if (s == ERROR_SUCCESS)
            s = SetDefaultValue(root.key, root.classes + kClsidKey + L"\\ProgID", kProgId);
        written_.push_back(root);
        if (s != ERROR_SUCCESS) {
            bool isClassesRoot = root.key == HKEY_CLASSES_ROOT;
            // A normal user on Windows may not write the machine-wide view; the per-user
            // entries then serve.
            if (isClassesRoot && s == ERROR_ACCESS_DENIED) continue;
            *message = L"Cannot register \"" + std::wstring(kProgId) + L"\": " + SystemMessage(s);
            Remove();
            return Outcome::Failed;
        }
    }
    return Outcome::Registered;
}

void Registration::Remove() {
    for (auto it = written_.rbegin(); it != written_.rend(); ++it) {
        DeleteIfOurs(it->key, it->classes + kProgId + L"\\CLSID", kStandinClsidText,
                     it->classes + kProgId);
        DeleteIfOurs(it->key, it->classes + kClsidKey + L"\\ProgID", kProgId,
                     it->classes + kClsidKey);
    }
    written_.clear();
}

}  // namespace tarvello::standin
