#include "ui/price-rules-window/frm_price_rules.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <variant>

#include "engine/band_examples.h"
#include "identity/identity.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/window-utils/dpi_change.h"
#include "ui/window-utils/theme_colors.h"
#include "ui/window-utils/twips.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace price_rules_window;

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// The font of the main window's controls, so that the windows read alike.
constexpr FontSpec kFont{L"Tahoma", 8.25, FW_NORMAL};

// Band rows hold the ids from the first row's label up to the row after the last.
bool IsBandControl(int id) {
    return id >= BandControlId(0, BandColumn::Label) &&
           id < BandControlId(kBandRows, BandColumn::Label);
}

std::size_t RowOf(int id) {
    return static_cast<std::size_t>(id - BandControlId(0, BandColumn::Label)) /
           static_cast<std::size_t>(BandControlId(1, BandColumn::Label) -
                                    BandControlId(0, BandColumn::Label));
}

BandColumn ColumnOf(int id) {
    return static_cast<BandColumn>(id - BandControlId(RowOf(id), BandColumn::Label));
}

}  // namespace

frmPriceRules::frmPriceRules(HWND owner, RulesTexts typed, const NumberFormat& format,
                             MessagePresenter& messages,
                             std::optional<std::pair<std::size_t, RulesField>> focus)
    : owner_(owner),
      typed_(std::move(typed)),
      format_(format),
      messages_(messages),
      focus_(focus.value_or(std::pair<std::size_t, RulesField>{0, RulesField::Step})) {
    if (focus_.first >= kBandRows) focus_ = {0, RulesField::Step};
}

frmPriceRules::~frmPriceRules() {
    EndModal();
}

std::optional<RulesChosen> frmPriceRules::Form_Load() {
    CreateWindowAndControls();
    ShowTexts();
    // Centred on its owner's monitor, as the About box opens, with room for the texts it shows.
    controls_.Fit();
    SizeAndCentre(hwnd_, controls_.ClientSize(), controls_.Dpi());
    lastFocus_ = controls_.Handle(FieldControlId(focus_.first, focus_.second));
    owner_.Disable();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    FocusField(focus_.first, focus_.second);
    RunModalLoop(hwnd_);
    EndModal();
    return chosen_;
}

