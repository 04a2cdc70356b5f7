#pragma once
// Work on a connection done on a thread of its own, one piece at a time, so
// that the run prepares the next rows while the server takes these. A
// failure stays: every later piece is refused with it.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "format/base/result.h"

namespace velmora {

class SendBehind {
public:
    SendBehind() = default;
    SendBehind(const SendBehind&) = delete;
    SendBehind& operator=(const SendBehind&) = delete;
    // After the piece under way.
    ~SendBehind();

    // Waits for the piece under way, then, unless one failed, runs
    // `handOver` here (what the job will use is given to it now, never
    // while the piece before may still use it) and starts `job`.
    Status start(const std::function<void()>& handOver, std::function<Status()> job);
    // Waits for the piece under way; the first failure, if any.
    Status settle();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<Status()> job_;
    bool busy_ = false, stop_ = false;
    Status failed_;
    std::thread thread_;
};

}  // namespace velmora
