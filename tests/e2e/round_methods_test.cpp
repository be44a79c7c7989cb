// Every rounding method on every price field for every row scope, through the real stand-in.
// One stand-in serves the whole table; each case first puts the original prices back.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/e2e/e2e_fixture.h"

namespace tarvello::e2e {
namespace {

// Rows 1, 2, 3 and 5 are items; row 2 and row 5 are selected, row 3 has the focus.
const std::vector<QuoteRow> kQuote = {
    {L"2", L"Hardware", L"", L"", L"", L""},
    {L"1", L"Cable", L"3", L"12.25", L"", L""},      // extended 36.75
    {L"1", L"Mount", L"4", L"25.26", L"List", L""},  // extended 101.04
    {L"1", L"Display", L"2", L"13", L"", L""},       // extended 26
    {L"3", L"Subtotal", L"", L"", L"", L""},
    {L"1", L"Labour", L"1", L"10.4", L"Rate B", L""},  // extended 10.4
};
const std::vector<size_t> kItems = {1, 2, 3, 5};

struct Case {
    const char* name;
    double amount;
    const char16_t* method;
    const char16_t* field;
    std::vector<double> unitPrices;  // the new unit price of rows 1, 2, 3, 5
};

const Case kCases[] = {
    {"DecimalOnUnitPrice", 1, u"Decimal", u"UnitPrice", {12.2, 25.3, 13, 10.4}},
    {"DecimalOnExtendedPrice", 1, u"Decimal", u"ExtendedPrice", {36.8 / 3, 101.0 / 4, 13, 10.4}},
    {"NearestOnUnitPrice", 5, u"Nearest", u"UnitPrice", {10, 25, 15, 10}},
    {"NearestOnExtendedPrice", 5, u"Nearest", u"ExtendedPrice", {35.0 / 3, 25, 12.5, 10}},
    {"RoundUpOnUnitPrice", 5, u"RoundUp", u"UnitPrice", {15, 30, 15, 15}},
    {"RoundUpOnExtendedPrice", 5, u"RoundUp", u"ExtendedPrice", {40.0 / 3, 26.25, 15, 15}},
};

struct Scope {
    const char16_t* name;
    std::set<size_t> rows;
};

const Scope kScopes[] = {
    {u"Current", {3}},
    {u"Selected", {2, 5}},
    {u"All", {1, 2, 3, 5}},
};

std::vector<QuoteRow> Expected(const Case& method, const Scope& scope) {
    std::vector<QuoteRow> rows = kQuote;
    for (size_t i = 0; i < kItems.size(); ++i) {
        if (scope.rows.count(kItems[i]) == 0) continue;
        rows[kItems[i]].unitPrice = NumberText(method.unitPrices[i]);
        rows[kItems[i]].modifier.clear();
    }
    return rows;
}

class RoundMethods : public ::testing::TestWithParam<std::tuple<Case, Scope>> {
protected:
    static void SetUpTestSuite() {
        apartment_ = new host::ComApartment();
        standin_ = new Standin();
        standin_->Start(kQuote, {L"--selected", L"2,5", L"--active-row", L"3"});
    }
    static void TearDownTestSuite() {
        standin_->Close();
        delete standin_;
        delete apartment_;
    }
    void SetUp() override {
        ASSERT_TRUE(standin_->running());
        PutOriginalPricesBack();
    }

    static void PutOriginalPricesBack() {
        host::ComHostLink link;
        auto host = link.Attach();
        for (size_t row : kItems) {
            std::int16_t index = static_cast<std::int16_t>(row);
            Variant price = Variant::Double(std::stod(kQuote[row].unitPrice));
            Variant modifier =
                Variant::FromText(Text(kQuote[row].modifier.begin(), kQuote[row].modifier.end()));
            host->LineItemSetValue(index, u"UnitPrice", price);
            host->LineItemSetValue(index, u"PriceModifier", modifier);
        }
    }

    static host::ComApartment* apartment_;
    static Standin* standin_;
};

host::ComApartment* RoundMethods::apartment_ = nullptr;
Standin* RoundMethods::standin_ = nullptr;

TEST_P(RoundMethods, WriteTheNewUnitPriceOfTheChosenItemsOnly) {
    const Case& method = std::get<0>(GetParam());
    const Scope& scope = std::get<1>(GetParam());
    RecordingSink sink;
    const PassOutcome outcome =
        RunRound(Request{method.amount, method.field, method.method, scope.name}, sink);
    EXPECT_EQ(PassOutcome::Status::Completed, outcome.status);
    EXPECT_EQ(static_cast<std::int32_t>(scope.rows.size()), outcome.written);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_SAME_LINES(PriceLines(Expected(method, scope)), PriceLines(standin_->Dump()));
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Case, Scope>>& info) {
    std::string scope;
    for (const char16_t* c = std::get<1>(info.param).name; *c; ++c) scope += static_cast<char>(*c);
    return std::string(std::get<0>(info.param).name) + "_" + scope;
}

INSTANTIATE_TEST_SUITE_P(Table, RoundMethods,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::ValuesIn(kScopes)),
                         CaseName);

}  // namespace
}  // namespace tarvello::e2e
