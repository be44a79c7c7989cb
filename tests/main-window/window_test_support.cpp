#include "tests/main-window/window_test_support.h"

#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/dialog_keys.h"

#include <cstdio>
#include <sstream>
#include <utility>

#include "engine/passes/journal_session.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui::testing {

std::string Describe(const PassCall& call) {
    std::ostringstream out;
    auto ascii = [](const Text& t) { return std::string(t.begin(), t.end()); };
    out << "(" << call.Amount << ", " << ascii(call.PriceField) << ", " << ascii(call.Method)
        << ", " << ascii(call.RowScope) << ")";
    return out.str();
}

std::string Describe(const std::vector<PassCall>& calls) {
    std::string text = "[";
    for (const PassCall& c : calls) text += Describe(c) + " ";
    return text + "]";
}

PassOutcome RecordingPass::RoundLineItems(const RoundingRequest& request, MessageSink& messages,
                                          const PassHooks& hooks) {
    // The journal around it as the engine's passes have it, question included.
    std::optional<JournalSession> journal;
    if (hooks.history) journal.emplace(*hooks.history, PassKind::Round, messages);
    if (journal && journal->declined()) {
        PassOutcome declined;
        declined.status = PassOutcome::Status::Declined;
        return declined;
    }
    calls.push_back({request.Amount, NameOf(request.PriceField), NameOf(request.Method),
                     NameOf(request.RowScope)});
    PassOutcome outcome;
    outcome.lineItemCount = writes;
    if (!reachesDocument) {
        outcome.status = PassOutcome::Status::NoDocument;
    } else if (hooks.history) {
        hooks.history->RoundBegun(0, writes);
    }
    for (std::int32_t row = 0; reachesDocument && row < writes; ++row) {
        if (hooks.observer && hooks.observer->LookForStop()) {
            outcome.status = PassOutcome::Status::Stopped;
            outcome.stoppedBeforeRow = row;
            break;
        }
        if (hooks.observer) hooks.observer->AtLineItem(row, row, writes);
        if (pausePerRowMs > 0) Sleep(static_cast<DWORD>(pausePerRowMs));
        if (hooks.history) {
            WrittenLineItem item;
            item.row = static_cast<std::int16_t>(row);
            hooks.history->Writing(item);
            hooks.history->Written(row + 0.5);
        }
        outcome.visited = outcome.written = row + 1;
        if (afterRow) afterRow(row);
    }
    try {
        if (during) during(messages);
    } catch (const PassFailure& failure) {
        outcome.status = PassOutcome::Status::Failed;
        outcome.failure = failure;
    }
    return outcome;
}

PassOutcome RecordingPass::UndoLastRound(RoundHistory& history, MessageSink&,
                                         PassObserver* observer) {
    ++undoCalls;
    if (duringUndo) return duringUndo(history, observer);
    PassOutcome outcome;
    outcome.pass = PassKind::Undo;
    if (const std::optional<RoundRecord> round = history.NextUndo()) {
        for (const WrittenLineItem& item : round->items) {
            if (item.dealtWith) continue;
            history.Restoring(round->id, item.row);
            history.DealtWith(round->id, item.row);
            ++outcome.written;
        }
    }
    return outcome;
}

PassOutcome RecordingPass::PreviewRound(const RoundingRequest&, MessageSink&, PassObserver*,
                                        RoundPlan& plan) {
    ++previewCalls;
    plan = RoundPlan{};
    plan.lineItemCount = writes;
    plan.items.resize(static_cast<std::size_t>(writes));
    for (int row = 0; row < writes; ++row) {
        PlannedLineItem& item = plan.items[static_cast<std::size_t>(row)];
        item.row = static_cast<std::int16_t>(row);
        item.quantity = Variant::Int16(1);
        item.unitPrice = item.extendedPrice = Variant::Double(row);
        item.newUnitPrice = row + 0.5;
    }
    PassOutcome outcome;
    outcome.pass = PassKind::Preview;
    if (!reachesDocument) outcome.status = PassOutcome::Status::NoDocument;
    return outcome;
}

