#include "standin/quote_menu.h"

namespace tarvello::standin {
namespace {

// A file name may hold "&", which a menu would take for a mnemonic.
std::wstring ItemText(int number, const std::wstring& name) {
    std::wstring text = L"&" + std::to_wstring(number) + L" ";
    for (wchar_t c : name) {
        if (c == L'&') text += L'&';
        text += c;
    }
    return text;
}

}  // namespace

HMENU CreateQuoteMenuBar(const std::vector<std::wstring>& names, HMENU* quotes) {
    HMENU bar = CreateMenu();
    *quotes = CreatePopupMenu();
    for (size_t n = 0; n < names.size(); ++n)
        AppendMenuW(*quotes, MF_STRING, kQuoteCommandBase + n,
                    ItemText(static_cast<int>(n) + 1, names[n]).c_str());
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(*quotes), L"&Quote");
    return bar;
}

void MarkShownQuote(HMENU quotes, int loadOrder) {
    const int count = GetMenuItemCount(quotes);
    for (int n = 0; n < count; ++n) {
        const UINT id = static_cast<UINT>(kQuoteCommandBase + n);
        CheckMenuItem(quotes, id, MF_BYCOMMAND | (n == loadOrder ? MF_CHECKED : MF_UNCHECKED));
        EnableMenuItem(quotes, id, MF_BYCOMMAND | (loadOrder < 0 ? MF_GRAYED : MF_ENABLED));
    }
}

}  // namespace tarvello::standin
