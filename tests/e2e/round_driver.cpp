// RoundDriver: performs one Round through the real pass and the real host link, and prints the
// prices before and after. Used by scripts/demo until the program's own window drives it.
//
//   RoundDriver.exe [--method Decimal|Nearest|RoundUp] [--amount N]
//                   [--field UnitPrice|ExtendedPrice] [--rows Current|Selected|All]
//   RoundDriver.exe --close-host     (asks the stand-in host to close its window)
//
// Exit codes: 0 the Round completed, 1 it stopped with a failure or a message, 2 bad usage.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/round_line_items.h"
#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "host/utf8.h"

namespace {

using tarvello::Text;
using tarvello::Variant;

std::string Shown(const Variant& value) {
    char text[40];
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return "";
        case Variant::Kind::Text:
            return tarvello::host::ToUtf8(value.AsText());
        case Variant::Kind::Boolean:
            return value.AsBool() ? "True" : "False";
        default:
            std::snprintf(text, sizeof text, "%.15g", value.NumberValue());
            return text;
    }
}

struct Row {
    std::string type, description, quantity, unit, extended, modifier;
};

std::vector<Row> ReadQuote() {
    tarvello::host::ComHostLink link;
    auto host = link.Attach();
    std::vector<Row> rows;
    if (host->GetActiveDocumentIndex() == Variant::Int16(-1)) return rows;
    const int count = static_cast<int>(host->LineItemCount().NumberValue());
    for (std::int16_t row = 0; row < count; ++row) {
        auto field = [&](const char16_t* name) { return Shown(host->LineItemGetValue(row, name)); };
        rows.push_back({field(u"LineType"), field(u"Description"), field(u"QtyTotal"),
                        field(u"UnitPrice"), field(u"ExtendedPrice"), field(u"PriceModifier")});
    }
    return rows;
}

void PrintTable(const std::vector<Row>& before, const std::vector<Row>& after) {
    std::printf("%4s %4s  %-34.34s %8s %12s %12s %12s %12s  %s\n", "row", "type", "description",
                "qty", "unit before", "unit after", "ext before", "ext after", "modifier after");
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        const Row& b = before[i];
        const Row& a = after[i];
        const bool changed = b.unit != a.unit || b.modifier != a.modifier;
        std::printf("%4zu %4s  %-34.34s %8s %12s %12s %12s %12s  %s%s\n", i, b.type.c_str(),
                    b.description.c_str(), b.quantity.c_str(), b.unit.c_str(), a.unit.c_str(),
                    b.extended.c_str(), a.extended.c_str(), a.modifier.c_str(),
                    changed ? "  <- changed" : "");
    }
}

class PrintingSink : public tarvello::MessageSink {
public:
    void ShowError(const Text& message, const Text& title) override {
        std::printf("[%s] %s\n", tarvello::host::ToUtf8(title).c_str(),
                    tarvello::host::ToUtf8(message).c_str());
        shown = true;
    }
    bool shown = false;
};

Text Widen(const char* text) {
    return Text(text, text + std::strlen(text));
}

int CloseHost() {
    HWND window = FindWindowW(L"TarvelloStandinWindow", nullptr);
    if (window == nullptr) {
        std::printf("no stand-in host window\n");
        return 1;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string method = "Nearest", field = "UnitPrice", rows = "All";
    double amount = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--close-host") return CloseHost();
        if (i + 1 >= argc) {
            std::fprintf(stderr, "RoundDriver: %s needs a value\n", option.c_str());
            return 2;
        }
        const char* value = argv[++i];
        if (option == "--method") {
            method = value;
        } else if (option == "--amount") {
            amount = std::atof(value);
        } else if (option == "--field") {
            field = value;
        } else if (option == "--rows") {
            rows = value;
        } else {
            std::fprintf(stderr, "RoundDriver: unknown option %s\n", option.c_str());
            return 2;
        }
    }

    tarvello::host::ComApartment apartment;
    std::printf("Round: %s %g on %s, rows: %s\n", method.c_str(), amount, field.c_str(),
                rows.c_str());
    std::vector<Row> before;
    try {
        tarvello::host::ComHostLink link;
        if (link.IsHostRunning()) before = ReadQuote();
    } catch (const std::exception& error) {
        std::printf("could not read the quote: %s\n", error.what());
    }

    PrintingSink sink;
    int status = 0;
    try {
        tarvello::host::ComHostLink link;
        const auto outcome = tarvello::RoundLineItems(
            amount, Widen(field.c_str()), Widen(method.c_str()), Widen(rows.c_str()), link, sink);
        std::printf("visited %d rows, wrote %d\n", outcome.rowsVisited, outcome.written);
        if (sink.shown) status = 1;
    } catch (const tarvello::RoundFailure& failure) {
        std::printf("the Round stopped at row %d after %d writes: %s\n", failure.row,
                    failure.written, failure.what());
        status = 1;
    }
    if (!before.empty()) {
        try {
            PrintTable(before, ReadQuote());
        } catch (const std::exception& error) {
            std::printf("could not read the quote again: %s\n", error.what());
        }
    }
    return status;
}
