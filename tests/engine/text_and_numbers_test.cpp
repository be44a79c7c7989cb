// Reading and writing numbers as text, the whole-number conversions and RoundToNext.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/numbers/rounding.h"
#include "failure_of.h"
#include "recording_host.h"

namespace tarvello {
namespace {

using testing::FailureOf;
using testing::Narrow;

struct ReadCase {
    const char16_t* text;
    const char16_t* separator;
    double expected;
};

TEST(ReadNumber, ReadsSignDigitsAndTheGivenSeparator) {
    const ReadCase cases[] = {
        {u"12", u".", 12},
        {u"12.5", u".", 12.5},
        {u"-12.5", u".", -12.5},
        {u"+3", u".", 3},
        {u".5", u".", 0.5},
        {u"7.", u".", 7},
        {u"  42 ", u".", 42},
        {u"\t1.25\t", u".", 1.25},
        {u"12,5", u",", 12.5},
        {u"0,25", u",", 0.25},
        {u"1\u066B5", u"\u066B", 1.5},  // a separator outside ASCII
        {u"1::5", u"::", 1.5},          // a separator of two code units
        {u"0.1", u".", 0.1},
        {u"000123", u".", 123},
        {u"179769313486231570000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000",
         u".", std::numeric_limits<double>::max()},
        {u"0.000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         u"00000000000000000000000000000001",
         u".", 0.0},  // below the smallest double
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadNumber(c.text, NumberFormat{c.separator}), c.expected)
            << "\"" << Narrow(c.text) << "\" with separator \"" << Narrow(c.separator) << "\"";
    }
}

TEST(ReadNumber, RefusesEverythingElseAsTypeMismatch) {
    const ReadCase cases[] = {
        {u"", u".", 0},       {u" ", u".", 0},    {u"abc", u".", 0},
        {u"-", u".", 0},      {u".", u".", 0},    {u"1e5", u".", 0},
        {u"1,000", u".", 0},  {u"12.5", u",", 0}, {u"$12", u".", 0},
        {u"12 5", u".", 0},   {u"--1", u".", 0},  {u"1.2.3", u".", 0},
        {u"0x10", u".", 0},   {u"inf", u".", 0},  {u"nan", u".", 0},
        {u"\uFF11", u".", 0},  // a full-width digit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FailureOf([&] { ReadNumber(c.text, NumberFormat{c.separator}); }),
                  "type mismatch")
            << "\"" << Narrow(c.text) << "\" with separator \"" << Narrow(c.separator) << "\"";
    }
    const std::u16string beyondDouble = u"1" + std::u16string(400, u'0');
    EXPECT_EQ(FailureOf([&] { ReadNumber(beyondDouble); }), "type mismatch");
}

TEST(ReadNumber, AnEmptySeparatorReadsWholeNumbersOnly) {
    EXPECT_EQ(ReadNumber(u"15", NumberFormat{u""}), 15);
    EXPECT_EQ(FailureOf([] { ReadNumber(u"1.5", NumberFormat{u""}); }), "type mismatch");
}

TEST(FormatNumber, WritesTheShortestFormThatReadsBack) {
    const NumberFormat comma{u","};
    EXPECT_EQ(FormatNumber(12.5), u"12.5");
    EXPECT_EQ(FormatNumber(12.5, comma), u"12,5");
    EXPECT_EQ(FormatNumber(100.0 / 3.0), u"33.333333333333336");
    EXPECT_EQ(FormatNumber(1e21), u"1000000000000000000000");
    EXPECT_EQ(FormatNumber(-0.001, comma), u"-0,001");
    for (double value : {0.1, 1.0 / 3.0, 5e-324, 1.7976931348623157e308, -2.675}) {
        EXPECT_EQ(ReadNumber(FormatNumber(value, comma), comma), value) << value;
    }
}

TEST(TextOf, WritesEveryKind) {
    EXPECT_EQ(TextOf(Variant()), u"");
    EXPECT_EQ(TextOf(Variant::Int16(-12)), u"-12");
    EXPECT_EQ(TextOf(Variant::Int32(2147483647)), u"2147483647");
    EXPECT_EQ(TextOf(Variant::Double(3.0)), u"3");
    EXPECT_EQ(TextOf(Variant::Double(0.1)), u"0.1");
    EXPECT_EQ(TextOf(Variant::FromText(u"1,2")), u"1,2");
    EXPECT_EQ(TextOf(Variant::Boolean(true)), u"True");
    EXPECT_EQ(TextOf(Variant::Boolean(false)), u"False");
}

struct WholeCase {
    double value;
    std::int32_t expected;
};

TEST(ToWholeNumber, RoundsHalvesToEven) {
    const WholeCase cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-2.5, -2},
        {3.5, 4},
        {-3.5, -4},
        {2.4, 2},
        {2.6, 3},
        {-0.5, 0},
        {-2.6, -3},
        {0.0, 0},
        {2147483647.4, 2147483647},
        {-2147483648.5, -2147483648},
        {-2147483648.0, -2147483648},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToWholeNumber(c.value), c.expected) << c.value;
    }
}

TEST(ToWholeNumber, RaisesOverflowOutsideTheRange) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double value :
         {2147483647.5, -2147483648.6, 1e10, inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(FailureOf([&] { ToWholeNumber(value); }), "overflow") << value;
    }
    for (double value : {32767.5, -32768.6, 40000.0, inf}) {
        EXPECT_EQ(FailureOf([&] { ToWholeNumber16(value); }), "overflow") << value;
    }
    EXPECT_EQ(ToWholeNumber16(32767.4), 32767);
    EXPECT_EQ(ToWholeNumber16(-32768.5), -32768);
    EXPECT_EQ(FailureOf([] { ToWholeNumber16(Variant::Int32(32768)); }), "overflow");
    EXPECT_EQ(FailureOf([] { ToWholeNumber16(u"70000"); }), "overflow");
}

