#pragma once
// The stand-in's command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvello::standin {

struct FailCall {
    long first = 0;  // call number, counted from 1
    long count = 1;  // calls first .. first+count-1 fail
    int32_t hresult = 0;
};

struct StandinOptions {
    std::vector<std::wstring> quotes;
    std::optional<int> activeDocument;  // default: 0 with a quote, -1 without
    std::optional<std::wstring> selected;
    int activeRow = 0;
    std::wstring dumpFile;
    std::wstring logFile;
    std::vector<FailCall> failCalls;
    long exitAtCall = 0;  // 0: never
    long holdAtCall = 0;  // 0: never
    long holdMs = 3000;
    std::wstring readyFile;
    bool quiet = false;
    bool freshMembers = false;  // DocFunctions/ItemFunctions give a new object every read
};

// Reads the arguments (without the program name); on failure says which option is wrong.
bool ParseOptions(const std::vector<std::wstring>& args, StandinOptions* options,
                  std::wstring* error);

// The usage text shown with a command-line error.
const wchar_t* UsageText();

}  // namespace tarvello::standin
