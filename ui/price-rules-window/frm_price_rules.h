#pragma once
// The Price Rules window: up to five bands of prices, each with a step, an optional ending and a
// direction, the zero guard and the limit on the change; Preview or Close. Each row shows what
// it does to a price as the user types. It only reads and checks what was typed: the main window
// opens it, and previews and keeps the rules it gives back.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <utility>

#include "engine/numbers/number_format.h"
#include "engine/pricing/price_rules.h"
#include "engine/pricing/price_rules_form.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/modal_window.h"

namespace tarvello::ui {

class frmPriceRules : public ModalWindow {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloPriceRules";

    // `typed`: what the boxes open with. `focus`: the field (band row, field) that takes the
    // focus with its text selected as the window opens, when it is reopened over a problem
    // with what was typed; row 1's Step otherwise.
    frmPriceRules(HWND owner, RulesTexts typed, const NumberFormat& format,
                  MessagePresenter& messages,
                  std::optional<std::pair<std::size_t, RulesField>> focus = std::nullopt);

    // Shows the window modally over the owner (the owner takes no input meanwhile) and returns
    // once it has closed: the rules and the texts when the user chose Preview with rules that
    // read, or closed the window over rules changed that read (to keep, not to preview);
    // nothing when the user closed it with nothing changed, or chose to drop what did not read.
    std::optional<RulesChosen> Form_Load();

    // Event handlers, one per user event; a band row's handlers take the row, as a control
    // array's take its index.
    void cmdPreview_Click();
    void cmdClose_Click();
    void txtFrom_Change(std::size_t row);
    void txtStep_Change(std::size_t row);
    void txtEnding_Change(std::size_t row);
    void cboDirection_Click(std::size_t row);
    void chkNeverToZero_Click();

private:
    void CreateWindowAndControls();
    void ShowTexts();
    RulesTexts TypedTexts() const;
    void ShowExamples();
    void FocusField(std::size_t row, RulesField field);
    void OnCommand(int id, int code) override;

    RulesTexts typed_;
    NumberFormat format_;
    MessagePresenter& messages_;
    std::pair<std::size_t, RulesField> focus_;
    std::optional<RulesChosen> chosen_;
};

}  // namespace tarvello::ui
