// Round History with the real program beside the real stand-in, driven from outside: a Round on
// a quote closed since is forgotten, and Undo Round reaches the Round before it on another quote;
// a Round with line items changed since is previewed with them left, and Apply gives back the
// rest.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "tests/main-window/history_window.h"
#include "tests/main-window/remote_window.h"
#include "tests/main-window/utility_process.h"
#include "tests/support/standin_process.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/preview-window/preview_layout.h"
#include "ui/round-history-window/round_history_layout.h"

namespace tarvello::ui::testing {
namespace {

using tarvello::testing::StandinProcess;
using tarvello::testing::TempDir;
namespace history = round_history_window;

const char kHeader[] = "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n";

class HistoryEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetJournal();
        std::wstring error;
        dir_ = TempDir::Create(&error);
        ASSERT_TRUE(dir_) << Narrow(error);
    }
    // The stand-in with these quotes, the first one open; the utility beside it with Nearest 5
    // on the unit price of all rows.
    void Start(const std::vector<std::string>& quotes) {
        std::vector<std::wstring> arguments;
        for (std::size_t i = 0; i < quotes.size(); ++i) {
            arguments.push_back(L"--quote");
            arguments.push_back(
                dir_->WriteFile(L"quote" + std::to_wstring(i) + L".csv", kHeader + quotes[i]));
        }
        std::wstring error;
        host_ = StandinProcess::Start(arguments, &error);
        ASSERT_TRUE(host_) << Narrow(error);
        ASSERT_TRUE(utility_.Start(&error)) << Narrow(error);
        ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptNearest), BM_CLICK));
        ASSERT_TRUE(SendBounded(utility_.Control(main_window::kOptUnitPrice), BM_CLICK));
    }
    void Round() {
        ASSERT_TRUE(SendBounded(utility_.Control(main_window::kCmdRound), BM_CLICK));
        ASSERT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    }
    // The State of each Round in the list, newest first: the last cell of each line but the
    // header.
    static std::vector<std::wstring> States(HWND window) {
        const std::wstring list = HistoryList(window);
        std::vector<std::wstring> states;
        for (std::size_t at = list.find(L"\r\n");
             at != std::wstring::npos && at + 2 < list.size();) {
            const std::size_t end = list.find(L"\r\n", at + 2);
            const std::wstring line = list.substr(at + 2, end - at - 2);
            states.push_back(line.substr(line.rfind(L'\t') + 1));
            at = end;
        }
        return states;
    }

    host::ComApartment apartment_;
    std::optional<TempDir> dir_;
    std::optional<StandinProcess> host_;
    Utility utility_;
};

TEST_F(HistoryEndToEnd, ARoundOnAClosedQuoteIsForgottenAndUndoReachesTheRoundBeforeIt) {
    Start({"1,A,1,101,5%\n1,B,2,47,\n1,C,1,238,\n", "1,X,1,12,\n1,Y,3,99,net\n"});
    const Rows quoteA = CsvRows(host_->ReadDump());
    Round();
    ASSERT_TRUE(host_->ShowQuote(1));
    Round();
    const Rows roundedX = CsvRows(host_->ReadDump());
    // The quote the newest Round changed is closed: the first one is open in its place.
    ASSERT_TRUE(host_->ShowQuote(0));

    HWND window = OpenHistory(utility_.Window(), utility_.ProcessId());
    ASSERT_TRUE(window) << Narrow(MessageBoxText(utility_.ProcessId()));
    EXPECT_EQ(States(window),
              (std::vector<std::wstring>{L"its quote is not the open one", L"can be undone"}));
    PressInHistory(window, history::kCmdForget);
    ASSERT_TRUE(AnswerYes(utility_.ProcessId()));
    HWND again = WaitForHistory(utility_.ProcessId(), window);
    ASSERT_TRUE(again) << "Round History did not open again after Forget";
    EXPECT_EQ(States(again), (std::vector<std::wstring>{L"forgotten", L"can be undone"}));
    PressInHistory(again, history::kCmdClose);

    PostMessageW(utility_.Window(), WM_COMMAND, MAKEWPARAM(main_window::kMnuEditUndo, 0), 0);
    EXPECT_EQ(WaitForDocument(*host_, quoteA), quoteA) << "Undo Round gave back the older Round";
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");
    ASSERT_TRUE(host_->ShowQuote(1));
    EXPECT_EQ(CsvRows(host_->ReadDump()), roundedX) << "the forgotten Round gave something back";
}

TEST_F(HistoryEndToEnd, TwoLineItemsChangedSinceAreLeftAndApplyGivesBackTheRest) {
    Start({"1,A,1,101,5%\n1,B,2,47,\n1,C,1,238,List\n1,D,4,12.3,\n1,E,1,66,\n"});
    const Rows before = CsvRows(host_->ReadDump());
    Round();
    // Somebody types two unit prices in Tarvello.
    host::ComHostLink link;
    for (std::int16_t row : {1, 3}) {
        Variant typed = Variant::Double(row == 1 ? 48 : 13);
        link.Attach()->LineItemSetValue(row, u"UnitPrice", typed);
    }
    const Rows changed = CsvRows(host_->ReadDump());

    HWND window = OpenHistory(utility_.Window(), utility_.ProcessId());
    ASSERT_TRUE(window) << Narrow(MessageBoxText(utility_.ProcessId()));
    EXPECT_EQ(States(window), (std::vector<std::wstring>{L"can be undone; 2 of 5 changed since"}));
    PressInHistory(window, history::kCmdPreviewUndo);
    HWND preview = nullptr;
    for (const ULONGLONG deadline = GetTickCount64() + 60000;
         !preview && GetTickCount64() < deadline; Sleep(50)) {
        preview = FindWindowOfClass(utility_.ProcessId(), L"TarvelloPreview");
    }
    ASSERT_TRUE(preview) << Narrow(MessageBoxText(utility_.ProcessId()));
    EXPECT_EQ(RemoteText(preview), L"Preview Undo");
    ASSERT_TRUE(SendBounded(GetDlgItem(preview, preview_window::kCmdCopy), BM_CLICK));
    const std::wstring shown = launch::ClipboardText();
    for (const wchar_t* row : {L"\r\n1\t", L"\r\n3\t"}) {
        const std::size_t at = shown.find(row);
        ASSERT_NE(at, std::wstring::npos) << Narrow(shown);
        EXPECT_NE(shown.substr(at, shown.find(L"\r\n", at + 2) - at)
                      .find(L"left: its unit price has changed since the Round"),
                  std::wstring::npos)
            << Narrow(shown);
    }
    PostMessageW(GetDlgItem(preview, preview_window::kCmdApply), BM_CLICK, 0, 0);

    // Rows 0, 2 and 4 as before the Round, modifiers included; 1 and 3 as typed since.
    Rows expected = before;
    expected[2] = changed[2];
    expected[4] = changed[4];
    EXPECT_EQ(WaitForDocument(*host_, expected), expected);
    HWND after = WaitForHistory(utility_.ProcessId(), window);
    ASSERT_TRUE(after) << Narrow(MessageBoxText(utility_.ProcessId()));
    EXPECT_EQ(States(after),
              (std::vector<std::wstring>{L"partly undone (3 of 5); 2 of 2 changed since"}));
    PressInHistory(after, history::kCmdClose);
}

}  // namespace
}  // namespace tarvello::ui::testing
