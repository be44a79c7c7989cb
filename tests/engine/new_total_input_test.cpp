// The new total and its step as typed: each problem told for its field, in the header's order.
#include <gmock/gmock.h>

#include <string>

#include "engine/numbers/text_util.h"
#include "engine/pricing/new_total_input.h"

namespace tarvello {
namespace {

// "= total step" for what reads, "message [field]" for what does not.
std::string Outcome(const std::variant<NewTotalInput, NewTotalInputError>& read) {
    if (const auto* input = std::get_if<NewTotalInput>(&read)) {
        return "= " + input->newTotal.ToString() + " " + input->step.ToString();
    }
    const auto& error = std::get<NewTotalInputError>(read);
    return Utf8Of(error.message) + (error.field == NewTotalField::Step ? " [step]" : " [total]");
}

// A message is given whole once; later rows give the end that tells theirs apart.
TEST(NewTotalInputTest, EachProblemIsToldForItsFieldInTheUsersSeparator) {
    const NumberFormat dot{u"."}, comma{u","};
    const std::string refused = "is refused. Type an amount above 0, such as 4999.95. [total]";
    const std::string stepDigits = "at most 15 digits, such as 0.05. [step]";
    const struct {
        const char16_t *total, *step;
        const NumberFormat& format;
        std::string outcome;
    } rows[] = {
        {u"abc", u"x", dot, "New total: not a number. Type an amount, such as 4999.95. [total]"},
        {u"5000", u"0,0,5", comma,
         "Unit prices in steps of: not a number. Type a step, such as 0,05. [step]"},
        {u"-5", u"0", dot, "the step must be above 0, such as 0.05. [step]"},
        {u"0", u"0.01", dot, "a total of 0 or below " + refused},
        {u"-0.05", u"0.05", dot, refused},
        {u"4999.999", u"0.05", dot,
         "more decimal places than the step allows. Steps of 0.05 allow 2 decimal places, such as "
         "4999.99. [total]"},
        {u"4999,5", u"1", comma, "Steps of 1 allow no decimal places, such as 4999. [total]"},
        {u"0.05", u"0.5", dot, "Steps of 0.5 allow 1 decimal place, such as 0.5. [total]"},
        {u"1000000000000000", u"1", dot,
         "more digits than a price can hold. Type at most 15 digits, such as 4999.95. [total]"},
        {u"5000", u"123456789.1234567", dot, stepDigits},
        {u"5000", u"1234567890123456789012345678901234567890", dot, stepDigits},
        {u"999999999999999", u"1", dot, "= 999999999999999 1"},
        {u" 4999,950 ", u"0,05", comma, "= 4999.95 0.05"},
    };
    for (const auto& row : rows) {
        EXPECT_THAT(Outcome(ReadNewTotal({row.total, row.step}, row.format)),
                    ::testing::EndsWith(row.outcome));
    }
    const NewTotalTexts defaults = DefaultNewTotalTexts(comma);
    EXPECT_EQ(Utf8Of(defaults.newTotal + u"|" + defaults.step), "|0,01");
}

}  // namespace
}  // namespace tarvello
