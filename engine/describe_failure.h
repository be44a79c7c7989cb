#pragma once
// Plain-words messages for the window's message boxes.

#include <cstddef>
#include <cstdint>

#include "number_format.h"
#include "round_line_items.h"
#include "undo_last_round.h"
#include "variant.h"

namespace tarvello {

// One message saying where the pass stopped, why, and what it had already changed. Rows are
// named by the host's own numbering, from 0, as the host's list of line items shows them.
Text DescribeRoundFailure(const RoundFailure& failure);

// The amount typed cannot be read as a number. The example uses the user's separator; a long
// text is quoted by its beginning only, so that the message box stays on the screen.
Text DescribeUnreadableAmount(const Text& amountText, const NumberFormat& format = {});

// A Round the user stopped: at which row, and what it had changed.
Text DescribeStoppedRound(const RoundOutcome& outcome);

// What an Undo has to say: nothing (an empty text) when every line item got its values back;
// otherwise how many were restored, which rows were left because they changed since, which
// modifiers stayed empty, and where a stop or a failure left off with what `remaining` (the
// record as the Undo left it) can still give back.
Text DescribeUndo(const UndoOutcome& outcome, const UndoRecord& remaining);

namespace detail {

// Why a pass stopped, as the end of "... stopped at row 4: ".
Text FailureReason(const RoundFailure& failure);

// "1 line item", "12 line items".
Text LineItemsWord(std::int32_t count);

}  // namespace detail

}  // namespace tarvello
