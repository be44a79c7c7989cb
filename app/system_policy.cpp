#include "app/system_policy.h"

#include <algorithm>
#include <vector>

#include "app/user_files.h"
#include "engine/numbers/text_util.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/scoped_win.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::app {

using ui::ToText;
using ui::ToWide;

namespace {

// A REG_MULTI_SZ's strings, each ended by a null, the list by one more: as lines.
std::wstring Lines(const std::wstring& strings) {
    std::wstring lines;
    for (std::size_t at = 0; at < strings.size() && strings[at] != L'\0';) {
        const std::size_t end = std::min(strings.find(L'\0', at), strings.size());
        lines += strings.substr(at, end - at) + L"\n";
        at = end + 1;
    }
    return lines;
}

std::wstring Expanded(const std::wstring& text) {
    const DWORD length = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(length, L'\0');
    if (length == 0 || ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length) != length) {
        return text;
    }
    expanded.resize(length - 1);
    return expanded;
}

}  // namespace

RegistryPolicyKey::RegistryPolicyKey(HKEY root, const wchar_t* rootName, std::wstring path)
    : root_(root), rootName_(rootName), path_(std::move(path)) {}

Text RegistryPolicyKey::Where() const {
    return ToText(rootName_ + L"\\" + path_);
}

std::optional<PolicyValue> RegistryPolicyKey::Read(const Text& name) const {
    ui::ScopedKey key;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring valueName = ToWide(name);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // Room for the nulls a stored text may lack.
    std::vector<BYTE> data(bytes + 2 * sizeof(wchar_t), 0);
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    PolicyValue value;
    const std::wstring stored(reinterpret_cast<const wchar_t*>(data.data()),
                              bytes / sizeof(wchar_t));
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        value.kind = PolicyValue::Kind::Text;
        const std::wstring text = type == REG_MULTI_SZ ? Lines(stored) : stored.c_str();
        value.text = ToText(type == REG_EXPAND_SZ ? Expanded(text) : text);
    } else if (type == REG_DWORD && bytes == sizeof(DWORD)) {
        value.kind = PolicyValue::Kind::Number;
        value.number = *reinterpret_cast<const DWORD*>(data.data());
    }
    return value;
}

OrganisationPolicy ReadSystemPolicy(const std::wstring& path) {
    return ReadOrganisationPolicy(
        RegistryPolicyKey(HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", path),
        RegistryPolicyKey(HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", path), ui::UserNumberFormat());
}

void TellPolicyProblems(HWND owner, const OrganisationPolicy& policy,
                        ui::MessagePresenter& messages) {
    if (policy.problems.empty()) return;
    std::wstring text =
        L"Some of the settings your organisation made for this utility cannot be used. Please "
        L"tell whoever looks after it:\n";
    for (const Text& problem : policy.problems) text += L"\n" + ToWide(problem);
    messages.Show(owner, text, L"" TARVELLO_TITLE, MB_ICONWARNING);
}

RulesRead ReadRulesAt(const RulesSource& source) {
    if (source.kind != RulesSource::Kind::File) return RulesRead{source.text, Text()};
    std::string why;
    DWORD error = 0;
    std::optional<std::string> text = ReadSmallFile(ToWide(source.where), why, error);
    return RulesRead{std::move(text), TextFromUtf8(why)};
}

}  // namespace tarvello::app
