#pragma once
// The engine's work on a data stream, record by record: each record cut,
// its fields located, and the outcome handed to a sink. The parse stores
// what it is handed in the database; the preview shows it. Both see the
// same records, numbers, offsets, rejections and fields.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "format/config/engine_configuration.h"
#include "engine/core/byte_source.h"
#include "engine/core/field_locator.h"
#include "engine/core/record_columns.h"
#include "engine/core/record_cutter.h"

namespace velmora {

class RecordSink {
public:
    virtual ~RecordSink() = default;
    // A record whose fields were all located. False stops the pipeline.
    virtual bool parsed(const CutRecord& record, const LocatedFields& fields) = 0;
    // A record set aside: `field` is the index of the field at fault, or -1
    // when the record as a whole was (too long, a short last record, values
    // too large to store).
    virtual bool rejected(const CutRecord& record, int field, const std::string& reason) = 0;
    // The bytes of the records handed over so far are about to be reused: a
    // sink that held on to them lets go now. False stops the pipeline.
    virtual bool letGo() { return true; }
};

class RecordPipeline {
public:
    RecordPipeline(ByteSource& source, const EngineConfiguration& config, RecordLimits limits = {});

    // Cuts the next record and hands it to `sink`. False at the end of the
    // stream, or when the sink refused it (stopped() then tells).
    bool next(RecordSink& sink);

    bool stopped() const { return stopped_; }
    // Once `*stop` is set, even the record being searched is given up
    // within a few thousand bytes and the pipeline stops.
    void setStop(const std::atomic<bool>* stop) {
        stop_ = stop;
        locator_.setStop(stop);
    }
    uint64_t bytesRead() const { return cutter_.bytesRead(); }
    uint64_t recordsParsed() const { return parsed_; }
    uint64_t recordsRejected() const { return rejected_; }
    // The number of the last record cut, 0 before the first.
    uint64_t lastRecordNumber() const { return record_.number; }

private:
    bool mayOutgrow(uint64_t recordLength) const;

    const EngineConfiguration& config_;
    RecordLimits limits_;
    RecordCutter cutter_;
    FieldLocator locator_;
    std::vector<RecordColumn> columns_;
    CutRecord record_;
    LocatedFields located_;
    uint64_t parsed_ = 0, rejected_ = 0;
    bool stopped_ = false;
    const std::atomic<bool>* stop_ = nullptr;
};

}  // namespace velmora
