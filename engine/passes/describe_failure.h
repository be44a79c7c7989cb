#pragma once
// Plain-words messages for the window's message boxes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "numbers/number_format.h"
#include "numbers/variant.h"
#include "passes/pass.h"
#include "request/rounding_request.h"

namespace tarvello {

// What the user is told once a pass has ended, and how: nothing, something to know, or
// something that went wrong. The window shows it as it is.
struct PassReport {
    enum class Tone { Information, Error };
    Text text;  // empty: nothing to say
    Tone tone = Tone::Error;
};
PassReport DescribePassOutcome(const PassOutcome& outcome, const NumberFormat& format = {});

// One message saying where a Round (or a Preview) stopped, why, and what it had already
// changed. Rows are named by the host's own numbering, from 0, as the host's list of line items
// shows them.
Text DescribeRoundFailure(const PassFailure& failure);

// The amount typed cannot be read as a number. The example uses the user's separator; a long
// text is quoted by its beginning only, so that the message box stays on the screen.
Text DescribeUnreadableAmount(const Text& amountText, const NumberFormat& format = {});

// A Round (or a Preview) the user stopped: at which row, and what it had changed.
Text DescribeStoppedRound(const PassOutcome& outcome);

// What an Undo has to say: nothing (an empty text) when every line item got its values back;
// otherwise how many were restored, which rows were left because they changed since, which
// modifiers stayed empty, and where a stop or a failure left off with what can still be given
// back.
Text DescribeUndo(const PassOutcome& outcome);

// The same for an Apply of a preview: how many were written, which rows were left because they
// changed since the preview, where a stop or a failure left off, and for a new total what
// Tarvello's own total is when it is not the one asked for, in the user's `format`.
Text DescribeApply(const PassOutcome& outcome, const NumberFormat& format = {});

// The question before a pass that writes when the journal cannot be written, at `where`, for the
// reason `why`: whether to go on without what lets Undo give it back (or, for Undo, without
// recording what it gives back).
Text DescribeMissingJournal(PassKind pass, const std::string& where, const std::string& why);

// What a Round was, for the journal and Round History: "Nearest multiple of 5, unit price, all
// rows"; "Price rules, extended price, selected rows"; "New total 5000".
Text DescribeRoundChoice(const RoundingRequest& request, const NumberFormat& format = {});
Text DescribeRulesChoice(RoundedPrice field, RowChoice rows);
Text DescribeNewTotalChoice(const Decimal& newTotal, const NumberFormat& format = {});

namespace detail {

// Why a pass stopped, as the end of "... stopped at row 4: ".
Text FailureReason(const PassFailure& failure);

// "1 line item", "12 line items".
Text LineItemsWord(std::int32_t count);

// "unit price", "total quantity", ...: a field as the user knows it.
Text FieldWord(LineItemField field);

}  // namespace detail

}  // namespace tarvello
