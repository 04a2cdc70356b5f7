#pragma once
// A file flushed to the disk over and over, on a thread of its own, while it
// is being written. Written out but not flushed, 250 MB of new database still
// cost the one flush after the commit 0.15-0.25 s here (the disk underneath
// takes it all at once); flushed every 50 ms on the way, that flush still
// took 37-51 ms; flushed again 5 ms after each flush, 7-13 ms, and the whole
// run was about 5% quicker. A flush of a file with nothing new took 39 us,
// so while nothing is written the flushes take under 1% of a core.
// What the flushes on the way report does not matter: the flush at the end
// does, and comes after this has stopped.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace velmora {

class BackgroundFlush {
public:
    // Starts flushing with `flush`, which may run on the thread at any time
    // until the destructor returns.
    explicit BackgroundFlush(std::function<void()> flush,
                             std::chrono::milliseconds pause = std::chrono::milliseconds(5));
    // Stops, after a flush under way.
    ~BackgroundFlush();
    BackgroundFlush(const BackgroundFlush&) = delete;
    BackgroundFlush& operator=(const BackgroundFlush&) = delete;

private:
    std::function<void()> flush_;
    std::chrono::milliseconds pause_;
    std::mutex mutex_;
    std::condition_variable stopping_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace velmora
