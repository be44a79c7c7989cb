#include "ui/price-rules-window/background_read.h"

#include <chrono>
#include <condition_variable>
#include <system_error>
#include <mutex>
#include <thread>
#include <utility>

namespace tarvello::ui {

// What the window and the reading thread share; the thread keeps it as long as it runs.
struct BackgroundRead::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    HWND window;
    UINT message;
    bool underWay = false;
    std::optional<RulesRead> done;
};

BackgroundRead::BackgroundRead(HWND window, UINT message, std::function<RulesRead()> read)
    : shared_(std::make_shared<Shared>()), read_(std::move(read)) {
    shared_->window = window;
    shared_->message = message;
}

BackgroundRead::~BackgroundRead() {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->window = nullptr;
}

void BackgroundRead::Start() {
    {
        const std::lock_guard<std::mutex> lock(shared_->mutex);
        if (shared_->underWay) return;
        shared_->underWay = true;
    }
    const auto end = [](Shared& shared, RulesRead got) {
        const std::lock_guard<std::mutex> lock(shared.mutex);
        shared.done = std::move(got);
        shared.underWay = false;
        if (shared.window) PostMessageW(shared.window, shared.message, 0, 0);
        shared.ended.notify_all();
    };
    try {
        std::thread([shared = shared_, read = read_, end] {
            RulesRead got;
            try {
                got = read();
            } catch (...) {
                got = RulesRead{std::nullopt, u"it could not be read"};
            }
            end(*shared, std::move(got));
        }).detach();
    } catch (const std::system_error&) {
        end(*shared_, RulesRead{std::nullopt, u"the system could not start a read of it"});
    }
}

void BackgroundRead::Wait(DWORD ms) {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->ended.wait_for(lock, std::chrono::milliseconds(ms),
                            [this] { return !shared_->underWay; });
}

std::optional<RulesRead> BackgroundRead::Take() {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    return std::exchange(shared_->done, std::nullopt);
}

}  // namespace tarvello::ui
