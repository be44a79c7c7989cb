#pragma once
// The organisation's policies as the system keeps them: the values of
// HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Tarvello Rounding Utility and the same key under
// HKEY_CURRENT_USER (engine/policy/organisation_policy.h says what they mean), read once as the
// program starts and never written; and the read of the price rules they name.

#include <windows.h>

#include <optional>
#include <string>

#include "engine/policy/organisation_policy.h"
#include "engine/policy/organisation_rules.h"
#include "identity/identity.h"
#include "ui/window-utils/message_presenter.h"

namespace tarvello::app {

// One policy key in the registry, read-only. A text is a REG_SZ, a REG_EXPAND_SZ with its
// %VARIABLES% expanded, or a REG_MULTI_SZ with its strings as lines; a number is a REG_DWORD.
class RegistryPolicyKey : public PolicyKey {
public:
    // `rootName`: how the user knows `root` ("HKEY_LOCAL_MACHINE").
    RegistryPolicyKey(HKEY root, const wchar_t* rootName, std::wstring path);

    Text Where() const override;
    std::optional<PolicyValue> Read(const Text& name) const override;

private:
    HKEY root_;
    std::wstring rootName_;
    std::wstring path_;
};

// The policy both keys set, machine before user, in the user's number format; `path` is the
// key under each root (the program's own, unless a test names a scratch one).
OrganisationPolicy ReadSystemPolicy(const std::wstring& path = L"" TARVELLO_POLICY_KEY);

// Tells the user, once as the program starts, of the values the organisation set that are passed
// over: for them to pass on to whoever set them.
void TellPolicyProblems(HWND owner, const OrganisationPolicy& policy,
                        ui::MessagePresenter& messages);

// Reads the organisation's rules where `source` says they are: a file, on a share too (this may
// wait as long as the network does), or the text the policy holds.
RulesRead ReadRulesAt(const RulesSource& source);

}  // namespace tarvello::app
