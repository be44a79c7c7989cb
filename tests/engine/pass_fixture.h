#pragma once
// Runs the rounding pass against the recording host.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/passes/round_line_items.h"
#include "recording_host.h"

namespace tarvello::testing {

struct Request {
    double amount;
    Text priceField;
    Text method;
    Text rowScope;
};

class PassTest : public ::testing::Test {
protected:
    PassOutcome Round(const Request& r, const NumberFormat& format = {}) {
        return RoundLineItems(r.amount, r.priceField, r.method, r.rowScope, host, messages, format);
    }

    // Runs a pass that must fail; checks that the host object was released by then.
    PassFailure RoundFailing(const Request& r, const NumberFormat& format = {}) {
        const PassOutcome outcome = Round(r, format);
        if (outcome.status == PassOutcome::Status::Failed && outcome.failure) {
            EXPECT_EQ(host.liveApplications, 0) << "host object still held by the failure";
            return *outcome.failure;
        }
        ADD_FAILURE() << "the pass did not fail";
        return PassFailure(FailureCause::InvalidArgument, "none");
    }

    // The unit price of a row after the pass.
    Variant UnitPriceOf(std::size_t row) const { return host.items.at(row).at(u"UnitPrice"); }

    // Rows whose unit price was written (their price modifier is present).
    std::vector<int> WrittenRows() const {
        std::vector<int> rows;
        for (std::size_t i = 0; i < host.items.size(); ++i) {
            if (host.items[i].count(u"PriceModifier")) rows.push_back(static_cast<int>(i));
        }
        return rows;
    }

    // Four priced line items with these modifiers, a heading between the second and the third;
    // `before` keeps the quote as it was.
    void ArrangeQuote(const std::vector<Text>& modifiers) {
        for (int i = 0; i < 4; ++i) {
            host.items.push_back(PricedItem(12 + i, 24 + 2 * i, 2));
            host.items.back()[u"PriceModifier"] = Variant::FromText(modifiers.at(i));
        }
        host.items.insert(host.items.begin() + 2, PricedItem(0, 0, 0, 2));
        before = host.items;
    }

    RecordingHost host;
    RecordingMessages messages{host};
    std::vector<LineItem> before;
};

}  // namespace tarvello::testing
