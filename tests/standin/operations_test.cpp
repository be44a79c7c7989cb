// The six operations over real COM: values and their kinds, writes and what follows from
// them, refused calls, and the log and dump a client's calls leave behind.

#include <gtest/gtest.h>

#include "standin/variant_value.h"
#include "tests/standin/standin_fixture.h"

namespace tarvello::testing {
namespace {

using standin::ScopedBstr;

class OperationsTest : public StandinTest {};

TEST_F(OperationsTest, EveryOperationAnswersWithItsKind) {
    StartWithQuote({L"--selected", L"1,2", L"--active-row", L"2"});
    auto docs = Docs();
    auto items = Items();
    ASSERT_TRUE(docs && items);
    EXPECT_EQ(Invoke(docs.Get(), L"GetActiveDocumentIndex").value, L"VT_I2 0");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemCount").value, L"VT_I4 5");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemGetSelectedRows").value, L"VT_BSTR \"1,2\"");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemGetActiveRow").value, L"VT_I2 2");

    struct Case {
        short row;
        const wchar_t* field;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {0, L"LineType", L"VT_I2 2"},
        {0, L"UnitPrice", L"VT_BSTR \"\""},
        {1, L"LineType", L"VT_I2 1"},
        {1, L"Description", L"VT_BSTR \"Cable, 5 m\""},
        {1, L"QtyTotal", L"VT_R8 3"},
        {1, L"UnitPrice", L"VT_R8 12.37"},
        {1, L"PriceModifier", L"VT_BSTR \"List\""},
        {1, L"ExtendedPrice", L"VT_R8 37.11"},
        {2, L"ExtendedPrice", L"VT_R8 374.875"},
        {4, L"QtyTotal", L"VT_BSTR \"n/a\""},
        {4, L"ExtendedPrice", L"VT_BSTR \"n/a\""},
    };
    for (const auto& c : cases) {
        short row = c.row;
        ScopedBstr field(c.field);
        auto byRef = Invoke(items.Get(), L"LineItemGetValue", {I2Ref(&row), Bstr(field.get())});
        auto byValue = Invoke(items.Get(), L"LineItemGetValue", {I2(c.row), Bstr(field.get())});
        EXPECT_EQ(byRef.value, c.expected) << "row " << c.row;
        EXPECT_EQ(byValue.value, c.expected) << "row " << c.row;
        EXPECT_EQ(row, c.row) << "the host must leave the caller's counter alone";
    }
}

TEST_F(OperationsTest, WritesShowInValuesDumpAndLog) {
    StartWithQuote();
    auto items = Items();
    ASSERT_TRUE(items);
    short row = 1;
    double price = 12.5;
    ScopedBstr unitPrice(L"UnitPrice"), modifier(L"PriceModifier"), empty(L""),
        extended(L"ExtendedPrice");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemSetValue",
                     {I2Ref(&row), Bstr(modifier.get()), Bstr(empty.get())})
                  .value,
              L"VT_EMPTY");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemSetValue",
                     {I2Ref(&row), Bstr(unitPrice.get()), R8Ref(&price)})
                  .value,
              L"VT_EMPTY");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemGetValue", {I2Ref(&row), Bstr(extended.get())}).value,
              L"VT_R8 37.5");

    EXPECT_EQ(standin_->ReadDump(),
              L"LineType,Description,QtyTotal,UnitPrice,PriceModifier,ExtendedPrice\r\n"
              L"2,Heading,,,,\r\n"
              L"1,\"Cable, 5 m\",3,12.5,,37.5\r\n"
              L"1,Mount,2.5,149.95,,374.875\r\n"
              L"3,Subtotal,,,,\r\n"
              L"1,Odd data,n/a,8.325,,n/a\r\n");

    const std::vector<std::wstring> expectedLog = {
        L"GetIDsOfNames Application \"ItemFunctions\"",
        L"Invoke Application.ItemFunctions [get]",
        L"GetIDsOfNames ItemFunctions \"LineItemSetValue\"",
        L"Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 1, VT_BSTR \"PriceModifier\", "
        L"VT_BSTR \"\") -> VT_EMPTY",
        L"GetIDsOfNames ItemFunctions \"LineItemSetValue\"",
        L"Invoke ItemFunctions.LineItemSetValue(VT_I2|VT_BYREF 1, VT_BSTR \"UnitPrice\", "
        L"VT_R8|VT_BYREF 12.5) -> VT_EMPTY",
        L"GetIDsOfNames ItemFunctions \"LineItemGetValue\"",
        L"Invoke ItemFunctions.LineItemGetValue(VT_I2|VT_BYREF 1, VT_BSTR \"ExtendedPrice\") "
        L"-> VT_R8 37.5",
    };
    EXPECT_EQ(standin_->ReadLog(), expectedLog);
}

