#include "bench_quotes.h"

#include <algorithm>
#include <cstdint>

namespace bench {
namespace {

using tarvello::Decimal;

const std::vector<int>& Primes() {
    static const std::vector<int> primes = [] {
        std::vector<bool> composite(1000000, false);
        std::vector<int> found;
        for (int n = 2; n < 1000000; ++n) {
            if (composite[n]) continue;
            found.push_back(n);
            for (long long m = 1LL * n * n; m < 1000000; m += n) composite[m] = true;
        }
        return found;
    }();
    return primes;
}

Decimal QuantityOf(Shape shape, std::size_t i, std::mt19937& random) {
    static const long long kEight[] = {999953, 999959,  999961,  999979,
                                       999983, 1000003, 1000033, 1000037};
    static const Decimal kMix[] = {Decimal(333, 3), Decimal(25, 1),      Decimal(185, 1),
                                   Decimal(1, 3),   Decimal(1000000, 0), Decimal(7, 0)};
    switch (shape) {
        case Shape::SamePrime:
            return Decimal(999983, 0);
        case Shape::EightPrimes:
            return Decimal(kEight[i % 8], 0);
        case Shape::Alternating:
            return i % 2 == 0 ? Decimal(1, 3) : Decimal(1000000, 0);
        case Shape::Random3:
        case Shape::Credits:
            return Decimal(1 + random() % 1000000, 3);
        case Shape::Random6:
            return Decimal(1 + random() % 1000000000, 6);
        case Shape::Primes3:
            return Decimal(Primes()[random() % Primes().size()], 3);
        case Shape::Mix:
            return kMix[random() % 6];
        case Shape::Wide:
            return Decimal(100000 + random() % 1900001, 3);
        case Shape::Alike:
            return Decimal(2097000 + random() % 152, 3);
        case Shape::NearMillion:
            return Decimal(1000000 + random() % 101, 0);
    }
    return Decimal(1, 0);
}

// The scale of the finest quantity: the total's smallest unit is 10^-scale steps.
int FinestScale(const std::vector<tarvello::SpreadLine>& lines) {
    int scale = 0;
    for (const auto& line : lines) scale = std::max(scale, line.quantity.scale());
    return scale;
}

}  // namespace

const char* NameOf(Shape shape) {
    static const char* const kNames[] = {"same prime", "eight primes", "0.001/1e6", "random .3",
                                         "random .6",  "primes .3",    "mix",       "credits",
                                         "wide",       "alike",        "1e6+100"};
    return kNames[static_cast<int>(shape)];
}

std::vector<tarvello::SpreadLine> BuildQuote(Shape shape, std::size_t size, std::mt19937& random) {
    std::vector<tarvello::SpreadLine> lines;
    for (std::size_t i = 0; i < size; ++i) {
        const Decimal quantity = QuantityOf(shape, i, random);
        Decimal price(shape == Shape::Wide    ? 40000 + random() % 60001
                      : shape == Shape::Alike ? 50 + random() % 451
                                              : 50 + random() % 49951,
                      2);
        if (shape == Shape::Credits && random() % 10 == 0) price = price.Negated();
        lines.push_back({quantity, price});
    }
    return lines;
}

Decimal TotalNow(const std::vector<tarvello::SpreadLine>& lines) {
    Decimal now;
    for (const auto& line : lines) now = now + line.quantity * line.unitPrice;
    return now;
}

bool WithinBound(const tarvello::SpreadLine& line, const Decimal& price, const Decimal& now,
                 const Decimal& total, const Decimal& step) {
    // |price - share| <= max(step, |share| / 100), times 100 × now (> 0).
    const Decimal off = (price * now - line.unitPrice * total).Abs();
    const Decimal hundred(100, 0);
    return hundred * off <= std::max(hundred * step * now, (line.unitPrice * total).Abs());
}

std::optional<Decimal> ReachableTotal(const std::vector<tarvello::SpreadLine>& lines,
                                      const Decimal& factor, const Decimal& step) {
    // Every price rounded down to the step from its own × factor, in steps.
    std::vector<long long> steps;
    const int scale = FinestScale(lines);
    const long long modulus = static_cast<long long>(tarvello::PowerOfTen(scale));
    long long residue = 0;  // of Σ quantity × 10^scale × steps, modulo 10^scale
    std::vector<long long> weights;
    for (const auto& line : lines) {
        steps.push_back(static_cast<long long>(
            tarvello::FloorDivide((line.unitPrice * factor).Abs(), step).quotient));
        const Decimal scaled = line.quantity * Decimal(modulus, 0);
        const long long weight =
            static_cast<long long>(scaled.coefficient()) * line.unitPrice.Sign() % modulus;
        weights.push_back((weight + modulus) % modulus);
        residue = (residue + weights.back() * (steps.back() % modulus)) % modulus;
    }
    // A few steps more on some line items (within 1 % of their prices × factor, at least one)
    // bring the total onto the step: which ones, by the residues their sums reach.
    std::vector<int> by(static_cast<std::size_t>(modulus), -1);
    std::vector<long long> from(by.size(), 0), times(by.size(), 0);
    by[0] = static_cast<int>(lines.size());
    long long work = 0;
    for (std::size_t i = 0; i < lines.size() && by[(modulus - residue) % modulus] < 0; ++i) {
        const long long room = std::max(1LL, std::min(steps[i] / 100 - 1, 100000000 / modulus));
        if ((work += room * modulus) > 400000000) break;
        for (long long r = modulus; r-- > 0;) {
            if (by[r] < 0 || by[r] == static_cast<int>(i)) continue;
            long long next = r;
            for (long long j = 1; j <= room; ++j) {
                next = (next + weights[i]) % modulus;
                if (by[next] >= 0) continue;
                by[next] = static_cast<int>(i);
                from[next] = r;
                times[next] = j;
            }
        }
    }
    long long at = (modulus - residue) % modulus;
    if (by[at] < 0) return std::nullopt;
    for (; at != 0; at = from[at]) steps[by[at]] += times[at];

    Decimal total;
    std::vector<Decimal> prices;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        prices.push_back(Decimal::Times(steps[i] * lines[i].unitPrice.Sign(), step));
        total = total + lines[i].quantity * prices.back();
    }
    const Decimal now = TotalNow(lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!WithinBound(lines[i], prices[i], now, total, step)) return std::nullopt;
    }
    return total;
}

}  // namespace bench
