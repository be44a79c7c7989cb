// The journal as a user relies on it, with the real program beside the real stand-in: a Round
// cut off by ending the program, even between a line item's two writes, is undone after a
// restart; and Undo steps back through earlier Rounds after one.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "host/com_raii.h"
#include "tests/main-window/remote_window.h"
#include "tests/main-window/utility_process.h"
#include "tests/support/standin_process.h"
#include "ui/main-window/main_window_layout.h"

namespace tarvello::ui::testing {
namespace {

using tarvello::testing::StandinProcess;
using tarvello::testing::TempDir;

const char kQuote[] =
    "LineType,Description,QtyTotal,UnitPrice,PriceModifier\n"
    "1,Widget,3,12,5%\n"
    "1,Gadget,2,16.5,\n"
    "1,Bolt,4,123,net\n"
    "1,Nut,1,7.4,List\n";

// Calls 1 to 3 come before the walk; each line item then costs eight: its four reads, the active
// row, the modifier read for Undo and its two writes.
constexpr long CallOf(int lineItem, int step) {
    return 4 + 8 * lineItem + step;
}

class JournalEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetJournal();
        std::wstring error;
        dir_ = TempDir::Create(&error);
        ASSERT_TRUE(dir_) << Narrow(error);
    }
    void StartHost(std::vector<std::wstring> arguments = {}) {
        std::wstring error;
        arguments.insert(arguments.begin(), {L"--quote", dir_->WriteFile(L"quote.csv", kQuote)});
        host_ = StandinProcess::Start(arguments, &error);
        ASSERT_TRUE(host_) << Narrow(error);
        before_ = CsvRows(host_->ReadDump());
    }
    void StartUtility() {
        std::wstring error;
        ASSERT_TRUE(utility_.Start(&error)) << Narrow(error);
    }
    void Choose(int option) { ASSERT_TRUE(SendBounded(utility_.Control(option), BM_CLICK)); }
    void Undo() {
        PostMessageW(utility_.Window(), WM_COMMAND, MAKEWPARAM(main_window::kMnuEditUndo, 0), 0);
    }
    // Waits for the host's log to show `mark` on a line.
    bool LogShows(const std::wstring& mark) {
        for (const ULONGLONG deadline = GetTickCount64() + 60000; GetTickCount64() < deadline;
             Sleep(50)) {
            for (const std::wstring& line : host_->ReadLog()) {
                if (line.find(mark) != std::wstring::npos) return true;
            }
        }
        return false;
    }

    host::ComApartment apartment_;
    std::optional<TempDir> dir_;
    std::optional<StandinProcess> host_;
    Rows before_;
    Utility utility_;
};

TEST_F(JournalEndToEnd, ARoundEndedPartWayIsUndoneAfterARestart) {
    struct Case {
        const char* name;
        long heldCall;
    };
    const Case cases[] = {
        {"ended after two line items", CallOf(2, 0)},
        {"ended between the second line item's two writes", CallOf(1, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForgetJournal();
        StartHost({L"--hold-at-call", std::to_wstring(c.heldCall) + L":4000"});
        StartUtility();
        Choose(main_window::kOptNearest);
        Choose(main_window::kOptUnitPrice);
        PostMessageW(utility_.Control(main_window::kCmdRound), BM_CLICK, 0, 0);
        ASSERT_TRUE(LogShows(L"-> HELD"));
        utility_.Kill();
        ASSERT_TRUE(LogShows(L"-> FAILED")) << "the held call came back";
        ASSERT_NE(CsvRows(host_->ReadDump()), before_) << "nothing was written before the end";

        StartUtility();
        Undo();
        EXPECT_EQ(WaitForDocument(*host_, before_), before_);
        utility_.Kill();
        host_.reset();
    }
}

TEST_F(JournalEndToEnd, TwoRoundsAreUndoneOneAfterTheOtherAfterARestart) {
    StartHost();
    StartUtility();
    Choose(main_window::kOptNearest);
    Choose(main_window::kOptUnitPrice);
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kCmdRound), BM_CLICK));
    const Rows afterFirst = CsvRows(host_->ReadDump());
    // Nearest 20 on the extended price.
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kTxtNearest), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(L"20")));
    Choose(main_window::kOptExtendedPrice);
    ASSERT_TRUE(SendBounded(utility_.Control(main_window::kCmdRound), BM_CLICK));
    ASSERT_NE(CsvRows(host_->ReadDump()), afterFirst);
    PostMessageW(utility_.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(utility_.WaitExit(20000));

    StartUtility();
    Undo();
    EXPECT_EQ(WaitForDocument(*host_, afterFirst), afterFirst) << "the newest Round first";
    Undo();
    EXPECT_EQ(WaitForDocument(*host_, before_), before_) << "then the one before";
    EXPECT_EQ(MessageBoxText(utility_.ProcessId()), L"");
}

}  // namespace
}  // namespace tarvello::ui::testing
