#pragma once
// Round History's list in words: one row per Round the journal keeps, newest first, with when
// it was made, what it was, its quote, the line items it wrote and where it stands; what the
// buttons may do for the Round chosen, and why not; the question before Forget; and the list as
// a table to paste. Portable, so that its rules are tested on their own; the window shows them,
// and the main window hands it the Rounds and takes back what the user chose.

#include <functional>
#include <string>
#include <vector>

#include "engine/numbers/number_format.h"
#include "engine/numbers/variant.h"
#include "engine/passes/round_standing.h"

namespace tarvello::ui {

// What the main window hands Round History: every Round kept, newest first, where each stands
// against the quote open now; why that quote was not read, when it was not; and the Round to
// choose as the window opens (the newest when empty or gone).
struct HistoryView {
    std::vector<RoundStanding> standings;
    Text notRead;
    std::string chosen;
};

// What the user chose there, for the Round `id`.
struct HistoryChoice {
    enum class Action { Close, PreviewUndo, Forget, Refresh };
    Action action = Action::Close;
    std::string id;
};

// When a Round began (the journal's UTC time) in the user's formats: `whole`, its date and time
// to the second; otherwise its time, with its date for another day.
using WhenText = std::function<Text(const std::string& beganUtc, bool whole)>;

enum HistoryColumn { kWhen, kWhat, kQuote, kWritten, kState, kHistoryColumnCount };
// "When", "What", "Quote", "Written" (line items), "State".
const Text& HistoryColumnName(HistoryColumn column);

struct HistoryRow {
    Text cells[kHistoryColumnCount];
};
HistoryRow RowOf(const RoundStanding& standing, const WhenText& when);

// "can be undone", "partly undone (2 of 5)", "its quote is not the open one", ...
Text StateText(const RoundStanding& standing);

// What the buttons may do for the Round chosen among `all`: Preview Undo when it has something
// to give back into the quote open now and no newer Round of its quote is in the way, Forget
// while Undo would still give something back; `why` says why Preview Undo may not.
struct HistoryButtons {
    bool previewUndo = false;
    bool forget = false;
    Text why;
};
HistoryButtons ButtonsFor(const RoundStanding& chosen, const std::vector<RoundStanding>& all,
                          const WhenText& when);

// The one question before a Round is forgotten.
Text ForgetQuestion(const RoundStanding& standing, const WhenText& when);

// The list as a table: a header line and a line per Round, as the preview's Copy makes it.
Text HistoryTable(const std::vector<HistoryRow>& rows, const NumberFormat& format);

// Every Round `rounds` holds (oldest first) as the history stands now, newest first, keeping where
// each stood in `looked` against the quote last read: after Forget, which changes nothing in the
// quote, it need not be read again.
std::vector<RoundStanding> StandAgain(const std::vector<RoundStanding>& looked,
                                      const std::vector<RoundRecord>& rounds);

}  // namespace tarvello::ui
