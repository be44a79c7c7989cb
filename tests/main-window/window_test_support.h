#pragma once
// What the window tests share: recorders for the pass and the message boxes, a scratch
// settings key, a bounded message pump and user-like input.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/main-window/frm_main.h"
#include "ui/window-utils/message_presenter.h"

namespace tarvello::ui::testing {

struct PassCall {
    double Amount;
    Text PriceField;
    Text Method;
    Text RowScope;
    bool operator==(const PassCall& o) const {
        return Amount == o.Amount && PriceField == o.PriceField && Method == o.Method &&
               RowScope == o.RowScope;
    }
};
std::string Describe(const PassCall& call);
std::string Describe(const std::vector<PassCall>& calls);

// Records each Round, with the request's choices by name. A Round "writes" rows 0 to
// `writes` - 1, one at a time, telling the window's history, with `pausePerRowMs` between
// them, and stops when the observer asks; then `during` runs (to look at the cursor, or to fail
// the Round by throwing the PassFailure it is to end with). An Undo gives back, through the
// history, everything the next Undo names unless `duringUndo` does something else.
class RecordingPass : public RoundingPass {
public:
    PassOutcome RoundLineItems(const RoundingRequest& request, MessageSink& messages,
                               const PassHooks& hooks) override;
    PassOutcome UndoLastRound(RoundHistory& history, MessageSink& messages,
                              PassObserver* observer) override;
    // A preview plans `writes` line items (row i: unit price i, new price i + 0.5); Apply then
    // writes them as a Round does.
    PassOutcome PreviewRound(const RoundingRequest& request, MessageSink& messages,
                             PassObserver* observer, RoundPlan& plan) override;
    PassOutcome ApplyPlan(const RoundPlan& plan, MessageSink& messages,
                          const PassHooks& hooks) override;
    // Both plan as a preview does.
    PassOutcome PreviewByRules(const PriceRules& rules, RoundedPrice field, RowChoice rows,
                               MessageSink& messages, PassObserver* observer,
                               RoundPlan& plan) override;
    PassOutcome ReadForNewTotal(RowChoice rows, MessageSink& messages, PassObserver* observer,
                                RoundPlan& plan) override;
    // Every Round stands as the history alone says, those with something to give back as able
    // to be undone; each look is counted. Without the document, the pass's message.
    PassOutcome LookAtRounds(const RoundHistory& history, MessageSink& messages,
                             PassObserver* observer,
                             std::vector<RoundStanding>& standings) override;
    // Plans every line item the Round still has to give back; Apply of it gives them back.
    PassOutcome PreviewUndo(const RoundHistory& history, const std::string& id,
                            MessageSink& messages, PassObserver* observer,
                            RoundPlan& plan) override;
    int lookCalls = 0;
    int previewCalls = 0;
    std::vector<std::size_t> applied;  // the size of each plan applied
    std::vector<PassCall> calls;
    std::function<void(MessageSink&)> during;
    int writes = 0;
    int pausePerRowMs = 0;
    // Runs after each row is written.
    std::function<void(int row)> afterRow;
    // False: the Round stops before the document (no host, no document).
    bool reachesDocument = true;
    int undoCalls = 0;
    std::function<PassOutcome(RoundHistory&, PassObserver*)> duringUndo;
};

struct ShownMessage {
    HWND owner;
    std::wstring text;
    std::wstring title;
    UINT icon;
    // The owner was a window when the box was shown.
    bool ownerWasWindow;
};

class RecordingMessageBoxes : public MessagePresenter {
public:
    void Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT icon) override {
        shown.push_back({owner, text, title, icon, IsWindow(owner) != FALSE});
    }
    // A question is recorded with MB_YESNO for its icon, and answered with `answer`.
    bool Ask(HWND owner, const std::wstring& text, const std::wstring& title) override {
        shown.push_back({owner, text, title, MB_YESNO, IsWindow(owner) != FALSE});
        return answer;
    }
    std::vector<ShownMessage> shown;
    bool answer = false;
};

// The file the price rules are kept in, in memory.
class MemoryUserFile : public UserFile {
public:
    std::optional<std::string> text;  // nothing: no file
    std::vector<std::string> keptAside;
    std::string Where() const override { return "memory"; }
    std::optional<std::string> Read(std::string&) override { return text; }
    bool Write(const std::string& written, std::string&) override {
        text = written;
        return true;
    }
    bool KeepAside(const std::string& suffix, std::string& where, std::string&) override {
        keptAside.push_back(text.value_or(""));
        where = "memory" + suffix;
        return true;
    }
};

// A key of its own under HKCU for one test, deleted afterwards.
class ScratchSettings {
public:
    ScratchSettings();
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    SettingsLocation Location() const { return {HKEY_CURRENT_USER, key_}; }
    void Put(const wchar_t* name, const std::wstring& text) const;
    void PutNumber(const wchar_t* name, DWORD value) const;
    // The stored text, or nothing.
    std::optional<std::wstring> Get(const wchar_t* name) const;

private:
    std::wstring parent_;
    std::wstring key_;
};

// Handles whatever is pending, and what that causes, for a bounded time.
void PumpMessages(HWND dialog);

// Input as the message loop would hand it over: through IsDialogMessage first.
void PressKey(HWND dialog, UINT vk);
void PressAltKey(HWND dialog, wchar_t letter);
// A key with other keys held down (VK_CONTROL, VK_SHIFT).
void PressHolding(HWND dialog, UINT vk, std::initializer_list<int> held);
// A character typed without Alt, to whatever has the focus.
void TypeCharacter(HWND dialog, wchar_t letter);
// A mouse click on a button or option.
void Click(HWND control);
void SetText(HWND control, const std::wstring& text);
std::pair<DWORD, DWORD> Selection(HWND edit);

// The window's controls as its tests reach them: by their ids, as input from outside does.
struct WindowControls {
    explicit WindowControls(HWND window = nullptr);
    HWND hwnd() const { return window; }

    HWND window;
    HWND Label4, Label5, Line1, Line2;
    HWND Frame1, Frame2, Frame3;
    HWND optDecimal, optNearest, optRoundUp;
    HWND txtDecimalPlaces, txtNearest, txtNearestRoundUp;
    HWND optUnitPrice, optExtendedPrice;
    HWND optCurrentRow, optSelectedRows, optAllRows;
    HWND cmdRound, cmdClose;
};

// The window under test, loaded and active.
struct LoadedWindow {
    RecordingPass pass;
    RoundHistory history;
    RecordingMessageBoxes messages;
    std::vector<HWND> aboutOwners;
    // Each plan the preview window was opened with; what the user chooses there.
    std::vector<RoundPlan> previewed;
    bool applyInPreview = true;
    // Each view Round History was opened with, and what the user chooses there in turn (Close
    // once they are used up).
    std::vector<HistoryView> historyShown;
    std::vector<HistoryChoice> historyChoices;
    // The texts the Price Rules window opened with each time, what it gives back, and the file
    // the rules are kept in.
    std::vector<RulesTexts> rulesShown;
    std::optional<RulesChosen> rulesChosen;
    MemoryUserFile rulesFile;
    // What the organisation fixed; how often the Round to a Total window opened.
    FixedChoices fixed;
    int newTotalOpened = 0;
    std::unique_ptr<frmMain> window;
    WindowControls controls;
    void Load(const SettingsLocation& settings);
};

}  // namespace tarvello::ui::testing
