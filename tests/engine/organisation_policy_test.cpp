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

class MapKey : public PolicyKey {
public:
    MapKey(Text where, Values values) : where_(std::move(where)), values_(std::move(values)) {}
    Text Where() const override { return where_; }
    std::optional<PolicyValue> Read(const Text& name) const override {
        const auto found = values_.find(name);
        if (found == values_.end()) return std::nullopt;
        return found->second;
    }

private:
    Text where_;
    Values values_;
};

const NumberFormat kComma{u","};
const std::string kRulesText = PriceRulesFileText(DefaultRulesTexts({}), {});

TEST(OrganisationPolicyTest, MachineBeforeUserAndEveryValuePassedOverIsNamed) {
    const struct {
        const char* name;
        Values machine, user;
        RulesSource::Kind rules;
        const char16_t* where;
        bool allowUserRules;
        std::optional<RoundingMethod> method;
        std::optional<Text> amount;
        std::optional<RowChoice> rows;
        bool roundToTotalOff;
        std::vector<Text> problems;
    } cases[] = {
        {"no key", {}, {}, RulesSource::Kind::None, u"", false, {}, {}, {}, false, {}},
        {"both set: the machine's file, the user's own choices where the machine has none",
         {{u"PriceRulesFile", T(u" \\\\srv\\a.txt ")}, {u"RoundingMethod", T(u"Nearest")}},
         {{u"PriceRulesFile", T(u"\\\\srv\\b.txt")},
          {u"RoundingMethod", T(u"Decimal")},
          {u"RoundingAmount", T(u"0.5")},
          {u"AllowUserRules", N(1)},
          {u"AllowRoundToTotal", N(0)}},
         RulesSource::Kind::File,
         u"\\\\srv\\a.txt",
         true,
         RoundingMethod::Nearest,
         Text(u"0,5"),
         {},
         true,
         {}},
        {"the user's text; an empty file path is none",
         {{u"PriceRulesFile", T(u" ")}},
         {{u"PriceRules", T(u"text")}, {u"RowsToRound", T(u"Selected")}},
         RulesSource::Kind::Text,
         u"HKCU\\P\\PriceRules",
         false,
         {},
         {},
         RowChoice::Selected,
         false,
         {}},
        {"a value of the wrong kind gives way to the user's",
         {{u"RoundingMethod", N(1)}, {u"AllowUserRules", T(u"1")}},
         {{u"RoundingMethod", T(u"RoundUp")}},
         RulesSource::Kind::None,
         u"",
         false,
         RoundingMethod::RoundUp,
         {},
         {},
         false,
         {u"AllowUserRules in HKLM\\P is not a number (REG_DWORD): it is passed over.",
          u"RoundingMethod in HKLM\\P is not a text: it is passed over."}},
        {"names that are none of the choices; an amount without its method",
         {{u"RoundingMethod", T(u"Fastest")},
          {u"RoundingAmount", T(u"5")},
          {u"RowsToRound", T(u"NoRows")}},
         {},
         RulesSource::Kind::None,
         u"",
         false,
         {},
         {},
         {},
         false,
         {u"RoundingMethod in HKLM\\P is \"Fastest\", none of Decimal, Nearest, RoundUp: it is "
          u"passed over.",
          u"RoundingAmount in HKLM\\P is set without RoundingMethod: it is passed over.",
          u"RowsToRound in HKLM\\P is \"NoRows\", none of Current, Selected, All: it is passed "
          u"over."}},
        {"decimal places are a whole number up to 10",
         {{u"RoundingMethod", T(u"Decimal")}, {u"RoundingAmount", T(u"11")}},
         {},
         RulesSource::Kind::None,
         u"",
         false,
         RoundingMethod::Decimal,
         {},
         {},
         false,
         {u"RoundingAmount in HKLM\\P is \"11\", not a whole number from 0 to 10: it is passed "
          u"over."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OrganisationPolicy policy = ReadOrganisationPolicy(
            MapKey(u"HKLM\\P", c.machine), MapKey(u"HKCU\\P", c.user), kComma);
        EXPECT_EQ(policy.rules.kind, c.rules);
        EXPECT_EQ(Utf8Of(policy.rules.where), Utf8Of(c.where));
        EXPECT_EQ(policy.rules.text, c.rules == RulesSource::Kind::Text ? "text" : "");
        EXPECT_EQ(policy.allowUserRules, c.allowUserRules);
        EXPECT_EQ(policy.fixed.method, c.method);
        EXPECT_EQ(policy.fixed.amount, c.amount);
        EXPECT_EQ(policy.fixed.rows, c.rows);
        EXPECT_EQ(policy.fixed.roundToTotalOff, c.roundToTotalOff);
        EXPECT_EQ(policy.problems, c.problems);
    }
}

RulesRead Holding(std::string text) {
    return {std::move(text), u""};
}

TEST(OrganisationRulesTest, SaysWhatIsWrongAndWhereAndTakesEachNewReadWhole) {
    OrganisationRules rules({RulesSource::Kind::File, u"\\\\srv\\rules.txt", {}}, {});
    EXPECT_EQ(Utf8Of(rules.Line()),
              "Reading the price rules your organisation sets, from \\\\srv\\rules.txt…");
    EXPECT_FALSE(rules.Usable());

    RulesTexts other = DefaultRulesTexts({});
    other.bands[0].step = u"1";
    const struct {
        const char* name;
        RulesRead read;
        bool changed;
        const char* line;
        const RulesTexts* texts;
    } steps[] = {
        {"a bad path",
         {std::nullopt, u"The network path was not found"},
         true,
         "Your organisation's price rules could not be read from \\\\srv\\rules.txt: The network "
         "path was not found. Preview is unavailable until they can be read.",
         nullptr},
        {"rules", Holding(kRulesText), true,
         "Set by your organisation, from \\\\srv\\rules.txt. They cannot be changed here.",
         nullptr},
        {"the same again", Holding(kRulesText), false, nullptr, nullptr},
        {"a file that does not parse", Holding("tarvello-price-rules\t1\n"), true,
         "Your organisation's price rules could not be read from \\\\srv\\rules.txt: it is not a "
         "price rules file this version of the utility reads. Preview is unavailable until they "
         "can be read.",
         nullptr},
        {"changed rules", Holding(PriceRulesFileText(other, {})), true, nullptr, &other},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(rules.Take(step.read), step.changed);
        if (step.line) {
            EXPECT_EQ(Utf8Of(rules.Line()), step.line);
        }
        if (step.texts) {
            EXPECT_TRUE(rules.Texts() == *step.texts);
        }
    }
}

// Whatever the reads, one after the other: the rules offered are exactly those of the last read
// when it gave rules, and none at all otherwise, never those of an earlier read nor any default.
TEST(OrganisationRulesTest, RulesThatDoNotReadAreNeverStoodInForByOthers) {
    std::mt19937 random(37);
    std::vector<std::string> texts;
    for (int step = 1; step <= 3; ++step) {
        RulesTexts typed = DefaultRulesTexts({});
        typed.bands[0].step = WholeText(step);
        texts.push_back(PriceRulesFileText(typed, {}));
    }
    OrganisationRules rules({RulesSource::Kind::Text, u"HKLM\\P\\PriceRules", {}}, {});
    for (int i = 0; i < 2000; ++i) {
        RulesRead read;
        std::string text = texts[random() % texts.size()];
        switch (random() % 4) {
            case 0:
                read.why = u"gone";
                break;
            case 1: {
                // A byte dropped, changed or the file cut short: damaged as often as not.
                const std::size_t at = random() % text.size();
                const int how = static_cast<int>(random() % 3);
                if (how == 0) text.erase(at, 1);
                if (how == 1) text[at] = static_cast<char>('0' + random() % 75);
                if (how == 2) text.resize(at);
                read.text = text;
                break;
            }
            default:
                read.text = text;
        }
        rules.Take(read);
        const std::optional<RulesTexts> expected =
            read.text ? ReadPriceRulesFile(*read.text, {}) : std::nullopt;
        ASSERT_EQ(rules.Usable(), expected.has_value()) << i;
        if (expected) {
            RulesTexts shown = *expected;
            shown.bands[0].from = u"0";
            ASSERT_TRUE(rules.Texts() == shown) << i;
            ASSERT_EQ(rules.Rules().bands.at(0).step, *Decimal::FromText(shown.bands[0].step));
        } else {
            ASSERT_TRUE(rules.Texts() == NoRulesTexts()) << i;
            ASSERT_TRUE(rules.Rules().bands.empty()) << i;
        }
    }
}

}  // namespace
}  // namespace tarvello
