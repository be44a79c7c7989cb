#pragma once
// Values as the journal writes them (journal_text.h): a number in its shortest form with a
// point, a text in double quotes, "empty", "true" or "false". Whatever is written reads back as
// the same value, any text included (a lone surrogate too). A list is its values apart by
// commas.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/variant.h"

namespace tarvello {

std::string JournalNumberText(double value);
std::string JournalValueText(const Variant& value);

std::optional<double> JournalNumberIn(std::string_view text);
std::optional<Variant> JournalValueIn(std::string_view text);

std::string JournalListText(const std::vector<Variant>& values);
std::optional<std::vector<Variant>> JournalListIn(std::string_view text);

}  // namespace tarvello
