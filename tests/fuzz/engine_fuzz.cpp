// Fuzz target for reading numbers from text, for matching list entries, for the UTF-8
// conversions and for reading the journal of Rounds.
//
// Input: byte 0 chooses the property set; byte 1 gives the separator's length (0-3 code
// units); then come the separator's code units and the text, two bytes each. The journal takes
// the bytes after the first two as they are.
#include <cstddef>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/journal/journal_text.h"
#include "engine/numbers/rounding.h"
#include "engine/numbers/text_util.h"

namespace {

using tarvello::EngineError;
using tarvello::NumberFormat;
using tarvello::Text;
using tarvello::Variant;

void Check(bool condition, const char* property) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

char16_t Unit(const std::uint8_t* bytes) {
    return static_cast<char16_t>(bytes[0] | (bytes[1] << 8));
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// An independent reading of the grammar: blanks, a sign, digits, the separator and digits,
// blanks, with at least one digit. Greedy like the reader: digits come before the separator.
bool Grammatical(const Text& text, const Text& separator) {
    std::size_t at = 0;
    std::size_t digits = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) ++at;
    while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
    if (!separator.empty() && text.substr(at, separator.size()) == separator) {
        at += separator.size();
        while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
    }
    while (at < text.size() && IsBlank(text[at])) ++at;
    return digits > 0 && at == text.size();
}

// A separator that cannot be mistaken for part of a number.
bool PlainSeparator(const Text& separator) {
    if (separator.empty()) return false;
    for (char16_t c : separator) {
        if (IsDigit(c) || c == u'-' || c == u'+' || IsBlank(c)) return false;
    }
    return true;
}

void ReadNumberProperties(const Text& text, const NumberFormat& format) {
    double value = 0;
    bool read = false;
    try {
        value = tarvello::ReadNumber(text, format);
        read = true;
    } catch (const EngineError& e) {
        Check(e.kind() == tarvello::ErrorKind::TypeMismatch, "ReadNumber raises type mismatch");
    }
    if (read) {
        Check(Grammatical(text, format.decimalSeparator), "only numbers are read");
        Check(std::isfinite(value), "a number read is finite");
        if (PlainSeparator(format.decimalSeparator)) {
            const Text written = tarvello::FormatNumber(value, format);
            const double again = tarvello::ReadNumber(written, format);
            Check(std::memcmp(&again, &value, sizeof value) == 0, "a number read round-trips");
        }
    } else if (PlainSeparator(format.decimalSeparator)) {
        // What the grammar accepts is read, unless it lies beyond a double.
        if (Grammatical(text, format.decimalSeparator)) {
            std::size_t wholeDigits = 0;
            for (char16_t c : text) {
                if (c == format.decimalSeparator[0]) break;
                if (IsDigit(c) && (wholeDigits > 0 || c != u'0')) ++wholeDigits;
            }
            Check(wholeDigits >= 309, "a grammatical number is read");
        }
    }
    // The whole-number conversions fail only in the documented ways.
    try {
        tarvello::ToWholeNumber16(text, format);
    } catch (const EngineError& e) {
        Check(e.kind() == tarvello::ErrorKind::TypeMismatch ||
                  e.kind() == tarvello::ErrorKind::Overflow,
              "ToWholeNumber16 raises type mismatch or overflow");
    }
}

void ListProperties(const Text& list, std::int16_t row) {
    const Variant value = Variant::Int16(row);
    const bool found = tarvello::InDelimitedList(Variant::FromText(list), value).AsBool();
    const Text digits = tarvello::TextOf(value);
    if (found && list != u"*") {
        Check(tarvello::RInStr(list, digits) != 0, "a match occurs in the list");
    }
    Check(tarvello::InDelimitedList(Variant::FromText(u"*"), value).AsBool(),
          "the list * holds every row");
    Check(tarvello::InDelimitedList(Variant::FromText(digits), value).AsBool(),
          "a list of only the row holds it");
    for (const Text& between : {Text(u","), Text(u" ; "), Text(u"\t")}) {
        const Text listed = list + between + digits + between + list;
        Check(tarvello::InDelimitedList(Variant::FromText(listed), value).AsBool(),
              "a whole entry is found");
    }
    const std::int32_t last = tarvello::RInStr(list, digits);
    if (last != 0) {
        Check(list.compare(static_cast<std::size_t>(last - 1), digits.size(), digits) == 0,
              "RInStr points at an occurrence");
        Check(list.find(digits, static_cast<std::size_t>(last)) == Text::npos,
              "RInStr finds the last occurrence");
    }
}

bool HasLoneSurrogate(const Text& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

void TextProperties(const Text& text, const std::uint8_t* bytes, std::size_t size) {
    const std::string utf8 = tarvello::Utf8Of(text);
    if (!HasLoneSurrogate(text)) {
        Check(tarvello::TextFromUtf8(utf8) == text, "UTF-16 round-trips through UTF-8");
    }
    // Any bytes read as text are written back as bytes that read as the same text.
    const Text read =
        tarvello::TextFromUtf8(std::string_view(reinterpret_cast<const char*>(bytes), size));
    Check(tarvello::TextFromUtf8(tarvello::Utf8Of(read)) == read, "text read from bytes is stable");
    Check(read.size() <= size, "every code unit comes from at least one byte");
}

// Whatever a journal holds, what is read of it is written back as lines that read the same.
void JournalProperties(const std::uint8_t* bytes, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    const tarvello::JournalContents contents = tarvello::ReadJournal(text);
    std::string written = tarvello::JournalHeader();
    for (const tarvello::RoundRecord& round : contents.rounds) written += tarvello::LinesOf(round);
    const tarvello::JournalContents again = tarvello::ReadJournal(written);
    Check(again.skipped == 0, "what is written of a journal reads whole");
    std::string rewritten = tarvello::JournalHeader();
    for (const tarvello::RoundRecord& round : again.rounds) rewritten += tarvello::LinesOf(round);
    Check(rewritten == written, "a journal read and written again is the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t mode = data[0];
    if (mode % 4 == 3) {
        JournalProperties(data + 2, size - 2);
        return 0;
    }
    const std::size_t separatorLength = data[1] % 4;
    data += 2;
    size -= 2;
    if (size < 2 * separatorLength) return 0;
    Text separator;
    for (std::size_t i = 0; i < separatorLength; ++i) separator.push_back(Unit(data + 2 * i));
    data += 2 * separatorLength;
    size -= 2 * separatorLength;
    Text text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(Unit(data + i));

    if (mode % 3 == 0) {
        ReadNumberProperties(text, NumberFormat{separator});
    } else if (mode % 3 == 2) {
        TextProperties(text, data, size);
    } else {
        const auto row = static_cast<std::int16_t>(separatorLength == 0 ? 0 : separator[0]);
        ListProperties(text, row);
    }
    return 0;
}
