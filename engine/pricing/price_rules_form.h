#pragma once
// The price rules as typed in the Price Rules window, read and checked into PriceRules, and the
// text of the file that keeps them for the user between runs (the window reads and writes the
// disk). The file is plain UTF-8 that a colleague can be given and a person can edit: one line
// per setting, fields apart by tabs (spaces read too), amounts with a point whatever the
// user's decimal separator and with the digits as typed, "empty" for an empty box:
//
//   tarvello-price-rules	1
//   # a comment; blank lines are passed over too
//   band	1	<from>	<step>	<ending>	<direction>
//   ...
//   band	5	<from>	<step>	<ending>	<direction>
//   never-to-zero	on
//   max-change-percent	<percent>
//
// Every band row is there, unused ones too, so that nothing typed is lost; the direction is
// "Nearest", "Up" or "Down", and the zero guard "on" or "off". A file is read whole or not at
// all: without its first line, of a version this program does not know (a newer one), with a
// line missing, repeated or of another kind, an amount that is no number, or rules that
// ReadPriceRules refuses, it is damaged.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>

#include "numbers/number_format.h"
#include "numbers/variant.h"
#include "pricing/price_rules.h"

namespace tarvello {

constexpr int kPriceRulesFileVersion = 1;
constexpr std::size_t kBandRows = 5;

struct BandTexts {
    Text from, step, ending;
    RuleDirection direction = RuleDirection::Nearest;
};

struct RulesTexts {
    std::array<BandTexts, kBandRows> bands;
    bool neverToZero = true;
    Text maxChangePercent;
};

bool operator==(const BandTexts& a, const BandTexts& b);
bool operator==(const RulesTexts& a, const RulesTexts& b);

enum class RulesField { From, Step, Ending, Percent };

struct RulesInputError {
    std::size_t row;  // 0 for the first band row; 0 for the percent too
    RulesField field;
    Text message;  // "Band 2, Step: type an amount above 0, such as 0.05."
};

// What the Price Rules window gives back: the rules read, and the texts as typed, for the next
// opening and the file that keeps them; a preview of them, or only that they are kept (the
// window closed over rules changed). The rules may be the organisation's: `typed` are
// then the user's own, as they were left.
struct RulesChosen {
    PriceRules rules;
    RulesTexts typed;
    bool preview = true;
    bool organisation = false;
};

// Reads what was typed, amounts in the user's decimal separator. A row with an empty Step is
// unused and takes no part in the rules, yet every box that is not empty must hold an amount
// a price can hold (at most 15 significant digits, below 10^15), so that the file can keep all
// that was typed. The first row must be used, and its From is 0 whatever its text says: the
// window shows it as "0" and lets no one edit it. Each later used row starts above the used
// row before it. An empty percent sets no limit.
std::variant<PriceRules, RulesInputError> ReadPriceRules(const RulesTexts& typed,
                                                         const NumberFormat& format);

// The texts of DefaultPriceRules, as the window shows them.
RulesTexts DefaultRulesTexts(const NumberFormat& format);

// The file for what was typed in `typedIn`'s format. Blanks around an amount are not kept, and
// a box holding no amount (only rules ReadPriceRules refuses have one) is kept empty; for
// anything else ReadPriceRulesFile gives back the texts exactly.
std::string PriceRulesFileText(const RulesTexts& typed, const NumberFormat& typedIn);

// The texts the file keeps, in `showIn`'s format; nothing when the file is damaged. Lines may
// end in LF or CR LF, and a byte-order mark before the first is passed over.
std::optional<RulesTexts> ReadPriceRulesFile(const std::string& text, const NumberFormat& showIn);

}  // namespace tarvello
