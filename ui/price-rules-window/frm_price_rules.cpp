#include "ui/price-rules-window/frm_price_rules.h"

#include <algorithm>
#include <iterator>
#include <variant>

#include "engine/pricing/band_examples.h"
#include "identity/identity.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace price_rules_window;

namespace {

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
                             std::optional<std::pair<std::size_t, RulesField>> focus,
                             std::optional<OrganisationRulesInput> organisation)
    : ModalWindow(owner),
      typed_(std::move(typed)),
      format_(format),
      messages_(messages),
      focus_(focus.value_or(std::pair<std::size_t, RulesField>{0, RulesField::Step})),
      input_(std::move(organisation)) {
    if (focus_.first >= kBandRows) focus_ = {0, RulesField::Step};
    // The first band's From is shown as 0 whatever the file held, so that closing without a
    // change compares what was shown with what is there.
    typed_.bands[0].from = u"0";
    own_ = typed_;
    if (input_) {
        organisation_.emplace(input_->source, format_);
        band_ = input_->allowUserRules ? SourceBand::Choice : SourceBand::Line;
        showingOwn_ = input_->allowUserRules && input_->ownFirst;
    }
}

std::optional<RulesChosen> frmPriceRules::Form_Load() {
    CreateWindowAndControls();
    if (organisation_) StartReading();
    ShowSide(showingOwn_);
    FitAndCentre();
    FocusField(focus_.first, focus_.second);
    ShowModal();
    return chosen_;
}

void frmPriceRules::CreateWindowAndControls() {
    CreateModal({kClassName, L"Price Rules", "the Price Rules window", Controls(band_),
                 SIZE{kClientWidthTwips, ClientHeightTwips(band_)}, kCmdPreview, kCmdClose});
    // The first band always starts at 0: its From is shown, and passed on the way to its Step,
    // but never typed in.
    SendMessageW(controls_.Handle(BandControlId(0, BandColumn::From)), EM_SETREADONLY, TRUE, 0);
}

void frmPriceRules::ShowTexts(const RulesTexts& texts) {
    for (std::size_t row = 0; row < kBandRows; ++row) {
        const BandTexts& band = texts.bands[row];
        SetDlgItemTextW(hwnd_, BandControlId(row, BandColumn::From), ToWide(band.from).c_str());
        SetDlgItemTextW(hwnd_, BandControlId(row, BandColumn::Step), ToWide(band.step).c_str());
        SetDlgItemTextW(hwnd_, BandControlId(row, BandColumn::Ending), ToWide(band.ending).c_str());
        const auto direction =
            std::find(std::begin(kDirections), std::end(kDirections), band.direction) -
            std::begin(kDirections);
        SendDlgItemMessageW(hwnd_, BandControlId(row, BandColumn::Direction), CB_SETCURSEL,
                            static_cast<WPARAM>(direction), 0);
    }
    CheckDlgButton(hwnd_, kChkNeverToZero, texts.neverToZero ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(hwnd_, kTxtMaxChange, ToWide(texts.maxChangePercent).c_str());
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
    bool changed = false;
    for (std::size_t row = 0; row < kBandRows; ++row) {
        HWND label = controls_.Handle(BandControlId(row, BandColumn::Example));
        const std::wstring example = ToWide(examples[row]);
        // A label set to the text it has would still repaint, flickering at every key.
        if (WindowText(label) != example) {
            SetWindowTextW(label, example.c_str());
            changed = true;
        }
    }
    // An example longer than its column (a price of many digits) gets the room it needs, as a
    // caption does when the window opens, and gives it back once it is short again.
    if (changed && IsWindowVisible(hwnd_)) FitAgain();
}

void frmPriceRules::FocusField(std::size_t row, RulesField field) {
    FocusText(controls_.Handle(FieldControlId(row, field)));
}

void frmPriceRules::cmdPreview_Click() {
    if (!showingOwn_) {
        if (!organisation_->Usable()) return;
        // The user's own rules are kept as they were left, when they read.
        RulesTexts own = OwnTexts();
        if (!std::holds_alternative<PriceRules>(ReadPriceRules(own, format_))) own = typed_;
        chosen_ = RulesChosen{organisation_->Rules(), std::move(own), true, true};
        return EndModal();
    }
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
// it, whichever rules are shown. Rules that do not read are dropped only when the user says so,
// once; No, the default, goes back to the field at fault.
void frmPriceRules::cmdClose_Click() {
    RulesTexts typed = OwnTexts();
    chosen_.reset();
    if (typed == typed_) return EndModal();
    auto read = ReadPriceRules(typed, format_);
    if (const auto* problem = std::get_if<RulesInputError>(&read)) {
        if (!messages_.Ask(hwnd_, ToWide(problem->message) + L"\n\nDiscard the rules typed?",
                           L"" TARVELLO_TITLE)) {
            if (!showingOwn_) ShowSide(true);
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

void frmPriceRules::OnCommand(int id, int code) {
    if (IsBandControl(id)) {
        const std::size_t row = RowOf(id);
        const BandColumn column = ColumnOf(id);
        if (code == EN_CHANGE && column == BandColumn::From) txtFrom_Change(row);
        if (code == EN_CHANGE && column == BandColumn::Step) txtStep_Change(row);
        if (code == EN_CHANGE && column == BandColumn::Ending) txtEnding_Change(row);
        if (code == CBN_SELCHANGE && column == BandColumn::Direction) cboDirection_Click(row);
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case kCmdPreview:
            cmdPreview_Click();
            break;
        case kCmdClose:
            cmdClose_Click();
            break;
        case kChkNeverToZero:
            chkNeverToZero_Click();
            break;
        case kOptOrganisation:
            optOrganisation_Click();
            break;
        case kOptOwn:
            optOwn_Click();
            break;
        default:
            break;
    }
}

}  // namespace tarvello::ui
