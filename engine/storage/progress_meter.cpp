#include "engine/storage/progress_meter.h"

#include <cstdio>

namespace velmora {

void ProgressMeter::print(uint64_t bytes, uint64_t records, Clock::time_point now) {
    double elapsed = std::chrono::duration<double>(now - start_).count();
    double mib = static_cast<double>(bytes) / (1024.0 * 1024.0);
    char line[160];
    std::snprintf(line, sizeof line, "%.1f MiB, %llu records, %.1f MiB/s", mib,
                  static_cast<unsigned long long>(records), elapsed > 0 ? mib / elapsed : 0.0);
    *console_ << line << std::endl;
}

}  // namespace velmora
