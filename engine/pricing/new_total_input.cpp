#include "pricing/new_total_input.h"

#include <optional>
#include <string>

#include "numbers/text_util.h"

namespace tarvello {
namespace {

// Decimal::FromText turns down a number longer than it can hold: should the text read once the
// digits past what a price holds are left out, it is a number, and too long a one.
bool IsTooLongANumber(const Text& text, const NumberFormat& format) {
    constexpr int kKept = kPriceDigits + 1;
    Text shorter;
    int digits = 0;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9' && ++digits > kKept) continue;
        shorter += c;
    }
    return digits > kKept && Decimal::FromText(shorter, format).has_value();
}

struct Refusal {
    NewTotalInputError error;
};

// The fields as the window labels them.
[[noreturn]] void Refuse(NewTotalField field, const Text& what) {
    const Text label = field == NewTotalField::NewTotal ? u"New total" : u"Unit prices in steps of";
    throw Refusal{{field, label + u": " + what}};
}

Text DecimalPlaces(int count) {
    if (count == 0) return u"no decimal places";
    return WholeText(count) + (count == 1 ? u" decimal place" : u" decimal places");
}

class Reader {
public:
    explicit Reader(const NumberFormat& format) : format_(format) {}

    Decimal Amount(const Text& text, NewTotalField field) const {
        const std::optional<Decimal> amount = Decimal::FromText(text, format_);
        if (amount ? !HoldsAsPrice(*amount) : IsTooLongANumber(text, format_)) {
            Refuse(field, u"more digits than a price can hold. Type at most " +
                              WholeText(kPriceDigits) + u" digits, such as " + Example(field) +
                              u".");
        }
        if (!amount) {
            const Text what = field == NewTotalField::NewTotal ? u"an amount" : u"a step";
            Refuse(field, u"not a number. Type " + what + u", such as " + Example(field) + u".");
        }
        return *amount;
    }

    Text Example(NewTotalField field) const {
        return Shown(field == NewTotalField::NewTotal ? Decimal(499995, 2) : Decimal(5, 2));
    }

    Text Shown(const Decimal& amount) const { return amount.ToText(format_); }

private:
    const NumberFormat& format_;
};

NewTotalInput ReadOrRefuse(const NewTotalTexts& typed, const Reader& reader) {
    const Decimal newTotal = reader.Amount(typed.newTotal, NewTotalField::NewTotal);
    const Decimal step = reader.Amount(typed.step, NewTotalField::Step);
    if (step.Sign() <= 0) {
        Refuse(NewTotalField::Step,
               u"the step must be above 0, such as " + reader.Example(NewTotalField::Step) + u".");
    }
    if (newTotal.Sign() <= 0) {
        Refuse(NewTotalField::NewTotal,
               u"a total of 0 or below is refused. Type an amount above 0, such as " +
                   reader.Example(NewTotalField::NewTotal) + u".");
    }
    if (newTotal.scale() > step.scale()) {
        // The total as typed, cut to the places the step allows: an example the user knows.
        const Decimal cut(FloorDivide(newTotal, Decimal(1, step.scale())).quotient, step.scale());
        Refuse(NewTotalField::NewTotal, u"more decimal places than the step allows. Steps of " +
                                            reader.Shown(step) + u" allow " +
                                            DecimalPlaces(step.scale()) + u", such as " +
                                            reader.Shown(cut.IsZero() ? step : cut) + u".");
    }
    return {newTotal, step};
}

}  // namespace

NewTotalTexts DefaultNewTotalTexts(const NumberFormat& format) {
    return {Text(), Decimal(1, 2).ToText(format)};
}

std::variant<NewTotalInput, NewTotalInputError> ReadNewTotal(const NewTotalTexts& typed,
                                                             const NumberFormat& format) {
    try {
        return ReadOrRefuse(typed, Reader(format));
    } catch (const Refusal& refusal) {
        return refusal.error;
    }
}

}  // namespace tarvello
