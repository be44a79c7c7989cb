// The real program beside the real stand-in host, driven from outside as a user would: a
// Round through the window, its Undo with a line item changed in the host meanwhile, a preview
// applied and undone, a long Round stopped with Escape, and a message about a very long amount
// that still fits the screen.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/numbers/text_util.h"
#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "tests/main-window/remote_window.h"
#include "tests/main-window/utility_process.h"
#include "tests/support/standin_process.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/preview-window/preview_layout.h"

namespace tarvello::ui::testing {
namespace {

using tarvello::testing::StandinProcess;
using tarvello::testing::TempDir;

TEST(WindowEndToEnd, NearestTenOnTheUnitPriceThroughTheWindow) {
    ForgetJournal();
    std::wstring error;
    std::optional<TempDir> dir = TempDir::Create(&error);
    ASSERT_TRUE(dir) << Narrow(error);
    std::wstring quote = dir->WriteFile(L"quote.csv",
                                        "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n"
                                        "1,Widget,3,12,5%\n"
                                        "2,Heading,,,\n"
                                        "1,Gadget,2,16.5,\n"
                                        "1,Bolt,4,125,net\n");
    std::optional<StandinProcess> host = StandinProcess::Start({L"--quote", quote}, &error);
    ASSERT_TRUE(host) << Narrow(error);

    Utility utility;
    ASSERT_TRUE(utility.Start(&error)) << Narrow(error);
    using namespace main_window;
    HWND nearest = utility.Control(kOptNearest);
    HWND amount = utility.Control(kTxtNearest);
    ASSERT_TRUE(nearest && amount);

    // Choosing the method takes the focus to its box with "5" selected; typing replaces it.
    ASSERT_TRUE(SendBounded(nearest, BM_CLICK));
    ASSERT_TRUE(Type(amount, L"10"));
    EXPECT_EQ(RemoteText(amount), L"10");
    ASSERT_TRUE(SendBounded(utility.Control(kOptUnitPrice), BM_CLICK));
    bool rounded = SendBounded(utility.Control(kCmdRound), BM_CLICK);
    ASSERT_TRUE(rounded) << "Round did not come back; the utility shows: "
                         << Narrow(MessageBoxText(utility.ProcessId()));
    EXPECT_EQ(MessageBoxText(utility.ProcessId()), L"");

    // Unit price and price modifier of each row, as the host now holds them.
    Rows dump = CsvRows(host->ReadDump());
    std::vector<std::wstring> prices;
    for (size_t i = 1; i < dump.size(); ++i) {
        ASSERT_GE(dump[i].size(), 5u);
        prices.push_back(dump[i][1] + L" " + dump[i][3] + L" [" + dump[i][4] + L"]");
    }
    // 16.5 becomes 16 (halves to even) before it goes to the nearest 10; 125 lies halfway and
    // goes up.
    const std::vector<std::wstring> expected = {L"Widget 10 []", L"Heading  []", L"Gadget 20 []",
                                                L"Bolt 130 []"};
    EXPECT_EQ(prices, expected) << Narrow(host->ReadDump());

    // Close, pressed from outside, ends the program.
    ASSERT_TRUE(SendBounded(utility.Control(kCmdClose), BM_CLICK));
    EXPECT_TRUE(utility.WaitExit(20000));
    EXPECT_TRUE(host->Close());
}

// A quote of `count` line items of type 1, row i at unit price 10.3 + i with modifier "M<i>".
std::string LongQuote(int count) {
    std::string csv = "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n";
    for (int i = 0; i < count; ++i) {
        csv += "1,Item " + std::to_string(i) + ",1," + std::to_string(10 + i) + ".3,M" +
               std::to_string(i) + "\n";
    }
    return csv;
}

// The stand-in with a quote, and the utility beside it with "Nearest Multiple of" 5 on the
// unit price of all rows chosen.
class WindowRound : public ::testing::Test {
protected:
    void SetUp() override { ForgetJournal(); }
    void Start(const std::string& quoteCsv) {
        std::wstring error;
        dir_ = TempDir::Create(&error);
        ASSERT_TRUE(dir_) << Narrow(error);
        StartWith(dir_->WriteFile(L"quote.csv", quoteCsv));
    }
    void StartWith(const std::wstring& quoteFile, std::vector<std::wstring> more = {}) {
        std::wstring error;
        more.insert(more.begin(), {L"--quote", quoteFile});
        host_ = StandinProcess::Start(more, &error);
        ASSERT_TRUE(host_) << Narrow(error);
        before_ = CsvRows(host_->ReadDump());
        ASSERT_TRUE(utility_.Start(&error)) << Narrow(error);
        ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptNearest), BM_CLICK));
        ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptUnitPrice), BM_CLICK));
    }
    // What somebody types into a line item in Tarvello meanwhile.
    static void TypeInHost(std::int16_t row, const Text& field, Variant value) {
        host::ComHostLink link;
        link.Attach()->LineItemSetValue(row, field, value);
    }
    void Choose(int command) {
        PostMessageW(utility_.Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    // The box's text, after which the box is closed with OK.
    std::wstring TakeMessage(DWORD timeoutMs = 120000) {
        HWND box = WaitForMessageBox(utility_.ProcessId(), timeoutMs);
        if (!box) return L"(no message box)";
        std::wstring text = MessageBoxText(utility_.ProcessId());
        if (text.rfind(L"OK | ", 0) == 0) text.erase(0, 5);  // the button comes first
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
        return text;
    }

    host::ComApartment apartment_;
    std::optional<TempDir> dir_;
    std::optional<StandinProcess> host_;
    Rows before_;
    Utility utility_;
};

TEST_F(WindowRound, UndoGivesBackEveryPriceAndModifierButTheOneChangedSince) {
    // The sample quote: headings and subtotals between the items, modifiers on some of them.
    StartWith(ToWindowsPath(TARVELLO_SAMPLE_QUOTE));
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kCmdRound), BM_CLICK));
    ASSERT_EQ(MessageBoxText(utility_.ProcessId()), L"");

    const auto rounded = CsvRows(host_->ReadDump());

    // Somebody types a new unit price for row 2 ("Tilting wall mount", "List -10%") in Tarvello,
    // and a modifier for row 3.
    TypeInHost(2, u"UnitPrice", Variant::Double(99));
    TypeInHost(3, u"PriceModifier", Variant::FromText(u"Typed by hand -15%"));
    Choose(main_window::kMnuEditUndo);
    EXPECT_EQ(TakeMessage(),
              L"Undo restored 10 line items. Rows 2 (unit price) and 3 (price modifier) were left "
              L"as they are: they have changed since the Round. Row 16 already had its price "
              L"from before the Round: nothing was written into it.");

    // The dump ends in unit price, modifier, extended price; a description may hold a comma.
    const auto unit = [](const std::vector<std::wstring>& cells) {
        return cells[cells.size() - 3];
    };
    const auto modifier = [](const std::vector<std::wstring>& cells) {
        return cells[cells.size() - 2];
    };
    const auto after = CsvRows(host_->ReadDump());
    ASSERT_EQ(after.size(), before_.size());
    int modifiersBack = 0;
    for (std::size_t i = 1; i < after.size(); ++i) {
        const bool changed = i - 1 == 2 || i - 1 == 3;
        EXPECT_EQ(unit(after[i]), i - 1 == 2 ? L"99"
                                  : changed  ? unit(rounded[i])
                                             : unit(before_[i]))
            << "row " << i - 1;
        EXPECT_EQ(modifier(after[i]), i - 1 == 3 ? L"Typed by hand -15%"
                                      : changed  ? L""
                                                 : modifier(before_[i]))
            << "row " << i - 1;
        modifiersBack += !changed && !modifier(before_[i]).empty() && modifier(rounded[i]).empty();
    }
    EXPECT_EQ(modifiersBack, 3) << "\"Rate B\" twice and \"Promo\" came back";
}

