// The Price Rules window's side of the rules the organisation sets: read off the window's thread
// and again while it is open, shown read-only under the line that says where they come from, or
// the user's own in their place where the organisation allows it.

#include "ui/price-rules-window/frm_price_rules.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

using namespace price_rules_window;

namespace {

// How long the window waits, as it opens, for the first read of the organisation's rules before
// it opens without them (saying that they are being read); and how often a file of them is read
// again while it is open.
constexpr DWORD kFirstReadWaitMs = 300;
constexpr UINT kReadAgainMs = 2000;
constexpr UINT_PTR kReadAgainTimer = 1;

}  // namespace

void frmPriceRules::StartReading() {
    reading_ = std::make_unique<BackgroundRead>(hwnd_, kRulesReadMessage, input_->read);
    reading_->Start();
    // A read that ends at once (most do) is in place as the window opens.
    reading_->Wait(kFirstReadWaitMs);
    if (const std::optional<RulesRead> read = reading_->Take()) organisation_->Take(*read);
    if (input_->source.kind == RulesSource::Kind::File) {
        SetTimer(hwnd_, kReadAgainTimer, kReadAgainMs, nullptr);
    }
}

void frmPriceRules::ShowSide(bool own) {
    showingOwn_ = own;
    if (band_ == SourceBand::Choice) controls_.SetOptionOn(own ? kOptOwn : kOptOrganisation);
    // The boxes of the organisation's rules can be read, and their texts selected, not typed in;
    // a list and a check box cannot be read-only, and are greyed.
    for (std::size_t row = 0; row < kBandRows; ++row) {
        for (const RulesField field : {RulesField::From, RulesField::Step, RulesField::Ending}) {
            if (row == 0 && field == RulesField::From) continue;
            SendMessageW(controls_.Handle(FieldControlId(row, field)), EM_SETREADONLY, !own, 0);
        }
        EnableWindow(controls_.Handle(BandControlId(row, BandColumn::Direction)), own);
    }
    SendMessageW(controls_.Handle(kTxtMaxChange), EM_SETREADONLY, !own, 0);
    EnableWindow(controls_.Handle(kChkNeverToZero), own);
    if (!own) return ShowOrganisationRules();
    ShowTexts(own_);
    OfferPreview(true);
    if (band_ != SourceBand::None) {
        SetLine(u"Your own rules, which your organisation allows in place of its own.");
    }
}

void frmPriceRules::ShowOrganisationRules() {
    ShowTexts(organisation_->Texts());
    SetLine(organisation_->Line());
    OfferPreview(organisation_->Usable());
}

void frmPriceRules::OfferPreview(bool offered) {
    HWND preview = controls_.Handle(kCmdPreview);
    // A button greyed under the focus would leave the keyboard nowhere.
    if (!offered && GetFocus() == preview) SetFocus(controls_.Handle(kCmdClose));
    EnableWindow(preview, offered);
}

void frmPriceRules::SetLine(const Text& text) {
    HWND line = controls_.Handle(kLblSource);
    const std::wstring wide = ToWide(text);
    if (WindowText(line) == wide) return;
    SetWindowTextW(line, wide.c_str());
    AnnounceLiveRegionChange(line);
    if (IsWindowVisible(hwnd_)) FitAgain();
}

RulesTexts frmPriceRules::OwnTexts() const {
    return showingOwn_ ? TypedTexts() : own_;
}

void frmPriceRules::TakeRead() {
    const std::optional<RulesRead> read = reading_ ? reading_->Take() : std::nullopt;
    if (read && organisation_->Take(*read) && !showingOwn_) ShowOrganisationRules();
}

LRESULT frmPriceRules::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRulesReadMessage) {
        TakeRead();
        return 0;
    }
    if (msg == WM_TIMER && wParam == kReadAgainTimer) {
        reading_->Start();
        return 0;
    }
    // A read still under way when the window goes must not post to a handle another window may
    // get next.
    if (msg == WM_DESTROY) reading_.reset();
    return ModalWindow::OnMessage(msg, wParam, lParam);
}

void frmPriceRules::optOrganisation_Click() {
    if (!showingOwn_) return;
    own_ = TypedTexts();
    ShowSide(false);
}

void frmPriceRules::optOwn_Click() {
    if (!showingOwn_) ShowSide(true);
}

}  // namespace tarvello::ui
