#pragma once
// Progress on the console about once a second, in the engine's stable
// progress line (engine/core/progress_line.h).
#include <chrono>
#include <cstdint>
#include <ostream>

namespace velmora {

class ProgressMeter {
public:
    ProgressMeter(std::ostream* console, uint64_t totalBytes,
                  std::chrono::milliseconds interval = std::chrono::seconds(1))
        : console_(console), totalBytes_(totalBytes), interval_(interval), start_(Clock::now()), last_(start_) {}

    // Cheap to call per record or per stored row: it looks at the clock
    // every few hundred calls, whenever another MiB has been read, and at
    // every call made while waiting (idle). False once the console is gone
    // (a closed pipe: the utility cancelled the run).
    bool update(uint64_t bytes, uint64_t records, bool idle = false) {
        if (!console_) return true;
        if (!idle && ++calls_ % 256 != 0 && bytes - lastBytes_ < (1u << 20)) return true;
        lastBytes_ = bytes;
        Clock::time_point now = Clock::now();
        if (now - last_ < interval_) return true;
        last_ = now;
        return print(bytes, records);
    }

    double seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

private:
    using Clock = std::chrono::steady_clock;
    bool print(uint64_t bytes, uint64_t records);

    std::ostream* console_;
    uint64_t totalBytes_;
    std::chrono::milliseconds interval_;
    Clock::time_point start_, last_;
    uint64_t calls_ = 0;
    uint64_t lastBytes_ = 0;
};

}  // namespace velmora
