#include "app/production_services.h"

#include "app/system_policy.h"
#include "engine/passes/round_standing.h"
#include "engine/passes/undo_last_round.h"
#include "engine/pricing/new_total_plan.h"
#include "engine/pricing/rule_pricing.h"
#include "host/com_host_link.h"
#include "ui/about-box/frm_about.h"
#include "ui/new-total-window/frm_new_total.h"
#include "ui/preview-window/frm_preview.h"
#include "ui/price-rules-window/frm_price_rules.h"
#include "ui/round-history-window/frm_round_history.h"
#include "ui/window-utils/regional.h"

namespace tarvello::app {

PassOutcome HostRoundingPass::RoundLineItems(const RoundingRequest& request, MessageSink& messages,
                                             const PassHooks& hooks) {
    host::ComHostLink link;
    return tarvello::RoundLineItems(request, link, messages, ui::UserNumberFormat(), hooks);
}

PassOutcome HostRoundingPass::UndoLastRound(RoundHistory& history, MessageSink& messages,
                                            PassObserver* observer) {
    host::ComHostLink link;
    return tarvello::UndoLastRound(history, link, messages, ui::UserNumberFormat(), observer);
}

PassOutcome HostRoundingPass::PreviewRound(const RoundingRequest& request, MessageSink& messages,
                                           PassObserver* observer, RoundPlan& plan) {
    host::ComHostLink link;
    return tarvello::PreviewRound(request, link, messages, plan, ui::UserNumberFormat(), observer);
}

PassOutcome HostRoundingPass::ApplyPlan(const RoundPlan& plan, MessageSink& messages,
                                        const PassHooks& hooks) {
    host::ComHostLink link;
    return tarvello::ApplyPlan(plan, link, messages, ui::UserNumberFormat(), hooks);
}

PassOutcome HostRoundingPass::PreviewByRules(const PriceRules& rules, RoundedPrice field,
                                             RowChoice rows, MessageSink& messages,
                                             PassObserver* observer, RoundPlan& plan) {
    host::ComHostLink link;
    const NumberFormat format = ui::UserNumberFormat();
    const passes::RulePricing pricing(rules, field, format);
    return PreviewWith(pricing, rows, PlanKind::PriceRules, link, messages, plan, format, observer);
}

PassOutcome HostRoundingPass::ReadForNewTotal(RowChoice rows, MessageSink& messages,
                                              PassObserver* observer, RoundPlan& plan) {
    host::ComHostLink link;
    return tarvello::ReadForNewTotal(rows, link, messages, plan, ui::UserNumberFormat(), observer);
}

PassOutcome HostRoundingPass::LookAtRounds(const RoundHistory& history, MessageSink& messages,
                                           PassObserver* observer,
                                           std::vector<RoundStanding>& standings) {
    host::ComHostLink link;
    return tarvello::LookAtRounds(history, link, messages, standings, ui::UserNumberFormat(),
                                  observer);
}

PassOutcome HostRoundingPass::PreviewUndo(const RoundHistory& history, const std::string& id,
                                          MessageSink& messages, PassObserver* observer,
                                          RoundPlan& plan) {
    host::ComHostLink link;
    return tarvello::PreviewUndo(history, id, link, messages, plan, ui::UserNumberFormat(),
                                 observer);
}

ui::HistoryOpener HistoryWindowOpener(ui::MessagePresenter& messages) {
    return [&messages](HWND owner, const ui::HistoryView& view) {
        ui::frmRoundHistory window(owner, view, ui::UserNumberFormat(), messages);
        return window.Form_Load();
    };
}

ui::PriceRulesOpener PriceRulesWindowOpener(ui::MessagePresenter& messages,
                                            const OrganisationPolicy& policy) {
    std::optional<ui::OrganisationRulesInput> organisation;
    if (policy.rules.kind != RulesSource::Kind::None) {
        const RulesSource source = policy.rules;
        organisation = ui::OrganisationRulesInput{source, [source] { return ReadRulesAt(source); },
                                                  policy.allowUserRules, false};
    }
    return [&messages, organisation](HWND owner, const RulesTexts& typed,
                                     std::optional<ui::RulesFieldAt> focus) mutable {
        ui::frmPriceRules window(owner, typed, ui::UserNumberFormat(), messages, focus,
                                 organisation);
        std::optional<RulesChosen> chosen = window.Form_Load();
        if (organisation) organisation->ownFirst = window.OwnRulesChosen();
        return chosen;
    };
}

ui::NewTotalOpener NewTotalWindowOpener(ui::MessagePresenter& messages) {
    return [&messages](HWND owner, const Text& totalNow, const NewTotalTexts& typed,
                       std::optional<NewTotalField> focus) {
        ui::frmNewTotal window(owner, totalNow, typed, ui::UserNumberFormat(), messages, focus);
        return window.Form_Load();
    };
}

ui::PreviewOpener PreviewWindowOpener(ui::MessagePresenter& messages) {
    return [&messages](HWND owner, const RoundPlan& plan) {
        ui::frmPreview preview(owner, plan, ui::UserNumberFormat(), messages);
        return preview.Form_Load();
    };
}

ui::AboutOpener AboutBoxOpener(ui::MessagePresenter& messages) {
    return [&messages](HWND owner) {
        ui::frmAbout box(owner, messages);
        box.Form_Load();
    };
}

}  // namespace tarvello::app