PassOutcome RecordingPass::ApplyPlan(const RoundPlan& plan, MessageSink&, const PassHooks& hooks) {
    applied.push_back(plan.items.size());
    PassOutcome outcome;
    outcome.pass = PassKind::Apply;
    if (plan.kind == PlanKind::Undo) {
        outcome.pass = PassKind::Undo;
        for (const PlannedLineItem& planned : plan.items) {
            if (hooks.history) hooks.history->DealtWith(plan.undoOf, planned.row);
            ++outcome.written;
        }
        return outcome;
    }
    if (hooks.history) hooks.history->RoundBegun(plan.documentIndex, plan.lineItemCount);
    for (const PlannedLineItem& planned : plan.items) {
        if (hooks.history) {
            WrittenLineItem item;
            item.row = planned.row;
            hooks.history->Writing(item);
            hooks.history->Written(planned.newUnitPrice);
        }
        ++outcome.written;
    }
    return outcome;
}

PassOutcome RecordingPass::PreviewByRules(const PriceRules&, RoundedPrice, RowChoice,
                                          MessageSink& messages, PassObserver* observer,
                                          RoundPlan& plan) {
    return PreviewRound(RoundingRequest{}, messages, observer, plan);
}

PassOutcome RecordingPass::ReadForNewTotal(RowChoice, MessageSink& messages, PassObserver* observer,
                                           RoundPlan& plan) {
    return PreviewRound(RoundingRequest{}, messages, observer, plan);
}

PassOutcome RecordingPass::LookAtRounds(const RoundHistory& history, MessageSink& messages,
                                        PassObserver*, std::vector<RoundStanding>& standings) {
    ++lookCalls;
    standings.clear();
    const std::vector<RoundRecord>& rounds = history.Rounds();
    for (auto round = rounds.rbegin(); round != rounds.rend(); ++round) {
        standings.push_back(StandingOf(*round, rounds));
        if (reachesDocument && standings.back().state == RoundStanding::State::NotLooked) {
            standings.back().state = RoundStanding::State::CanBeUndone;
        }
    }
    PassOutcome outcome;
    outcome.pass = PassKind::Preview;
    if (!reachesDocument) {
        outcome.status = PassOutcome::Status::NoDocument;
        messages.ShowError(kNoDocumentText);
    }
    return outcome;
}

PassOutcome RecordingPass::PreviewUndo(const RoundHistory& history, const std::string& id,
                                       MessageSink&, PassObserver*, RoundPlan& plan) {
    plan = RoundPlan{};
    plan.kind = PlanKind::Undo;
    plan.undoOf = id;
    if (const std::optional<RoundRecord> round = history.Find(id)) {
        for (const WrittenLineItem& item : round->items) {
            PlannedLineItem planned;
            planned.row = item.row;
            if (!item.dealtWith) plan.items.push_back(planned);
        }
    }
    PassOutcome outcome;
    outcome.pass = PassKind::Preview;
    return outcome;
}

WindowControls::WindowControls(HWND window)
    : window(window),
      Label4(GetDlgItem(window, main_window::kLabel4)),
      Label5(GetDlgItem(window, main_window::kLabel5)),
      Line1(GetDlgItem(window, main_window::kLine1)),
      Line2(GetDlgItem(window, main_window::kLine2)),
      Frame1(GetDlgItem(window, main_window::kFrame1)),
      Frame2(GetDlgItem(window, main_window::kFrame2)),
      Frame3(GetDlgItem(window, main_window::kFrame3)),
      optDecimal(GetDlgItem(window, main_window::kOptDecimal)),
      optNearest(GetDlgItem(window, main_window::kOptNearest)),
      optRoundUp(GetDlgItem(window, main_window::kOptRoundUp)),
      txtDecimalPlaces(GetDlgItem(window, main_window::kTxtDecimalPlaces)),
      txtNearest(GetDlgItem(window, main_window::kTxtNearest)),
      txtNearestRoundUp(GetDlgItem(window, main_window::kTxtNearestRoundUp)),
      optUnitPrice(GetDlgItem(window, main_window::kOptUnitPrice)),
      optExtendedPrice(GetDlgItem(window, main_window::kOptExtendedPrice)),
      optCurrentRow(GetDlgItem(window, main_window::kOptCurrentRow)),
      optSelectedRows(GetDlgItem(window, main_window::kOptSelectedRows)),
      optAllRows(GetDlgItem(window, main_window::kOptAllRows)),
      cmdRound(GetDlgItem(window, main_window::kCmdRound)),
      cmdClose(GetDlgItem(window, main_window::kCmdClose)) {}

