// The stand-in as a process: its registration comes and goes with it, it leaves a foreign
// registration alone, and injected failures and crashes look to a client as they would with
// a real host.

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

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

// The two keys the stand-in writes in each place, as parent and child.
struct RegistryEntry {
    std::wstring parent, child;
    std::wstring Path(const RegistryPlace& p) const { return p.classes + parent + L"\\" + child; }
};

const RegistryEntry kEntries[] = {
    {L"Tarvello.Application", L"CLSID"},
    {std::wstring(L"CLSID\\") + kStandinClsid, L"ProgID"},
};

// A foreign value in any single place, the machine-wide one included (on Windows the merged
// view hides it once a per-user key exists), stops the stand-in before it writes anything.
TEST_F(LifecycleTest, ForeignRegistrationIsLeftAlone) {
    const RegistryPlace checked[] = {
        kPlaces[0],
        kPlaces[1],
        {HKEY_LOCAL_MACHINE, L"Software\\Classes\\", "HKEY_LOCAL_MACHINE\\Software\\Classes"},
    };
    const wchar_t* const foreign[] = {L"{0F0E0D0C-0B0A-0908-0706-050403020100}",
                                      L"Other.Application"};
    for (const auto& p : checked) {
        for (size_t e = 0; e < std::size(kEntries); ++e) {
            const RegistryEntry& entry = kEntries[e];
            const std::string label = std::string(p.label) + " entry " + std::to_string(e);
            RegistryKeyGuard guard(p.root, p.classes + entry.parent, entry.child);
            ASSERT_TRUE(WriteDefaultValue(p.root, entry.Path(p), foreign[e])) << label;
            std::wstring stderrText, error;
            auto code = StandinProcess::RunToExit({}, 60000, &stderrText, &error);
            ASSERT_TRUE(code) << std::string(error.begin(), error.end());
            EXPECT_EQ(*code, 3u) << label;
            EXPECT_NE(stderrText.find(L"already registered"), std::wstring::npos) << label;
            EXPECT_EQ(ReadDefaultValue(p.root, entry.Path(p)).value_or(L"(missing)"), foreign[e])
                << label;
            // Nothing of the stand-in's own was written anywhere.
            const RegistryEntry& other = kEntries[1 - e];
            for (const auto& q : kPlaces)
                EXPECT_FALSE(ReadDefaultValue(q.root, other.Path(q))) << label << " / " << q.label;
        }
    }
}

// A stand-in that was terminated leaves its entries behind; the next one takes them as its
// own and leaves nothing when it closes.
TEST_F(LifecycleTest, LeftoversOfAnAbruptEndAreReusedAndRemoved) {
    std::vector<std::unique_ptr<RegistryKeyGuard>> guards;
    std::vector<bool> parentExisted;
    for (const auto& p : kPlaces)
        for (const auto& entry : kEntries) {
            guards.push_back(
                std::make_unique<RegistryKeyGuard>(p.root, p.classes + entry.parent, entry.child));
            parentExisted.push_back(KeyExists(p.root, p.classes + entry.parent));
        }

    StartWithQuote({L"--exit-at-call", L"1"});
    auto items = Items();
    ASSERT_TRUE(items);
    HRESULT hr = Invoke(items.Get(), L"LineItemCount").hr;
    EXPECT_TRUE(IsDisconnect(hr)) << std::hex << hr;
    ASSERT_EQ(standin_->WaitExit(20000), 99u);
    items.Reset();
    app_.Reset();
    for (const auto& p : kPlaces)
        ASSERT_EQ(ReadDefaultValue(p.root, kEntries[0].Path(p)).value_or(L"(missing)"),
                  kStandinClsid)
            << p.label << ": the terminated stand-in left no entry, nothing to test";

    StartWithQuote();
    app_.Reset();
    ASSERT_TRUE(standin_->Close());
    size_t i = 0;
    for (const auto& p : kPlaces)
        for (const auto& entry : kEntries) {
            std::string label =
                std::string(p.label) + " " + std::string(entry.parent.begin(), entry.parent.end());
            EXPECT_FALSE(KeyExists(p.root, entry.Path(p))) << label;
            if (!parentExisted[i++]) {
                EXPECT_FALSE(KeyExists(p.root, p.classes + entry.parent)) << label;
            }
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
