// The host calls of a pass: their order, their arguments and the rows they touch.
#include <string>
#include <vector>

#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

using Log = std::vector<std::string>;

TEST_F(PassTest, OneRowOfType1AndOneOfAnotherType) {
    host.items = {PricedItem(40, 125.5, 3), PricedItem(7, 7, 1, 2)};
    host.activeRow = Variant::Int32(1);

    const PassOutcome outcome = Round({10, u"ExtendedPrice", u"Nearest", u"All"});

    const Log expected = {
        "IsHostRunning",
        "Attach",
        "GetActiveDocumentIndex()",
        "LineItemGetSelectedRows()",
        "LineItemCount()",
        "LineItemGetValue(&row 0, \"LineType\")",
        "LineItemGetValue(&row 0, \"UnitPrice\")",
        "LineItemGetValue(&row 0, \"ExtendedPrice\")",
        "LineItemGetValue(&row 0, \"QtyTotal\")",
        "LineItemGetActiveRow()",
        "LineItemGetValue(&row 0, \"PriceModifier\")",
        "LineItemSetValue(&row 0, \"PriceModifier\", text \"\")",
        "LineItemSetValue(&row 0, \"UnitPrice\", double 43.333333333333336)",
        "LineItemGetValue(&row 1, \"LineType\")",
        "Release",
    };
    EXPECT_EQ(host.log, expected);
    EXPECT_EQ(outcome.status, PassOutcome::Status::Completed);
    EXPECT_EQ(outcome.visited, 2);
    EXPECT_EQ(outcome.written, 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(host.liveApplications, 0);
}

TEST_F(PassTest, EveryRowCallGetsThePassOwnCounterByReference) {
    host.items = {PricedItem(1, 1, 1), PricedItem(2, 2, 1, 3), PricedItem(3, 3, 1)};
    Round({1, u"UnitPrice", u"Nearest", u"All"});

    ASSERT_EQ(host.rowReferences.size(), 7u + 1u + 7u);
    for (const std::int16_t* reference : host.rowReferences) {
        EXPECT_EQ(reference, host.rowReferences.front()) << "a row handed as another variable";
    }
    // Each call saw the row in hand, so the counter moved only between line items.
    for (int row = 0; row < 3; ++row) {
        for (const auto& call : host.CallsForRow(row)) {
            EXPECT_NE(call.find("&row " + std::to_string(row) + ","), std::string::npos) << call;
        }
    }
    EXPECT_EQ(host.CallsForRow(0).size(), 7u);
    EXPECT_EQ(host.CallsForRow(1).size(), 1u);
    EXPECT_EQ(host.CallsForRow(2).size(), 7u);
}

TEST_F(PassTest, ALineItemOfAnotherTypeGetsOnlyItsTypeReadWhateverTheScope) {
    for (const Text scope : {u"All", u"Selected", u"Current", u"None"}) {
        host = RecordingHost();
        host.items = {PricedItem(5, 5, 1, 0), PricedItem(5, 5, 1, 2), PricedItem(5, 5, 1, -1)};
        host.activeRow = Variant::Int16(1);
        host.selectedRows = Variant::FromText(u"0,1,2");
        Round({1, u"UnitPrice", u"Nearest", scope});
        const Log expected = {
            "LineItemGetValue(&row 0, \"LineType\")",
            "LineItemGetValue(&row 1, \"LineType\")",
            "LineItemGetValue(&row 2, \"LineType\")",
            "Release",
        };
        EXPECT_EQ(host.LogFrom("LineItemGetValue"), expected) << Narrow(scope);
        EXPECT_TRUE(WrittenRows().empty());
    }
}

TEST_F(PassTest, HostNotRunningShowsTheFirstMessageAndCallsNothingElse) {
    host.running = false;
    const PassOutcome outcome = Round({5, u"UnitPrice", u"Nearest", u"All"});

    EXPECT_EQ(host.log, (Log{"IsHostRunning", "ShowError"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message,
              u"Tarvello is not running. Tarvello must be running in order to use this API");
    EXPECT_EQ(outcome.status, PassOutcome::Status::HostNotRunning);
}

// The box may stay up for minutes: the host object (and with it the busy filter) goes first.
TEST_F(PassTest, NoOpenDocumentReleasesTheHostThenShowsTheSecondMessage) {
    for (const Variant& index : {Variant::Int16(-1), Variant::Int32(-1), Variant::Double(-1.0),
                                 Variant::FromText(u"-1")}) {
        host = RecordingHost();
        host.items = {PricedItem(12, 12, 1)};
        host.activeDocumentIndex = index;
        messages.shown.clear();
        const PassOutcome outcome = Round({5, u"UnitPrice", u"Nearest", u"All"});

        EXPECT_EQ(host.log, (Log{"IsHostRunning", "Attach", "GetActiveDocumentIndex()", "Release",
                                 "ShowError"}))
            << Describe(index);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].message, u"There are no documents currently open in Tarvello.");
        EXPECT_EQ(outcome.status, PassOutcome::Status::NoDocument);
        EXPECT_EQ(host.liveApplications, 0);
    }
}

TEST_F(PassTest, AnyOtherDocumentIndexGoesOn) {
    for (const Variant& index : {Variant::Int16(0), Variant::Int16(-2), Variant::Int32(7)}) {
        host = RecordingHost();
        host.activeDocumentIndex = index;
        host.items = {PricedItem(12, 12, 1)};
        const PassOutcome outcome = Round({5, u"UnitPrice", u"Nearest", u"All"});
        EXPECT_EQ(outcome.written, 1) << Describe(index);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(PassTest, ADocumentWithoutLineItemsEndsQuietly) {
    for (const Variant& count : {Variant::Int32(0), Variant::Int16(-3), Variant::FromText(u"0")}) {
        host = RecordingHost();
        host.lineItemCount = count;
        const PassOutcome outcome = Round({5, u"UnitPrice", u"Nearest", u"All"});
        EXPECT_EQ(host.log, (Log{"IsHostRunning", "Attach", "GetActiveDocumentIndex()",
                                 "LineItemGetSelectedRows()", "LineItemCount()", "Release"}))
            << Describe(count);
        EXPECT_EQ(outcome.status, PassOutcome::Status::Completed);
        EXPECT_EQ(outcome.visited, 0);
        EXPECT_TRUE(messages.shown.empty());
    }
}

struct ScopeCase {
    const char16_t* scope;
    Variant selectedRows;
    Variant activeRow;
    std::vector<int> written;
};

TEST_F(PassTest, TheScopeChoosesTheRowsWritten) {
    // Rows 0, 1, 3 and 12 are of type 1; rows 2 and 4..11 of type 5.
    const auto text = [](const char16_t* t) { return Variant::FromText(t); };
    const ScopeCase cases[] = {
        {u"All", text(u""), Variant::Int16(0), {0, 1, 3, 12}},
        {u"Current", text(u"*"), Variant::Int16(3), {3}},
        {u"Current", text(u"*"), Variant::Int32(1), {1}},
        {u"Current", text(u"*"), Variant::Double(12.0), {12}},
        {u"Current", text(u"*"), text(u"0"), {0}},
        {u"Current", text(u"*"), Variant::Int16(2), {}},  // the active row is of type 5
        {u"Current", text(u"*"), Variant::Int16(-1), {}},
        {u"Current", text(u"*"), text(u"none"), {}},
        {u"Current", text(u"*"), Variant(), {}},  // no active row named: not row 0
        {u"Selected", text(u"*"), Variant::Int16(0), {0, 1, 3, 12}},
        {u"Selected", text(u"1,3"), Variant::Int16(0), {1, 3}},
        {u"Selected", text(u"12"), Variant::Int16(0), {12}},  // not rows 1 or 2
        {u"Selected", text(u"2;3 4"), Variant::Int16(0), {3}},
        {u"Selected", text(u""), Variant::Int16(0), {}},
        {u"Selected", Variant::Int32(1), Variant::Int16(0), {1}},
        {u"all", text(u"*"), Variant::Int16(0), {}},
        {u"Everything", text(u"*"), Variant::Int16(0), {}},
        {u"", text(u"*"), Variant::Int16(0), {}},
    };
    for (const auto& c : cases) {
        host = RecordingHost();
        for (int row = 0; row < 13; ++row) {
            const bool type1 = row == 0 || row == 1 || row == 3 || row == 12;
            host.items.push_back(PricedItem(12, 12, 1, type1 ? 1 : 5));
        }
        host.selectedRows = c.selectedRows;
        host.activeRow = c.activeRow;
        const PassOutcome outcome = Round({5, u"UnitPrice", u"Nearest", c.scope});

        const std::string trace = "scope \"" + Narrow(c.scope) + "\", selected " +
                                  Describe(c.selectedRows) + ", active " + Describe(c.activeRow);
        EXPECT_EQ(WrittenRows(), c.written) << trace;
        EXPECT_EQ(outcome.written, static_cast<std::int32_t>(c.written.size())) << trace;
        for (int row : c.written) {
            EXPECT_EQ(UnitPriceOf(static_cast<std::size_t>(row)), Variant::Double(10)) << trace;
        }
        // Every type-1 line item is read and asks for the active row, chosen or not.
        int activeRowQueries = 0;
        for (const auto& entry : host.log) activeRowQueries += entry == "LineItemGetActiveRow()";
        EXPECT_EQ(activeRowQueries, 4) << trace;
        const bool row12Written = !c.written.empty() && c.written.back() == 12;
        EXPECT_EQ(host.CallsForRow(12).size(), row12Written ? 7u : 4u) << trace;
    }
}

TEST_F(PassTest, TheLastAddressableRowIsWalkedAndNoMore) {
    // A count of 32768 makes 32767 the last row: still a signed 16-bit index.
    host.items.assign(32768, PricedItem(1, 1, 1, 2));
    host.items.back() = PricedItem(12, 12, 1);
    const PassOutcome outcome = Round({5, u"UnitPrice", u"Nearest", u"All"});
    EXPECT_EQ(outcome.visited, 32768);
    EXPECT_EQ(WrittenRows(), std::vector<int>{32767});
}

}  // namespace
}  // namespace tarvello::testing
