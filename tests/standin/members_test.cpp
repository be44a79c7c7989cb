// The application's members over real COM: how the log marks a call's flags, and members
// that give a new object on every read.

#include <gtest/gtest.h>

#include "tests/standin/standin_fixture.h"

namespace tarvello::testing {
namespace {

using Microsoft::WRL::ComPtr;

class MembersTest : public StandinTest {};

ComPtr<IUnknown> IdentityOf(IDispatch* object) {
    ComPtr<IUnknown> identity;
    EXPECT_TRUE(SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(identity.GetAddressOf()))));
    return identity;
}

TEST_F(MembersTest, TheLogMarksHowEachCallWasFlagged) {
    StartWithQuote();
    const WORD kinds[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET,
                          DISPATCH_METHOD | DISPATCH_PROPERTYGET};
    for (WORD flags : kinds) {
        HRESULT hr = S_OK;
        auto items = GetObjectProperty(app_.Get(), L"ItemFunctions", &hr, flags);
        ASSERT_TRUE(items) << std::hex << hr;
        EXPECT_EQ(Invoke(items.Get(), L"LineItemCount", {}, flags).value, L"VT_I4 5");
    }
    std::vector<std::wstring> invokes;
    for (const auto& line : standin_->ReadLog()) {
        if (line.rfind(L"Invoke ", 0) == 0) invokes.push_back(line);
    }
    const std::vector<std::wstring> expected = {
        L"Invoke Application.ItemFunctions",
        L"Invoke ItemFunctions.LineItemCount() -> VT_I4 5",
        L"Invoke Application.ItemFunctions [get]",
        L"Invoke ItemFunctions.LineItemCount() [get] -> VT_I4 5",
        L"Invoke Application.ItemFunctions [method|get]",
        L"Invoke ItemFunctions.LineItemCount() [method|get] -> VT_I4 5",
    };
    EXPECT_EQ(invokes, expected);
}

TEST_F(MembersTest, MembersAreTheSameObjectEveryTimeUnlessAskedForFreshOnes) {
    struct Case {
        std::vector<std::wstring> args;
        bool fresh;
    };
    const Case cases[] = {{{}, false}, {{L"--fresh-members"}, true}};
    for (const Case& c : cases) {
        StartWithQuote(c.args);
        auto first = Items();
        auto second = Items();
        auto docs = Docs();
        auto moreDocs = Docs();
        ASSERT_TRUE(first && second && docs && moreDocs);
        EXPECT_EQ(c.fresh, IdentityOf(first.Get()).Get() != IdentityOf(second.Get()).Get());
        EXPECT_EQ(c.fresh, IdentityOf(docs.Get()).Get() != IdentityOf(moreDocs.Get()).Get());
        // Every one of them serves the same document, and is cut off when the host closes.
        EXPECT_EQ(Invoke(first.Get(), L"LineItemCount").value, L"VT_I4 5");
        EXPECT_EQ(Invoke(second.Get(), L"LineItemCount").value, L"VT_I4 5");
        EXPECT_EQ(Invoke(moreDocs.Get(), L"GetActiveDocumentIndex").value, L"VT_I2 0");
        app_.Reset();
        EXPECT_TRUE(standin_->Close());
        const HRESULT hr = Invoke(second.Get(), L"LineItemCount").hr;
        EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
        standin_.reset();
    }
}

}  // namespace
}  // namespace tarvello::testing
