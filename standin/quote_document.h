#pragma once
// The stand-in's documents: quotes made of line items. The extended price is never stored;
// it is worked out from the unit price and the total quantity whenever it is asked for.

#include <optional>
#include <string>
#include <vector>

namespace tarvello::standin {

// A cell that should hold a number but may hold text (bad data that clients must cope with).
struct Cell {
    std::optional<double> number;
    std::wstring text;  // used when there is no number

    static Cell Number(double v) { return Cell{v, {}}; }
    static Cell Text(std::wstring t) { return Cell{std::nullopt, std::move(t)}; }
    // A number when `text` reads as one, else the text as it is.
    static Cell FromText(const std::wstring& text);
    bool IsNumber() const { return number.has_value(); }
    std::wstring ToText() const;
    bool operator==(const Cell& o) const { return number == o.number && text == o.text; }
};

enum class Field { LineType, Description, QtyTotal, UnitPrice, PriceModifier, ExtendedPrice };

// Field names are compared exactly, as clients spell them.
std::optional<Field> FieldFromName(const std::wstring& name);
const wchar_t* FieldName(Field field);

struct LineItem {
    Cell lineType;
    std::wstring description;
    Cell qtyTotal;
    Cell unitPrice;
    std::wstring priceModifier;

    // Unit price × total quantity; when either is not a number, that cell's text.
    Cell ExtendedPrice() const;
};

struct QuoteDocument {
    std::wstring name;  // shown in the window title: the file name
    int loadOrder = 0;  // which --quote it came from, from 0: its place in the Quote menu
    std::vector<LineItem> items;
};

struct Workspace {
    std::vector<QuoteDocument> documents;
    int active = -1;  // -1: no document open

    enum class Shown { Refused, Already, Exchanged };
    // Puts the quote loaded `loadOrder`-th in the active document's place and the one shown
    // until now in the place it leaves, as when the user closes one quote and opens another:
    // the active index stays, every index still holds one quote, and both keep what was
    // written to them. Refused with no document open or no such quote.
    Shown ShowQuote(int loadOrder);

    QuoteDocument* Active() {
        return active >= 0 && active < static_cast<int>(documents.size()) ? &documents[active]
                                                                          : nullptr;
    }
};

}  // namespace tarvello::standin
