#pragma once
// A test apartment on the test's thread and a fake host served from another apartment.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/com_host_application.h"
#include "host/com_raii.h"
#include "tests/host/fake_server_thread.h"

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

// Both sequences in full, for a readable failure.
inline std::string Lines(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += "    ";
        for (wchar_t c : line) text += c < 128 ? static_cast<char>(c) : '?';
        text += "\n";
    }
    return text;
}

#define EXPECT_SAME_LINES(expected, actual)                          \
    EXPECT_TRUE((expected) == (actual))                              \
        << "expected:\n"                                             \
        << ::tarvello::host::testing::Lines(expected) << "actual:\n" \
        << ::tarvello::host::testing::Lines(actual)

}  // namespace tarvello::host::testing
