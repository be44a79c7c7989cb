// What the host sees of one small Round, call by call, as the stand-in logs it.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/e2e_fixture.h"

namespace tarvello::e2e {
namespace {

TEST(RoundCallLog, OneItemAndOneHeadingMakeExactlyTheseCalls) {
    host::ComApartment apartment;
    Standin standin;
    standin.Start(std::vector<QuoteRow>{{L"1", L"Cable", L"2", L"12.5", L"List", L""},
                                        {L"2", L"Notes", L"", L"", L"", L""}},
                  {L"--selected", L"0", L"--active-row", L"0"});
    RecordingSink sink;
    const PassOutcome outcome = RunRound({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(1, outcome.written);

    const std::vector<std::wstring> expected = {
        LR"(GetIDsOfNames Application "DocFunctions")",
        LR"(Invoke Application.DocFunctions [method|get])",
        LR"(GetIDsOfNames DocFunctions "GetActiveDocumentIndex")",
        LR"(Invoke DocFunctions.GetActiveDocumentIndex() [method|get] -> VT_I2 0)",
        LR"(GetIDsOfNames Application "ItemFunctions")",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetSelectedRows")",
        LR"(Invoke ItemFunctions.LineItemGetSelectedRows() [method|get] -> VT_BSTR "0")",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemCount")",
        LR"(Invoke ItemFunctions.LineItemCount() [method|get] -> VT_I4 2)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetValue")",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "LineType") [method|get] -> VT_I2 1)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "UnitPrice") [method|get] -> VT_R8 12.5)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "ExtendedPrice") [method|get] -> VT_R8 25)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "QtyTotal") [method|get] -> VT_R8 2)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetActiveRow")",
        LR"(Invoke ItemFunctions.LineItemGetActiveRow() [method|get] -> VT_I2 0)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "PriceModifier") [method|get] -> VT_BSTR "List")",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemSetValue")",
        LR"(Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 0, VT_BSTR "PriceModifier", VT_BSTR "") -> VT_EMPTY)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 0, VT_BSTR "UnitPrice", VT_R8|VT_BYREF 10) -> VT_EMPTY)",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 1, VT_BSTR "LineType") [method|get] -> VT_I2 2)",
    };
    EXPECT_SAME_LINES(expected, standin.Log());
    standin.Close();
}

TEST(RoundCallLog, AHostHandingOutNewMembersIsAskedForNoMoreNamesThanOneKeepingThem) {
    host::ComApartment apartment;
    const std::vector<QuoteRow> quote = {{L"1", L"Cable", L"2", L"12.5", L"List", L""},
                                         {L"2", L"Notes", L"", L"", L"", L""},
                                         {L"1", L"Mount", L"1", L"7.3", L"", L""}};
    std::vector<std::wstring> logs[2];
    for (const bool freshMembers : {false, true}) {
        Standin standin;
        std::vector<std::wstring> arguments = {L"--selected", L"*"};
        if (freshMembers) arguments.push_back(L"--fresh-members");
        standin.Start(quote, arguments);
        RecordingSink sink;
        EXPECT_EQ(2, RunRound({5, u"UnitPrice", u"Nearest", u"All"}, sink).written);
        EXPECT_TRUE(sink.shown.empty());
        const std::vector<QuoteRow> dump = standin.Dump();
        ASSERT_EQ(3u, dump.size());
        EXPECT_EQ((std::vector<std::wstring>{L"10", L"5"}),
                  (std::vector<std::wstring>{dump[0].unitPrice, dump[2].unitPrice}));
        logs[freshMembers] = standin.Log();
        standin.Close();
    }
    const auto lookUps = [](const std::vector<std::wstring>& log) {
        return std::count_if(log.begin(), log.end(), [](const std::wstring& line) {
            return line.rfind(L"GetIDsOfNames ", 0) == 0;
        });
    };
    EXPECT_LE(lookUps(logs[true]), lookUps(logs[false]));
    // Call for call the same Round: every operation still reads its member afresh.
    EXPECT_SAME_LINES(logs[false], logs[true]);
}

}  // namespace
}  // namespace tarvello::e2e
