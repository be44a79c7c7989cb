// The command line, and the start state worked out from it and the quote files.

#include <gtest/gtest.h>
#include <windows.h>

#include "standin/options.h"
#include "standin/startup.h"
#include "standin/text_file.h"

namespace tarvello::standin {
namespace {

TEST(ParseOptions, ReadsEveryOption) {
    StandinOptions o;
    std::wstring error;
    ASSERT_TRUE(ParseOptions({L"--quote",
                              L"a.csv",
                              L"--quote",
                              L"b.csv",
                              L"--active-document",
                              L"1",
                              L"--selected",
                              L"1,2,5",
                              L"--active-row",
                              L"-1",
                              L"--dump",
                              L"d.csv",
                              L"--log",
                              L"l.txt",
                              L"--fail-call",
                              L"3:0x80020009",
                              L"--fail-call",
                              L"7:0x80010001:4",
                              L"--exit-at-call",
                              L"9",
                              L"--hold-at-call",
                              L"12:500",
                              L"--ready-file",
                              L"r.txt",
                              L"--fresh-members",
                              L"--quiet"},
                             &o, &error))
        << std::string(error.begin(), error.end());
    EXPECT_EQ(o.quotes, (std::vector<std::wstring>{L"a.csv", L"b.csv"}));
    EXPECT_EQ(o.activeDocument, 1);
    EXPECT_EQ(o.selected, L"1,2,5");
    EXPECT_EQ(o.activeRow, -1);
    EXPECT_EQ(o.dumpFile, L"d.csv");
    EXPECT_EQ(o.logFile, L"l.txt");
    ASSERT_EQ(o.failCalls.size(), 2u);
    EXPECT_EQ(o.failCalls[0].first, 3);
    EXPECT_EQ(o.failCalls[0].count, 1);
    EXPECT_EQ(static_cast<uint32_t>(o.failCalls[0].hresult), 0x80020009u);
    EXPECT_EQ(o.failCalls[1].first, 7);
    EXPECT_EQ(o.failCalls[1].count, 4);
    EXPECT_EQ(static_cast<uint32_t>(o.failCalls[1].hresult), 0x80010001u);
    EXPECT_EQ(o.exitAtCall, 9);
    EXPECT_EQ(o.holdAtCall, 12);
    EXPECT_EQ(o.holdMs, 500);
    EXPECT_EQ(o.readyFile, L"r.txt");
    EXPECT_TRUE(o.quiet);
    EXPECT_TRUE(o.freshMembers);
    EXPECT_FALSE(StandinOptions{}.activeDocument);
    EXPECT_FALSE(StandinOptions{}.freshMembers);
}

TEST(ParseOptions, NamesTheWrongOption) {
    struct Case {
        std::vector<std::wstring> args;
        const wchar_t* error;
    };
    const Case cases[] = {
        {{L"--bogus", L"1"}, L"unknown option --bogus"},
        {{L"--quote"}, L"--quote needs a value"},
        {{L"stray"}, L"unexpected argument \"stray\""},
        {{L"--active-row", L"x"}, L"bad value \"x\" for --active-row"},
        {{L"--exit-at-call", L"0"}, L"bad value \"0\" for --exit-at-call"},
        {{L"--hold-at-call", L"3:x"}, L"bad value \"3:x\" for --hold-at-call"},
        {{L"--fail-call", L"3"}, L"bad value \"3\" for --fail-call"},
        {{L"--fail-call", L"3:0x1FFFFFFFF"}, L"bad value \"3:0x1FFFFFFFF\" for --fail-call"},
        {{L"--fail-call", L"3:0x80004005:0"}, L"bad value \"3:0x80004005:0\" for --fail-call"},
    };
    for (const auto& c : cases) {
        StandinOptions o;
        std::wstring error;
        EXPECT_FALSE(ParseOptions(c.args, &o, &error));
        EXPECT_EQ(error, c.error);
    }
}

class PrepareStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t dir[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, dir);
        path_ = std::wstring(dir) + L"standin-start-" + std::to_wstring(GetCurrentProcessId()) +
                L".csv";
        ASSERT_TRUE(ReplaceTextFile(path_,
                                    L"LineType,Description,QtyTotal,UnitPrice,PriceModifier\n"
                                    L"2,H,,,\n1,A,1,2,\n1,B,3,4,\n"));
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }
    std::wstring path_;
};

TEST_F(PrepareStartTest, DefaultsFollowWhatIsLoaded) {
    StandinOptions o;
    o.quotes = {path_};
    StartState s;
    std::wstring error;
    ASSERT_TRUE(PrepareStart(o, &s, &error)) << std::string(error.begin(), error.end());
    EXPECT_EQ(s.workspace.active, 0);
    ASSERT_TRUE(s.workspace.Active());
    EXPECT_EQ(s.workspace.Active()->items.size(), 3u);
    EXPECT_EQ(s.workspace.Active()->name.substr(0, 14), L"standin-start-");
    EXPECT_TRUE(s.selected.empty());
    EXPECT_EQ(s.focus, 0);

    StartState none;
    ASSERT_TRUE(PrepareStart(StandinOptions{}, &none, &error));
    EXPECT_EQ(none.workspace.active, -1);
    EXPECT_EQ(none.focus, -1);
}

TEST_F(PrepareStartTest, RefusesRowsAndDocumentsThatAreNotThere) {
    struct Case {
        std::optional<int> document;
        std::optional<std::wstring> selected;
        int row;
        const wchar_t* error;
    };
    const Case cases[] = {
        {1, std::nullopt, 0, L"--active-document 1: there is 1 document"},
        {std::nullopt, L"0,3", 0,
         L"--selected: row \"3\" is not a row of the document (rows 0 to 2)"},
        {std::nullopt, std::nullopt, 3, L"--active-row 3: the document has 3 rows"},
    };
    for (const auto& c : cases) {
        StandinOptions o;
        o.quotes = {path_};
        o.activeDocument = c.document;
        o.selected = c.selected;
        o.activeRow = c.row;
        StartState s;
        std::wstring error;
        EXPECT_FALSE(PrepareStart(o, &s, &error));
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
}  // namespace tarvello::standin
