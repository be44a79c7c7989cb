#include "standin/registration.h"

#include <cwchar>
#include <vector>

#include "standin/text_file.h"

namespace tarvello::standin {

// {6D1E3A52-4C0B-4B8E-9F21-7A5C3E9B1D40}
const CLSID kStandinClsid = {
    0x6d1e3a52, 0x4c0b, 0x4b8e, {0x9f, 0x21, 0x7a, 0x5c, 0x3e, 0x9b, 0x1d, 0x40}};
const wchar_t kProgId[] = L"Tarvello.Application";
const wchar_t kStandinClsidText[] = L"{6D1E3A52-4C0B-4B8E-9F21-7A5C3E9B1D40}";

namespace {

struct Place {
    HKEY root;
    const wchar_t* classes;  // prefix of the classes key inside root
    const wchar_t* label;
};

const Place kMachine = {HKEY_LOCAL_MACHINE, L"Software\\Classes\\",
                        L"HKEY_LOCAL_MACHINE\\Software\\Classes"};
const Place kUser = {HKEY_CURRENT_USER, L"Software\\Classes\\",
                     L"HKEY_CURRENT_USER\\Software\\Classes"};
const Place kMerged = {HKEY_CLASSES_ROOT, L"", L"HKEY_CLASSES_ROOT"};

// Each place is read on its own: on Windows the merged view hides a machine-wide key as soon
// as the same key exists per user, so it alone cannot tell whether Tarvello is installed.
const Place kAllPlaces[] = {kMachine, kUser, kMerged};
// Written per user first: on Windows later writes through the merged view then land there too,
// and a standard user cannot write the machine-wide keys. Wine only looks at the merged view.
const Place kWritePlaces[] = {kUser, kMerged};

// One key the stand-in writes: parent\child with `value` as the child's default value.
struct Entry {
    std::wstring parent, child, value;
};

std::vector<Entry> Entries() {
    return {{kProgId, L"CLSID", kStandinClsidText},
            {std::wstring(L"CLSID\\") + kStandinClsidText, L"ProgID", kProgId}};
}

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

// The default value of `path`; empty with *exists false when there is none. A value that is
// not text is reported as such so that it is never mistaken for the stand-in's own.
std::wstring DefaultValue(HKEY root, const std::wstring& path, bool* exists) {
    *exists = false;
    Key key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    *exists = true;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return L"(a value that is not text)";
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
        return L"(an unreadable value)";
    data.resize(wcsnlen(data.c_str(), data.size()));
    return data;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
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

// Deletes the entry's key when it holds only the stand-in's value, then its parent when
// nothing else is left there.
void DeleteIfOurs(const Place& place, const Entry& entry) {
    const std::wstring parent = place.classes + entry.parent;
    const std::wstring path = parent + L"\\" + entry.child;
    bool exists = false;
    std::wstring value = DefaultValue(place.root, path, &exists);
    if (!exists || !SameText(value, entry.value)) return;
    Key key;
    if (RegOpenKeyExW(place.root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return;
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        subkeys != 0 || values > 1)
        return;  // someone added to it: leave it
    RegDeleteKeyW(place.root, path.c_str());
    DeleteIfEmpty(place.root, parent);
}

// Says why `place` holds a registration of someone else, or returns false.
bool FindForeign(const Place& place, const Entry& entry, std::wstring* message) {
    bool exists = false;
    std::wstring value =
        DefaultValue(place.root, place.classes + entry.parent + L"\\" + entry.child, &exists);
    if (!exists || SameText(value, entry.value)) return false;
    *message = std::wstring(L"\"") + kProgId + L"\" is already registered by someone else: " +
               place.label + L"\\" + entry.parent + L"\\" + entry.child + L" holds " + value +
               L" (probably an installed Tarvello). The stand-in leaves that registration alone "
               L"and does not start.";
    return true;
}

}  // namespace

Registration::Outcome Registration::Register(std::wstring* message) {
    const std::vector<Entry> entries = Entries();
    // Look everywhere first, write after: a foreign registration anywhere means no change at all.
    for (const auto& place : kAllPlaces)
        for (const auto& entry : entries)
            if (FindForeign(place, entry, message)) return Outcome::Foreign;
    registered_ = true;
    for (const auto& place : kWritePlaces) {
        LSTATUS s = ERROR_SUCCESS;
        for (const auto& entry : entries) {
            s = SetDefaultValue(place.root, place.classes + entry.parent + L"\\" + entry.child,
                                entry.value);
            if (s != ERROR_SUCCESS) break;
        }
        if (s == ERROR_SUCCESS) continue;
        // A standard user on Windows may not write the machine-wide view; the per-user
        // entries then serve.
        if (place.root == HKEY_CLASSES_ROOT && s == ERROR_ACCESS_DENIED) continue;
        *message = L"Cannot register \"" + std::wstring(kProgId) + L"\": " + SystemMessage(s);
        Remove();
        return Outcome::Failed;
    }
    return Outcome::Registered;
}

void Registration::Remove() {
    if (!registered_) return;
    registered_ = false;
    // Every place, not only those written this time: an earlier stand-in that ended abruptly
    // may have left its entries anywhere, and they would shadow a real Tarvello.
    for (const auto& place : kAllPlaces)
        for (const auto& entry : Entries()) DeleteIfOurs(place, entry);
}

}  // namespace tarvello::standin
