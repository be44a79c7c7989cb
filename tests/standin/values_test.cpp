// Numbers, row lists, variant descriptions and call counting.

#include <gtest/gtest.h>

#include "standin/call_faults.h"
#include "standin/number_text.h"
#include "standin/row_selection.h"
#include "standin/variant_text.h"
#include "standin/variant_value.h"

namespace tarvello::standin {
namespace {

TEST(NumberText, ShortestRoundTripAndStrictReading) {
    EXPECT_EQ(FormatNumber(12.5), L"12.5");
    EXPECT_EQ(FormatNumber(10), L"10");
    EXPECT_EQ(FormatNumber(-0.0), L"0");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), L"0.30000000000000004");
    double v = 0;
    EXPECT_TRUE(ParseNumber(L" 8.325 ", &v));
    EXPECT_EQ(v, 8.325);
    EXPECT_TRUE(ParseNumber(L"+3", &v));
    EXPECT_EQ(v, 3);
    for (const wchar_t* bad : {L"", L"  ", L"1,5", L"12abc", L"n/a", L"inf", L"1e999"})
        EXPECT_FALSE(ParseNumber(bad, &v)) << std::wstring(bad).size();
}

TEST(RowSelection, FormatsAsClientsSeeIt) {
    EXPECT_EQ(FormatSelectedRows({}, 5), L"");
    EXPECT_EQ(FormatSelectedRows({5, 1, 2}, 8), L"1,2,5");
    EXPECT_EQ(FormatSelectedRows({0, 1, 2}, 3), L"*");
    EXPECT_EQ(FormatSelectedRows({}, 0), L"");
}

TEST(RowSelection, ParsesCommandLineLists) {
    std::vector<int> rows;
    std::wstring error;
    ASSERT_TRUE(ParseRowList(L"5,1,2,1", 6, &rows, &error));
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 5}));
    ASSERT_TRUE(ParseRowList(L"*", 3, &rows, &error));
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
    ASSERT_TRUE(ParseRowList(L"", 3, &rows, &error));
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(ParseRowList(L"1,,2", 3, &rows, &error));
    EXPECT_FALSE(ParseRowList(L"-1", 3, &rows, &error));
    EXPECT_FALSE(ParseRowList(L"3", 3, &rows, &error));
}

TEST(VariantText, DescribesKindAndValue) {
    short row = 3;
    double price = 12.5;
    ScopedBstr field(L"Unit\"Price\"");
    BSTR nullText = nullptr;
    struct Case {
        VARIANT v;
        const wchar_t* expected;
    };
    VARIANT i2ref{}, r8ref{}, bstr{}, bstrRef{}, empty{}, boolean{}, cy{}, err{};
    i2ref.vt = VT_I2 | VT_BYREF;
    i2ref.piVal = &row;
    r8ref.vt = VT_R8 | VT_BYREF;
    r8ref.pdblVal = &price;
    bstr.vt = VT_BSTR;
    bstr.bstrVal = field.get();
    bstrRef.vt = VT_BSTR | VT_BYREF;
    bstrRef.pbstrVal = &nullText;
    empty.vt = VT_EMPTY;
    boolean.vt = VT_BOOL;
    boolean.boolVal = VARIANT_TRUE;
    cy.vt = VT_CY;
    cy.cyVal.int64 = 123450;
    err.vt = VT_ERROR;
    err.scode = DISP_E_PARAMNOTFOUND;
    const Case cases[] = {
        {i2ref, L"VT_I2|VT_BYREF 3"},
        {r8ref, L"VT_R8|VT_BYREF 12.5"},
        {bstr, L"VT_BSTR \"Unit\"\"Price\"\"\""},
        {bstrRef, L"VT_BSTR|VT_BYREF \"\""},
        {empty, L"VT_EMPTY"},
        {boolean, L"VT_BOOL -1"},
        {cy, L"VT_CY 12.345"},
        {err, L"VT_ERROR 0x80020004"},
    };
    for (const auto& c : cases) EXPECT_EQ(DescribeVariant(c.v), c.expected);
}

TEST(VariantValue, ReadsArgumentsOfEveryReasonableKind) {
    short row = 7;
    VARIANT byRef{}, r8{}, fraction{}, text{};
    byRef.vt = VT_I2 | VT_BYREF;
    byRef.piVal = &row;
    r8.vt = VT_R8;
    r8.dblVal = 4;
    fraction.vt = VT_R8;
    fraction.dblVal = 4.5;
    ScopedBstr digits(L"12");
    text.vt = VT_BSTR;
    text.bstrVal = digits.get();
    EXPECT_EQ(ReadRow(byRef), 7);
    EXPECT_EQ(ReadRow(r8), 4);
    EXPECT_FALSE(ReadRow(fraction));
    EXPECT_FALSE(ReadRow(text));
    EXPECT_EQ(ReadNumber(fraction), 4.5);
    EXPECT_FALSE(ReadNumber(text)) << "numbers never come from text";
    EXPECT_EQ(ReadText(text), L"12");
    EXPECT_FALSE(ReadText(r8));
}

TEST(CallFaults, CountsCallsAndPicksTheirFate) {
    CallFaults faults({{2, 2, static_cast<int32_t>(0x80020009)}, {6, 1, 5}}, 7);
    std::vector<CallFaults::Action> actions;
    for (int i = 0; i < 7; ++i) actions.push_back(faults.Next().action);
    using A = CallFaults::Action;
    EXPECT_EQ(actions,
              (std::vector<A>{A::Serve, A::Fail, A::Fail, A::Serve, A::Serve, A::Fail, A::Exit}));
}

}  // namespace
}  // namespace tarvello::standin
