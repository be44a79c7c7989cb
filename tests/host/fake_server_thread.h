#pragma once
// Serves a FakeHost from a single-threaded apartment of its own, so that the link under test
// reaches it through real COM marshaling, as it reaches a host in another process.

#include <windows.h>

#include <functional>
#include <memory>
#include <thread>

#include "host/com_raii.h"
#include "tests/host/fake_host.h"

namespace tarvello::host::testing {

class FakeServerThread {
public:
    FakeServerThread();
    ~FakeServerThread();
    FakeServerThread(const FakeServerThread&) = delete;
    FakeServerThread& operator=(const FakeServerThread&) = delete;

    FakeHost& host() { return *host_; }
    // A proxy of the application object for the calling apartment.
    ComPtr<IDispatch> Connect();
    // Runs `work` on the server's thread and waits for it.
    void RunOnServer(const std::function<void()>& work);

private:
    void Serve();

    std::unique_ptr<FakeHost> host_;
    DWORD threadId_ = 0;
    HANDLE ready_;
    std::thread thread_;
};

}  // namespace tarvello::host::testing
