#pragma once
// A fake host for tests: a document of line items in memory, and a log of every call made
// to it (with its arguments and their kinds), every release of the application object and
// every message shown. Any call can be made to fail.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/numbers/errors.h"
#include "engine/numbers/text_util.h"
#include "engine/numbers/variant.h"
#include "engine/passes/round_line_items.h"
#include "engine/request/host_application.h"

namespace tarvello::testing {

// Texts in the log and in failure output, as the program writes them for consoles.
inline std::string Narrow(const Text& text) {
    return Utf8Of(text);
}

// A value with its kind, as the log shows it: text "", double 43.333333333333336, ...
inline std::string Describe(const Variant& value) {
    char buffer[64];
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return "empty";
        case Variant::Kind::Int16:
            return "i2 " + std::to_string(value.AsInt16());
        case Variant::Kind::Int32:
            return "i4 " + std::to_string(value.AsInt32());
        case Variant::Kind::Double: {
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.AsDouble()).ptr;
            return "double " + std::string(buffer, end);
        }
        case Variant::Kind::Text:
            return "text \"" + Narrow(value.AsText()) + "\"";
        case Variant::Kind::Boolean:
            return value.AsBool() ? "bool true" : "bool false";
    }
    return "?";
}

using LineItem = std::map<Text, Variant>;

inline LineItem MakeLineItem(Variant lineType, Variant unitPrice, Variant extendedPrice,
                             Variant qtyTotal) {
    return LineItem{{u"LineType", std::move(lineType)},
                    {u"UnitPrice", std::move(unitPrice)},
                    {u"ExtendedPrice", std::move(extendedPrice)},
                    {u"QtyTotal", std::move(qtyTotal)}};
}

inline LineItem PricedItem(double unitPrice, double extendedPrice, double qtyTotal,
                           std::int16_t lineType = 1) {
    return MakeLineItem(Variant::Int16(lineType), Variant::Double(unitPrice),
                        Variant::Double(extendedPrice), Variant::Double(qtyTotal));
}

class RecordingHost : public HostLink {
public:
    // The document and the host's answers.
    bool running = true;
    Variant activeDocumentIndex = Variant::Int16(0);
    Variant selectedRows = Variant::FromText(u"*");
    Variant activeRow = Variant::Int32(0);
    std::vector<LineItem> items;
    // The count answered; when empty, the number of items.
    Variant lineItemCount;
    // When set, a unit price written as a double is kept to this many decimals, as a host that
    // keeps money at a fixed precision does, and the value handed by reference says what it kept.
    std::optional<int> keepsDecimals;
    // ... and leaves the caller's value handed by reference as it was, saying nothing.
    bool keepsSilently = false;
    // An empty price modifier is answered as an empty value, not an empty text.
    bool emptyModifierAsEmpty = false;
    // When set, the extended price follows a unit price written, worked out as the quantity times
    // it and kept to this many decimals, as a host that rounds each extended price does.
    std::optional<int> extendedDecimals;

    // Called before each operation of the application object answers, with the operation's
    // name, the row (-1 when it takes none) and the field; may throw to make the call fail.
    std::function<void(const std::string& operation, int row, const Text& field)> fault;
    // Attach fails with this when set.
    std::function<void()> attachFault;

    // Everything that happened, in order.
    std::vector<std::string> log;
    // The address of the row counter of every call that took one.
    std::vector<const std::int16_t*> rowReferences;
    int liveApplications = 0;

    void FailAt(const std::string& operation, int row, const Text& field, HostError error) {
        fault = [=](const std::string& op, int r, const Text& f) {
            if (op == operation && r == row && f == field) throw error;
        };
    }

    bool IsHostRunning() override {
        log.push_back("IsHostRunning");
        return running;
    }

    std::unique_ptr<HostApplication> Attach() override;

    // The calls of the log from the first line-item read on.
    std::vector<std::string> LogFrom(const std::string& first) const {
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (log[i].rfind(first, 0) == 0) return {log.begin() + static_cast<long>(i), log.end()};
        }
        return {};
    }

    // The calls that name `row`.
    std::vector<std::string> CallsForRow(int row) const {
        const std::string mark = "(&row " + std::to_string(row) + ",";
        std::vector<std::string> result;
        for (const auto& entry : log) {
            if (entry.find(mark) != std::string::npos) result.push_back(entry);
        }
        return result;
    }
};