TEST_F(WindowRound, EscapeStopsALongRoundWhoseProgressShowsAndPricesAreNewExactlyUpToThere) {
    constexpr int kLineItems = 3000;
    Start(LongQuote(kLineItems));
    HWND progress = utility_.Control(main_window::kLblProgress);
    PostMessageW(utility_.Control(main_window::kCmdRound), BM_CLICK, 0, 0);

    // "Rounding row N of 3000", N advancing.
    std::vector<int> shown;
    for (const ULONGLONG deadline = GetTickCount64() + 60000;
         shown.size() < 3 && GetTickCount64() < deadline; Sleep(50)) {
        int row = -1, of = -1;
        if (swscanf(RemoteText(progress).c_str(), L"Rounding row %d of %d", &row, &of) == 2 &&
            of == kLineItems && (shown.empty() || row > shown.back())) {
            shown.push_back(row);
        }
    }
    ASSERT_EQ(shown.size(), 3u) << "no advancing progress line";
    PostMessageW(utility_.Control(main_window::kCmdRound), WM_KEYDOWN, VK_ESCAPE, 1);

    const std::wstring message = TakeMessage();
    int stoppedAt = -1, of = -1;
    ASSERT_EQ(swscanf(message.c_str(), L"Rounding stopped at row %d of %d", &stoppedAt, &of), 2)
        << Narrow(message);
    EXPECT_GT(stoppedAt, shown.back());
    EXPECT_LT(stoppedAt, kLineItems);
    EXPECT_NE(message.find(std::to_wstring(stoppedAt) + L" line items had already been rounded"),
              std::wstring::npos)
        << Narrow(message);
    EXPECT_EQ(RemoteText(progress), L"") << "the progress line is put away";

    // Rounded prices exactly up to the row it stopped at, and no modifier cleared after it.
    const auto after = CsvRows(host_->ReadDump());
    ASSERT_EQ(after.size(), before_.size());
    for (int row = 0; row < kLineItems; ++row) {
        const auto& cells = after[static_cast<std::size_t>(row) + 1];
        if (row < stoppedAt) {
            EXPECT_EQ(cells[4], L"") << "row " << row;
        } else {
            EXPECT_EQ(cells[3], before_[static_cast<std::size_t>(row) + 1][3]) << "row " << row;
            EXPECT_EQ(cells[4], L"M" + std::to_wstring(row)) << "row " << row;
        }
    }
}

