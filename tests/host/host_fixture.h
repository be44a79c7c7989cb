#pragma once
// A test apartment on the test's thread and a fake host served from another apartment.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/com_host_application.h"
#include "host/com_raii.h"
#include "tests/host/fake_server_thread.h"
#include "tests/host/same_lines.h"

namespace tarvello::host::testing {

class HostFixture : public ::testing::Test {
protected:
    std::unique_ptr<ComHostApplication> Attach(std::uint32_t busyRetryMilliseconds = 5000) {
        ComHostOptions options;
        options.busyRetryMilliseconds = busyRetryMilliseconds;
        return std::make_unique<ComHostApplication>(server_.Connect(), options);
    }
    FakeHost& fake() { return server_.host(); }

    ComApartment apartment_;
    FakeServerThread server_;
};

}  // namespace tarvello::host::testing
