#pragma once
// The record pipeline on a thread of its own, handing what it finds to a
// sink on the calling thread, so that reading, cutting and locating the next
// records overlaps with storing these. Records come over in batches of
// copies, a quarter MiB or so at a time; a large record comes over in place,
// the pipeline waiting until it is stored. Memory stays about one record and
// three batches; the sink, and everything it touches (SQLite), stays on the
// calling thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/core/record_pipeline.h"

namespace velmora {

class PipelineThread {
public:
    struct Batch;

    PipelineThread(ByteSource& source, const EngineConfiguration& config, RecordLimits limits);
    ~PipelineThread();
    PipelineThread(const PipelineThread&) = delete;
    PipelineThread& operator=(const PipelineThread&) = delete;

    // Hands every record to `sink` until the end of the stream or until the
    // sink or `keepGoing` says stop. `keepGoing` is asked after each record
    // and, while the pipeline is busy reading or searching (idle: true),
    // every fraction of a second; a stop then reaches even the record being
    // searched.
    void run(RecordSink& sink, const std::function<bool(bool idle)>& keepGoing);

    // Also while it runs: what the pipeline has read and handed over.
    uint64_t bytesRead() const { return bytesRead_.load(); }
    uint64_t recordsParsed() const { return parsed_; }
    uint64_t recordsRejected() const { return rejected_; }
    // Whether the sink or keepGoing stopped it.
    bool stopped() const { return stopped_; }
    // Whether the pipeline ran out of memory (and so stopped).
    bool outOfMemory() const { return outOfMemory_; }

private:
    class Handoff;
    void produce();
    void produceRecords();
    Batch* take(std::deque<Batch*>& from, bool wait);
    void give(std::deque<Batch*>& to, Batch* batch);

    ByteSource& source_;
    const EngineConfiguration& config_;
    RecordLimits limits_;
    std::vector<std::unique_ptr<Batch>> batches_;
    std::deque<Batch*> free_, full_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};  // the pipeline has handed over all it will
    std::atomic<bool> outOfMemory_{false};
    std::atomic<uint64_t> bytesRead_{0};
    // Counted on the calling thread record by record: on a cache line apart
    // from stop_, which the pipeline's thread reads record by record.
    alignas(64) uint64_t parsed_ = 0, rejected_ = 0;
    bool stopped_ = false;
    std::thread thread_;
};

}  // namespace velmora
