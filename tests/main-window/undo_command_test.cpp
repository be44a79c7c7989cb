// Edit > Undo Round as the user sees it: greyed or saying how much it gives back, chosen from
// the menu or with Ctrl+Z, and Ctrl+Z left to a text box that has the focus.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/engine/memory_journal.h"
#include "tests/main-window/window_test_support.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

struct UndoItem {
    std::wstring caption;
    bool enabled;
    bool operator==(const UndoItem& o) const {
        return caption == o.caption && enabled == o.enabled;
    }
};

std::ostream& operator<<(std::ostream& out, const UndoItem& item) {
    return out << Utf8Of(ToText(item.caption)) << (item.enabled ? " (enabled)" : " (greyed)");
}

// The caption without the time the Round was made ("&Undo Round (3 line items, 14:03)"), which
// must be there whenever a count is.
UndoItem UndoItemOf(HWND window) {
    wchar_t text[128] = {};
    GetMenuStringW(GetMenu(window), main_window::kMnuEditUndo, text, 128, MF_BYCOMMAND);
    const UINT state = GetMenuState(GetMenu(window), main_window::kMnuEditUndo, MF_BYCOMMAND);
    std::wstring caption = text;
    const std::size_t time = caption.find(L", ");
    EXPECT_EQ(time != std::wstring::npos, caption.find(L'(') != std::wstring::npos) << caption;
    if (time != std::wstring::npos) caption.erase(time, caption.size() - time - 1);
    return {caption, (state & MF_GRAYED) == 0};
}

void ChooseUndo(HWND window) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(main_window::kMnuEditUndo, 0), 0);
    PumpMessages(window);
}

class UndoCommandTest : public ::testing::Test {
protected:
    ScratchSettings settings;
};

TEST_F(UndoCommandTest, TheItemIsGreyedOrSaysHowMuchItGivesBack) {
    const auto round = [](int writes, bool reachesDocument = true) {
        return [=](LoadedWindow& w) {
            w.pass.writes = writes;
            w.pass.reachesDocument = reachesDocument;
            Click(w.controls.cmdRound);
        };
    };
    const auto undo = [](LoadedWindow& w) { ChooseUndo(w.controls.hwnd()); };
    const auto failingRound = [](LoadedWindow& w) {
        w.pass.writes = 3;
        w.pass.during = [](MessageSink&) {
            throw PassFailure(FailureCause::Host, "host refused the fourth line item");
        };
        Click(w.controls.cmdRound);
    };
    const auto undoFailingAfterFive = [](LoadedWindow& w) {
        w.pass.duringUndo = [](RoundHistory& history, PassObserver*) {
            const RoundRecord round = *history.NextUndo();
            for (int i = 0; i < 5; ++i) history.DealtWith(round.id, round.items[i].row);
            PassOutcome outcome;
            outcome.pass = PassKind::Undo;
            outcome.status = PassOutcome::Status::Failed;
            outcome.written = 5;
            outcome.failure = PassFailure(FailureCause::Host, "refused");
            outcome.failure->row = 5;
            outcome.failure->pass = PassKind::Undo;
            return outcome;
        };
        ChooseUndo(w.controls.hwnd());
    };
    struct Case {
        const char* name;
        std::vector<std::function<void(LoadedWindow&)>> steps;
        UndoItem expected;
        int undos;
    };
    const Case cases[] = {
        {"at start", {}, {L"&Undo Round", false}, 0},
        {"after a Round that wrote 12", {round(12)}, {L"&Undo Round (12 line items)", true}, 0},
        {"after a Round that wrote 1", {round(1)}, {L"&Undo Round (1 line item)", true}, 0},
        {"after a Round that stopped part-way",
         {failingRound},
         {L"&Undo Round (3 line items)", true},
         0},
        {"after an Undo", {round(12), undo}, {L"&Undo Round", false}, 1},
        {"after an Undo that failed part-way",
         {round(12), undoFailingAfterFive},
         {L"&Undo Round (7 line items)", true},
         1},
        // Undo steps back through the Rounds: one that wrote nothing has nothing to give back.
        {"after a Round that wrote nothing, the one before",
         {round(12), round(0)},
         {L"&Undo Round (12 line items)", true},
         0},
        {"after an Undo, the Round before",
         {round(5), round(12), undo},
         {L"&Undo Round (5 line items)", true},
         1},
        {"after a Round that never reached the document",
         {round(12), round(4, false)},
         {L"&Undo Round (12 line items)", true},
         0},
        {"Undo chosen with nothing to give back", {undo}, {L"&Undo Round", false}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedWindow loaded;
        loaded.Load(settings.Location());
        for (const auto& step : c.steps) step(loaded);
        EXPECT_EQ(UndoItemOf(loaded.controls.hwnd()), c.expected);
        EXPECT_EQ(loaded.pass.undoCalls, c.undos);
    }
}

TEST_F(UndoCommandTest, CtrlZUndoesTheRoundExceptInATextBoxWhereItUndoesTheTyping) {
    LoadedWindow loaded;
    loaded.Load(settings.Location());
    const WindowControls& w = loaded.controls;
    loaded.pass.writes = 4;
    Click(w.cmdRound);

    SetFocus(w.txtNearest);
    SendMessageW(w.txtNearest, EM_SETSEL, 0, -1);
    TypeCharacter(w.hwnd(), L'7');
    ASSERT_EQ(WindowText(w.txtNearest), L"7");
    PressHolding(w.hwnd(), 'Z', {VK_CONTROL});
    EXPECT_EQ(WindowText(w.txtNearest), L"5") << "the typing is undone";
    EXPECT_EQ(loaded.pass.undoCalls, 0) << "no Undo Round from a text box";

    SetFocus(w.optAllRows);
    PressHolding(w.hwnd(), 'Z', {VK_CONTROL});
    EXPECT_EQ(loaded.pass.undoCalls, 1);
    EXPECT_FALSE(UndoItemOf(w.hwnd()).enabled);
    EXPECT_TRUE(loaded.messages.shown.empty());
}

}  // namespace
}  // namespace tarvello::ui::testing

