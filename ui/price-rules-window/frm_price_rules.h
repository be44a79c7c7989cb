#pragma once
// The Price Rules window: up to five bands of prices, each with a step, an optional ending and a
// direction, the zero guard and the limit on the change; Preview or Close. Each row shows what
// it does to a price as the user types. It only reads and checks what was typed: the main window
// opens it, and previews and keeps the rules it gives back.
//
// Where the organisation sets price rules, the window shows them instead, in boxes that cannot
// be typed in, under a line that says where they come from; where it also allows the user's own,
// two options above that line choose between them. A file of rules is read off the window's
// thread as the window opens and every few seconds while it is open, so that a change to it
// shows and a share that stops answering never holds the window up.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "engine/numbers/number_format.h"
#include "engine/policy/organisation_rules.h"
#include "engine/pricing/price_rules.h"
#include "engine/pricing/price_rules_form.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/price-rules-window/background_read.h"
#include "ui/price-rules-window/price_rules_layout.h"
#include "ui/window-utils/modal_window.h"

namespace tarvello::ui {

// The price rules the organisation sets, as the window is given them.
struct OrganisationRulesInput {
    RulesSource source;
    // Reads the source; runs off the window's thread, and may take long.
    std::function<RulesRead()> read;
    // The user may use their own rules in place of the organisation's.
    bool allowUserRules = false;
    // With allowUserRules: the window opens on the user's own (they were chosen last).
    bool ownFirst = false;
};

class frmPriceRules : public ModalWindow {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloPriceRules";

    // `typed`: what the boxes open with. `focus`: the field (band row, field) that takes the
    // focus with its text selected as the window opens, when it is reopened over a problem
    // with what was typed; row 1's Step otherwise. `organisation`: the rules the organisation
    // sets, when it sets some; `typed` are then the user's own.
    frmPriceRules(HWND owner, RulesTexts typed, const NumberFormat& format,
                  MessagePresenter& messages,
                  std::optional<std::pair<std::size_t, RulesField>> focus = std::nullopt,
                  std::optional<OrganisationRulesInput> organisation = std::nullopt);

    // Shows the window modally over the owner (the owner takes no input meanwhile) and returns
    // once it has closed: the rules and the texts when the user chose Preview with rules that
    // read, or closed the window over rules changed that read (to keep, not to preview);
    // nothing when the user closed it with nothing changed, or chose to drop what did not read.
    // The organisation's rules when the user chose Preview over them, with the user's own texts
    // to keep.
    std::optional<RulesChosen> Form_Load();
    // Once closed: the user's own rules were chosen last (where the organisation allows them).
    bool OwnRulesChosen() const { return showingOwn_; }

    // Posted to itself by the background read of the organisation's rules.
    static constexpr UINT kRulesReadMessage = WM_APP + 1;

    // Event handlers, one per user event; a band row's handlers take the row, as a control
    // array's take its index.
    void cmdPreview_Click();
    void cmdClose_Click();
    void txtFrom_Change(std::size_t row);
    void txtStep_Change(std::size_t row);
    void txtEnding_Change(std::size_t row);
    void cboDirection_Click(std::size_t row);
    void chkNeverToZero_Click();
    void optOrganisation_Click();
    void optOwn_Click();

private:
    void CreateWindowAndControls();
    void ShowTexts(const RulesTexts& texts);
    RulesTexts TypedTexts() const;
    // The user's own texts: as typed while they are shown, as they were left otherwise.
    RulesTexts OwnTexts() const;
    // The rules the organisation sets (organisation_side.cpp): read as the window opens, and a
    // file of them again every few seconds.
    void StartReading();
    // Shows the user's own rules, to type in, or the organisation's, to look at.
    void ShowSide(bool own);
    // The organisation's rules as they read now, and the line that says so.
    void ShowOrganisationRules();
    void SetLine(const Text& text);
    void OfferPreview(bool offered);
    void TakeRead();
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void ShowExamples();
    void FocusField(std::size_t row, RulesField field);
    void OnCommand(int id, int code) override;

    RulesTexts typed_;
    NumberFormat format_;
    MessagePresenter& messages_;
    std::pair<std::size_t, RulesField> focus_;
    std::optional<RulesChosen> chosen_;
    price_rules_window::SourceBand band_ = price_rules_window::SourceBand::None;
    std::optional<OrganisationRulesInput> input_;
    std::optional<OrganisationRules> organisation_;
    std::unique_ptr<BackgroundRead> reading_;
    bool showingOwn_ = true;
    RulesTexts own_;
};

}  // namespace tarvello::ui
