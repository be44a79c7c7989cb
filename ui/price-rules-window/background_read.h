#pragma once
// The organisation's price rules read off the window's thread: a file on a share that has gone
// away may keep a read waiting for half a minute, and the window must answer meanwhile. One read
// at a time; each one, once done, is posted to the window as a message, and taken there.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "engine/policy/organisation_rules.h"

namespace tarvello::ui {

class BackgroundRead {
public:
    // `read` runs on a thread of its own, and may outlive this object: it must hold what it
    // needs itself.
    BackgroundRead(HWND window, UINT message, std::function<RulesRead()> read);
    // A read under way goes on to its end; what it gives is dropped, and the window no longer
    // hears of it.
    ~BackgroundRead();
    BackgroundRead(const BackgroundRead&) = delete;
    BackgroundRead& operator=(const BackgroundRead&) = delete;

    // Starts a read, unless one is under way.
    void Start();
    // Waits at most `ms` for the read under way to end.
    void Wait(DWORD ms);
    // The read that ended last, once; nothing when none ended since.
    std::optional<RulesRead> Take();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::function<RulesRead()> read_;
};

}  // namespace tarvello::ui