namespace tarvello::ui::testing {
namespace {

// Edit > Preview Round: the preview's plan goes to the preview window, and only Apply there
// writes it, into the history as a Round.
TEST(PreviewCommandTest, ThePlanIsShownAndWrittenOnlyWhenApplied) {
    struct Case {
        const char* name;
        std::function<void(LoadedWindow&)> arrange;
        std::size_t previews, windows;
        std::vector<std::size_t> applied;
        std::wstring undoItem;
    };
    const Case cases[] = {
        {"Apply chosen", [](LoadedWindow&) {}, 1, 1, {3}, L"&Undo Round (3 line items)"},
        {"Cancel chosen",
         [](LoadedWindow& w) { w.applyInPreview = false; },
         1,
         1,
         {},
         L"&Undo Round"},
        {"no document",
         [](LoadedWindow& w) { w.pass.reachesDocument = false; },
         1,
         0,
         {},
         L"&Undo Round"},
        {"an amount that is not a number",
         [](LoadedWindow& w) { SetText(w.controls.txtDecimalPlaces, L"abc"); },
         0,
         0,
         {},
         L"&Undo Round"},
    };
    ScratchSettings settings;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedWindow loaded;
        loaded.Load(settings.Location());
        loaded.pass.writes = 3;
        c.arrange(loaded);
        SendMessageW(loaded.controls.hwnd(), WM_COMMAND,
                     MAKEWPARAM(main_window::kMnuEditPreview, 0), 0);
        PumpMessages(loaded.controls.hwnd());
        EXPECT_EQ(static_cast<std::size_t>(loaded.pass.previewCalls), c.previews);
        EXPECT_EQ(loaded.previewed.size(), c.windows);
        EXPECT_EQ(loaded.pass.applied, c.applied);
        EXPECT_EQ(UndoItemOf(loaded.controls.hwnd()).caption, c.undoItem);
        EXPECT_TRUE(loaded.pass.calls.empty()) << "a preview is not a Round";
    }
}

}  // namespace
}  // namespace tarvello::ui::testing

