#include "engine/run/server_watch.h"

#include <utility>

#include "engine/run/run_interrupts.h"

namespace velmora {

namespace {

constexpr std::chrono::milliseconds kLook(50);
// As long as the utility's Cancel gives the engine before it ends it.
constexpr std::chrono::milliseconds kGrace(3000);

}  // namespace

ServerWatch::ServerWatch(std::function<void()> cancel) : cancel_(std::move(cancel)), watcher_([this] { watch(); }) {}

ServerWatch::~ServerWatch() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    changed_.notify_all();
    watcher_.join();
    if (!canceller_.joinable()) return;
    // The run stopped, but its cancel still waits on the server: the
    // connection it cancels is about to go.
    if (!waitFor(cancelled_, kGrace)) endStuckRun();
    canceller_.join();
}

bool ServerWatch::waitFor(const bool& flag, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, wait, [&flag] { return flag; });
}

void ServerWatch::watch() {
    keepInterruptsFromThisThread();
    while (!waitFor(done_, kLook))
        if (interrupted()) break;
    if (waitFor(done_, std::chrono::milliseconds(0))) return;
    canceller_ = std::thread([this] {
        cancel_();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            cancelled_ = true;
        }
        changed_.notify_all();
    });
    if (!waitFor(done_, kGrace)) endStuckRun();
}

}  // namespace velmora
