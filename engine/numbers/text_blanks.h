#pragma once
// The blanks around what a person types: an amount may have spaces and tabs before and after
// it, and an empty box is one of blanks alone. A list's entries are trimmed of their own
// separators the same way.

#include <cstddef>

#include "numbers/variant.h"

namespace tarvello {

inline bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// `text` without the characters `isOuter` names at either end.
template <typename IsOuter>
Text Trimmed(const Text& text, IsOuter isOuter) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isOuter(text[first])) ++first;
    while (last > first && isOuter(text[last - 1])) --last;
    return text.substr(first, last - first);
}

inline Text Trimmed(const Text& text) {
    return Trimmed(text, IsBlank);
}

}  // namespace tarvello
