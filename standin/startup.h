#pragma once
// From the command line to the state the stand-in starts in: the documents loaded, the active
// one chosen, and the rows selected and focused in its list.

#include <string>
#include <vector>

#include "standin/options.h"
#include "standin/quote_document.h"

namespace tarvello::standin {

struct StartState {
    Workspace workspace;
    std::vector<int> selected;
    int focus = -1;
};

// Loads every quote file and checks the options against them; on failure says which.
bool PrepareStart(const StandinOptions& options, StartState* state, std::wstring* error);

}  // namespace tarvello::standin
