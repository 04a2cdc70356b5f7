#include "engine/storage/background_flush.h"

#include <system_error>

namespace velmora {

BackgroundFlush::BackgroundFlush(std::function<void()> flush, std::chrono::milliseconds pause)
    : flush_(std::move(flush)), pause_(pause) {
    try {
        thread_ = std::thread([this] {
            std::unique_lock<std::mutex> lock(mutex_);
            while (!stop_) {
                lock.unlock();
                flush_();
                lock.lock();
                stopping_.wait_for(lock, pause_, [&] { return stop_; });
            }
        });
    } catch (const std::system_error&) {
        // No thread: the flush at the end does it all.
    }
}

BackgroundFlush::~BackgroundFlush() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    stopping_.notify_all();
    if (thread_.joinable()) thread_.join();
}

}  // namespace velmora
