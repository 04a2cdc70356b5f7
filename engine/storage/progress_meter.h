#pragma once
// Progress on the console about once a second, in the engine's stable
// progress line (engine/core/progress_line.h).
#include <chrono>
#include <cstdint>
#include <ostream>

namespace velmora {

class ProgressMeter {
public:
    ProgressMeter(std::ostream* console, uint64_t totalBytes)
        : console_(console), totalBytes_(totalBytes), start_(Clock::now()), last_(start_) {}

    // Cheap to call per record: it looks at the clock every few hundred calls.
    void update(uint64_t bytes, uint64_t records) {
        if (!console_ || ++calls_ % 256 != 0) return;
        Clock::time_point now = Clock::now();
        if (now - last_ < std::chrono::seconds(1)) return;
        last_ = now;
        print(bytes, records);
    }

    double seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

private:
    using Clock = std::chrono::steady_clock;
    void print(uint64_t bytes, uint64_t records);

    std::ostream* console_;
    uint64_t totalBytes_;
    Clock::time_point start_, last_;
    uint64_t calls_ = 0;
};

}  // namespace velmora
