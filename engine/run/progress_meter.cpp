#include "engine/run/progress_meter.h"

#include "engine/core/progress_line.h"

namespace velmora {

bool ProgressMeter::print(uint64_t bytes, uint64_t records) {
    // Flushed at once: the utility reads these lines through a pipe while it waits.
    *console_ << progressLine({bytes, totalBytes_, records}) << std::endl;
    return !console_->fail();
}

}  // namespace velmora