TEST_F(WindowRound, PreviewThenApplyWritesWhatARoundWritesAndUndoTakesItBack) {
    StartWith(ToWindowsPath(TARVELLO_SAMPLE_QUOTE));
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptExtendedPrice), BM_CLICK));
    // What a Round with these choices writes, and the quote given back.
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kCmdRound), BM_CLICK));
    ASSERT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    const auto rounded = CsvRows(host_->ReadDump());
    ASSERT_NE(rounded, before_);
    PostMessageW(utility_.Window(), WM_COMMAND, MAKEWPARAM(main_window::kMnuEditUndo, 0), 0);
    ASSERT_EQ(WaitForDocument(*host_, before_), before_);

    PostMessageW(utility_.Window(), WM_COMMAND, MAKEWPARAM(main_window::kMnuEditPreview, 0), 0);
    HWND preview = nullptr;
    for (const ULONGLONG deadline = GetTickCount64() + 60000;
         !preview && GetTickCount64() < deadline; Sleep(50)) {
        preview = FindWindowOfClass(utility_.ProcessId(), L"TarvelloPreview");
    }
    ASSERT_TRUE(preview) << "no preview; the utility shows: "
                         << Narrow(MessageBoxText(utility_.ProcessId()));
    EXPECT_EQ(RemoteText(preview), L"Preview Round");
    EXPECT_EQ(CsvRows(host_->ReadDump()), before_) << "a preview wrote";
    PostMessageW(GetDlgItem(preview, preview_window::kCmdApply), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForDocument(*host_, rounded), rounded) << "Apply wrote other prices";

    PostMessageW(utility_.Window(), WM_COMMAND, MAKEWPARAM(main_window::kMnuEditUndo, 0), 0);
    EXPECT_EQ(WaitForDocument(*host_, before_), before_) << "Undo after Apply";
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");

    // Previewed again; the quantity of row 1 goes from 1 to 3 before Apply: the price worked out
    // for 1 is not written.
    Choose(main_window::kMnuEditPreview);
    preview = nullptr;
    for (const ULONGLONG deadline = GetTickCount64() + 60000;
         !preview && GetTickCount64() < deadline; Sleep(50)) {
        preview = FindWindowOfClass(utility_.ProcessId(), L"TarvelloPreview");
    }
    ASSERT_TRUE(preview);
    TypeInHost(1, u"QtyTotal", Variant::Double(3));
    PostMessageW(GetDlgItem(preview, preview_window::kCmdApply), BM_CLICK, 0, 0);
    EXPECT_EQ(TakeMessage(),
              L"Apply wrote 11 line items. Row 1 was left as it is: its total quantity has "
              L"changed since the preview. Row 16 already had its new price: nothing was written "
              L"into it.");
    const auto row1 = CsvRows(host_->ReadDump())[2];  // its description holds a comma
    EXPECT_EQ(row1[row1.size() - 3], before_[2][before_[2].size() - 3]) << "row 1's unit price";
}

