// Hosts whose members are shaped differently from the stand-in's: members declared as
// methods and operations as properties, member reads that give a new object every time, and
// new objects that number their members differently.

#include <gtest/gtest.h>

#include "tests/host/host_fixture.h"

namespace tarvello::host::testing {
namespace {

HRESULT AnswerCount(const FakeInvocation& call, VARIANT* result, EXCEPINFO*) {
    if (call.operation == L"LineItemCount") {
        V_VT(result) = VT_I4;
        V_I4(result) = 4;
    } else if (call.operation != L"LineItemSetValue") {
        V_VT(result) = VT_I2;
        V_I2(result) = 1;
    }
    return S_OK;
}

using MemberShapes = HostFixture;

TEST_F(MemberShapes, EveryCallIsFoundWhicheverWayTheHostDeclaresItsMembers) {
    // Reads and value-returning operations are flagged as both a method and a property get;
    // only the write is a plain method call.
    struct Case {
        const wchar_t* member;
        Declared declared;
    };
    const Case cases[] = {
        {L"DocFunctions", Declared::Method},
        {L"ItemFunctions", Declared::Method},
        {L"GetActiveDocumentIndex", Declared::Property},
        {L"LineItemGetSelectedRows", Declared::Property},
        {L"LineItemCount", Declared::Property},
        {L"LineItemGetValue", Declared::Property},
        {L"LineItemGetActiveRow", Declared::Property},
    };
    for (const Case& declared : cases) fake().Declare(declared.member, declared.declared);
    fake().SetHandler(AnswerCount);
    {
        auto host = Attach();
        std::int16_t row = 0;
        EXPECT_EQ(Variant::Int16(1), host->GetActiveDocumentIndex());
        EXPECT_EQ(Variant::Int16(1), host->LineItemGetSelectedRows());
        EXPECT_EQ(Variant::Int32(4), host->LineItemCount());
        EXPECT_EQ(Variant::Int16(1), host->LineItemGetValue(row, u"LineType"));
        EXPECT_EQ(Variant::Int16(1), host->LineItemGetActiveRow());
        Variant price = Variant::Double(2);
        host->LineItemSetValue(row, u"UnitPrice", price);
    }
    std::vector<std::wstring> invokes;
    for (const auto& line : fake().Log()) {
        if (line.rfind(L"Invoke ", 0) == 0) invokes.push_back(line);
    }
    const std::vector<std::wstring> expected = {
        LR"(Invoke Application.DocFunctions [method|get])",
        LR"(Invoke DocFunctions.GetActiveDocumentIndex() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetSelectedRows() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemCount() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 0, VT_BSTR "LineType") [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetActiveRow() [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 0, VT_BSTR "UnitPrice", VT_R8|VT_BYREF 2))",
    };
    EXPECT_SAME_LINES(expected, invokes);
    EXPECT_EQ(0, fake().OutstandingReferences());
}

TEST_F(MemberShapes, AHostHandingOutNewMembersIsAskedForEachNameOncePerRoundAndNothingPilesUp) {
    fake().HandOutFreshMembers();
    fake().SetHandler(AnswerCount);
    constexpr int kItems = 12;
    {
        auto host = Attach();
        EXPECT_EQ(Variant::Int16(1), host->GetActiveDocumentIndex());
        for (std::int16_t item = 0; item < kItems; ++item) {
            std::int16_t row = item;
            EXPECT_EQ(Variant::Int16(1), host->LineItemGetValue(row, u"LineType"));
            EXPECT_EQ(Variant::Int32(4), host->LineItemCount());
            // Between calls the link holds the application and nothing else, however many
            // members were handed out.
            EXPECT_EQ(1, fake().HeldObjects()) << "after item " << item;
        }
        EXPECT_EQ(1 + 2 * kItems, fake().FreshObjectsMade());
    }

    std::vector<std::wstring> expected = {
        LR"(GetIDsOfNames Application "DocFunctions")",
        LR"(Invoke Application.DocFunctions [method|get])",
        LR"(GetIDsOfNames DocFunctions "GetActiveDocumentIndex")",
        LR"(Invoke DocFunctions.GetActiveDocumentIndex() [method|get])",
        LR"(GetIDsOfNames Application "ItemFunctions")",
    };
    for (int item = 0; item < kItems; ++item) {
        const std::wstring row = std::to_wstring(item);
        expected.push_back(LR"(Invoke Application.ItemFunctions [method|get])");
        if (item == 0) expected.push_back(LR"(GetIDsOfNames ItemFunctions "LineItemGetValue")");
        expected.push_back(L"Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF " + row +
                           LR"(, VT_BSTR "LineType") [method|get])");
        expected.push_back(LR"(Invoke Application.ItemFunctions [method|get])");
        if (item == 0) expected.push_back(LR"(GetIDsOfNames ItemFunctions "LineItemCount")");
        expected.push_back(LR"(Invoke ItemFunctions.LineItemCount() [method|get])");
    }
    EXPECT_SAME_LINES(expected, fake().Log());
    EXPECT_EQ(0, fake().HeldObjects());
    EXPECT_EQ(0, fake().OutstandingReferences());
}

TEST_F(MemberShapes, AMemberNumberedAnewOnANewObjectIsAskedForOnceMoreAndCalledRightly) {
    fake().HandOutFreshMembers();
    // Each answer names the operation that ran and the arguments it was given.
    fake().SetHandler([](const FakeInvocation& call, VARIANT* result, EXCEPINFO*) {
        std::wstring text = call.operation;
        for (UINT i = 0; i < call.count; ++i) text += L" " + DescribeArgument(call.arguments[i]);
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(text.c_str());
        return S_OK;
    });
    auto host = Attach();
    std::int16_t row = 2;
    EXPECT_EQ(Variant::FromText(u"LineItemCount"), host->LineItemCount());
    EXPECT_EQ(Variant::FromText(uR"(LineItemGetValue VT_I2|VT_BYREF 2 VT_BSTR "UnitPrice")"),
              host->LineItemGetValue(row, u"UnitPrice"));
    fake().NumberFreshMembersFrom(101);
    fake().ClearLog();
    row = 3;
    EXPECT_EQ(Variant::FromText(uR"(LineItemGetValue VT_I2|VT_BYREF 3 VT_BSTR "QtyTotal")"),
              host->LineItemGetValue(row, u"QtyTotal"));
    EXPECT_EQ(Variant::FromText(uR"(LineItemGetValue VT_I2|VT_BYREF 3 VT_BSTR "LineType")"),
              host->LineItemGetValue(row, u"LineType"));
    EXPECT_EQ(Variant::FromText(u"LineItemCount"), host->LineItemCount());

    // Asked once more after the old number failed on the new object, then the new number.
    const std::vector<std::wstring> expected = {
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.#3 [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemGetValue")",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 3, VT_BSTR "QtyTotal") [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 3, VT_BSTR "LineType") [method|get])",
        LR"(Invoke Application.ItemFunctions [method|get])",
        LR"(Invoke ItemFunctions.#2 [method|get])",
        LR"(GetIDsOfNames ItemFunctions "LineItemCount")",
        LR"(Invoke ItemFunctions.LineItemCount() [method|get])",
    };
    EXPECT_SAME_LINES(expected, fake().Log());
}

}  // namespace
}  // namespace tarvello::host::testing
