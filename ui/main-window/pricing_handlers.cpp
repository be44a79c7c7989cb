// Edit > Price Rules and Edit > Round to a Total: new prices worked out otherwise than by the
// window's three methods, always shown in the preview before anything is written, and written
// by Apply as a preview of a Round is. Both work on the rows chosen in the window, the price
// rules on the field chosen too.

#include "engine/numbers/rounding.h"
#include "engine/numbers/text_util.h"
#include "engine/pricing/new_total_plan.h"
#include "ui/main-window/frm_main.h"
#include "ui/window-utils/regional.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

void frmMain::mnuEditPriceRules_Click() {
    if (!open_.priceRules) return;
    RulesTexts typed = LoadPriceRules();
    // Back to the rules after a preview the user cancelled, to change them and look again.
    for (;;) {
        const std::optional<RulesChosen> chosen = open_.priceRules(hwnd_, typed, std::nullopt);
        if (!chosen) return;
        // The organisation's rules are never the user's to keep; the user's own, left changed
        // beside them, are.
        if (!chosen->organisation || !(chosen->typed == typed)) {
            SavePriceRules(chosen->typed, chosen->preview);
        }
        typed = chosen->typed;
        if (!chosen->preview) return;
        RoundPlan plan;
        const std::optional<PassOutcome> preview =
            RunWatched(PassWatch::Activity::Preview, [&](MessageSink& messages, PassWatch& watch) {
                return pass_.PreviewByRules(chosen->rules, ReadPriceField(), ReadRows(), messages,
                                            &watch, plan);
            });
        if (!preview || preview->status != PassOutcome::Status::Completed) return;
        if (PreviewThenApply(plan) != PreviewEnd::Cancelled) return;
    }
}

void frmMain::mnuEditNewTotal_Click() {
    // Greyed in the menu where the organisation turned it off; a command sent from outside the
    // menu is refused the same.
    if (!open_.newTotal || fixed_.roundToTotalOff) return;
    const NumberFormat format = UserNumberFormat();
    const RowChoice rows = ReadRows();
    // What the quote comes to now, read as the preview will read it.
    const auto read = [&](RoundPlan& plan) {
        const std::optional<PassOutcome> outcome =
            RunWatched(PassWatch::Activity::Preview, [&](MessageSink& messages, PassWatch& watch) {
                return pass_.ReadForNewTotal(rows, messages, &watch, plan);
            });
        return outcome && outcome->status == PassOutcome::Status::Completed;
    };
    RoundPlan now;
    if (!read(now)) return;
    if (!AnythingToSpreadOver(now, format)) {
        ShowError(ToWide(
            DescribeSpreadRefusal(SpreadRefusal::NothingToChange, Decimal(), Decimal(), format)));
        return;
    }
    NewTotalTexts typed = DefaultNewTotalTexts(format);
    std::optional<NewTotalField> focus;
    for (;;) {
        const std::optional<NewTotalChosen> chosen =
            open_.newTotal(hwnd_, FormatShortNumber(TotalNow(now, format), format), typed, focus);
        if (!chosen) return;
        typed = chosen->typed;
        RoundPlan plan;
        if (!read(plan)) return;
        const NewTotalInput& input = chosen->input;
        if (const auto refused = SpreadOver(plan, input.newTotal, input.step, format)) {
            ShowError(ToWide(DescribeSpreadRefusal(*refused, input.newTotal, input.step, format)));
            focus = NewTotalField::NewTotal;
            now = plan;
            continue;
        }
        switch (PreviewThenApply(plan)) {
            case PreviewEnd::Applied:
            case PreviewEnd::Closing:
                return;
            case PreviewEnd::ToPreviewAgain:
                // The quote changed under the preview: the window opens again with what was
                // typed, over the total the quote comes to now.
                if (!read(plan)) return;
                break;
            case PreviewEnd::Cancelled:
                break;
        }
        focus.reset();
        now = plan;
    }
}

RulesTexts frmMain::LoadPriceRules() {
    const NumberFormat format = UserNumberFormat();
    UserFile* file = open_.priceRulesFile;
    if (!file) return DefaultRulesTexts(format);
    std::string why;
    const std::optional<std::string> text = file->Read(why);
    if (text) {
        if (const std::optional<RulesTexts> kept = ReadPriceRulesFile(*text, format)) return *kept;
        why = "it is damaged";
    }
    if (why.empty() || toldOfDamagedRules_) return DefaultRulesTexts(format);
    // Once: the file stays as it was, and a copy is kept before new rules take its place.
    toldOfDamagedRules_ = true;
    std::string aside, unused;
    const bool kept = text && file->KeepAside(".damaged", aside, unused);
    std::wstring message = L"The price rules kept in " + ToWide(TextFromUtf8(file->Where())) +
                           L" could not be read (" + ToWide(TextFromUtf8(why)) +
                           L"): the default rules are shown instead.";
    if (kept) message += L" A copy of the file was kept as " + ToWide(TextFromUtf8(aside)) + L".";
    ShowError(message, MB_ICONWARNING);
    return DefaultRulesTexts(format);
}

void frmMain::SavePriceRules(const RulesTexts& typed, bool forPreview) {
    UserFile* file = open_.priceRulesFile;
    if (!file) return;
    std::string why;
    if (file->Write(PriceRulesFileText(typed, UserNumberFormat()), why)) return;
    ShowError(L"The price rules could not be kept in " + ToWide(TextFromUtf8(file->Where())) +
                  L" (" + ToWide(TextFromUtf8(why)) + L")." +
                  (forPreview ? L" They are used for this preview, but will not be there next time."
                              : L" They will not be there next time."),
              MB_ICONWARNING);
}

}  // namespace tarvello::ui
