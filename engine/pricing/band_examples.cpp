#include "pricing/band_examples.h"

#include <optional>
#include <variant>

#include "numbers/text_blanks.h"
#include "pricing/price_rules.h"

namespace tarvello {

namespace {

// A Step of blanks is an empty one: the row is unused, as ReadPriceRules takes it.
bool IsUsed(const BandTexts& band) {
    return !Trimmed(band.step).empty();
}

std::optional<PriceRules> Read(const RulesTexts& typed, const NumberFormat& format) {
    auto read = ReadPriceRules(typed, format);
    if (auto* rules = std::get_if<PriceRules>(&read)) return std::move(*rules);
    return std::nullopt;
}

// A later row is read behind a first band of its own, so that its From is checked as it would
// be in place: an amount above 0.
std::optional<PriceBand> BandAlone(const RulesTexts& typed, std::size_t row,
                                   const NumberFormat& format) {
    RulesTexts alone;
    if (row == 0) {
        alone.bands[0] = typed.bands[0];
    } else {
        alone.bands[0].step = u"1";
        alone.bands[1] = typed.bands[row];
    }
    const std::optional<PriceRules> rules = Read(alone, format);
    if (!rules) return std::nullopt;
    return rules->bands.back();
}

}  // namespace

std::array<Text, kBandRows> BandExamples(const RulesTexts& typed, const NumberFormat& format) {
    std::array<Text, kBandRows> examples;
    RulesTexts bands = typed;
    bands.maxChangePercent.clear();
    if (const std::optional<PriceRules> whole = Read(bands, format)) {
        std::size_t band = 0;
        for (std::size_t row = 0; row < kBandRows; ++row) {
            if (IsUsed(typed.bands[row])) examples[row] = BandExample(*whole, band++, format);
        }
        return examples;
    }
    for (std::size_t row = 0; row < kBandRows; ++row) {
        if (!IsUsed(typed.bands[row])) continue;
        if (const std::optional<PriceBand> band = BandAlone(typed, row, format)) {
            PriceRules alone;
            alone.bands = {*band};
            alone.neverToZero = typed.neverToZero;
            examples[row] = BandExample(alone, 0, format);
        }
    }
    return examples;
}

}  // namespace tarvello