// Tarvello closes the quote that was rounded and opens another in its place, made from the same
// template: the same line types and quantities, half of the line items at the prices the Round
// wrote. Undo writes nothing into it, and gives the Round back once the first quote is open
// again, but for a price somebody changed meanwhile by less than a cent.
TEST_F(WindowRound, UndoWritesNothingIntoAnotherQuoteInTheSamePlace) {
    std::wstring error;
    dir_ = TempDir::Create(&error);
    ASSERT_TRUE(dir_) << Narrow(error);
    const std::string header = "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n";
    const std::wstring other =
        dir_->WriteFile(L"other.csv", header +
                                          "1,Other 0,1,137,\n1,Other 1,1,412,\n1,Other 2,1,980,\n"
                                          "1,Other 3,100000,0.005,\n");
    StartWith(dir_->WriteFile(L"quote.csv", header + "1,A,1,137.0004,\n1,B,1,412.0004,\n"
                                                     "1,C,1,57.0004,\n1,D,100000,0.0013,\n"),
              {L"--quote", other});
    // Three decimal places: 137, 412, 57 and 0.001.
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptDecimal), BM_CLICK));
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kTxtDecimalPlaces), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(L"3")));
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kCmdRound), BM_CLICK));
    const auto rounded = CsvRows(host_->ReadDump());
    ASSERT_NE(rounded, before_);

    ASSERT_TRUE(host_->ShowQuote(1));
    const auto otherQuote = CsvRows(host_->ReadDump());
    Choose(main_window::kMnuEditUndo);
    EXPECT_EQ(TakeMessage(),
              L"The quote open in Tarvello is not the one this Round changed: nothing was "
              L"written. Edit > Round History shows what each Round kept can still give back, and "
              L"forgets one whose quote is gone.");
    EXPECT_EQ(CsvRows(host_->ReadDump()), otherQuote);

    ASSERT_TRUE(host_->ShowQuote(0));
    TypeInHost(3, u"UnitPrice", Variant::Double(0.0054));
    Choose(main_window::kMnuEditUndo);
    EXPECT_EQ(TakeMessage(),
              L"Undo restored 3 line items. Row 3 was left as it is: its unit price has changed "
              L"since the Round.");
    const auto after = CsvRows(host_->ReadDump());
    ASSERT_EQ(after.size(), before_.size());
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(after[i], before_[i]) << "row " << i - 1;
    EXPECT_EQ(after[4][3], L"0.0054");
}

TEST_F(WindowRound, AMessageAboutAVeryLongAmountFitsTheScreen) {
    Start(LongQuote(1));
    HWND amount = utility_.Control(main_window::kTxtNearest);
    ASSERT_TRUE(SendBounded(amount, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(std::wstring(400, L'9').c_str())));
    PostMessageW(utility_.Control(main_window::kCmdRound), BM_CLICK, 0, 0);
    HWND box = WaitForMessageBox(utility_.ProcessId(), 30000);
    ASSERT_TRUE(box);
    RECT r{};
    GetWindowRect(box, &r);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(r.right - r.left, 1024);
    const std::wstring text = TakeMessage();
    EXPECT_NE(text.find(L"\u2026\" is not a number"), std::wstring::npos) << Narrow(text);
}

}  // namespace
}  // namespace tarvello::ui::testing
