#include "engine/odbc/send_behind.h"

#include <utility>

#include "engine/run/run_interrupts.h"

namespace velmora {

SendBehind::~SendBehind() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

Status SendBehind::settle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    return failed_;
}

Status SendBehind::start(const std::function<void()>& handOver, std::function<Status()> job) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        if (!failed_) return failed_;
        handOver();
        job_ = std::move(job);
        busy_ = true;
        if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
    }
    changed_.notify_all();
    return {};
}

void SendBehind::work() {
    keepInterruptsFromThisThread();
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stop_; });
        if (!busy_) return;
        std::function<Status()> job = std::move(job_);
        lock.unlock();
        Status done = job();
        lock.lock();
        if (failed_ && !done) failed_ = std::move(done);
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace velmora
