// The stand-in as a process: its registration comes and goes with it, it leaves a foreign
// registration alone, and injected failures and crashes look to a client as they would with
// a real host.

#include <gtest/gtest.h>

#include "tests/standin/registry_state.h"
#include "tests/standin/standin_fixture.h"

namespace tarvello::testing {
namespace {

struct RegistryPlace {
    HKEY root;
    const wchar_t* classes;
    const char* label;
};

const RegistryPlace kPlaces[] = {
    {HKEY_CLASSES_ROOT, L"", "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, L"Software\\Classes\\", "HKEY_CURRENT_USER\\Software\\Classes"},
};

std::wstring ProgIdClsidPath(const RegistryPlace& p) {
    return std::wstring(p.classes) + L"Tarvello.Application\\CLSID";
}
std::wstring ClsidProgIdPath(const RegistryPlace& p) {
    return std::wstring(p.classes) + L"CLSID\\" + kStandinClsid + L"\\ProgID";
}

bool IsDisconnect(HRESULT hr) {
    return hr == RPC_E_DISCONNECTED || hr == CO_E_OBJNOTCONNECTED ||
           hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE);
}

class LifecycleTest : public StandinTest {};

TEST_F(LifecycleTest, RegistrationLastsAsLongAsTheProcess) {
    StartWithQuote();
    for (const auto& p : kPlaces) {
        EXPECT_EQ(ReadDefaultValue(p.root, ProgIdClsidPath(p)).value_or(L"(missing)"),
                  kStandinClsid)
            << p.label;
        EXPECT_EQ(ReadDefaultValue(p.root, ClsidProgIdPath(p)).value_or(L"(missing)"),
                  L"Tarvello.Application")
            << p.label;
    }
    app_.Reset();
    EXPECT_TRUE(standin_->Close());
    for (const auto& p : kPlaces) {
        EXPECT_FALSE(ReadDefaultValue(p.root, ProgIdClsidPath(p))) << p.label;
        EXPECT_FALSE(ReadDefaultValue(p.root, ClsidProgIdPath(p))) << p.label;
    }
    HRESULT hr = S_OK;
    EXPECT_FALSE(AttachToHost(&hr));
}

TEST_F(LifecycleTest, ClientsHoldingObjectsSeeADisconnectAfterClose) {
    StartWithQuote();
    auto items = Items();
    ASSERT_TRUE(items);
    EXPECT_TRUE(standin_->Close());
    HRESULT hr = Invoke(items.Get(), L"LineItemCount").hr;
    EXPECT_TRUE(IsDisconnect(hr)) << std::hex << hr;
}

TEST_F(LifecycleTest, ForeignRegistrationIsLeftAlone) {
    const std::wstring foreign = L"{0F0E0D0C-0B0A-0908-0706-050403020100}";
    for (const auto& p : kPlaces) {
        RegistryKeyGuard guard(p.root, std::wstring(p.classes) + L"Tarvello.Application", L"CLSID");
        ASSERT_TRUE(WriteDefaultValue(p.root, ProgIdClsidPath(p), foreign)) << p.label;
        std::wstring stderrText, error;
        auto code = StandinProcess::RunToExit({}, 60000, &stderrText, &error);
        ASSERT_TRUE(code) << std::string(error.begin(), error.end());
        EXPECT_EQ(*code, 3u) << p.label;
        EXPECT_NE(stderrText.find(L"already registered"), std::wstring::npos) << p.label;
        EXPECT_EQ(ReadDefaultValue(p.root, ProgIdClsidPath(p)).value_or(L"(missing)"), foreign)
            << p.label;
        for (const auto& q : kPlaces)
            EXPECT_FALSE(ReadDefaultValue(q.root, ClsidProgIdPath(q)))
                << p.label << " / " << q.label;
    }
}

TEST_F(LifecycleTest, InjectedFailuresReachTheClient) {
    StartWithQuote({L"--fail-call", L"2:0x80020009:2", L"--fail-call", L"5:0x80004005"});
    auto items = Items();
    ASSERT_TRUE(items);
    std::vector<CallResult> results;
    for (int i = 0; i < 5; ++i) results.push_back(Invoke(items.Get(), L"LineItemCount"));
    const HRESULT expected[] = {S_OK, DISP_E_EXCEPTION, DISP_E_EXCEPTION, S_OK, E_FAIL};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(results[i].hr, expected[i]) << "call " << i + 1;
    EXPECT_EQ(results[1].description, L"Injected failure");
    auto log = standin_->ReadLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.back(), L"Invoke ItemFunctions.LineItemCount() -> FAILED 0x80004005");
}

TEST_F(LifecycleTest, ExitAtCallEndsTheProcessAndTheClientSeesIt) {
    StartWithQuote({L"--exit-at-call", L"3"});
    auto items = Items();
    ASSERT_TRUE(items);
    EXPECT_EQ(Invoke(items.Get(), L"LineItemCount").hr, S_OK);
    EXPECT_EQ(Invoke(items.Get(), L"LineItemCount").hr, S_OK);
    HRESULT hr = Invoke(items.Get(), L"LineItemCount").hr;
    EXPECT_TRUE(IsDisconnect(hr)) << std::hex << hr;
    EXPECT_EQ(standin_->WaitExit(20000), 99u);
    auto log = standin_->ReadLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), L"Invoke ItemFunctions.LineItemCount() -> TERMINATED");
}

TEST_F(LifecycleTest, BadCommandLinesAreRefused) {
    const std::vector<std::wstring> cases[] = {
        {L"--no-such-option", L"1"},
        {L"--fail-call", L"x:0x80020009"},
        {L"--quote", L"Z:\\no\\such\\quote.csv"},
        {L"--active-document", L"0"},  // no document loaded
    };
    for (const auto& args : cases) {
        std::wstring stderrText, error;
        auto code = StandinProcess::RunToExit(args, 60000, &stderrText, &error);
        ASSERT_TRUE(code) << std::string(error.begin(), error.end());
        EXPECT_EQ(*code, 2u) << std::string(args[0].begin(), args[0].end());
        EXPECT_FALSE(stderrText.empty());
    }
}

}  // namespace
}  // namespace tarvello::testing
