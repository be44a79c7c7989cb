// Quote files in and out: fields, quoting, comments, cells that are not numbers, and the
// dump reading back as a quote.

#include <gtest/gtest.h>

#include "standin/quote_csv.h"

namespace tarvello::standin {
namespace {

using Records = std::vector<std::vector<std::wstring>>;

TEST(SplitCsv, FieldsQuotesCommentsAndBlankLines) {
    const wchar_t* text =
        L"\xFEFF# a comment\r\n"
        L"a,b,c\r\n"
        L"\r\n"
        L"\"x, y\",\"say \"\"hi\"\"\",\n"
        L"\"two\nlines\",#not a comment,z";
    Records expected = {{L"a", L"b", L"c"},
                        {L"x, y", L"say \"hi\"", L""},
                        {L"two\nlines", L"#not a comment", L"z"}};
    EXPECT_EQ(SplitCsv(text), expected);
}

TEST(ParseQuote, ReadsColumnsByHeaderName) {
    std::vector<LineItem> items;
    std::wstring error;
    ASSERT_TRUE(
        ParseQuote(L"UnitPrice,LineType,Extra,Description,QtyTotal,PriceModifier\n"
                   L"8.325,1,ignored,\"Cable, 5 m\",12,Promo\n"
                   L",2,,Heading,,\n"
                   L"abc,1,,Bad price, 2.5 ,\n",
                   &items, &error))
        << std::string(error.begin(), error.end());
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].lineType, Cell::Number(1));
    EXPECT_EQ(items[0].description, L"Cable, 5 m");
    EXPECT_EQ(items[0].qtyTotal, Cell::Number(12));
    EXPECT_EQ(items[0].unitPrice, Cell::Number(8.325));
    EXPECT_EQ(items[0].priceModifier, L"Promo");
    EXPECT_EQ(items[0].ExtendedPrice(), Cell::Number(8.325 * 12));
    EXPECT_EQ(items[1].unitPrice, Cell::Text(L""));
    EXPECT_EQ(items[2].unitPrice, Cell::Text(L"abc"));
    EXPECT_EQ(items[2].qtyTotal, Cell::Number(2.5));
    EXPECT_EQ(items[2].ExtendedPrice(), Cell::Text(L"abc"));
}

TEST(ParseQuote, RefusesWhatItCannotUse) {
    struct Case {
        const wchar_t* text;
        const wchar_t* error;
    };
    const Case cases[] = {
        {L"", L"the file has no header line"},
        {L"LineType,Description,QtyTotal,UnitPrice\n", L"the header has no column PriceModifier"},
        {L"LineType,Description,QtyTotal,UnitPrice,PriceModifier\n1.5,a,1,1,\n",
         L"record 1: LineType 1.5 is not a whole number from -32768 to 32767"},
        {L"LineType,Description,QtyTotal,UnitPrice,PriceModifier\n40000,a,1,1,\n",
         L"record 1: LineType 40000 is not a whole number from -32768 to 32767"},
    };
    for (const auto& c : cases) {
        std::vector<LineItem> items;
        std::wstring error;
        EXPECT_FALSE(ParseQuote(c.text, &items, &error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(FormatQuote, DumpReadsBackAsTheSameQuote) {
    std::vector<LineItem> items = {
        {Cell::Number(1), L"Wall display 75\", 4K", Cell::Number(3), Cell::Number(0.1 + 0.2),
         L"List -10%"},
        {Cell::Number(2), L"#hash first", Cell::Text(L""), Cell::Text(L""), L""},
        {Cell::Number(1), L"Bad", Cell::Text(L"n/a"), Cell::Number(1234.5), L""},
    };
    std::wstring dump = FormatQuote(items);
    EXPECT_EQ(dump,
              L"LineType,Description,QtyTotal,UnitPrice,PriceModifier,ExtendedPrice\r\n"
              L"1,\"Wall display 75\"\", 4K\",3,0.30000000000000004,List -10%,"
              L"0.9000000000000001\r\n"
              L"2,\"#hash first\",,,,\r\n"
              L"1,Bad,n/a,1234.5,,n/a\r\n");
    std::vector<LineItem> back;
    std::wstring error;
    ASSERT_TRUE(ParseQuote(dump, &back, &error));
    ASSERT_EQ(back.size(), items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(back[i].lineType, items[i].lineType) << i;
        EXPECT_EQ(back[i].description, items[i].description) << i;
        EXPECT_EQ(back[i].qtyTotal, items[i].qtyTotal) << i;
        EXPECT_EQ(back[i].unitPrice, items[i].unitPrice) << i;
        EXPECT_EQ(back[i].priceModifier, items[i].priceModifier) << i;
    }
}

}  // namespace
}  // namespace tarvello::standin
