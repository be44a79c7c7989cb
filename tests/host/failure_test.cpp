// How failed calls reach the pass: what the host said, whether it is gone, and a busy host
// called again for a bounded time.

#include <gtest/gtest.h>

#include <atomic>

#include "engine/numbers/errors.h"
#include "tests/host/host_fixture.h"

namespace tarvello::host::testing {
namespace {

using HostFailures = HostFixture;

HRESULT FillDescriptionLater(EXCEPINFO* exception) {
    exception->bstrDescription = SysAllocString(L"Row 7 is not in the document");
    exception->scode = DISP_E_BADINDEX;
    return S_OK;
}

struct ExceptionCase {
    const char* name;
    bool deferred;
    bool sameApartment;
};

class HostExceptions : public HostFixture, public ::testing::WithParamInterface<ExceptionCase> {};

TEST_P(HostExceptions, CarryTheHostsDescription) {
    const bool deferred = GetParam().deferred;
    const FakeHandler raise = [deferred](const FakeInvocation&, VARIANT*, EXCEPINFO* exception) {
        if (exception == nullptr) return E_UNEXPECTED;
        exception->bstrSource = SysAllocString(L"Tarvello");
        if (deferred) {
            exception->pfnDeferredFillIn = FillDescriptionLater;
        } else {
            FillDescriptionLater(exception);
        }
        return DISP_E_EXCEPTION;
    };
    FakeHost local;
    std::unique_ptr<ComHostApplication> host;
    if (GetParam().sameApartment) {
        local.SetHandler(raise);
        host = std::make_unique<ComHostApplication>(local.application(), ComHostOptions{});
    } else {
        fake().SetHandler(raise);
        host = Attach();
    }
    std::int16_t row = 7;
    try {
        host->LineItemGetValue(row, u"UnitPrice");
        FAIL() << "no failure";
    } catch (const HostError& error) {
        EXPECT_EQ(static_cast<std::int32_t>(DISP_E_EXCEPTION), error.code());
        EXPECT_EQ(u"Row 7 is not in the document", error.description());
        EXPECT_FALSE(error.disconnected());
        EXPECT_NE(std::string::npos, std::string(error.what()).find("LineItemGetValue"))
            << error.what();
        EXPECT_NE(std::string::npos, std::string(error.what()).find("Row 7 is not in the document"))
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, HostExceptions,
                         ::testing::Values(ExceptionCase{"Filled", false, false},
                                           ExceptionCase{"FilledInThisApartment", false, true},
                                           ExceptionCase{"DeferredInThisApartment", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostFailures, AFillInLeftForLaterAcrossApartmentsIsNeverCalledHere) {
    // The server's side of COM owns a deferred fill-in; what the field holds on this side is
    // no address of this process.
    fake().SetHandler([](const FakeInvocation&, VARIANT*, EXCEPINFO* exception) {
        exception->pfnDeferredFillIn = FillDescriptionLater;
        return DISP_E_EXCEPTION;
    });
    auto host = Attach();
    try {
        host->LineItemCount();
        FAIL() << "no failure";
    } catch (const HostError& error) {
        EXPECT_EQ(static_cast<std::int32_t>(DISP_E_EXCEPTION), error.code());
    }
}

struct CodeCase {
    const char* name;
    HRESULT code;
    bool gone;
};

class HostCodes : public HostFixture, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(HostCodes, MarkAGoneHostAsDisconnected) {
    const HRESULT code = GetParam().code;
    fake().SetHandler([code](const FakeInvocation&, VARIANT*, EXCEPINFO*) { return code; });
    auto host = Attach();
    try {
        host->LineItemCount();
        FAIL() << "no failure";
    } catch (const HostError& error) {
        EXPECT_EQ(static_cast<std::int32_t>(code), error.code());
        EXPECT_EQ(GetParam().gone, error.disconnected());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, HostCodes,
    ::testing::Values(CodeCase{"Disconnected", RPC_E_DISCONNECTED, true},
                      CodeCase{"ServerUnavailable", HRESULT(0x800706BA), true},
                      CodeCase{"CallFailed", HRESULT(0x800706BE), true},
                      CodeCase{"UnknownInterface", HRESULT(0x800706B5), true},
                      CodeCase{"ObjectNotConnected", CO_E_OBJNOTCONNECTED, true},
                      CodeCase{"ServerDied", RPC_E_SERVER_DIED, true},
                      CodeCase{"ServerDiedBeforeExecuting", RPC_E_SERVER_DIED_DNE, true},
                      CodeCase{"Refused", E_FAIL, false},
                      CodeCase{"WrongArgument", DISP_E_TYPEMISMATCH, false},
                      CodeCase{"AccessDenied", E_ACCESSDENIED, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnknownMemberCase {
    const char* name;
    bool numberFromEarlierCall;  // else asked for just now, on this object
    HRESULT answer;              // what Invoke answers
    SCODE exceptionCode;         // the EXCEPINFO's scode with DISP_E_EXCEPTION
    bool askedAgain;
};

class AnsweredNumbers : public HostFixture,
                        public ::testing::WithParamInterface<UnknownMemberCase> {};

TEST_P(AnsweredNumbers, AreAskedForOnceMoreOnlyWhenTheObjectDoesNotKnowAnEarlierNumber) {
    const UnknownMemberCase& answer = GetParam();
    std::atomic<int> counts{0};
    fake().SetHandler([&](const FakeInvocation& call, VARIANT*, EXCEPINFO* exception) {
        if (call.operation != L"LineItemCount") return S_OK;
        if (answer.numberFromEarlierCall && ++counts == 1) return S_OK;
        if (answer.answer == DISP_E_EXCEPTION) {
            exception->bstrDescription = SysAllocString(L"Unknown field");
            exception->scode = answer.exceptionCode;
        }
        return answer.answer;
    });
    auto host = Attach();
    host->LineItemGetActiveRow();
    if (answer.numberFromEarlierCall) host->LineItemCount();
    fake().ClearLog();
    try {
        host->LineItemCount();
        FAIL() << "no failure";
    } catch (const HostError& error) {
        EXPECT_EQ(static_cast<std::int32_t>(answer.answer), error.code());
    }
    const std::wstring lookUp = LR"(GetIDsOfNames ItemFunctions "LineItemCount")";
    const std::wstring call = LR"(Invoke ItemFunctions.LineItemCount() [method|get])";
    std::vector<std::wstring> expected = {LR"(Invoke Application.ItemFunctions [method|get])"};
    if (!answer.numberFromEarlierCall) expected.push_back(lookUp);
    expected.push_back(call);
    if (answer.askedAgain) expected.insert(expected.end(), {lookUp, call});
    EXPECT_SAME_LINES(expected, fake().Log());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnsweredNumbers,
    ::testing::Values(UnknownMemberCase{"MemberNotFound", true, DISP_E_MEMBERNOTFOUND, 0, true},
                      UnknownMemberCase{"UnknownName", true, DISP_E_UNKNOWNNAME, 0, true},
                      UnknownMemberCase{"MemberNotFoundForANumberJustAskedFor", false,
                                        DISP_E_MEMBERNOTFOUND, 0, false},
                      UnknownMemberCase{"HostsOwnMemberNotFound", true, DISP_E_EXCEPTION,
                                        DISP_E_MEMBERNOTFOUND, false},
                      UnknownMemberCase{"Refused", true, E_FAIL, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostFailures, AnObjectCutOffByItsServerIsAGoneHost) {
    fake().SetHandler([](const FakeInvocation&, VARIANT* result, EXCEPINFO*) {
        V_VT(result) = VT_I4;
        V_I4(result) = 4;
        return S_OK;
    });
    auto host = Attach();
    EXPECT_EQ(Variant::Int32(4), host->LineItemCount());
    server_.RunOnServer([&] {
        CoDisconnectObject(fake().application(), 0);
        CoDisconnectObject(&fake().itemFunctions(), 0);
    });
    try {
        host->LineItemCount();
        FAIL() << "no failure";
    } catch (const HostError& error) {
        EXPECT_TRUE(error.disconnected()) << error.what();
    }
}

TEST_F(HostFailures, ABusyHostIsCalledAgainUntilItAnswers) {
    std::atomic<int> attempts{0};
    fake().SetHandler([&attempts](const FakeInvocation&, VARIANT* result, EXCEPINFO*) {
        if (++attempts <= 3) return RPC_E_SERVERCALL_RETRYLATER;
        V_VT(result) = VT_I4;
        V_I4(result) = 9;
        return S_OK;
    });
    auto host = Attach();
    EXPECT_EQ(Variant::Int32(9), host->LineItemCount());
    EXPECT_EQ(4, attempts.load());
}

TEST_F(HostFailures, AHostThatStaysBusyFailsAfterTheRetryTime) {
    std::atomic<int> attempts{0};
    fake().SetHandler([&attempts](const FakeInvocation&, VARIANT*, EXCEPINFO*) {
        ++attempts;
        return RPC_E_CALL_REJECTED;
    });
    auto host = Attach(200);
    try {
        host->LineItemCount();
        FAIL() << "no failure";
    } catch (const HostError& error) {
        EXPECT_EQ(static_cast<std::int32_t>(RPC_E_CALL_REJECTED), error.code());
        EXPECT_FALSE(error.disconnected());
        EXPECT_TRUE(error.busy()) << "words a busy host apart from a failed call";
    }
    EXPECT_GT(attempts.load(), 1);
}

}  // namespace
}  // namespace tarvello::host::testing

namespace tarvello::host::testing {
namespace {

// A message filter of the program's own, which the link must put back after the Round.
class OwnFilter final : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }
};

ComPtr<IMessageFilter> CurrentFilter() {
    ComPtr<IMessageFilter> current;
    CoRegisterMessageFilter(nullptr, current.GetAddressOf());
    ComPtr<IMessageFilter> none;
    CoRegisterMessageFilter(current.Get(), none.GetAddressOf());
    return current;
}

TEST_F(HostFailures, DuringARoundAFilterRetriesRejectedCallsForTheRetryTimeOnly) {
    OwnFilter own;
    ComPtr<IMessageFilter> before;
    ASSERT_EQ(S_OK, CoRegisterMessageFilter(&own, before.GetAddressOf()));
    {
        auto host = Attach(300);
        ComPtr<IMessageFilter> during = CurrentFilter();
        ASSERT_NE(nullptr, during.Get());
        ASSERT_NE(static_cast<IMessageFilter*>(&own), during.Get());
        const DWORD giveUp = static_cast<DWORD>(-1);
        EXPECT_NE(giveUp, during->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER));
        EXPECT_GT(1000u, during->RetryRejectedCall(nullptr, 299, SERVERCALL_RETRYLATER));
        EXPECT_EQ(giveUp, during->RetryRejectedCall(nullptr, 300, SERVERCALL_RETRYLATER));
        EXPECT_EQ(giveUp, during->RetryRejectedCall(nullptr, 300, SERVERCALL_REJECTED));
    }
    EXPECT_EQ(static_cast<IMessageFilter*>(&own), CurrentFilter().Get());
    ComPtr<IMessageFilter> ignored;
    CoRegisterMessageFilter(before.Get(), ignored.GetAddressOf());
}

}  // namespace
}  // namespace tarvello::host::testing
