#pragma once
// The host link over COM: attaches to the running "Tarvello.Application" and invokes its
// operations by name through IDispatch.

#include <memory>

#include "engine/host_application.h"

namespace tarvello::host {

class ComHostLink : public HostLink {
public:
    bool IsHostRunning() override;
    std::unique_ptr<HostApplication> Attach() override;
};

}  // namespace tarvello::host
