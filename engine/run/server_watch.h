#pragma once
// While a run writes into a database server, a thread of its own hears an
// interrupt that the run cannot hear while it waits on a server that does
// not answer: it asks the driver to cancel at once and, when the run has
// still not stopped a few seconds later, ends the process as a second
// signal would. The server, never sent the commit, keeps nothing of it.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace velmora {

class ServerWatch {
public:
    // `cancel` may be called from another thread while the run waits.
    explicit ServerWatch(std::function<void()> cancel);
    ServerWatch(const ServerWatch&) = delete;
    ServerWatch& operator=(const ServerWatch&) = delete;
    // The run no longer talks to the server.
    ~ServerWatch();

private:
    void watch();
    // Waits until `flag` is set or `wait` has passed; whether it was set.
    bool waitFor(const bool& flag, std::chrono::milliseconds wait);

    std::function<void()> cancel_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false, cancelled_ = false;
    std::thread canceller_;  // a cancel may itself wait on the server
    std::thread watcher_;
};

}  // namespace velmora
