#pragma once
// The Quote menu: every loaded quote by its file name, the one shown checked. Its command ids
// are a fixed rule that drivers from outside rely on as much as the menu does: the n-th
// --quote (from 0, in command-line order) is kQuoteCommandBase + n, sent as WM_COMMAND.

#include <windows.h>

#include <string>
#include <vector>

namespace tarvello::standin {

inline constexpr int kQuoteCommandBase = 1000;

// A menu bar holding "&Quote" with "&1 name", "&2 name", ... in load order; *quotes gets the
// drop-down, which the bar owns.
HMENU CreateQuoteMenuBar(const std::vector<std::wstring>& names, HMENU* quotes);

// Checks the quote shown (`loadOrder`; -1 none) and greys every item while none is.
void MarkShownQuote(HMENU quotes, int loadOrder);

}  // namespace tarvello::standin
