#pragma once
// Room policy/: what an organisation sets for all its users through the system's policies:
// where the price rules come from, whether a user may keep their own, and choices of the main
// window fixed. It uses numbers/, request/ and pricing/.
//
// Every setting is a value of one policy key, read from the machine's key before the user's
// (the user's is for where only per-user policy can be set):
//
//   PriceRulesFile     text    a price rules file (price_rules_form.h): a path, \\server\share\...
//   PriceRules         lines   the text of such a file itself
//   AllowUserRules     number  1: the user may use their own rules in place of the organisation's
//   RoundingMethod     text    Decimal, Nearest or RoundUp, fixed
//   RoundingAmount     text    that method's amount, with a point before decimals, fixed
//   FieldToRound       text    UnitPrice or ExtendedPrice, fixed
//   RowsToRound        text    Current, Selected or All, fixed
//   AllowRoundToTotal  number  0: Edit > Round to a Total is turned off
//
// The price rules come whole from the first key that names them, the file before the text. A
// value that cannot be used is passed over and named among the problems, for the user to pass
// on to whoever set it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "numbers/number_format.h"
#include "numbers/variant.h"
#include "request/rounding_request.h"

namespace tarvello {

enum class PolicySetting {
    PriceRulesFile,
    PriceRules,
    AllowUserRules,
    RoundingMethod,
    RoundingAmount,
    FieldToRound,
    RowsToRound,
    AllowRoundToTotal,
};

// The value's name in the policy key ("PriceRulesFile").
Text NameOf(PolicySetting setting);

// One value as a key holds it: a text (lines apart by line feeds), a number, or something else.
struct PolicyValue {
    enum class Kind { Text, Number, Other } kind = Kind::Other;
    Text text;
    std::uint32_t number = 0;
};

// One policy key (the registry's, in app/; a map in tests).
class PolicyKey {
public:
    virtual ~PolicyKey() = default;
    // The key's full name, for the user ("HKEY_LOCAL_MACHINE\SOFTWARE\Policies\...").
    virtual Text Where() const = 0;
    // The value of that name; nothing when the key or the value is not there.
    virtual std::optional<PolicyValue> Read(const Text& name) const = 0;
};

// Where the organisation's price rules come from: nowhere, a file, or the text in a key.
struct RulesSource {
    enum class Kind { None, File, Text } kind = Kind::None;
    // The file's path, or the key and value holding the text ("HKEY_...\PriceRules").
    Text where;
    // Kind::Text: the rules' text, as a file would hold it.
    std::string text;
};

// Choices of the main window the organisation fixed; nothing where it fixed none.
struct FixedChoices {
    std::optional<RoundingMethod> method;
    // The method's amount as its box shows it, in the user's number format.
    std::optional<Text> amount;
    std::optional<RoundedPrice> field;
    std::optional<RowChoice> rows;
    bool roundToTotalOff = false;
    bool Any() const { return method || amount || field || rows || roundToTotalOff; }
};

struct OrganisationPolicy {
    RulesSource rules;
    bool allowUserRules = false;
    FixedChoices fixed;
    // One sentence for each value passed over.
    std::vector<Text> problems;
};

// The policy the two keys set, machine before user; amounts shown in `format`.
OrganisationPolicy ReadOrganisationPolicy(const PolicyKey& machine, const PolicyKey& user,
                                          const NumberFormat& format);

}  // namespace tarvello
