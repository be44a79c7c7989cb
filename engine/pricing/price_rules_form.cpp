#include "pricing/price_rules_form.h"

#include <string_view>
#include <vector>

#include "numbers/exact_parse.h"
#include "numbers/text_blanks.h"
#include "numbers/text_util.h"

namespace tarvello {
namespace {

constexpr std::string_view kMagic = "tarvello-price-rules";
constexpr std::string_view kEmpty = "empty";

const char16_t* const kPercentLabel = u"Leave line items whose price would change by more than … %";

// The first `from` in `text` as `to`: an amount has one decimal separator at most.
Text Replaced(const Text& text, const Text& from, const Text& to) {
    const std::size_t at = from.empty() ? Text::npos : text.find(from);
    if (at == Text::npos) return text;
    return text.substr(0, at) + to + text.substr(at + from.size());
}

struct Refusal {
    RulesInputError error;
};

// The rows and fields as the window labels them, and what each would take.
class FormReader {
public:
    explicit FormReader(const NumberFormat& format) : format_(format) {}

    // The amount in a box; nothing when it is empty.
    std::optional<Decimal> Amount(const Text& text, std::size_t row, RulesField field) const {
        if (Trimmed(text).empty()) return std::nullopt;
        const std::optional<Decimal> amount = Decimal::FromText(text, format_);
        if (!amount) Refuse(row, field, u"type an amount, such as " + Example(field) + u".");
        if (!HoldsAsPrice(*amount)) {
            Refuse(row, field,
                   u"type an amount of at most " + WholeText(kPriceDigits) + u" digits.");
        }
        return amount;
    }

    [[noreturn]] void Refuse(std::size_t row, RulesField field, const Text& what) const {
        throw Refusal{{row, field, Label(row, field) + u": " + what}};
    }

    Text Example(RulesField field) const {
        switch (field) {
            case RulesField::From:
                return u"100";
            case RulesField::Step:
                return Decimal(5, 2).ToText(format_);
            case RulesField::Ending:
                return Decimal(99, 2).ToText(format_);
            case RulesField::Percent:
                return u"10";
        }
        return Text();
    }

    const NumberFormat& format() const { return format_; }

private:
    static Text Label(std::size_t row, RulesField field) {
        if (field == RulesField::Percent) return kPercentLabel;
        const char16_t* const names[] = {u"From", u"Step", u"Ending"};
        return u"Band " + WholeText(row + 1) + u", " + names[static_cast<int>(field)];
    }

    const NumberFormat& format_;
};

PriceRules ReadOrRefuse(const RulesTexts& typed, const FormReader& reader) {
    PriceRules rules;
    rules.neverToZero = typed.neverToZero;
    std::size_t lastUsedRow = 0;
    for (std::size_t row = 0; row < kBandRows; ++row) {
        const BandTexts& texts = typed.bands[row];
        // The window shows the first From as 0 and lets no one edit it: its text is never read.
        const std::optional<Decimal> from = row == 0
                                                ? std::optional<Decimal>(Decimal())
                                                : reader.Amount(texts.from, row, RulesField::From);
        const std::optional<Decimal> step = reader.Amount(texts.step, row, RulesField::Step);
        const std::optional<Decimal> ending = reader.Amount(texts.ending, row, RulesField::Ending);
        if (!step && row > 0) continue;
        if (!step || step->Sign() <= 0) {
            reader.Refuse(
                row, RulesField::Step,
                u"type an amount above 0, such as " + reader.Example(RulesField::Step) + u".");
        }
        if (row > 0 && (!from || *from <= rules.bands.back().from)) {
            reader.Refuse(row, RulesField::From,
                          u"type an amount above " +
                              rules.bands.back().from.ToText(reader.format()) + u", where band " +
                              WholeText(lastUsedRow + 1) + u" starts.");
        }
        if (ending && ending->Sign() < 0) {
            reader.Refuse(row, RulesField::Ending,
                          u"type 0 or more, such as " + reader.Example(RulesField::Ending) + u".");
        }
        if (ending && *ending >= *step) {
            reader.Refuse(
                row, RulesField::Ending,
                u"type an amount below the Step, " + step->ToText(reader.format()) + u".");
        }
        rules.bands.push_back(PriceBand{*from, *step, ending, texts.direction});
        lastUsedRow = row;
    }
    if (const auto percent = reader.Amount(typed.maxChangePercent, 0, RulesField::Percent)) {
        if (percent->Sign() <= 0) {
            reader.Refuse(0, RulesField::Percent, u"type a percentage above 0, such as 10.");
        }
        rules.maxChangePercent = percent;
    }
    return rules;
}

// ---- the file ----

std::string FileAmount(const Text& typed, const NumberFormat& typedIn) {
    const Text amount = Trimmed(typed);
    if (amount.empty() || !Decimal::FromText(amount, typedIn)) return std::string(kEmpty);
    return Utf8Of(Replaced(amount, typedIn.decimalSeparator, u"."));
}

// Nothing when the field is no amount, or one that cannot be shown without a separator.
std::optional<Text> TypedAmount(std::string_view field, const NumberFormat& showIn) {
    if (field == kEmpty) return Text();
    const Text amount = TextFromUtf8(field);
    if (!Decimal::FromText(amount)) return std::nullopt;
    if (showIn.decimalSeparator.empty() && amount.find(u'.') != Text::npos) return std::nullopt;
    return NumberTextIn(field, showIn);
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    for (;;) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos) return fields;
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        fields.push_back(line.substr(at, end - at));
        at = end;
    }
}

