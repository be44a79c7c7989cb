#pragma once
// The one place where the program's 16-bit texts meet 8-bit ones: exception messages, logs and
// consoles speak UTF-8, and ASCII constants are UTF-8 too.

#include <cstddef>
#include <string>
#include <string_view>

#include "numbers/variant.h"

namespace tarvello {

// UTF-16 as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string Utf8Of(const Text& text);

// The character at text[at], moving `at` past it: a surrogate pair as one code point; a
// surrogate without its partner as itself, which has no UTF-8 form (IsSurrogate).
char32_t NextCodePoint(const Text& text, std::size_t& at);
bool IsSurrogate(char32_t code);
// A code point that is no surrogate, as UTF-8.
void AppendUtf8(std::string& out, char32_t code);

// UTF-8 (and so ASCII) as UTF-16; a byte that starts no valid sequence becomes U+FFFD.
Text TextFromUtf8(std::string_view utf8);
// A whole number in digits, as in "row 12" or "3 line items".
Text WholeText(long long value);

// The first `limit` code units of `text` (never half a surrogate pair), followed by "…" when
// some were cut: a message box grows as wide as its longest unbroken line.
Text ShortenedText(const Text& text, std::size_t limit);

}  // namespace tarvello
