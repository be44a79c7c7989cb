#include "tests/host/fake_server_thread.h"

#include <stdexcept>

namespace tarvello::host::testing {
namespace {

constexpr UINT kRunWork = WM_APP + 1;

struct Work {
    const std::function<void()>* work;
    HANDLE done;
};

// Waits for `handle` while letting COM deliver calls into this apartment.
void WaitFor(HANDLE handle) {
    DWORD index = 0;
    CoWaitForMultipleHandles(0, 30000, 1, &handle, &index);
}

}  // namespace

FakeServerThread::FakeServerThread() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this] { Serve(); });
    WaitFor(ready_);
    if (threadId_ == 0) throw std::runtime_error("the fake host's thread did not start");
}

FakeServerThread::~FakeServerThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    CloseHandle(ready_);
}

void FakeServerThread::Serve() {
    ComApartment apartment;
    host_ = std::make_unique<FakeHost>();
    MSG message;
    // Makes the thread's message queue before anyone posts to it.
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    threadId_ = GetCurrentThreadId();
    SetEvent(ready_);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == kRunWork) {
            auto* work = reinterpret_cast<Work*>(message.lParam);
            (*work->work)();
            SetEvent(work->done);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoDisconnectObject(host_->application(), 0);
    host_.reset();
}

void FakeServerThread::RunOnServer(const std::function<void()>& work) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Work item{&work, done};
    PostThreadMessageW(threadId_, kRunWork, 0, reinterpret_cast<LPARAM>(&item));
    WaitFor(done);
    CloseHandle(done);
}

ComPtr<IDispatch> FakeServerThread::Connect() {
    IStream* stream = nullptr;
    RunOnServer([&] {
        CoMarshalInterThreadInterfaceInStream(IID_IDispatch, host_->application(), &stream);
    });
    ComPtr<IDispatch> proxy;
    if (stream == nullptr ||
        FAILED(CoGetInterfaceAndReleaseStream(stream, IID_PPV_ARGS(proxy.GetAddressOf())))) {
        throw std::runtime_error("could not reach the fake host");
    }
    return proxy;
}

}  // namespace tarvello::host::testing
