#include "request/rounding_request.h"

namespace tarvello {
namespace {

template <typename Choice>
struct Named {
    Choice choice;
    const char16_t* name;
};

// One table per choice: the only place where a name is spelt.
constexpr Named<RoundingMethod> kMethods[] = {
    {RoundingMethod::Decimal, u"Decimal"},
    {RoundingMethod::Nearest, u"Nearest"},
    {RoundingMethod::RoundUp, u"RoundUp"},
};
constexpr Named<RoundedPrice> kPrices[] = {
    {RoundedPrice::UnitPrice, u"UnitPrice"},
    {RoundedPrice::ExtendedPrice, u"ExtendedPrice"},
};
constexpr Named<RowChoice> kRows[] = {
    {RowChoice::Current, u"Current"},
    {RowChoice::Selected, u"Selected"},
    {RowChoice::All, u"All"},
};

template <typename Choice, std::size_t N>
std::optional<Choice> Find(const Named<Choice> (&table)[N], const Text& name) {
    for (const auto& entry : table) {
        if (name == entry.name) return entry.choice;
    }
    return std::nullopt;
}

template <typename Choice, std::size_t N>
Text Name(const Named<Choice> (&table)[N], Choice choice) {
    for (const auto& entry : table) {
        if (entry.choice == choice) return entry.name;
    }
    return Text();
}

}  // namespace

std::optional<RoundingMethod> MethodNamed(const Text& name) {
    return Find(kMethods, name);
}
std::optional<RoundedPrice> PriceFieldNamed(const Text& name) {
    return Find(kPrices, name);
}
RowChoice RowScopeNamed(const Text& name) {
    return Find(kRows, name).value_or(RowChoice::NoRows);
}

Text NameOf(RoundingMethod method) {
    return Name(kMethods, method);
}
Text NameOf(RoundedPrice price) {
    return Name(kPrices, price);
}
Text NameOf(RowChoice rows) {
    return Name(kRows, rows);
}

}  // namespace tarvello
