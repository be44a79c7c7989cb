// What the caller follows and steers during a Round (progress, a stop between line items), and
// the prices a Round refuses to work with: NaN and the infinities.
#include <limits>
#include <string>
#include <vector>

#include "engine/passes/describe_failure.h"
#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

// Counts the line items it is told of and asks to stop once `stopAfter` have begun.
class StoppingObserver : public PassObserver {
public:
    explicit StoppingObserver(int stopAfter) : stopAfter_(stopAfter) {}
    void AtLineItem(std::int32_t row, std::int32_t position, std::int32_t count) override {
        seen.push_back({row, position, count});
    }
    bool LookForStop() override { return static_cast<int>(seen.size()) >= stopAfter_; }
    std::vector<std::vector<std::int32_t>> seen;

private:
    int stopAfter_;
};

TEST_F(PassTest, AStopEndsTheRoundBetweenTwoLineItemsAndKeepsWhatWasWritten) {
    for (int i = 0; i < 6; ++i) host.items.push_back(PricedItem(12, 12, 1, i == 1 ? 2 : 1));
    StoppingObserver observer(3);
    RoundHistory history;
    const RoundingRequest request{5, RoundedPrice::UnitPrice, RoundingMethod::Nearest,
                                  RowChoice::All};

    const PassOutcome outcome =
        RoundLineItems(request, host, messages, {}, PassHooks{&history, &observer});

    EXPECT_EQ(outcome.status, PassOutcome::Status::Stopped);
    EXPECT_EQ(outcome.visited, 3);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(observer.seen,
              (std::vector<std::vector<std::int32_t>>{{0, 0, 6}, {1, 1, 6}, {2, 2, 6}}));
    EXPECT_EQ(WrittenRows(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(host.CallsForRow(3).empty()) << "nothing asked of the rows after the stop";
    EXPECT_EQ(history.UndoableCount(), 2);
    EXPECT_EQ(host.liveApplications, 0);
    EXPECT_EQ(Narrow(DescribeStoppedRound(outcome)),
              "Rounding stopped at row 3 of 6, as you asked. 2 line items had already been "
              "rounded; the rest were left unchanged. Edit > Undo Round takes them back.");
}

TEST_F(PassTest, NoNumberThatIsNotFiniteIsEverWritten) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char16_t* field;
        const char16_t* rounded;
        bool stops;  // the Round uses the field for the price it writes
        const char* words;
    };
    const Case cases[] = {
        {u"UnitPrice", u"UnitPrice", true, "its unit price is not a number"},
        {u"UnitPrice", u"ExtendedPrice", false, ""},
        {u"ExtendedPrice", u"ExtendedPrice", true, "its extended price is not a number"},
        {u"ExtendedPrice", u"UnitPrice", false, ""},
        {u"QtyTotal", u"ExtendedPrice", true, "its total quantity is not a number"},
        {u"QtyTotal", u"UnitPrice", false, ""},
    };
    for (const Case& c : cases) {
        for (const Text& method : {Text(u"Decimal"), Text(u"Nearest"), Text(u"RoundUp")}) {
            for (double value : {nan, inf, -inf}) {
                const std::string trace = Narrow(c.field) + " " + std::to_string(value) +
                                          ", rounding the " + Narrow(c.rounded) + " by " +
                                          Narrow(method);
                host = RecordingHost();
                for (int i = 0; i < 3; ++i) host.items.push_back(PricedItem(12, 24, 2));
                host.items[1][c.field] = Variant::Double(value);
                const Request request{2, c.rounded, method, u"All"};
                if (c.stops) {
                    const PassFailure failure = RoundFailing(request);
                    EXPECT_EQ(failure.row, 1) << trace;
                    EXPECT_EQ(failure.written, 1) << trace;
                    EXPECT_NE(Narrow(DescribeRoundFailure(failure)).find(c.words),
                              std::string::npos)
                        << trace << ": " << Narrow(DescribeRoundFailure(failure));
                } else {
                    EXPECT_EQ(Round(request).written, 3) << trace;
                }
                for (const auto& call : host.log) {
                    const bool writes = call.rfind("LineItemSetValue", 0) == 0;
                    EXPECT_FALSE(writes && (call.find("nan") != std::string::npos ||
                                            call.find("inf") != std::string::npos))
                        << trace << ": " << call;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tarvello::testing
