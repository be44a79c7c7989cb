#pragma once
// The host link over COM: attaches to the running "Tarvello.Application" and invokes its
// operations by name through IDispatch.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/request/host_application.h"

namespace tarvello::host {

struct ComHostOptions {
    // The registered name of the host's automation object.
    std::u16string progId = u"Tarvello.Application";
    // How long a host that answers "busy" is called again before the call counts as failed.
    std::uint32_t busyRetryMilliseconds = 5000;
};

class ComHostLink : public HostLink {
public:
    ComHostLink() = default;
    explicit ComHostLink(ComHostOptions options) : options_(std::move(options)) {}

    bool IsHostRunning() override;
    std::unique_ptr<HostApplication> Attach() override;

private:
    ComHostOptions options_;
};

}  // namespace tarvello::host
