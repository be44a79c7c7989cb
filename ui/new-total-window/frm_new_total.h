#pragma once
// Round to a Total: the total the quote is to come to ("make it 5,000 even") and the steps its
// unit prices keep to. The window only asks: the main window hands it the total now, and spreads
// the change over the line items once the user has chosen Preview with amounts that read.

#include <windows.h>

#include <optional>

#include "engine/numbers/number_format.h"
#include "engine/pricing/new_total_input.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/modal_window.h"

namespace tarvello::ui {

class frmNewTotal : public ModalWindow {
public:
    static constexpr const wchar_t* kClassName = L"TarvelloNewTotal";

    // `totalNow` is shown after "Total now:", already in the user's format; `typed` fills the
    // boxes; `format` reads them. `focus` puts the focus on a field, its text selected, as the
    // window opens: the main window reopens it so when the quote cannot take the total.
    frmNewTotal(HWND owner, Text totalNow, NewTotalTexts typed, const NumberFormat& format,
                MessagePresenter& messages, std::optional<NewTotalField> focus = std::nullopt);

    // Shows the window modally over the owner (the owner takes no input meanwhile) and returns
    // once it has closed: what was chosen with Preview, or nothing when the user closed it.
    std::optional<NewTotalChosen> Form_Load();

    // Event handlers, one per user event.
    void cmdPreview_Click();
    void cmdClose_Click();

private:
    HWND Box(NewTotalField field) const;
    void OnCommand(int id, int code) override;

    Text totalNow_;
    NewTotalTexts typed_;
    NumberFormat format_;
    MessagePresenter& messages_;
    std::optional<NewTotalField> focus_;
    std::optional<NewTotalChosen> chosen_;
};

}  // namespace tarvello::ui