ScratchSettings::ScratchSettings() {
    static int counter = 0;
    wchar_t name[64];
    std::swprintf(name, 64, L"%lu-%d", GetCurrentProcessId(), ++counter);
    parent_ = std::wstring(L"Software\\Tarvello Rounding Utility Tests\\") + name;
    key_ = parent_ + L"\\frmMain";
}

ScratchSettings::~ScratchSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, parent_.c_str());
}

void ScratchSettings::Put(const wchar_t* name, const std::wstring& text) const {
    ScopedKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    key.put(), nullptr);
    RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void ScratchSettings::PutNumber(const wchar_t* name, DWORD value) const {
    ScopedKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    key.put(), nullptr);
    RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

std::optional<std::wstring> ScratchSettings::Get(const wchar_t* name) const {
    wchar_t buffer[256];
    DWORD bytes = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                     &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

void PumpMessages(HWND dialog) {
    // Several rounds, each waiting a little for what the last one caused; bounded in total.
    for (int round = 0; round < 20; ++round) {
        MSG msg;
        bool handled = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            handled = true;
            if (dialog && IsWindow(dialog) && HandleDialogKeys(dialog, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!handled &&
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) == WAIT_TIMEOUT) {
            return;
        }
    }
}

namespace {

void Deliver(HWND dialog, HWND to, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = to;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    if (!HandleDialogKeys(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

void PressKey(HWND dialog, UINT vk) {
    HWND focus = GetFocus();
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    Deliver(dialog, focus, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
    if (IsWindow(dialog)) {
        Deliver(dialog, GetFocus(), WM_KEYUP, vk,
                static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
    }
    PumpMessages(dialog);
}

void TypeCharacter(HWND dialog, wchar_t letter) {
    Deliver(dialog, GetFocus(), WM_CHAR, static_cast<WPARAM>(letter), 1);
    PumpMessages(dialog);
}

void PressAltKey(HWND dialog, wchar_t letter) {
    // WM_SYSCHAR with the context bit set is what Alt+letter turns into.
    Deliver(dialog, GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter),
            static_cast<LPARAM>(1 | (1u << 29)));
    PumpMessages(dialog);
}

void PressHolding(HWND dialog, UINT vk, std::initializer_list<int> held) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    for (int key : held) keys[key] = 0x80;
    SetKeyboardState(keys);
    PressKey(dialog, vk);
    for (int key : held) keys[key] = 0;
    SetKeyboardState(keys);
}

void Click(HWND control) {
    SendMessageW(control, BM_CLICK, 0, 0);
    PumpMessages(GetParent(control));
}

void SetText(HWND control, const std::wstring& text) {
    SetWindowTextW(control, text.c_str());
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void LoadedWindow::Load(const SettingsLocation& settings) {
    WindowOpeners open;
    open.about = [this](HWND owner) { aboutOwners.push_back(owner); };
    open.preview = [this](HWND, const RoundPlan& plan) {
        previewed.push_back(plan);
        return applyInPreview;
    };
    open.priceRules = [this](HWND, const RulesTexts& typed, std::optional<RulesFieldAt>) {
        rulesShown.push_back(typed);
        return std::exchange(rulesChosen, std::nullopt);
    };
    open.newTotal = [this](HWND, const Text&, const NewTotalTexts&, std::optional<NewTotalField>) {
        ++newTotalOpened;
        return std::optional<NewTotalChosen>();
    };
    open.priceRulesFile = &rulesFile;
    open.history = [this](HWND, const HistoryView& view) {
        historyShown.push_back(view);
        if (historyChoices.empty()) return HistoryChoice{};
        const HistoryChoice choice = historyChoices.front();
        historyChoices.erase(historyChoices.begin());
        return choice;
    };
    window = std::make_unique<frmMain>(pass, history, messages, settings, std::move(open), fixed);
    window->Load(SW_SHOWNORMAL);
    controls = WindowControls(window->hwnd());
    SetForegroundWindow(window->hwnd());
    SetActiveWindow(window->hwnd());
    PumpMessages(window->hwnd());
}

}  // namespace tarvello::ui::testing
