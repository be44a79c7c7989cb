#pragma once
// The main window: one rounding request held in its controls, the Round and Close commands,
// the File and Help menus, and its placement between runs.

#include <windows.h>

#include <functional>
#include <optional>

#include "engine/policy/organisation_policy.h"
#include "ui/main-window/pass_watch.h"
#include "ui/main-window/services.h"
#include "ui/main-window/settings_store.h"
#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/base_window.h"
#include "ui/window-utils/control_factory.h"
#include "ui/window-utils/program_icons.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

class frmMain : public BaseWindow<frmMain> {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloRoundingMain";
    // Posted to itself once it is shown: now the journal is read.
    static constexpr UINT kReadJournalMessage = WM_APP + 1;

    // `fixed`: the choices the organisation fixed, shown as they are set and greyed.
    frmMain(RoundingPass& pass, RoundHistory& history, MessagePresenter& messages,
            SettingsLocation settings, WindowOpeners open, FixedChoices fixed = {});
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Creates the window hidden, runs Form_Load, shows it and puts the focus on Round.
    // Throws when the window cannot be created.
    void Load(int showCommand);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // Event handlers, one per user event.
    void Form_Load();
    void cmdRound_Click();
    void cmdClose_Click();
    void mnuFileClose_Click();
    void mnuEditPreview_Click();
    void mnuEditPriceRules_Click();
    void mnuEditNewTotal_Click();
    void mnuEditUndo_Click();
    void mnuEditRoundHistory_Click();
    void mnuHelpAbout_Click();
    void optDecimal_Click();
    void optNearest_Click();
    void optRoundUp_Click();
    void txtDecimalPlaces_GotFocus();
    void txtNearest_GotFocus();
    void txtNearestRoundUp_GotFocus();

private:
    // Forwards the pass's own messages and its question to the presenter, owned by this window
    // and under its title.
    class PassMessages : public MessageSink {
    public:
        explicit PassMessages(frmMain& window) : window_(window) {}
        void ShowError(const Text& message) override;
        bool Ask(const Text& question) override;

    private:
        frmMain& window_;
    };

    void OnCreate();
    // Sets and greys what the organisation fixed, saying why (fixed_choices.cpp).
    void ShowFixedChoices();
    LRESULT OnCommand(int id, int code);
    void OnActivate(WPARAM wParam);
    HMENU BuildMenu() const;

    // Turns an option on (the rest of its frame off); choosing it runs its _Click handler.
    void SetOption(HWND option);
    void OptionChosen(int id);
    void FocusAmount(HWND option, HWND box);
    bool IsOn(HWND option) const;
    std::optional<RoundingRequest> ReadRequest();
    // The rows and the price field chosen, for the passes that need no method.
    RowChoice ReadRows() const;
    RoundedPrice ReadPriceField() const;
    // The price rules as the user last typed them, or the default ones (telling once when the
    // file that keeps them is damaged); and keeping them, for a preview or only to keep.
    RulesTexts LoadPriceRules();
    void SavePriceRules(const RulesTexts& typed, bool forPreview);
    // Opens the preview of `plan`, and applies it when the user chooses Apply there: how that
    // ended. ToPreviewAgain: Apply wrote nothing, the quote having changed since the preview of a
    // new total. Closing: a close was asked for while Apply ran.
    enum class PreviewEnd { Cancelled, Applied, ToPreviewAgain, Closing };
    PreviewEnd PreviewThenApply(const RoundPlan& plan);
    // Round History's steps (history_handlers.cpp): the journal and the quote open now read into
    // `view`; the Round `id` previewed and, on Apply, given back, then read again; the Round `id`
    // forgotten. False when the window is to close meanwhile.
    bool LookAtRounds(HistoryView& view);
    bool PreviewUndoOf(const std::string& id, HistoryView& view);
    void ForgetRound(const std::string& id, HistoryView& view);
    void ShowError(const std::wstring& text, UINT icon = MB_ICONERROR);
    void MoveToTwips(float left, float top, int dpi);

    // Runs a pass with the wait cursor, the progress and the watch (pass_watch.h) that decides
    // what happens to input and closes meanwhile; then says what the user is to be told, and
    // closes the window if a close was asked for. Gives the outcome while the window stays.
    using PassBody = std::function<PassOutcome(MessageSink& messages, PassWatch& watch)>;
    std::optional<PassOutcome> RunWatched(PassWatch::Activity activity, const PassBody& body);
    // Says how much the next Undo gives back, and of when, as far as the history has read the
    // journal.
    void UpdateUndoItem();

    // The controls, found by their ids once the window is created.
    HWND Label4 = nullptr, Label5 = nullptr, Line1 = nullptr, Line2 = nullptr;
    HWND Frame1 = nullptr, Frame2 = nullptr, Frame3 = nullptr;
    HWND optDecimal = nullptr, optNearest = nullptr, optRoundUp = nullptr;
    HWND txtDecimalPlaces = nullptr, txtNearest = nullptr, txtNearestRoundUp = nullptr;
    HWND optUnitPrice = nullptr, optExtendedPrice = nullptr;
    HWND optCurrentRow = nullptr, optSelectedRows = nullptr, optAllRows = nullptr;
    HWND cmdRound = nullptr, cmdClose = nullptr;

    RoundingPass& pass_;
    RoundHistory& history_;
    MessagePresenter& messages_;
    SettingsStore settings_;
    WindowOpeners open_;
    FixedChoices fixed_;
    bool toldOfDamagedRules_ = false;
    ControlSet controls_;
    ControlSet progress_;
    AccessibleAnnotations accessible_;
    ScopedAccelerators shortcuts_;
    WindowIcons icons_;
    HWND lastFocus_ = nullptr;
    // The DPI the window is drawn at now: its placement is kept in twips of it.
    int dpi_ = 96;
    // Set while a pass runs.
    PassWatch* watch_ = nullptr;
};

}  // namespace tarvello::ui
