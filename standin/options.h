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

// Where hosts differ in what they keep of what they are given, and in how they answer.
struct HostManners {
    // Unit prices written are kept to this many decimals.
    std::optional<int> keepDecimals;
    // ... and the caller's value handed by reference is left as it was, not set to the kept one.
    bool keepsSilently = false;
    // How an empty price modifier is answered: as an empty text, VT_EMPTY or VT_NULL.
    enum class NoModifier { EmptyText, Empty, Null } noModifier = NoModifier::EmptyText;
};

// A change made to the quote as if by its user, right before call `call` is served.
struct EditAtCall {
    long call = 0;
    int row = 0;
    std::wstring field;  // LineType, QtyTotal, UnitPrice or PriceModifier
    std::wstring value;
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
    HostManners manners;
    std::vector<EditAtCall> edits;
};

// Reads the arguments (without the program name); on failure says which option is wrong.
bool ParseOptions(const std::vector<std::wstring>& args, StandinOptions* options,
                  std::wstring* error);

// The usage text shown with a command-line error.
const wchar_t* UsageText();

}  // namespace tarvello::standin
