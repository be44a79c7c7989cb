#pragma once
// Numbers as the stand-in reads and writes them: a point as decimal separator whatever the
// user's locale, and the shortest text that reads back to the same double.

#include <string>

namespace tarvello::standin {

std::wstring FormatNumber(double value);
// The whole text (surrounding blanks allowed) must be one number.
bool ParseNumber(const std::wstring& text, double* value);

}  // namespace tarvello::standin
