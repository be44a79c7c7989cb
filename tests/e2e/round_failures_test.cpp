// The pass's two messages and the ways a Round stops early, through the real stand-in.

#include <gtest/gtest.h>

#include "tests/e2e/e2e_fixture.h"

namespace tarvello::e2e {
namespace {

class RoundStops : public ::testing::Test {
protected:
    void TearDown() override { standin_.Close(); }

    host::ComApartment apartment_;
    Standin standin_;
};

const std::vector<QuoteRow> kThreeItems = {
    {L"1", L"Cable", L"3", L"12.25", L"", L""},
    {L"1", L"Mount", L"4", L"25.26", L"List", L""},
    {L"1", L"Display", L"2", L"13", L"Promo", L""},
};

TEST_F(RoundStops, WithNoHostRunningTheFirstMessageIsShown) {
    RecordingSink sink;
    const PassOutcome outcome = RunRound({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(PassOutcome::Status::HostNotRunning, outcome.status);
    ASSERT_EQ(1u, sink.shown.size());
    EXPECT_EQ(Text(kHostNotRunningText), sink.shown[0]);
}

TEST_F(RoundStops, WithNoOpenDocumentTheSecondMessageIsShownAndNothingElseIsCalled) {
    standin_.Start(std::nullopt);
    RecordingSink sink;
    const PassOutcome outcome = RunRound({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(PassOutcome::Status::NoDocument, outcome.status);
    ASSERT_EQ(1u, sink.shown.size());
    EXPECT_EQ(Text(kNoDocumentText), sink.shown[0]);
    for (const auto& line : standin_.Log()) {
        EXPECT_EQ(std::wstring::npos, line.find(L"ItemFunctions."))
            << std::string(line.begin(), line.end());
    }
}

TEST_F(RoundStops, ATextPriceStopsThePassAtItsRow) {
    std::vector<QuoteRow> quote = kThreeItems;
    quote[1].unitPrice = L"n/a";
    standin_.Start(quote);
    RecordingSink sink;
    const PassFailure failure = RunRoundFailing({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(FailureCause::TypeMismatch, failure.cause);
    EXPECT_EQ(1, failure.row);
    EXPECT_EQ(1, failure.written);
    std::vector<QuoteRow> expected = quote;
    expected[0].unitPrice = L"10";
    EXPECT_SAME_LINES(PriceLines(expected), PriceLines(standin_.Dump()));
}

TEST_F(RoundStops, AQuantityOfZeroOnTheExtendedPriceStopsThePassAtItsRow) {
    std::vector<QuoteRow> quote = kThreeItems;
    quote[2].quantity = L"0";
    standin_.Start(quote);
    RecordingSink sink;
    const PassFailure failure = RunRoundFailing({5, u"ExtendedPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(FailureCause::DivisionByZero, failure.cause);
    EXPECT_EQ(2, failure.row);
    EXPECT_EQ(2, failure.written);
    std::vector<QuoteRow> expected = quote;
    expected[0].unitPrice = NumberText(35.0 / 3);  // 36.75 -> 37 -> 35
    expected[1].unitPrice = L"25";                 // 101.04 -> 101 -> 100
    expected[1].modifier.clear();
    EXPECT_SAME_LINES(PriceLines(expected), PriceLines(standin_.Dump()));
}

TEST_F(RoundStops, AHostThatDiesMidPassLeavesEarlierRowsWrittenAndLaterOnesUntouched) {
    // Calls 1 to 3 come before the walk; each item then costs seven: four reads, the active
    // row and two writes. Call 14 is the second item's total quantity.
    standin_.Start(kThreeItems, {L"--exit-at-call", L"14"});
    RecordingSink sink;
    const PassFailure failure = RunRoundFailing({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(FailureCause::Host, failure.cause);
    EXPECT_TRUE(failure.hostGone) << failure.what();
    EXPECT_EQ(1, failure.row);
    EXPECT_EQ(1, failure.written);
    EXPECT_NE(STILL_ACTIVE, standin_.process().WaitExit(10000));
    std::vector<QuoteRow> expected = kThreeItems;
    expected[0].unitPrice = L"10";
    EXPECT_SAME_LINES(PriceLines(expected), PriceLines(standin_.Dump()));
}

TEST_F(RoundStops, ARefusedCallCarriesWhatTheHostSaid) {
    standin_.Start(kThreeItems, {L"--fail-call", L"5:0x80020009"});
    RecordingSink sink;
    const PassFailure failure = RunRoundFailing({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(FailureCause::Host, failure.cause);
    EXPECT_EQ(static_cast<std::int32_t>(0x80020009), failure.hostCode);
    EXPECT_EQ(u"Injected failure", failure.hostText);
    EXPECT_FALSE(failure.hostGone);
    EXPECT_EQ(0, failure.row);
    EXPECT_EQ(0, failure.written);
}

TEST_F(RoundStops, ABusyHostIsWaitedFor) {
    // RPC_E_SERVERCALL_RETRYLATER for three calls in a row, then answers again.
    standin_.Start(kThreeItems, {L"--fail-call", L"4:0x8001010A:3"});
    RecordingSink sink;
    const PassOutcome outcome = RunRound({5, u"UnitPrice", u"Nearest", u"All"}, sink);
    EXPECT_EQ(3, outcome.written);
}

}  // namespace
}  // namespace tarvello::e2e
