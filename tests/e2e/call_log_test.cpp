// What the host sees of one small Round, call by call, as the stand-in logs it.

#include <gtest/gtest.h>

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
    const RoundOutcome outcome = RunRound({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(1, outcome.written);

    const std::vector<std::wstring> expected = {
        LR"(GetIDsOfNames Application "DocFunctions")",
        LR"(Invoke Application.DocFunctions [get])",
        LR"(GetIDsOfNames DocFunctions "GetActiveDocumentIndex")",
        LR"(Invoke DocFunctions.GetActiveDocumentIndex() -> VT_I2 0)",
        LR"(GetIDsOfNames Application "ItemFunctions")",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetSelectedRows")",
        LR"(Invoke ItemFunctions.LineItemGetSelectedRows() -> VT_BSTR "0")",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemCount")",
        LR"(Invoke ItemFunctions.LineItemCount() -> VT_I4 2)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetValue")",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "LineType") -> VT_I2 1)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "UnitPrice") -> VT_R8 12.5)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "ExtendedPrice") -> VT_R8 25)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "QtyTotal") -> VT_R8 2)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetActiveRow")",
        LR"(Invoke ItemFunctions.LineItemGetActiveRow() -> VT_I2 0)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemSetValue")",
        LR"(Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 0, VT_BSTR "PriceModifier", VT_BSTR "") -> VT_EMPTY)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 0, VT_BSTR "UnitPrice", VT_R8|VT_BYREF 10) -> VT_EMPTY)",
        LR"(Invoke Application.ItemFunctions [get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 1, VT_BSTR "LineType") -> VT_I2 2)",
    };
    EXPECT_SAME_LINES(expected, standin.Log());
    standin.Close();
}

}  // namespace
}  // namespace tarvello::e2e