void frmPriceRules::CreateWindowAndControls() {
    const DWORD exStyle = owner_.InOwnersBand(WS_EX_DLGMODALFRAME);
    const RECT monitor = OwnersMonitor(owner_.owner());
    CreateBase(kClassName, L"Price Rules", kStyle, exStyle, monitor.left, monitor.top, 0, 0,
               owner_.owner(), nullptr);
    if (!hwnd_) throw std::runtime_error("the Price Rules window could not be created");

    controls_.Create(hwnd_, Controls(), WindowDpi(hwnd_), kFont,
                     SIZE{kClientWidthTwips, kClientHeightTwips});
    // The first band always starts at 0: its From is shown, and passed on the way to its Step,
    // but never typed in.
    SendMessageW(controls_.Handle(BandControlId(0, BandColumn::From)), EM_SETREADONLY, TRUE, 0);
    SendMessageW(controls_.Handle(kCmdPreview), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    accessible_.Annotate({&controls_});
}

void frmPriceRules::ShowTexts() {
    for (std::size_t row = 0; row < kBandRows; ++row) {
        const BandTexts& band = typed_.bands[row];
        SetDlgItemTextW(hwnd_, BandControlId(row, BandColumn::From),
                        row == 0 ? L"0" : ToWide(band.from).c_str());
        SetDlgItemTextW(hwnd_, BandControlId(row, BandColumn::Step), ToWide(band.step).c_str());
        SetDlgItemTextW(hwnd_, BandControlId(row, BandColumn::Ending), ToWide(band.ending).c_str());
        const auto direction =
            std::find(std::begin(kDirections), std::end(kDirections), band.direction) -
            std::begin(kDirections);
        SendDlgItemMessageW(hwnd_, BandControlId(row, BandColumn::Direction), CB_SETCURSEL,
                            static_cast<WPARAM>(direction), 0);
    }
    CheckDlgButton(hwnd_, kChkNeverToZero, typed_.neverToZero ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(hwnd_, kTxtMaxChange, ToWide(typed_.maxChangePercent).c_str());
    ShowExamples();
}

RulesTexts frmPriceRules::TypedTexts() const {
    const auto text = [this](int id) { return ToText(WindowText(controls_.Handle(id))); };
    RulesTexts typed;
    for (std::size_t row = 0; row < kBandRows; ++row) {
        BandTexts& band = typed.bands[row];
        band.from = text(BandControlId(row, BandColumn::From));
        band.step = text(BandControlId(row, BandColumn::Step));
        band.ending = text(BandControlId(row, BandColumn::Ending));
        const LRESULT chosen = SendDlgItemMessageW(hwnd_, BandControlId(row, BandColumn::Direction),
                                                   CB_GETCURSEL, 0, 0);
        if (chosen >= 0 && static_cast<std::size_t>(chosen) < std::size(kDirections)) {
            band.direction = kDirections[chosen];
        }
    }
    typed.neverToZero = IsDlgButtonChecked(hwnd_, kChkNeverToZero) == BST_CHECKED;
    typed.maxChangePercent = text(kTxtMaxChange);
    return typed;
}

void frmPriceRules::ShowExamples() {
    const std::array<Text, kBandRows> examples = BandExamples(TypedTexts(), format_);
    for (std::size_t row = 0; row < kBandRows; ++row) {
        HWND label = controls_.Handle(BandControlId(row, BandColumn::Example));
        const std::wstring example = ToWide(examples[row]);
        // A label set to the text it has would still repaint, flickering at every key.
        if (WindowText(label) != example) SetWindowTextW(label, example.c_str());
    }
}

void frmPriceRules::FocusField(std::size_t row, RulesField field) {
    HWND box = controls_.Handle(FieldControlId(row, field));
    if (!box) return;
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    lastFocus_ = box;
}

// The owner is enabled again before the window goes, so that the activation goes back to it.
void frmPriceRules::EndModal() {
    owner_.Release();
    if (hwnd_) DestroyWindow(hwnd_);
}

void frmPriceRules::cmdPreview_Click() {
    RulesTexts typed = TypedTexts();
    auto read = ReadPriceRules(typed, format_);
    if (const auto* problem = std::get_if<RulesInputError>(&read)) {
        messages_.Show(hwnd_, ToWide(problem->message), L"" TARVELLO_TITLE, MB_ICONERROR);
        // After the message box, so that the window's own return to the control that last had
        // the focus does not take it away again.
        FocusField(problem->row, problem->field);
        return;
    }
    chosen_ = RulesChosen{std::get<PriceRules>(std::move(read)), std::move(typed)};
    EndModal();
}

// The window has Close, not Cancel: what was typed is the user's work, kept as Preview keeps
// it. Rules that do not read are dropped only when the user says so, once; No, the default,
// goes back to the field at fault.
void frmPriceRules::cmdClose_Click() {
    RulesTexts typed = TypedTexts();
    chosen_.reset();
    if (typed == typed_) return EndModal();
    auto read = ReadPriceRules(typed, format_);
    if (const auto* problem = std::get_if<RulesInputError>(&read)) {
        if (!messages_.Ask(hwnd_, ToWide(problem->message) + L"\n\nDiscard the rules typed?",
                           L"" TARVELLO_TITLE)) {
            FocusField(problem->row, problem->field);
            return;
        }
    } else {
        chosen_ = RulesChosen{std::get<PriceRules>(std::move(read)), std::move(typed), false};
    }
    EndModal();
}

void frmPriceRules::txtFrom_Change(std::size_t) {
    ShowExamples();
}

void frmPriceRules::txtStep_Change(std::size_t) {
    ShowExamples();
}

void frmPriceRules::txtEnding_Change(std::size_t) {
    ShowExamples();
}

void frmPriceRules::cboDirection_Click(std::size_t) {
    ShowExamples();
}

void frmPriceRules::chkNeverToZero_Click() {
    ShowExamples();
}

LRESULT frmPriceRules::OnCommand(int id, int code) {
    if (IsBandControl(id)) {
        const std::size_t row = RowOf(id);
        const BandColumn column = ColumnOf(id);
        if (code == EN_CHANGE && column == BandColumn::From) txtFrom_Change(row);
        if (code == EN_CHANGE && column == BandColumn::Step) txtStep_Change(row);
        if (code == EN_CHANGE && column == BandColumn::Ending) txtEnding_Change(row);
        if (code == CBN_SELCHANGE && column == BandColumn::Direction) cboDirection_Click(row);
        return 0;
    }
    if (code != BN_CLICKED) return 0;
    switch (id) {
        case kCmdPreview:
            cmdPreview_Click();
            break;
        case kCmdClose:
        case IDCANCEL:
            cmdClose_Click();
            break;
        case kChkNeverToZero:
            chkNeverToZero_Click();
            break;
        default:
            break;
    }
    return 0;
}

LRESULT frmPriceRules::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Its colours come from the user's theme, as the other windows' do.
    if (auto answer = AnswerThemeMessage(hwnd_, msg, wParam, lParam, {&controls_})) return *answer;
    switch (msg) {
        case WM_COMMAND:
            return OnCommand(GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_CMD(wParam, lParam));
        case DM_GETDEFID:
            return DefaultButtonAnswer(controls_, kCmdPreview);
        case WM_ACTIVATE:
            // Like a dialog, the window gives the focus back to the control that last had it.
            return KeepFocusOnActivate(hwnd_, wParam, lParam, lastFocus_, nullptr);
        case WM_DPICHANGED:
            FollowDpiChange(hwnd_, wParam, lParam, {&controls_});
            return 0;
        case WM_CLOSE:
            // The title bar's close gives nothing back, as Close.
            cmdClose_Click();
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

}  // namespace tarvello::ui