class RecordingApplication : public HostApplication {
public:
    explicit RecordingApplication(RecordingHost& host) : host_(host) { ++host_.liveApplications; }
    ~RecordingApplication() override {
        --host_.liveApplications;
        host_.log.push_back("Release");
    }

    Variant GetActiveDocumentIndex() override {
        Call("GetActiveDocumentIndex()", "GetActiveDocumentIndex");
        return host_.activeDocumentIndex;
    }
    Variant LineItemGetSelectedRows() override {
        Call("LineItemGetSelectedRows()", "LineItemGetSelectedRows");
        return host_.selectedRows;
    }
    Variant LineItemCount() override {
        Call("LineItemCount()", "LineItemCount");
        if (!host_.lineItemCount.IsEmpty()) return host_.lineItemCount;
        return Variant::Int32(static_cast<std::int32_t>(host_.items.size()));
    }
    Variant LineItemGetValue(std::int16_t& row, const Text& field) override {
        RowCall(row,
                "LineItemGetValue(&row " + std::to_string(row) + ", \"" + Narrow(field) + "\")",
                "LineItemGetValue", field);
        const LineItem& item = Item(row);
        const auto value = item.find(field);
        if (field == u"PriceModifier") {
            // A line item made without a price modifier has an empty one.
            const Variant modifier =
                value == item.end() ? Variant::FromText(u"") : value->second;
            const bool blank = modifier == Variant::FromText(u"") || modifier.IsEmpty();
            if (blank) return host_.emptyModifierAsEmpty ? Variant() : Variant::FromText(u"");
            return modifier;
        }
        return item.at(field);
    }
    Variant LineItemGetActiveRow() override {
        Call("LineItemGetActiveRow()", "LineItemGetActiveRow");
        return host_.activeRow;
    }
    void LineItemSetValue(std::int16_t& row, const Text& field, Variant& value) override {
        RowCall(row,
                "LineItemSetValue(&row " + std::to_string(row) + ", \"" + Narrow(field) + "\", " +
                    Describe(value) + ")",
                "LineItemSetValue", field);
        Variant kept = value;
        if (host_.keepsDecimals && field == u"UnitPrice" && value.kind() == Variant::Kind::Double) {
            const double scale = std::pow(10.0, *host_.keepsDecimals);
            kept = Variant::Double(std::round(value.AsDouble() * scale) / scale);
            if (!host_.keepsSilently) value = kept;
        }
        Item(row)[field] = kept;
        if (host_.extendedDecimals && field == u"UnitPrice" && kept.IsNumber()) {
            const double scale = std::pow(10.0, *host_.extendedDecimals);
            const double quantity = Item(row).at(u"QtyTotal").NumberValue();
            Item(row)[u"ExtendedPrice"] =
                Variant::Double(std::round(kept.NumberValue() * quantity * scale) / scale);
        }
    }

private:
    void Call(const std::string& entry, const std::string& operation, int row = -1,
              const Text& field = Text()) {
        host_.log.push_back(entry);
        if (host_.fault) host_.fault(operation, row, field);
    }
    void RowCall(std::int16_t& row, const std::string& entry, const std::string& operation,
                 const Text& field) {
        host_.rowReferences.push_back(&row);
        Call(entry, operation, row, field);
    }
    LineItem& Item(std::int16_t row) {
        if (row < 0 || static_cast<std::size_t>(row) >= host_.items.size()) {
            throw HostError(static_cast<std::int32_t>(0x80070057), u"No such line item.",
                            "row out of range");
        }
        return host_.items[static_cast<std::size_t>(row)];
    }

    RecordingHost& host_;
};

inline std::unique_ptr<HostApplication> RecordingHost::Attach() {
    log.push_back("Attach");
    if (attachFault) attachFault();
    return std::make_unique<RecordingApplication>(*this);
}

// Records the messages the pass shows, into the host's log as well so that their place
// among the host calls shows.
class RecordingMessages : public MessageSink {
public:
    explicit RecordingMessages(RecordingHost& host) : host_(host) {}
    struct Shown {
        Text message;
    };
    std::vector<Shown> shown;
    // The questions asked, and the answer to give.
    std::vector<Text> asked;
    bool answer = false;

    void ShowError(const Text& message) override {
        shown.push_back({message});
        host_.log.push_back("ShowError");
    }
    bool Ask(const Text& question) override {
        asked.push_back(question);
        host_.log.push_back("Ask");
        return answer;
    }

private:
    RecordingHost& host_;
};

}  // namespace tarvello::testing