TEST(ToWholeNumber, ConvertsVariantsAndText) {
    EXPECT_EQ(ToWholeNumber(Variant()), 0);
    EXPECT_EQ(ToWholeNumber(Variant::Boolean(true)), -1);
    EXPECT_EQ(ToWholeNumber(Variant::Boolean(false)), 0);
    EXPECT_EQ(ToWholeNumber(Variant::Int16(-7)), -7);
    EXPECT_EQ(ToWholeNumber(Variant::Double(2.5)), 2);
    EXPECT_EQ(ToWholeNumber(Variant::FromText(u"12.5")), 12);
    EXPECT_EQ(ToWholeNumber(u"13.5"), 14);
    EXPECT_EQ(ToWholeNumber(u"12,5", NumberFormat{u","}), 12);
    EXPECT_EQ(ToWholeNumber16(Variant::FromText(u"-1")), -1);
    EXPECT_EQ(FailureOf([] { ToWholeNumber(Variant::FromText(u"abc")); }), "type mismatch");
    EXPECT_EQ(FailureOf([] { ToWholeNumber(u"12.5", NumberFormat{u","}); }), "type mismatch");
}

struct NextCase {
    std::int32_t value;
    std::int32_t interval;
    std::int32_t expected;
};

TEST(RoundToNext, MovesOntoAMultiple) {
    const NextCase cases[] = {
        {12, 5, 10},
        {13, 5, 15},
        {15, 10, 20},
        {7, 2, 8},
        {10, 5, 10},
        {7, 1, 7},
        {-3, 10, 0},
        {-7, 10, 0},
        {-17, 10, -10},
        {-25, 10, -20},
        {-15, 10, -10},
        {7, -10, -10},
        {0, 5, 0},
        {2147483640, 10, 2147483640},
        {-2147483648, 10, -2147483640},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundToNext(c.value, c.interval), Variant::Int32(c.expected))
            << "RoundToNext(" << c.value << ", " << c.interval << ")";
    }
}

TEST(RoundToNext, RaisesDivisionByZeroAndOverflow) {
    EXPECT_EQ(FailureOf([] { RoundToNext(12, 0); }), "division by zero");
    EXPECT_EQ(FailureOf([] { RoundToNext(2147483647, 10); }), "overflow");
    EXPECT_EQ(FailureOf([] { RoundToNext(-2147483648, -1); }), "overflow");
    EXPECT_EQ(FailureOf([] { RoundToNext(5, -2147483647 - 1); }), "overflow");
}

struct SearchCase {
    const char16_t* str1;
    const char16_t* str2;
    std::int32_t expected;
};

TEST(RInStr, FindsTheLastOccurrence) {
    const SearchCase cases[] = {
        {u"aaa", u"aa", 2}, {u"abab", u"ab", 3}, {u"abc", u"b", 2}, {u"abc", u"a", 1},
        {u"abc", u"x", 0},  {u"", u"a", 0},      {u"abc", u"A", 0}, {u"abc", u"abc", 1},
        {u"ab", u"abc", 0}, {u"abc", u"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RInStr(c.str1, c.str2), c.expected)
            << "RInStr(\"" << Narrow(c.str1) << "\", \"" << Narrow(c.str2) << "\")";
    }
}

TEST(RInStr, PositionsPast32767AreFine) {
    Text longText(40000, u',');
    longText += u"17";
    EXPECT_EQ(RInStr(longText, u"17"), 40001);
    EXPECT_EQ(InDelimitedList(Variant::FromText(longText), Variant::Int16(17)),
              Variant::Boolean(true));
}

struct ListCase {
    Variant list;
    Variant value;
    bool expected;
};

TEST(InDelimitedList, MatchesWholeEntriesOnly) {
    const auto text = [](const char16_t* t) { return Variant::FromText(t); };
    const auto row = [](std::int16_t r) { return Variant::Int16(r); };
    const ListCase cases[] = {
        {text(u"*"), row(7), true},          {text(u"*"), Variant(), true},
        {text(u"1,2,5"), row(2), true},      {text(u"1,2,5"), row(3), false},
        {text(u"12"), row(2), false},        {text(u"1,23"), row(3), false},
        {text(u" 1 ; 2 "), row(2), true},    {text(u"1\t2\r\n5"), row(5), true},
        {text(u"0"), row(0), true},          {text(u""), row(1), false},
        {text(u",,;"), row(1), false},       {text(u"**"), row(1), false},
        {text(u" * "), row(1), false},       {text(u"-1,3"), row(-1), true},
        {text(u"-1,3"), row(1), false},      {text(u"1,2"), Variant(), false},
        {text(u"1,2"), text(u" 2 "), true},  {Variant::Int32(12), row(12), true},
        {Variant::Int32(12), row(2), false}, {text(u"3,4"), Variant::Double(3.0), true},
        {Variant(), row(0), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InDelimitedList(c.list, c.value), Variant::Boolean(c.expected))
            << "list \"" << Narrow(TextOf(c.list)) << "\", value \"" << Narrow(TextOf(c.value))
            << "\"";
    }
}

}  // namespace
}  // namespace tarvello
