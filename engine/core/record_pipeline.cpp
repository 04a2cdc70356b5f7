#include "engine/core/record_pipeline.h"

namespace velmora {

RecordPipeline::RecordPipeline(ByteSource& source, const EngineConfiguration& config, RecordLimits limits)
    : config_(config),
      limits_(limits),
      cutter_(source, config.recordLength, config.separator, limits),
      locator_(config) {
    std::string unused;
    recordColumns(config, columns_, unused);
}

// No column holds more than the record, three times over in UTF-8: a
// record whose values cannot exceed the limit need not be measured.
bool RecordPipeline::mayOutgrow(uint64_t recordLength) const {
    return recordLength * 3 * (columns_.size() - kRecordOwnColumns) > limits_.largestRecord;
}

bool RecordPipeline::next(RecordSink& sink) {
    if (stopped_ || !cutter_.next(record_)) return false;
    bool accepted;
    const bool located = record_.rejection.empty() && locator_.locate(record_.bytes, located_);
    if (stop_ && stop_->load()) {
        stopped_ = true;
        return false;
    }
    if (!record_.rejection.empty()) {
        ++rejected_;
        accepted = sink.rejected(record_, -1, record_.rejection);
    } else if (!located) {
        ++rejected_;
        accepted = sink.rejected(record_, located_.rejectedField, located_.rejection);
    } else if (uint64_t stored =
                   mayOutgrow(record_.bytes.size()) ? storedBytes(record_.bytes, located_, config_, columns_) : 0;
               stored > limits_.largestRecord) {
        // Overlapping fields, track columns and text grown in UTF-8 could
        // otherwise make one row many times the record's size in memory.
        ++rejected_;
        accepted = sink.rejected(record_, -1,
                                 "the record's values would take " + std::to_string(stored) +
                                     " bytes in the database, more than the limit of " +
                                     std::to_string(limits_.largestRecord) + " bytes");
    } else {
        ++parsed_;
        accepted = sink.parsed(record_, located_);
    }
    stopped_ = !accepted;
    return accepted;
}

}  // namespace velmora