class FileReader {
public:
    explicit FileReader(const NumberFormat& showIn) : showIn_(showIn) {}

    // False when the line is not one this version reads, or repeats one read before.
    bool Line(const std::vector<std::string_view>& f) {
        if (f[0] == "band" && f.size() == 6) return Band(f);
        if (f[0] == "never-to-zero" && f.size() == 2 && !guardRead_) {
            guardRead_ = true;
            typed.neverToZero = f[1] == "on";
            return f[1] == "on" || f[1] == "off";
        }
        if (f[0] == "max-change-percent" && f.size() == 2 && !percentRead_) {
            percentRead_ = true;
            return Amount(f[1], typed.maxChangePercent);
        }
        return false;
    }

    bool Whole() const {
        for (const bool read : bandRead_) {
            if (!read) return false;
        }
        return guardRead_ && percentRead_;
    }

    RulesTexts typed;

private:
    bool Band(const std::vector<std::string_view>& f) {
        const std::optional<int> number = ParsedExactly<int>(f[1]);
        if (!number || *number < 1 || *number > static_cast<int>(kBandRows)) return false;
        const std::size_t row = static_cast<std::size_t>(*number - 1);
        if (bandRead_[row]) return false;
        bandRead_[row] = true;
        BandTexts& band = typed.bands[row];
        const std::optional<RuleDirection> direction = RuleDirectionNamed(TextFromUtf8(f[5]));
        if (!direction) return false;
        band.direction = *direction;
        return Amount(f[2], band.from) && Amount(f[3], band.step) && Amount(f[4], band.ending);
    }

    bool Amount(std::string_view field, Text& into) const {
        const std::optional<Text> amount = TypedAmount(field, showIn_);
        if (amount) into = *amount;
        return amount.has_value();
    }

    const NumberFormat& showIn_;
    std::array<bool, kBandRows> bandRead_{};
    bool guardRead_ = false;
    bool percentRead_ = false;
};

}  // namespace

bool operator==(const BandTexts& a, const BandTexts& b) {
    return a.from == b.from && a.step == b.step && a.ending == b.ending &&
           a.direction == b.direction;
}

bool operator==(const RulesTexts& a, const RulesTexts& b) {
    return a.bands == b.bands && a.neverToZero == b.neverToZero &&
           a.maxChangePercent == b.maxChangePercent;
}

std::variant<PriceRules, RulesInputError> ReadPriceRules(const RulesTexts& typed,
                                                         const NumberFormat& format) {
    try {
        return ReadOrRefuse(typed, FormReader(format));
    } catch (const Refusal& refusal) {
        return refusal.error;
    }
}

RulesTexts DefaultRulesTexts(const NumberFormat& format) {
    const PriceRules rules = DefaultPriceRules();
    RulesTexts typed;
    typed.neverToZero = rules.neverToZero;
    for (std::size_t row = 0; row < rules.bands.size() && row < kBandRows; ++row) {
        const PriceBand& band = rules.bands[row];
        typed.bands[row] =
            BandTexts{band.from.ToText(format), band.step.ToText(format),
                      band.ending ? band.ending->ToText(format) : Text(), band.direction};
    }
    if (rules.maxChangePercent) typed.maxChangePercent = rules.maxChangePercent->ToText(format);
    return typed;
}

std::string PriceRulesFileText(const RulesTexts& typed, const NumberFormat& typedIn) {
    std::string text = std::string(kMagic) + "\t" + std::to_string(kPriceRulesFileVersion) + "\n";
    text += "# band\trow\tfrom\tstep\tending\tdirection (Nearest, Up or Down)\n";
    for (std::size_t row = 0; row < kBandRows; ++row) {
        const BandTexts& band = typed.bands[row];
        text += "band\t" + std::to_string(row + 1) + "\t" + FileAmount(band.from, typedIn) + "\t" +
                FileAmount(band.step, typedIn) + "\t" + FileAmount(band.ending, typedIn) + "\t" +
                Utf8Of(NameOf(band.direction)) + "\n";
    }
    text += std::string("never-to-zero\t") + (typed.neverToZero ? "on" : "off") + "\n";
    text += "max-change-percent\t" + FileAmount(typed.maxChangePercent, typedIn) + "\n";
    return text;
}

std::optional<RulesTexts> ReadPriceRulesFile(const std::string& text, const NumberFormat& showIn) {
    std::string_view rest = text;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
    FileReader reader(showIn);
    bool first = true;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> fields = Fields(line);
        if (first) {
            first = false;
            const bool header = fields.size() == 2 && fields[0] == kMagic &&
                                ParsedExactly<int>(fields[1]) == kPriceRulesFileVersion;
            if (!header) return std::nullopt;
        } else if (!fields.empty() && fields[0][0] != '#' && !reader.Line(fields)) {
            return std::nullopt;
        }
    }
    if (first || !reader.Whole()) return std::nullopt;
    if (!std::holds_alternative<PriceRules>(ReadPriceRules(reader.typed, showIn))) {
        return std::nullopt;
    }
    return reader.typed;
}

}  // namespace tarvello
