#include "engine/core/record_pipeline.h"

namespace velmora {

RecordPipeline::RecordPipeline(ByteSource& source, const EngineConfiguration& config, RecordLimits limits)
    : config_(config), cutter_(source, config.recordLength, config.separator, limits) {}

bool RecordPipeline::next(RecordSink& sink) {
    if (stopped_ || !cutter_.next(record_)) return false;
    bool accepted;
    if (!record_.rejection.empty()) {
        ++rejected_;
        accepted = sink.rejected(record_, -1, record_.rejection);
    } else if (!locateFields(record_.bytes, config_, located_)) {
        ++rejected_;
        accepted = sink.rejected(record_, located_.rejectedField, located_.rejection);
    } else {
        ++parsed_;
        accepted = sink.parsed(record_, located_);
    }
    stopped_ = !accepted;
    return accepted;
}

}  // namespace velmora
