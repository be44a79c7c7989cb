// How a pass stops: what the failure carries, what stays written, and the host released.
#include <functional>
#include <string>
#include <vector>

#include "pass_fixture.h"

namespace tarvello::testing {
namespace {

constexpr std::int32_t kRefused = static_cast<std::int32_t>(0x80020009);
constexpr std::int32_t kGone = static_cast<std::int32_t>(0x800706BA);

class PassFailureTest : public PassTest {
protected:
    void FourPricedRows() {
        for (int i = 0; i < 4; ++i) host.items.push_back(PricedItem(12 + i, 24 + 2 * i, 2));
    }
};

TEST_F(PassFailureTest, AHostFailureInTheMiddleOfTheWalk) {
    FourPricedRows();
    host.FailAt("LineItemGetValue", 2, u"QtyTotal", HostError(kRefused, u"Busy", "refused"));

    const PassFailure failure = RoundFailing({5, u"UnitPrice", u"Nearest", u"All"});

    EXPECT_EQ(failure.cause, FailureCause::Host);
    EXPECT_EQ(failure.row, 2);
    EXPECT_EQ(failure.written, 2);
    EXPECT_EQ(failure.step, PassStep::LineItemGetValue);
    EXPECT_EQ(failure.field, LineItemField::QtyTotal);
    EXPECT_EQ(failure.hostCode, kRefused);
    EXPECT_EQ(failure.hostText, u"Busy");
    EXPECT_FALSE(failure.hostGone);
    // Rows before it keep their new values; the row in hand and those after are untouched.
    EXPECT_EQ(WrittenRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(UnitPriceOf(0), Variant::Double(10));
    EXPECT_EQ(UnitPriceOf(1), Variant::Double(15));
    EXPECT_EQ(UnitPriceOf(2), Variant::Double(14));
    EXPECT_EQ(UnitPriceOf(3), Variant::Double(15));
    EXPECT_EQ(host.LogFrom("LineItemGetValue(&row 2, \"QtyTotal\")"),
              (std::vector<std::string>{"LineItemGetValue(&row 2, \"QtyTotal\")", "Release"}));
    EXPECT_TRUE(messages.shown.empty());
}

struct FailureCase {
    const char* name;
    std::function<void(RecordingHost&)> arrange;
    Request request;
    FailureCause cause;
    std::int32_t row;
    std::int32_t written;
    PassStep step;
    std::optional<LineItemField> field;
};

TEST_F(PassFailureTest, EachFailureSaysWhereAndWhy) {
    const auto setItem = [](std::size_t row, const char16_t* field, Variant value) {
        return [=](RecordingHost& h) { h.items[row][field] = value; };
    };
    const Request nearestUnit{5, u"UnitPrice", u"Nearest", u"All"};
    using Step = PassStep;
    const std::optional<LineItemField> kNoField;
    const LineItemField kLineType = LineItemField::LineType;
    const LineItemField kUnitPrice = LineItemField::UnitPrice;
    const LineItemField kExtendedPrice = LineItemField::ExtendedPrice;
    const LineItemField kQtyTotal = LineItemField::QtyTotal;
    const FailureCase cases[] = {
        {"zero quantity",
         setItem(1, u"QtyTotal", Variant::Double(0)),
         {5, u"ExtendedPrice", u"Nearest", u"All"},
         FailureCause::DivisionByZero,
         1,
         1,
         Step::DivideByQuantity,
         kQtyTotal},
        {"zero quantity, nothing chosen",
         setItem(0, u"QtyTotal", Variant::Int16(0)),
         {5, u"ExtendedPrice", u"Nearest", u"Bogus"},
         FailureCause::DivisionByZero,
         0,
         0,
         Step::DivideByQuantity,
         kQtyTotal},
        {"quantity not a number",
         setItem(3, u"QtyTotal", Variant::FromText(u"two")),
         {5, u"ExtendedPrice", u"Decimal", u"All"},
         FailureCause::TypeMismatch,
         3,
         3,
         Step::DivideByQuantity,
         kQtyTotal},
        {"unit price not a number", setItem(2, u"UnitPrice", Variant::FromText(u"abc")),
         nearestUnit, FailureCause::TypeMismatch, 2, 2, Step::RoundPrice, kUnitPrice},
        {"unit price not a number for Decimal",
         setItem(0, u"UnitPrice", Variant::FromText(u"")),
         {2, u"UnitPrice", u"Decimal", u"All"},
         FailureCause::TypeMismatch,
         0,
         0,
         Step::RoundPrice,
         kUnitPrice},
        {"line type not a number", setItem(1, u"LineType", Variant::FromText(u"x")), nearestUnit,
         FailureCause::TypeMismatch, 1, 1, Step::LineItemGetValue, kLineType},
        {"line type beyond 16 bits", setItem(1, u"LineType", Variant::Int32(65537)), nearestUnit,
         FailureCause::Overflow, 1, 1, Step::LineItemGetValue, kLineType},
        {"price beyond 32 bits", setItem(1, u"UnitPrice", Variant::Double(2147483647.5)),
         nearestUnit, FailureCause::Overflow, 1, 1, Step::RoundPrice, kUnitPrice},
        {"extended price beyond 32 bits",
         setItem(0, u"ExtendedPrice", Variant::Double(-3e9)),
         {5, u"ExtendedPrice", u"RoundUp", u"All"},
         FailureCause::Overflow,
         0,
         0,
         Step::RoundPrice,
         kExtendedPrice},
        {"RoundUp sum beyond 32 bits",
         setItem(2, u"UnitPrice", Variant::Double(2147483646.6)),
         {5, u"UnitPrice", u"RoundUp", u"All"},
         FailureCause::Overflow,
         2,
         2,
         Step::RoundPrice,
         kUnitPrice},
        {"rounded price beyond 32 bits",
         setItem(1, u"UnitPrice", Variant::Int32(2147483647)),
         {10, u"UnitPrice", u"Nearest", u"All"},
         FailureCause::Overflow,
         1,
         1,
         Step::RoundPrice,
         kUnitPrice},
        {"amount beyond 32 bits",
         nullptr,
         {1e10, u"UnitPrice", u"Nearest", u"All"},
         FailureCause::Overflow,
         0,
         0,
         Step::WorkOutAmount,
         kNoField},
        {"negative places",
         nullptr,
         {-1, u"UnitPrice", u"Decimal", u"All"},
         FailureCause::InvalidArgument,
         0,
         0,
         Step::WorkOutAmount,
         kNoField},
        {"tiny quantity",
         setItem(1, u"QtyTotal", Variant::Double(1e-320)),
         {1, u"ExtendedPrice", u"Nearest", u"All"},
         FailureCause::Overflow,
         1,
         1,
         Step::DivideByQuantity,
         kQtyTotal},
        {"document index beyond 16 bits",
         [](RecordingHost& h) { h.activeDocumentIndex = Variant::Int32(40000); }, nearestUnit,
         FailureCause::Overflow, -1, 0, Step::GetActiveDocumentIndex, kNoField},
        {"document index not a number",
         [](RecordingHost& h) { h.activeDocumentIndex = Variant::FromText(u"first"); }, nearestUnit,
         FailureCause::TypeMismatch, -1, 0, Step::GetActiveDocumentIndex, kNoField},
        {"too many line items", [](RecordingHost& h) { h.lineItemCount = Variant::Int32(32769); },
         nearestUnit, FailureCause::Overflow, -1, 0, Step::LineItemCount, kNoField},
        {"count not a number", [](RecordingHost& h) { h.lineItemCount = Variant::FromText(u"?"); },
         nearestUnit, FailureCause::TypeMismatch, -1, 0, Step::LineItemCount, kNoField},
        {"unknown method",
         nullptr,
         {5, u"UnitPrice", u"nearest", u"All"},
         FailureCause::InvalidArgument,
         -1,
         0,
         Step::ReadMethod,
         kNoField},
        {"unknown price field",
         nullptr,
         {5, u"Unit Price", u"Nearest", u"All"},
         FailureCause::InvalidArgument,
         -1,
         0,
         Step::ReadPriceField,
         kNoField},
        {"refused write",
         [](RecordingHost& h) {
             h.FailAt("LineItemSetValue", 3, u"UnitPrice", HostError(kRefused, u"No", "no"));
         },
         nearestUnit, FailureCause::Host, 3, 3, Step::LineItemSetValue, kUnitPrice},
        {"refused selected rows",
         [](RecordingHost& h) {
             h.FailAt("LineItemGetSelectedRows", -1, u"", HostError(kRefused, u"", "no"));
         },
         nearestUnit, FailureCause::Host, -1, 0, Step::LineItemGetSelectedRows, kNoField},
        {"refused active row",
         [](RecordingHost& h) {
             h.FailAt("LineItemGetActiveRow", -1, u"", HostError(kRefused, u"", "no"));
         },
         nearestUnit, FailureCause::Host, 0, 0, Step::LineItemGetActiveRow, kNoField},
    };
    for (const auto& c : cases) {
        host = RecordingHost();
        FourPricedRows();
        if (c.arrange) c.arrange(host);
        const PassFailure failure = RoundFailing(c.request);
        EXPECT_EQ(failure.cause, c.cause) << c.name;
        EXPECT_EQ(failure.row, c.row) << c.name;
        EXPECT_EQ(failure.written, c.written) << c.name;
        EXPECT_EQ(failure.step, c.step) << c.name;
        EXPECT_EQ(failure.field, c.field) << c.name;
        EXPECT_EQ(static_cast<std::int32_t>(WrittenRows().size()) -
                      (c.step == Step::LineItemSetValue ? 1 : 0),
                  c.written)
            << c.name;
        if (host.log.size() > 1) {
            EXPECT_EQ(host.log.back(), "Release") << c.name;
        }
        EXPECT_TRUE(messages.shown.empty()) << c.name;
    }
}

TEST_F(PassFailureTest, AnUnknownRequestTouchesNoHost) {
    FourPricedRows();
    RoundFailing({5, u"ExtendedPrice", u"Round", u"All"});
    RoundFailing({5, u"unitprice", u"Decimal", u"All"});
    EXPECT_TRUE(host.log.empty());
}

TEST_F(PassFailureTest, AFailedWriteOfTheUnitPriceLeavesItsModifierCleared) {
    FourPricedRows();
    host.FailAt("LineItemSetValue", 1, u"UnitPrice", HostError(kRefused, u"Locked", "no"));
    const PassFailure failure = RoundFailing({5, u"UnitPrice", u"Nearest", u"All"});
    EXPECT_EQ(failure.written, 1);
    EXPECT_EQ(host.items[1].at(u"PriceModifier"), Variant::FromText(u""));
    EXPECT_EQ(UnitPriceOf(1), Variant::Double(13));
}

TEST_F(PassFailureTest, AHostThatWentAwayIsMarkedGone) {
    FourPricedRows();
    host.FailAt("LineItemGetValue", 1, u"LineType",
                HostError(kGone, u"", "disconnected").MarkDisconnected());
    const PassFailure failure = RoundFailing({5, u"UnitPrice", u"Nearest", u"All"});
    EXPECT_TRUE(failure.hostGone);
    EXPECT_EQ(failure.hostCode, kGone);
    EXPECT_EQ(failure.row, 1);
    EXPECT_EQ(failure.written, 1);
}

TEST_F(PassFailureTest, AFailedAttachHoldsNothing) {
    host.attachFault = [] {
        throw HostError(static_cast<std::int32_t>(0x800401E3), u"Operation unavailable", "no");
    };
    const PassFailure failure = RoundFailing({5, u"UnitPrice", u"Nearest", u"All"});
    EXPECT_EQ(failure.cause, FailureCause::Host);
    EXPECT_EQ(failure.step, PassStep::Attach);
    EXPECT_EQ(failure.row, -1);
    EXPECT_EQ(host.log, (std::vector<std::string>{"IsHostRunning", "Attach"}));
}

}  // namespace
}  // namespace tarvello::testing
