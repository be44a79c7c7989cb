#pragma once
// Whole sequences of lines compared at once, both printed in full when they differ.

#include <string>
#include <vector>

namespace tarvello::testing {

inline std::string PrintedLines(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += "    ";
        for (wchar_t c : line) text += c < 128 ? static_cast<char>(c) : '?';
        text += "\n";
    }
    return text;
}

}  // namespace tarvello::testing

#define EXPECT_SAME_LINES(expected, actual)                           \
    EXPECT_TRUE((expected) == (actual))                               \
        << "expected:\n"                                              \
        << ::tarvello::testing::PrintedLines(expected) << "actual:\n" \
        << ::tarvello::testing::PrintedLines(actual)