TEST_F(OperationsTest, NamesAreFoundWhateverTheirCase) {
    StartWithQuote();
    auto items = Items();
    ASSERT_TRUE(items);
    EXPECT_EQ(Invoke(items.Get(), L"lineitemcount").value, L"VT_I4 5");
    EXPECT_EQ(Invoke(items.Get(), L"LINEITEMCOUNT").value, L"VT_I4 5");
    EXPECT_EQ(Invoke(items.Get(), L"NoSuchOperation").hr, DISP_E_UNKNOWNNAME);
}

TEST_F(OperationsTest, RefusedCallsSayWhy) {
    StartWithQuote();
    auto items = Items();
    ASSERT_TRUE(items);
    ScopedBstr unitPrice(L"UnitPrice"), bogus(L"Bogus"), extended(L"ExtendedPrice"), text(L"12");
    struct Case {
        const wchar_t* operation;
        std::vector<VARIANT> args;
        const wchar_t* description;
    };
    const Case cases[] = {
        {L"LineItemGetValue",
         {I2(5), Bstr(unitPrice.get())},
         L"Row 5 is not in the document (5 line items)."},
        {L"LineItemGetValue",
         {I2(-1), Bstr(unitPrice.get())},
         L"Row -1 is not in the document (5 line items)."},
        {L"LineItemGetValue", {I2(1), Bstr(bogus.get())}, L"Unknown field \"Bogus\"."},
        {L"LineItemGetValue", {R8(1.5), Bstr(unitPrice.get())}, L"The row is not a whole number."},
        {L"LineItemSetValue",
         {I2(1), Bstr(unitPrice.get()), Bstr(text.get())},
         L"UnitPrice takes a number."},
        {L"LineItemSetValue",
         {I2(1), Bstr(extended.get()), R8(3)},
         L"ExtendedPrice cannot be written."},
    };
    for (const auto& c : cases) {
        auto r = Invoke(items.Get(), c.operation, c.args);
        EXPECT_EQ(r.hr, DISP_E_EXCEPTION) << std::string(c.description, c.description + 20);
        EXPECT_EQ(r.description, c.description);
    }
    EXPECT_EQ(Invoke(items.Get(), L"LineItemGetValue", {I2(1)}).hr, DISP_E_BADPARAMCOUNT);
    // Nothing was changed by the refused write.
    EXPECT_EQ(Invoke(items.Get(), L"LineItemGetValue", {I2(1), Bstr(unitPrice.get())}).value,
              L"VT_R8 12.37");
}

TEST_F(OperationsTest, SelectedRowsFollowTheList) {
    struct Case {
        const wchar_t* selected;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {nullptr, L"VT_BSTR \"\""},
        {L"*", L"VT_BSTR \"*\""},
        {L"0,1,2,3,4", L"VT_BSTR \"*\""},
        {L"4,0,2", L"VT_BSTR \"0,2,4\""},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> args;
        if (c.selected) args = {L"--selected", c.selected};
        StartWithQuote(args);
        auto items = Items();
        ASSERT_TRUE(items);
        EXPECT_EQ(Invoke(items.Get(), L"LineItemGetSelectedRows").value, c.expected)
            << "--selected "
            << (c.selected ? std::string(c.selected, c.selected + wcslen(c.selected))
                           : std::string("(none)"));
        items.Reset();
        TearDown();
    }
}

TEST_F(OperationsTest, ActiveRowAndSelectionFollowTheKeyboard) {
    StartWithQuote({L"--selected", L"1,2", L"--active-row", L"2"});
    auto items = Items();
    ASSERT_TRUE(items);
    HWND list = FindWindowExW(standin_->Window(), nullptr, L"SysListView32", nullptr);
    ASSERT_TRUE(list);
    struct Case {
        UINT key;
        const wchar_t* activeRow;
        const wchar_t* selected;
    };
    const Case cases[] = {
        {VK_END, L"VT_I2 4", L"VT_BSTR \"4\""},
        {VK_UP, L"VT_I2 3", L"VT_BSTR \"3\""},
        {VK_HOME, L"VT_I2 0", L"VT_BSTR \"0\""},
    };
    for (const auto& c : cases) {
        // Sent, not posted: the list has moved before the next call is made.
        SendMessageW(list, WM_KEYDOWN, c.key, 0);
        SendMessageW(list, WM_KEYUP, c.key, 0);
        EXPECT_EQ(Invoke(items.Get(), L"LineItemGetActiveRow").value, c.activeRow) << c.key;
        EXPECT_EQ(Invoke(items.Get(), L"LineItemGetSelectedRows").value, c.selected) << c.key;
    }
}

