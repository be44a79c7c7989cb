// Reaching the host through the running object table by its registered name.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "host/com_host_link.h"
#include "host/com_raii.h"
#include "tests/host/host_fixture.h"

namespace tarvello::host::testing {
namespace {

// {3B0C6F4E-8D21-4F7A-9E55-2C61A0D4B7E9}
const CLSID kTestClsid = {
    0x3b0c6f4e, 0x8d21, 0x4f7a, {0x9e, 0x55, 0x2c, 0x61, 0xa0, 0xd4, 0xb7, 0xe9}};
const wchar_t kTestProgId[] = L"Tarvello.HostLinkTest";

// Registers the test's name for the test's duration.
class ScopedProgId {
public:
    ScopedProgId() {
        HKEY key = nullptr;
        const std::wstring path = std::wstring(kTestProgId) + L"\\CLSID";
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS) {
            wchar_t text[64];
            StringFromGUID2(kTestClsid, text, 64);
            registered_ =
                RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<BYTE*>(text),
                               static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))) ==
                ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~ScopedProgId() { RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestProgId); }
    bool registered() const { return registered_; }

private:
    bool registered_ = false;
};

class HostLinkThroughTable : public HostFixture {
protected:
    ComHostLink Link() {
        ComHostOptions options;
        options.progId = reinterpret_cast<const char16_t*>(kTestProgId);
        return ComHostLink(options);
    }
    // Puts the fake's application object in the running object table, as a running host does.
    void Run() {
        HRESULT result = E_FAIL;
        server_.RunOnServer([&] {
            // The first registration in a fresh Wine prefix can come before the RPC service.
            for (int attempt = 0; attempt < 100; ++attempt) {
                result = RegisterActiveObject(fake().application(), kTestClsid, ACTIVEOBJECT_STRONG,
                                              &cookie_);
                if (result != HRESULT(0x800706BA)) break;
                Sleep(100);
            }
        });
        ASSERT_EQ(S_OK, result);
        running_ = true;
    }
    void Stop() {
        if (running_) server_.RunOnServer([&] { RevokeActiveObject(cookie_, nullptr); });
        running_ = false;
    }
    void TearDown() override { Stop(); }

    ScopedProgId progId_;
    DWORD cookie_ = 0;
    bool running_ = false;
};

TEST_F(HostLinkThroughTable, AnUnregisteredNameIsNoRunningHost) {
    ComHostOptions options;
    options.progId = u"Tarvello.NoSuchName";
    ComHostLink link(options);
    EXPECT_FALSE(link.IsHostRunning());
    EXPECT_THROW(link.Attach(), HostError);
}

TEST_F(HostLinkThroughTable, ARegisteredNameWithNothingRunningIsNoRunningHost) {
    ASSERT_TRUE(progId_.registered());
    ComHostLink link = Link();
    EXPECT_FALSE(link.IsHostRunning());
    try {
        link.Attach();
        FAIL() << "attached to nothing";
    } catch (const HostError& error) {
        EXPECT_TRUE(error.disconnected()) << error.what();
    }
}

TEST_F(HostLinkThroughTable, ARunningHostIsFoundAndLetGo) {
    ASSERT_TRUE(progId_.registered());
    Run();
    ComHostLink link = Link();
    EXPECT_TRUE(link.IsHostRunning());
    // COM's server side keeps what it made for the first client while the object stays in the
    // table; from then on every attach must give back all it took.
    const long held = fake().OutstandingReferences();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(link.IsHostRunning());
    EXPECT_EQ(held, fake().OutstandingReferences());

    fake().SetHandler([](const FakeInvocation&, VARIANT* result, EXCEPINFO*) {
        V_VT(result) = VT_I2;
        V_I2(result) = -1;
        return S_OK;
    });
    {
        auto host = link.Attach();
        EXPECT_EQ(Variant::Int16(-1), host->GetActiveDocumentIndex());
    }
    EXPECT_EQ(held, fake().OutstandingReferences());

    Stop();
    EXPECT_FALSE(link.IsHostRunning());
}

}  // namespace
}  // namespace tarvello::host::testing

namespace tarvello::host::testing {
namespace {

// A thread that chose the other kind of apartment first cannot join the program's: the program
// must hear of it rather than go on without COM.
TEST(ComApartmentTest, AThreadThatCannotJoinTheApartmentIsTold) {
    std::string what;
    std::thread([&what] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            ComApartment apartment;
            try {
                apartment.Require();
            } catch (const std::runtime_error& e) {
                what = e.what();
            }
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(what, "COM could not be set up for this program (code 0x80010106).");
}

}  // namespace
}  // namespace tarvello::host::testing
