// What the organisation sets: the two policy keys read machine before user, values passed over
// and named, and its price rules as the window offers them, read again and again.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "engine/numbers/text_util.h"
#include "engine/policy/organisation_policy.h"
#include "engine/policy/organisation_rules.h"

namespace tarvello {
namespace {

using Values = std::map<Text, PolicyValue>;

PolicyValue T(const char16_t* text) {
    return {PolicyValue::Kind::Text, text, 0};
}
PolicyValue N(std::uint32_t number) {
    return {PolicyValue::Kind::Number, u"", number};
}

struct MapKey : PolicyKey {
    MapKey(Text where, Values values) : where(std::move(where)), values(std::move(values)) {}
    Text Where() const override { return where; }
    std::optional<PolicyValue> Read(const Text& name) const override {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    Text where;
    Values values;
};

// The policy in one line: the rules' source, whether the user's own are allowed, what is fixed,
// then each problem.
std::string Summary(const OrganisationPolicy& p) {
    const FixedChoices& f = p.fixed;
    std::string line = p.rules.kind == RulesSource::Kind::None ? "no rules"
                       : p.rules.kind == RulesSource::Kind::File
                           ? "file " + Utf8Of(p.rules.where)
                           : "text " + p.rules.text + " at " + Utf8Of(p.rules.where);
    line += p.allowUserRules ? "; own allowed" : "";
    line += f.method ? "; " + Utf8Of(NameOf(*f.method)) + " " + Utf8Of(f.amount.value_or(u"")) : "";
    line += f.rows ? "; " + Utf8Of(NameOf(*f.rows)) : "";
    line += f.roundToTotalOff ? "; no total" : "";
    for (const Text& problem : p.problems) line += " | " + Utf8Of(problem);
    return line;
}

TEST(OrganisationPolicyTest, MachineBeforeUserAndEveryValuePassedOverIsNamed) {
    const struct {
        const char* name;
        Values machine, user;
        const char* expected;
    } cases[] = {
        {"no key", {}, {}, "no rules"},
        {"both set: the machine's file, the user's choices where the machine has none",
         {{u"PriceRulesFile", T(u" \\\\srv\\a.txt ")}, {u"RoundingMethod", T(u"Nearest")}},
         {{u"PriceRulesFile", T(u"\\\\srv\\b.txt")},
          {u"RoundingMethod", T(u"Decimal")},
          {u"RoundingAmount", T(u"0.5")},
          {u"AllowUserRules", N(1)},
          {u"AllowRoundToTotal", N(0)}},
         "file \\\\srv\\a.txt; own allowed; Nearest 0,5; no total"},
        {"the user's text; an empty file path is none",
         {{u"PriceRulesFile", T(u" ")}},
         {{u"PriceRules", T(u"lines")}, {u"RowsToRound", T(u"Selected")}},
         "text lines at HKCU\\P\\PriceRules; Selected"},
        {"a value of the wrong kind gives way to the user's; decimal places up to 10",
         {{u"RoundingMethod", N(1)}, {u"AllowUserRules", T(u"1")}},
         {{u"RoundingMethod", T(u"Decimal")}, {u"RoundingAmount", T(u"11")}},
         "no rules; Decimal  | AllowUserRules in HKLM\\P is not a number (REG_DWORD): it is "
         "passed over. | RoundingMethod in HKLM\\P is not a text: it is passed over. | "
         "RoundingAmount in HKCU\\P is \"11\", not a whole number from 0 to 10: it is passed "
         "over."},
        {"names that are none of the choices; an amount without its method",
         {{u"RoundingMethod", T(u"Fastest")},
          {u"RoundingAmount", T(u"5")},
          {u"RowsToRound", T(u"NoRows")}},
         {},
         "no rules | RoundingMethod in HKLM\\P is \"Fastest\", none of Decimal, Nearest, RoundUp: "
         "it is passed over. | RoundingAmount in HKLM\\P is set without RoundingMethod: it is "
         "passed over. | RowsToRound in HKLM\\P is \"NoRows\", none of Current, Selected, All: it "
         "is passed over."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Summary(ReadOrganisationPolicy(MapKey(u"HKLM\\P", c.machine),
                                                 MapKey(u"HKCU\\P", c.user), NumberFormat{u","})),
                  c.expected);
    }
}

// Whatever the reads, one after the other: the rules offered are exactly those of the last read
// when it gave rules, and none at all otherwise, never those of an earlier read nor any default;
// the line above them says where they come from, or what is wrong and where.
TEST(OrganisationRulesTest, RulesThatDoNotReadAreNeverStoodInForByOthers) {
    std::mt19937 random(37);
    std::vector<std::string> texts;
    for (int step = 1; step <= 3; ++step) {
        RulesTexts typed = DefaultRulesTexts({});
        typed.bands[0].step = WholeText(step);
        texts.push_back(PriceRulesFileText(typed, {}));
    }
    OrganisationRules rules({RulesSource::Kind::File, u"\\\\srv\\r.txt", {}}, {});
    EXPECT_EQ(Utf8Of(rules.Line()),
              "Reading the price rules your organisation sets, from \\\\srv\\r.txt…");
    for (int i = 0; i < 2000; ++i) {
        std::string text = texts[random() % texts.size()];
        const int how = static_cast<int>(random() % 6);
        // A byte dropped or changed, or the file cut short: damaged as often as not.
        const std::size_t at = random() % text.size();
        if (how == 1) text.erase(at, 1);
        if (how == 2) text[at] = static_cast<char>('0' + random() % 75);
        if (how == 3) text.resize(at);
        const RulesRead read = how == 0 ? RulesRead{std::nullopt, u"The network path was not found"}
                                        : RulesRead{text, u""};
        rules.Take(read);
        const std::optional<RulesTexts> expected =
            read.text ? ReadPriceRulesFile(*read.text, {}) : std::nullopt;
        ASSERT_EQ(rules.Usable(), expected.has_value()) << i;
        const std::string line = Utf8Of(rules.Line());
        if (expected) {
            RulesTexts shown = *expected;
            shown.bands[0].from = u"0";
            ASSERT_TRUE(rules.Texts() == shown) << i;
            ASSERT_EQ(rules.Rules().bands.at(0).step, *Decimal::FromText(shown.bands[0].step));
            ASSERT_EQ(line,
                      "Set by your organisation, from \\\\srv\\r.txt. They cannot be "
                      "changed here.");
        } else {
            ASSERT_TRUE(rules.Texts() == NoRulesTexts()) << i;
            ASSERT_TRUE(rules.Rules().bands.empty()) << i;
            ASSERT_EQ(line,
                      "Your organisation's price rules could not be read from "
                      "\\\\srv\\r.txt: " +
                          std::string(read.text ? "it is not a price rules file this "
                                                  "version of the utility reads"
                                                : "The network path was not found") +
                          ". Preview is unavailable until they can be read.");
        }
    }
}

}  // namespace
}  // namespace tarvello
