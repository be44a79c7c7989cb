#include "host/com_host_link.h"

#include "host/com_host_application.h"

namespace tarvello::host {

bool ComHostLink::IsHostRunning() {
    try {
        return AttachToRunningObject(options_.progId) != nullptr;
    } catch (...) {
        return false;
    }
}

std::unique_ptr<HostApplication> ComHostLink::Attach() {
    return std::make_unique<ComHostApplication>(AttachToRunningObject(options_.progId), options_);
}

}  // namespace tarvello::host
