#include "ui/price-rules-window/price_rules_layout.h"

#include <iterator>
#include <string>

#include "ui/window-utils/window_text.h"

namespace tarvello::ui::price_rules_window {

namespace {

using K = ControlKind;

constexpr int kMargin = 120;
constexpr int kFirstRowTop = 360;
constexpr int kRowPitch = 405;
constexpr int kBoxHeight = 315;
// A label's text beside a box sits level with the text in the box.
constexpr int kLabelDrop = 60;
constexpr int kLabelHeight = 210;

struct Column {
    BandColumn column;
    const wchar_t* name;  // the rows share it, as the elements of a control array do
    K kind;
    int left, width;
    // The heading above the column, which screen readers also hear after the row's "Band N".
    int headingId;
    const wchar_t* headingName;
    const wchar_t* heading;
};

constexpr Column kColumns[] = {
    {BandColumn::Label, L"lblBand", K::Label, kMargin, 660, 0, nullptr, nullptr},
    {BandColumn::From, L"txtFrom", K::TextBox, 840, 1080, kLblFromHeading, L"lblFromHeading",
     L"From"},
    {BandColumn::Step, L"txtStep", K::TextBox, 1980, 900, kLblStepHeading, L"lblStepHeading",
     L"Step"},
    {BandColumn::Ending, L"txtEnding", K::TextBox, 2940, 900, kLblEndingHeading,
     L"lblEndingHeading", L"Ending"},
    {BandColumn::Direction, L"cboDirection", K::DropDownList, 3900, 1140, kLblDirectionHeading,
     L"lblDirectionHeading", L"Direction"},
    {BandColumn::Example, L"lblExample", K::Label, 5160, 1920, kLblExampleHeading,
     L"lblExampleHeading", L"Example"},
};

constexpr const wchar_t* kBandLabels[] = {L"Band 1", L"Band 2", L"Band 3", L"Band 4", L"Band 5"};
static_assert(std::size(kBandLabels) == kBandRows, "a label for every band row");

// The list's items as the engine spells the directions, the one place they are spelt.
const wchar_t* DirectionItems() {
    static const std::wstring items = [] {
        std::wstring lines;
        for (RuleDirection direction : kDirections) {
            if (!lines.empty()) lines += L'\n';
            lines += ToWide(NameOf(direction));
        }
        return lines;
    }();
    return items.c_str();
}

// How far the band above the headings moves everything below it down; and the tab indexes,
// which begin after the choice's one stop.
struct Offset {
    int top = 0;
    int tab = 0;
};

Offset OffsetFor(SourceBand band) {
    switch (band) {
        case SourceBand::None:
            break;
        case SourceBand::Line:
            return {540, 0};
        case SourceBand::Choice:
            return {840, 1};
    }
    return {};
}

// Tab order goes along each row (From, Step, Ending, Direction), then down to the next.
ControlSpec BandControl(std::size_t row, const Column& column, Offset offset) {
    const int top = offset.top + kFirstRowTop + kRowPitch * static_cast<int>(row);
    const int boxTab = offset.tab + static_cast<int>(row) * 4 + static_cast<int>(column.column) - 1;
    const bool label = column.kind == K::Label;
    const wchar_t* caption = column.column == BandColumn::Label       ? kBandLabels[row]
                             : column.column == BandColumn::Direction ? DirectionItems()
                                                                      : nullptr;
    ControlSpec control{BandControlId(row, column.column),
                        column.name,
                        column.kind,
                        0,
                        caption,
                        column.left,
                        label ? top + kLabelDrop : top,
                        column.width,
                        label ? kLabelHeight : kBoxHeight,
                        label ? -1 : boxTab};
    if (!label) control.accessibleName = std::wstring(kBandLabels[row]) + L" " + column.heading;
    return control;
}

// The organisation's rules or the user's own, side by side, and under them (or alone) the line
// that says where the organisation's come from, two lines tall for a long path or a problem.
// Screen readers hear that line when it changes: a share that stops answering, say.
void AddSourceBand(std::vector<ControlSpec>& rows, SourceBand band) {
    int lineTop = kMargin;
    if (band == SourceBand::Choice) {
        ControlSpec organisation{kOptOrganisation,
                                 L"optOrganisation",
                                 K::OptionButton,
                                 0,
                                 L"Your &organisation's rules",
                                 kMargin,
                                 kMargin,
                                 3300,
                                 255,
                                 0};
        organisation.initiallyOn = true;
        rows.push_back(organisation);
        rows.push_back({kOptOwn, L"optOwn", K::OptionButton, 0, L"Your o&wn rules", 3540, kMargin,
                        3300, 255, 0});
        lineTop = 420;
    }
    ControlSpec line{kLblSource, L"lblSource", K::Label, 0,   nullptr,
                     kMargin,    lineTop,      6960,     420, -1};
    line.liveRegion = true;
    rows.push_back(line);
}

std::vector<ControlSpec> MakeControls(SourceBand band) {
    const Offset offset = OffsetFor(band);
    std::vector<ControlSpec> rows;
    if (band != SourceBand::None) AddSourceBand(rows, band);
    for (const Column& column : kColumns) {
        if (!column.heading) continue;
        rows.push_back({column.headingId, column.headingName, K::Label, 0, column.heading,
                        column.left, offset.top + kMargin, column.width, kLabelHeight, -1});
    }
    for (std::size_t row = 0; row < kBandRows; ++row) {
        for (const Column& column : kColumns) rows.push_back(BandControl(row, column, offset));
    }
    // Below the band rows: the zero guard, the limit on the change, then the buttons.
    const int tab = offset.tab + static_cast<int>(kBandRows) * 4;
    const int limitTop = offset.top + 2880;
    rows.push_back({kChkNeverToZero, L"chkNeverToZero", K::CheckBox, 0,
                    L"Never round a price to zero", kMargin, offset.top + 2520, 3600, 255, tab});
    rows.push_back({kLblMaxChange, L"lblMaxChange", K::Label, 0,
                    L"Leave line items whose price would change by more than", kMargin,
                    limitTop + kLabelDrop, 4560, kLabelHeight, -1});
    rows.push_back({kTxtMaxChange, L"txtMaxChange", K::TextBox, 0, nullptr, 4740, limitTop, 720,
                    kBoxHeight, tab + 1});
    rows.back().labelledBy = kLblMaxChange;
    rows.push_back({kLblPercentSign, L"lblPercentSign", K::Label, 0, L"%", 5520,
                    limitTop + kLabelDrop, 300, kLabelHeight, -1});
    const int buttonTop = offset.top + 3660;
    rows.push_back({kCmdPreview, L"cmdPreview", K::PushButton, 0, L"&Preview...", 4575, buttonTop,
                    1183, 375, tab + 2});
    rows.push_back(
        {kCmdClose, L"cmdClose", K::PushButton, 0, L"Close", 5895, buttonTop, 1183, 375, tab + 3});
    return rows;
}

}  // namespace

int BandControlId(std::size_t row, BandColumn column) {
    return 200 + static_cast<int>(row) * 10 + static_cast<int>(column);
}

int FieldControlId(std::size_t row, RulesField field) {
    switch (field) {
        case RulesField::From:
            return BandControlId(row, BandColumn::From);
        case RulesField::Step:
            return BandControlId(row, BandColumn::Step);
        case RulesField::Ending:
            return BandControlId(row, BandColumn::Ending);
        case RulesField::Percent:
            break;
    }
    return kTxtMaxChange;
}

const std::vector<ControlSpec>& Controls(SourceBand band) {
    static const std::vector<ControlSpec> controls[] = {MakeControls(SourceBand::None),
                                                        MakeControls(SourceBand::Line),
                                                        MakeControls(SourceBand::Choice)};
    return controls[static_cast<int>(band)];
}

int ClientHeightTwips(SourceBand band) {
    return kClientHeightTwips + OffsetFor(band).top;
}

}  // namespace tarvello::ui::price_rules_window