namespace tarvello::ui::testing {
namespace {

// A journal that cannot be written: the user is asked once per Round, No being the default and
// writing nothing; Yes rounds without Undo.
TEST(JournalQuestionTest, ARoundThatUndoCouldNotGiveBackIsOnlyMadeWhenTheUserSaysSo) {
    ScratchSettings settings;
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        tarvello::testing::MemoryJournal journal;
        journal.refuseOpen = "the disk is full";
        LoadedWindow loaded;
        loaded.history = RoundHistory(journal);
        loaded.Load(settings.Location());
        loaded.pass.writes = 3;
        loaded.messages.answer = yes;
        Click(loaded.controls.cmdRound);
        ASSERT_EQ(loaded.messages.shown.size(), 1u);
        const ShownMessage& asked = loaded.messages.shown[0];
        EXPECT_EQ(asked.icon, static_cast<UINT>(MB_YESNO));
        EXPECT_EQ(asked.text,
                  L"Edit > Undo Round would not be able to give this Round back: its record "
                  L"cannot be written to memory (the disk is full).\n\nRound without Undo?");
        EXPECT_EQ(loaded.pass.calls.size(), yes ? 1u : 0u);
        EXPECT_EQ(UndoItemOf(loaded.controls.hwnd()).caption, L"&Undo Round")
            << "nothing to give back either way";
    }
}

}  // namespace
}  // namespace tarvello::ui::testing

namespace tarvello::ui::testing {
namespace {

// Edit > Price Rules: the rules the user last previewed come back next time; a damaged file
// gives the default rules, is told once, and is kept aside before new rules take its place.
TEST(PriceRulesCommandTest, TheRulesAreKeptAndADamagedFileIsToldOnceAndKeptAside) {
    const NumberFormat format = UserNumberFormat();
    RulesTexts typed = DefaultRulesTexts(format);
    typed.bands[0].step = u"1";
    typed.bands[0].ending = u"0.99";
    struct Case {
        const char* name;
        std::optional<std::string> file;
        RulesTexts opensWith;
        std::size_t messages;
    };
    const Case cases[] = {
        {"no file", std::nullopt, DefaultRulesTexts(format), 0},
        {"a file", PriceRulesFileText(typed, format), typed, 0},
        {"a damaged file", std::string("tarvello-price-rules\t1\nband\t1\n"),
         DefaultRulesTexts(format), 1},
    };
    ScratchSettings settings;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedWindow loaded;
        loaded.rulesFile.text = c.file;
        loaded.Load(settings.Location());
        for (int opening = 0; opening < 2; ++opening) {
            SendMessageW(loaded.controls.hwnd(), WM_COMMAND,
                         MAKEWPARAM(main_window::kMnuEditPriceRules, 0), 0);
        }
        ASSERT_EQ(loaded.rulesShown.size(), 2u);
        EXPECT_TRUE(loaded.rulesShown[0] == c.opensWith);
        EXPECT_EQ(loaded.messages.shown.size(), c.messages) << "told once, not at every opening";
        EXPECT_EQ(loaded.rulesFile.keptAside.size(), c.messages);
        EXPECT_EQ(loaded.rulesFile.text, c.file) << "nothing written before a preview";

        // Previewed: the file keeps what was typed, and the preview opens.
        loaded.rulesChosen =
            RulesChosen{std::get<PriceRules>(ReadPriceRules(typed, format)), typed};
        SendMessageW(loaded.controls.hwnd(), WM_COMMAND,
                     MAKEWPARAM(main_window::kMnuEditPriceRules, 0), 0);
        EXPECT_EQ(loaded.rulesFile.text, PriceRulesFileText(typed, format));
        EXPECT_EQ(loaded.previewed.size(), 1u);
    }
}

}  // namespace
}  // namespace tarvello::ui::testing
