#pragma once
// Telling the person who started the stand-in about a problem: a message box, or a line on
// standard error when it runs quietly for tests.

#include <string>

namespace tarvello::standin {

void Report(bool quiet, const std::wstring& message);

}  // namespace tarvello::standin
