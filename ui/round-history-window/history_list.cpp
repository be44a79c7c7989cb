#include "ui/round-history-window/history_list.h"

#include <algorithm>

#include "engine/numbers/text_util.h"
#include "engine/passes/describe_failure.h"
#include "engine/passes/plan_table.h"

namespace tarvello::ui {
namespace {

using State = RoundStanding::State;

Text WhenOf(const RoundRecord& round, const WhenText& when, bool whole) {
    const Text text = when ? when(round.began, whole) : Text();
    return text.empty() ? TextFromUtf8(round.began) : text;
}

Text WhatOf(const RoundRecord& round) {
    return round.what.empty() ? Text(u"Round") : TextFromUtf8(round.what);
}

// "; 2 of 5 changed since": of the line items still to give back, those that no longer hold
// what the Round left.
Text ChangedSince(const RoundStanding& standing) {
    const std::int32_t left = standing.round.Undoable();
    const std::int32_t changed = left - standing.holding;
    if (changed <= 0) return Text();
    return u"; " + WholeText(changed) + u" of " + WholeText(left) + u" changed since";
}

}  // namespace

const Text& HistoryColumnName(HistoryColumn column) {
    static const Text names[kHistoryColumnCount] = {u"When", u"What", u"Quote", u"Written",
                                                    u"State"};
    return names[column];
}

Text StateText(const RoundStanding& standing) {
    const RoundRecord& round = standing.round;
    switch (standing.state) {
        case State::CanBeUndone:
            return u"can be undone" + ChangedSince(standing);
        case State::PartlyUndone:
            return u"partly undone (" + WholeText(standing.dealtWith) + u" of " +
                   WholeText(static_cast<long long>(round.items.size())) + u")" +
                   ChangedSince(standing);
        case State::Undone: {
            const auto left = std::count_if(round.items.begin(), round.items.end(),
                                            [](const WrittenLineItem& item) { return item.left; });
            if (left == 0) return u"undone";
            return u"undone; " + detail::LineItemsWord(static_cast<std::int32_t>(left)) +
                   u" left as they had changed";
        }
        case State::Forgotten:
            return u"forgotten";
        case State::OtherQuote:
            return u"its quote is not the open one";
        case State::Moved:
            return u"line items seem to have moved since";
        case State::NotLooked:
            break;
    }
    return u"not known: the open quote was not read";
}

HistoryRow RowOf(const RoundStanding& standing, const WhenText& when) {
    const RoundRecord& round = standing.round;
    HistoryRow row;
    row.cells[kWhen] = WhenOf(round, when, true);
    row.cells[kWhat] = WhatOf(round);
    row.cells[kQuote] = u"document " + WholeText(round.documentIndex) + u", " +
                        detail::LineItemsWord(round.lineItemCount);
    row.cells[kWritten] = WholeText(standing.written);
    row.cells[kState] = StateText(standing);
    return row;
}

HistoryButtons ButtonsFor(const RoundStanding& chosen, const std::vector<RoundStanding>& all,
                          const WhenText& when) {
    HistoryButtons buttons;
    buttons.forget = chosen.round.Undoable() > 0;
    switch (chosen.state) {
        case State::Undone:
            buttons.why = u"Nothing is left to give back.";
            return buttons;
        case State::Forgotten:
            buttons.why = u"Forgotten: it gives nothing back.";
            return buttons;
        default:
            break;
    }
    if (!chosen.inTheWay.empty()) {
        const auto newer = std::find_if(all.begin(), all.end(), [&](const RoundStanding& s) {
            return s.round.id == chosen.inTheWay;
        });
        buttons.why = newer == all.end()
                          ? Text(u"Undo or forget the newer Round of its quote first.")
                          : u"Undo or forget the Round of " + WhenOf(newer->round, when, false) +
                                u" first: it is newer, on the same quote.";
        return buttons;
    }
    switch (chosen.state) {
        case State::OtherQuote:
            buttons.why = u"Its quote is not the one open in Tarvello.";
            break;
        case State::NotLooked:
            buttons.why = u"The quote open in Tarvello was not read: Refresh.";
            break;
        default:
            buttons.previewUndo = true;
            break;
    }
    return buttons;
}

Text ForgetQuestion(const RoundStanding& standing, const WhenText& when) {
    const RoundRecord& round = standing.round;
    return u"Forget the Round of " + WhenOf(round, when, false) + u" (" + WhatOf(round) +
           u")?\n\nEdit > Undo Round will no longer give back its " +
           detail::LineItemsWord(round.Undoable()) +
           u" and moves on to the Round before it. Round History goes on showing it, as "
           u"forgotten.";
}

Text HistoryTable(const std::vector<HistoryRow>& rows, const NumberFormat& format) {
    Text header[kHistoryColumnCount];
    for (int column = 0; column < kHistoryColumnCount; ++column) {
        header[column] = HistoryColumnName(static_cast<HistoryColumn>(column));
    }
    Text text = TabSeparatedLine(header, kHistoryColumnCount, format);
    for (const HistoryRow& row : rows)
        text += TabSeparatedLine(row.cells, kHistoryColumnCount, format);
    return text;
}

std::vector<RoundStanding> StandAgain(const std::vector<RoundStanding>& looked,
                                      const std::vector<RoundRecord>& rounds) {
    std::vector<RoundStanding> standings;
    for (auto round = rounds.rbegin(); round != rounds.rend(); ++round) {
        RoundStanding standing = StandingOf(*round, rounds);
        const auto before = std::find_if(looked.begin(), looked.end(), [&](const RoundStanding& s) {
            return s.round.id == round->id;
        });
        if (standing.state == State::NotLooked && before != looked.end()) {
            standing.state = before->state;
            standing.holding = before->holding;
        }
        standings.push_back(std::move(standing));
    }
    return standings;
}

}  // namespace tarvello::ui
