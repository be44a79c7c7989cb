#pragma once
// The two amounts of the Round to a Total window, as typed, read and checked: the total the
// quote is to come to, and the step the new unit prices keep to. Amounts are read exactly in the
// user's decimal separator; the window shows the message of the first problem found and puts
// the focus on its field.
//
// The checks, in this order (the first that fails is the one told):
//   1. the new total reads as an amount a price can hold: a number, of at most 15 significant
//      digits and below 10^15 (a double keeps no more exactly);
//   2. the step reads so too;
//   3. the step is above 0;
//   4. the new total is above 0;
//   5. the new total has no more decimal places than the step (steps of 0.05 or 0.25 allow 2,
//      steps of 1 none): unit prices in such steps cannot make up a total finer than they are.
// Trailing zeros count for neither: "5000.00" in steps of 1 is 5000.

#include <variant>

#include "numbers/exact_decimal.h"
#include "numbers/number_format.h"
#include "numbers/variant.h"

namespace tarvello {

struct NewTotalTexts {
    Text newTotal;
    Text step;
};

// What the window opens with the first time: no new total, and steps of a cent.
NewTotalTexts DefaultNewTotalTexts(const NumberFormat& format);

enum class NewTotalField { NewTotal, Step };

struct NewTotalInput {
    Decimal newTotal;
    Decimal step;
};

struct NewTotalInputError {
    NewTotalField field;
    Text message;  // "New total: not a number. Type an amount, such as 4999.95."
};

// What the user chose Preview with: the amounts, and the texts as typed, for the window to open
// with again.
struct NewTotalChosen {
    NewTotalInput input;
    NewTotalTexts typed;
};

std::variant<NewTotalInput, NewTotalInputError> ReadNewTotal(const NewTotalTexts& typed,
                                                             const NumberFormat& format);

}  // namespace tarvello
