// Searching texts and matching list entries.
#include <charconv>
#include <limits>

#include "numbers/rounding.h"
#include "numbers/text_blanks.h"
#include "numbers/text_util.h"

namespace tarvello {
namespace {

bool IsEntrySeparator(char16_t c) {
    switch (c) {
        case u',':
        case u';':
        case u' ':
        case u'\t':
        case u'\r':
        case u'\n':
        case u'\v':
        case u'\f':
            return true;
        default:
            return false;
    }
}

template <typename Number>
Text DigitsOf(Number value) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return TextFromUtf8(std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)));
}

}  // namespace

Text TextOf(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return Text();
        case Variant::Kind::Int16:
            return DigitsOf(value.AsInt16());
        case Variant::Kind::Int32:
            return DigitsOf(value.AsInt32());
        case Variant::Kind::Double:
            return DigitsOf(value.AsDouble());
        case Variant::Kind::Text:
            return value.AsText();
        case Variant::Kind::Boolean:
            return value.AsBool() ? u"True" : u"False";
    }
    return Text();
}

std::int32_t RInStr(const Text& str1, const Text& str2) {
    // Nothing sought is never found; the program only ever searches for a row's digits.
    if (str2.empty()) return 0;
    const std::size_t found = str1.rfind(str2);
    if (found == Text::npos) return 0;
    if (found >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw EngineError(ErrorKind::Overflow, "RInStr: position beyond the 32-bit range");
    }
    return static_cast<std::int32_t>(found + 1);
}

Variant InDelimitedList(const Variant& DelimitedList, const Variant& Value) {
    if (DelimitedList.kind() == Variant::Kind::Text && DelimitedList.AsText() == u"*") {
        return Variant::Boolean(true);
    }
    const Text list = TextOf(DelimitedList);
    const Text sought = Trimmed(TextOf(Value), IsEntrySeparator);
    if (sought.empty()) return Variant::Boolean(false);

    // Only a whole entry counts: row 2 is not in "12", nor row 3 in "1,23".
    std::size_t at = 0;
    while (at < list.size()) {
        while (at < list.size() && IsEntrySeparator(list[at])) ++at;
        std::size_t end = at;
        while (end < list.size() && !IsEntrySeparator(list[end])) ++end;
        if (end > at && list.compare(at, end - at, sought) == 0) return Variant::Boolean(true);
        at = end;
    }
    return Variant::Boolean(false);
}

}  // namespace tarvello
