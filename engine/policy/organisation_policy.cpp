#include "policy/organisation_policy.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "numbers/exact_decimal.h"
#include "numbers/text_blanks.h"
#include "numbers/text_util.h"

namespace tarvello {
namespace {

struct Named {
    PolicySetting setting;
    const char16_t* name;
};

// The one place where a value's name is spelt.
constexpr Named kSettings[] = {
    {PolicySetting::PriceRulesFile, u"PriceRulesFile"},
    {PolicySetting::PriceRules, u"PriceRules"},
    {PolicySetting::AllowUserRules, u"AllowUserRules"},
    {PolicySetting::RoundingMethod, u"RoundingMethod"},
    {PolicySetting::RoundingAmount, u"RoundingAmount"},
    {PolicySetting::FieldToRound, u"FieldToRound"},
    {PolicySetting::RowsToRound, u"RowsToRound"},
    {PolicySetting::AllowRoundToTotal, u"AllowRoundToTotal"},
};

// The main window takes at most 10 decimal places.
constexpr int kMostDecimalPlaces = 10;

// Reads the values of both keys, machine before user, and notes each one passed over.
class Reader {
public:
    Reader(const PolicyKey& machine, const PolicyKey& user) : keys_{&machine, &user} {}

    const std::array<const PolicyKey*, 2>& Keys() const { return keys_; }

    // The text `key` holds for `setting`; nothing when it holds none, or no text (noted).
    std::optional<Text> TextIn(const PolicyKey& key, PolicySetting setting) {
        const std::optional<PolicyValue> value = key.Read(NameOf(setting));
        if (!value) return std::nullopt;
        if (value->kind != PolicyValue::Kind::Text) {
            Refuse(key, setting, u"is not a text");
            return std::nullopt;
        }
        if (Trimmed(value->text).empty()) return std::nullopt;
        return value->text;
    }

    // The first key's text for `setting`, with that key.
    std::optional<std::pair<Text, const PolicyKey*>> FirstText(PolicySetting setting) {
        for (const PolicyKey* key : keys_) {
            if (auto text = TextIn(*key, setting)) return std::make_pair(Trimmed(*text), key);
        }
        return std::nullopt;
    }

    std::optional<std::uint32_t> Number(PolicySetting setting) {
        for (const PolicyKey* key : keys_) {
            const std::optional<PolicyValue> value = key->Read(NameOf(setting));
            if (!value) continue;
            if (value->kind == PolicyValue::Kind::Number) return value->number;
            Refuse(*key, setting, u"is not a number (REG_DWORD)");
        }
        return std::nullopt;
    }

    // A name from a table of choices, or nothing (noted, with the names it may be).
    template <typename Choice, typename Lookup>
    std::optional<Choice> Choose(PolicySetting setting, Lookup named,
                                 std::initializer_list<Choice> choices) {
        const auto found = FirstText(setting);
        if (!found) return std::nullopt;
        if (const std::optional<Choice> choice = named(found->first)) return choice;
        Text names;
        for (const Choice choice : choices) names += (names.empty() ? u"" : u", ") + NameOf(choice);
        Refuse(*found->second, setting, u"is \"" + found->first + u"\", none of " + names);
        return std::nullopt;
    }

    void Refuse(const PolicyKey& key, PolicySetting setting, const Text& what) {
        problems.push_back(NameOf(setting) + u" in " + key.Where() + u" " + what +
                           u": it is passed over.");
    }

    std::vector<Text> problems;

private:
    std::array<const PolicyKey*, 2> keys_;
};

RulesSource ReadRulesSource(Reader& reader) {
    for (const PolicyKey* key : reader.Keys()) {
        if (auto path = reader.TextIn(*key, PolicySetting::PriceRulesFile)) {
            return {RulesSource::Kind::File, Trimmed(*path), {}};
        }
        if (auto text = reader.TextIn(*key, PolicySetting::PriceRules)) {
            return {RulesSource::Kind::Text,
                    key->Where() + u"\\" + NameOf(PolicySetting::PriceRules), Utf8Of(*text)};
        }
    }
    return {};
}

// The amount goes into the fixed method's box, so it needs one; a number of decimal places is
// a whole number the window takes.
std::optional<Text> ReadAmount(Reader& reader, std::optional<RoundingMethod> method,
                               const NumberFormat& format) {
    const auto found = reader.FirstText(PolicySetting::RoundingAmount);
    if (!found) return std::nullopt;
    const std::optional<Decimal> amount = Decimal::FromText(found->first);
    const bool places = method == RoundingMethod::Decimal;
    if (!method) {
        reader.Refuse(*found->second, PolicySetting::RoundingAmount,
                      u"is set without " + NameOf(PolicySetting::RoundingMethod));
    } else if (!amount || (places && (!amount->IsWhole() || amount->Sign() < 0 ||
                                      *amount > Decimal::Whole(kMostDecimalPlaces)))) {
        reader.Refuse(*found->second, PolicySetting::RoundingAmount,
                      u"is \"" + found->first + u"\", not " +
                          (places ? u"a whole number from 0 to " + WholeText(kMostDecimalPlaces)
                                  : Text(u"an amount such as 0.05")));
    } else {
        return amount->ToText(format);
    }
    return std::nullopt;
}

}  // namespace

Text NameOf(PolicySetting setting) {
    for (const Named& entry : kSettings) {
        if (entry.setting == setting) return entry.name;
    }
    return Text();
}

OrganisationPolicy ReadOrganisationPolicy(const PolicyKey& machine, const PolicyKey& user,
                                          const NumberFormat& format) {
    Reader reader(machine, user);
    OrganisationPolicy policy;
    policy.rules = ReadRulesSource(reader);
    policy.allowUserRules = reader.Number(PolicySetting::AllowUserRules).value_or(0) != 0;
    FixedChoices& fixed = policy.fixed;
    fixed.method =
        reader.Choose(PolicySetting::RoundingMethod, MethodNamed,
                      {RoundingMethod::Decimal, RoundingMethod::Nearest, RoundingMethod::RoundUp});
    fixed.amount = ReadAmount(reader, fixed.method, format);
    fixed.field = reader.Choose(PolicySetting::FieldToRound, PriceFieldNamed,
                                {RoundedPrice::UnitPrice, RoundedPrice::ExtendedPrice});
    const auto rowsNamed = [](const Text& name) {
        const RowChoice rows = RowScopeNamed(name);
        return rows == RowChoice::NoRows ? std::nullopt : std::optional<RowChoice>(rows);
    };
    fixed.rows = reader.Choose(PolicySetting::RowsToRound, rowsNamed,
                               {RowChoice::Current, RowChoice::Selected, RowChoice::All});
    fixed.roundToTotalOff = reader.Number(PolicySetting::AllowRoundToTotal).value_or(1) == 0;
    policy.problems = std::move(reader.problems);
    return policy;
}

}  // namespace tarvello
