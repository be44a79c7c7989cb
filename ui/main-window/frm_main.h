#pragma once
// The main window: one rounding request held in its controls, the Round and Close commands,
// the File and Help menus, and its placement between runs.

#include <windows.h>

#include <functional>
#include <optional>

#include "ui/main-window/pass_watch.h"
#include "ui/main-window/services.h"
#include "ui/main-window/settings_store.h"
#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/base_window.h"
#include "ui/window-utils/control_factory.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

class frmMain : public BaseWindow<frmMain> {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloRoundingMain";

    frmMain(RoundingPass& pass, MessagePresenter& messages, SettingsLocation settings,
            AboutOpener openAbout);
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
    void mnuEditUndo_Click();
    void mnuHelpAbout_Click();
    void optDecimal_Click();
    void optNearest_Click();
    void optRoundUp_Click();
    void txtDecimalPlaces_GotFocus();
    void txtNearest_GotFocus();
    void txtNearestRoundUp_GotFocus();

private:
    // Forwards the pass's own messages to the presenter, owned by this window and under its
    // title.
    class PassMessages : public MessageSink {
    public:
        explicit PassMessages(frmMain& window) : window_(window) {}
        void ShowError(const Text& message) override;

    private:
        frmMain& window_;
    };

    void OnCreate();
    LRESULT OnCommand(int id, int code);
    void OnActivate(WPARAM wParam);
    HMENU BuildMenu() const;

    // Turns an option on (the rest of its frame off); choosing it runs its _Click handler.
    void SetOption(HWND option);
    void OptionChosen(int id);
    void FocusAmount(HWND option, HWND box);
    bool IsOn(HWND option) const;
    std::optional<RoundingRequest> ReadRequest();
    void ShowError(const std::wstring& text, UINT icon = MB_ICONERROR);
    void MoveToTwips(float left, float top);

    // While a pass (a Round or an Undo) talks to the host, messages sent from outside are
    // still delivered. A second pass must not start inside the first, and the window must
    // outlive the pass: commands and closes that arrive meanwhile wait for it to end (and ask it
    // to stop). The body gives what the user is to be told afterwards, if anything: a failure
    // with the error icon, what the user asked for (a stop) or should know with another.
    enum class AfterRound { Nothing, CloseCommand, CloseWindow };
    struct Told {
        Text text;
        UINT icon = MB_ICONERROR;
    };
    using PassBody = std::function<std::optional<Told>(MessageSink& messages, PassWatch& watch)>;
    void RunPass(PassWatch::Activity activity, const PassBody& body);
    // What Undo would give back: a Round that reached the document replaces it.
    void KeepForUndo(UndoRecord&& record);
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
    MessagePresenter& messages_;
    SettingsStore settings_;
    AboutOpener openAbout_;
    ControlSet controls_;
    ControlSet progress_;
    AccessibleAnnotations accessible_;
    ScopedAccelerators shortcuts_;
    HWND lastFocus_ = nullptr;
    int dpi_ = 96;
    bool passRunning_ = false;
    PassWatch* watch_ = nullptr;
    AfterRound afterRound_ = AfterRound::Nothing;
    // How far the last Round that reached the host went.
    std::optional<RoundOutcome> lastRound_;
    // In memory only: closing the program forgets it.
    UndoRecord undo_;
};

}  // namespace tarvello::ui
