// What the host sees of the link's calls: the sequence, the argument kinds, the names looked
// up once per Round, the row handed by reference, and every reference given back.

#include <gtest/gtest.h>

#include "tests/host/host_fixture.h"

namespace tarvello::host::testing {
namespace {

HRESULT AnswerDocument(const FakeInvocation& call, VARIANT* result, EXCEPINFO*) {
    if (call.operation == L"GetActiveDocumentIndex" || call.operation == L"LineItemGetActiveRow") {
        V_VT(result) = VT_I2;
        V_I2(result) = 0;
    } else if (call.operation == L"LineItemCount") {
        V_VT(result) = VT_I4;
        V_I4(result) = 2;
    } else if (call.operation == L"LineItemGetSelectedRows") {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(L"0,1");
    } else if (call.operation == L"LineItemGetValue") {
        V_VT(result) = VT_R8;
        V_R8(result) = 12.5;
    }
    return S_OK;
}

using HostCalls = HostFixture;

TEST_F(HostCalls, ReadsTheMemberAfreshForEveryCallAndLooksEachNameUpOncePerRound) {
    fake().SetHandler(AnswerDocument);
    {
        auto host = Attach();
        std::int16_t row = 0;
        Variant price = Variant::Double(10);
        EXPECT_EQ(Variant::Int16(0), host->GetActiveDocumentIndex());
        EXPECT_EQ(Variant::FromText(u"0,1"), host->LineItemGetSelectedRows());
        EXPECT_EQ(Variant::Int32(2), host->LineItemCount());
        EXPECT_EQ(Variant::Double(12.5), host->LineItemGetValue(row, u"LineType"));
        row = 1;
        EXPECT_EQ(Variant::Double(12.5), host->LineItemGetValue(row, u"UnitPrice"));
        EXPECT_EQ(Variant::Int16(0), host->LineItemGetActiveRow());
        Variant empty = Variant::FromText(u"");
        host->LineItemSetValue(row, u"PriceModifier", empty);
        host->LineItemSetValue(row, u"UnitPrice", price);
    }
    const std::vector<std::wstring> expected = {
        LR"(GetIDsOfNames Application "DocFunctions")",
        LR"(Invoke Application.DocFunctions [method|get])",
        LR"(GetIDsOfNames DocFunctions "GetActiveDocumentIndex")",
        LR"(Invoke DocFunctions.GetActiveDocumentIndex() [method|get])",
        LR"(GetIDsOfNames Application "ItemFunctions")",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetSelectedRows")",
        LR"(Invoke ItemFunctions.LineItemGetSelectedRows() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemCount")",
        LR"(Invoke ItemFunctions.LineItemCount() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetValue")",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "LineType") [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 1, VT_BSTR "UnitPrice") [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetActiveRow")",
        LR"(Invoke ItemFunctions.LineItemGetActiveRow() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemSetValue")",
        LR"(Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 1, VT_BSTR "PriceModifier", VT_BSTR ""))",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 1, VT_BSTR "UnitPrice", VT_R8|VT_BYREF 10))",
    };
    EXPECT_SAME_LINES(expected, fake().Log());
    EXPECT_EQ(0, fake().OutstandingReferences());
}

TEST_F(HostCalls, ANewRoundLooksTheNamesUpAgain) {
    fake().SetHandler(AnswerDocument);
    for (int round = 0; round < 2; ++round) {
        auto host = Attach();
        host->LineItemCount();
        host->LineItemCount();
    }
    const std::vector<std::wstring> oneRound = {
        LR"(GetIDsOfNames Application "ItemFunctions")",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemCount")",
        LR"(Invoke ItemFunctions.LineItemCount() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemCount() [method|get])",
    };
    std::vector<std::wstring> expected = oneRound;
    expected.insert(expected.end(), oneRound.begin(), oneRound.end());
    EXPECT_SAME_LINES(expected, fake().Log());
}

TEST_F(HostCalls, TheRowGoesByReferenceToTheCallersOwnCounter) {
    // A host that moves the row it was handed shows that it holds the caller's counter,
    // not a copy of it.
    fake().SetHandler([](const FakeInvocation& call, VARIANT* result, EXCEPINFO*) {
        const VARIANTARG& row = call.arguments[0];
        if (V_VT(&row) != (VT_I2 | VT_BYREF)) return DISP_E_TYPEMISMATCH;
        *V_I2REF(&row) += 100;
        if (call.operation == L"LineItemSetValue") {
            const VARIANTARG& value = call.arguments[2];
            if (V_VT(&value) == (VT_R8 | VT_BYREF)) *V_R8REF(&value) = 0.25;
        }
        V_VT(result) = VT_EMPTY;
        return S_OK;
    });
    auto host = Attach();
    std::int16_t row = 3;
    host->LineItemGetValue(row, u"UnitPrice");
    EXPECT_EQ(103, row);
    Variant price = Variant::Double(7);
    host->LineItemSetValue(row, u"UnitPrice", price);
    EXPECT_EQ(203, row);
    EXPECT_EQ(Variant::Double(0.25), price);
}

TEST_F(HostCalls, EveryReferenceIsGivenBackWhenTheRoundFails) {
    fake().SetHandler([](const FakeInvocation& call, VARIANT* result, EXCEPINFO*) {
        if (call.operation == L"LineItemGetValue") return E_FAIL;
        V_VT(result) = VT_I2;
        V_I2(result) = 0;
        return S_OK;
    });
    {
        auto host = Attach();
        host->GetActiveDocumentIndex();
        std::int16_t row = 0;
        EXPECT_THROW(host->LineItemGetValue(row, u"LineType"), HostError);
        EXPECT_GT(fake().OutstandingReferences(), 0);
    }
    EXPECT_EQ(0, fake().OutstandingReferences());
}

}  // namespace
}  // namespace tarvello::host::testing
