#pragma once
// frmPriceRules's controls as data, in twips: the column headings, five band rows of From,
// Step, Ending, Direction and the row's example, the zero guard, the limit on the change, and
// Preview and Close; above them, where the organisation sets price rules, the line that says
// where they come from, and the choice between them and the user's own where it allows both.

#include <cstddef>
#include <vector>

#include "engine/pricing/price_rules.h"
#include "engine/pricing/price_rules_form.h"
#include "ui/window-utils/control_table.h"

namespace tarvello::ui::price_rules_window {

constexpr int kClientWidthTwips = 7200;
constexpr int kClientHeightTwips = 4200;

// What lies above the headings: nothing, the line saying where the organisation's rules come
// from, or the choice between the organisation's rules and the user's own above that line.
enum class SourceBand { None, Line, Choice };

enum ControlId : int {
    kLblFromHeading = 100,
    kLblStepHeading,
    kLblEndingHeading,
    kLblDirectionHeading,
    kLblExampleHeading,
    kChkNeverToZero,
    kLblMaxChange,
    kTxtMaxChange,
    kLblPercentSign,
    kCmdPreview,
    kCmdClose,
    kOptOrganisation,
    kOptOwn,
    kLblSource,
};

// The controls of a band row, in the row's order from left to right.
enum class BandColumn { Label, From, Step, Ending, Direction, Example };

// Band rows take the ids from 200 on, ten to a row.
int BandControlId(std::size_t row, BandColumn column);

// The box where a field of what ReadPriceRules reads is typed.
int FieldControlId(std::size_t row, RulesField field);

// The drop-down list's items, top to bottom.
constexpr RuleDirection kDirections[] = {RuleDirection::Nearest, RuleDirection::Up,
                                         RuleDirection::Down};

const std::vector<ControlSpec>& Controls(SourceBand band = SourceBand::None);
// The client area's height with that band, as the table has it.
int ClientHeightTwips(SourceBand band);

}  // namespace tarvello::ui::price_rules_window