// A second quote of one line item, beside the sample.
std::wstring OtherQuote(const TempDir& dir) {
    return dir.WriteFile(L"other.csv",
                         "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n"
                         "1,Only item,4,2.5,\n");
}

TEST_F(OperationsTest, SecondDocumentCanBeTheActiveOne) {
    std::wstring error;
    auto dir = TempDir::Create(&error);
    ASSERT_TRUE(dir);
    const std::wstring other = OtherQuote(*dir);
    StartWithQuote({L"--quote", other, L"--active-document", L"1"});
    auto docs = Docs();
    auto items = Items();
    ASSERT_TRUE(docs && items);
    EXPECT_EQ(Invoke(docs.Get(), L"GetActiveDocumentIndex").value, L"VT_I2 1");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemCount").value, L"VT_I4 1");
    EXPECT_EQ(Invoke(items.Get(), L"LineItemGetActiveRow").value, L"VT_I2 0");
    HWND window = standin_->Window();
    ASSERT_TRUE(window);
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    EXPECT_STREQ(title, L"Tarvello (stand-in) - other.csv");
}

// The user closes one quote and opens another in its place, later the first again.
TEST_F(OperationsTest, QuoteMenuPutsAnotherQuoteInTheActivePlace) {
    std::wstring error;
    auto dir = TempDir::Create(&error);
    ASSERT_TRUE(dir);
    const std::wstring other = OtherQuote(*dir);
    StartWithQuote({L"--quote", other, L"--selected", L"0", L"--active-row", L"2"});
    auto docs = Docs();
    auto items = Items();
    ASSERT_TRUE(docs && items);
    ScopedBstr unitPrice(L"UnitPrice"), description(L"Description");
    ASSERT_EQ(Invoke(items.Get(), L"LineItemSetValue", {I2(1), Bstr(unitPrice.get()), R8(12.5)}).hr,
              S_OK);
    struct Step {
        int quote;
        bool shown;
        const wchar_t* count;
        const wchar_t* row0;
        const wchar_t* dumpRow;
    };
    const Step steps[] = {
        {1, true, L"VT_I4 1", L"VT_BSTR \"Only item\"", L"\n1,Only item,4,2.5,,10\r"},
        {0, true, L"VT_I4 5", L"VT_BSTR \"Heading\"", L"\n1,\"Cable, 5 m\",3,12.5,List,37.5\r"},
        {2, false, L"VT_I4 5", L"VT_BSTR \"Heading\"", L"\n1,\"Cable, 5 m\",3,12.5,List,37.5\r"},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(standin_->ShowQuote(s.quote), s.shown) << "quote " << s.quote;
        EXPECT_EQ(Invoke(docs.Get(), L"GetActiveDocumentIndex").value, L"VT_I2 0");
        EXPECT_EQ(Invoke(items.Get(), L"LineItemCount").value, s.count) << "quote " << s.quote;
        EXPECT_EQ(Invoke(items.Get(), L"LineItemGetValue", {I2(0), Bstr(description.get())}).value,
                  s.row0);
        EXPECT_EQ(Invoke(items.Get(), L"LineItemGetSelectedRows").value, L"VT_BSTR \"\"");
        EXPECT_EQ(Invoke(items.Get(), L"LineItemGetActiveRow").value, L"VT_I2 0");
        EXPECT_NE(standin_->ReadDump().find(s.dumpRow), std::wstring::npos) << "quote " << s.quote;
    }
}

TEST_F(OperationsTest, NoDocumentOpen) {
    for (bool withQuote : {false, true}) {
        if (withQuote)
            StartWithQuote({L"--active-document", L"-1"});
        else
            Start({});
        auto docs = Docs();
        auto items = Items();
        ASSERT_TRUE(docs && items);
        EXPECT_EQ(Invoke(docs.Get(), L"GetActiveDocumentIndex").value, L"VT_I2 -1");
        auto count = Invoke(items.Get(), L"LineItemCount");
        EXPECT_EQ(count.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(count.description, L"No document is open.");
        EXPECT_FALSE(standin_->ShowQuote(0));
        docs.Reset();
        items.Reset();
        TearDown();
    }
}

}  // namespace
}  // namespace tarvello::testing
