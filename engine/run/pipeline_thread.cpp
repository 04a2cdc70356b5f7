#include "engine/run/pipeline_thread.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <string>

#include "engine/core/text/cp1252.h"
#include "engine/run/run_interrupts.h"

namespace velmora {

namespace {

// A batch holds about this much of copied records; a record longer than
// kInPlace comes over in place instead. A quarter MiB rather than a whole
// one: the batches (and their slices, as large again) then pass between the
// cores from nearer caches; on 200 MB the run was 7-9% quicker, round for
// round, and 64 KiB no quicker again.
constexpr size_t kBatchBytes = 256u << 10;
// The first batches are smaller, so that storing starts while the pipeline's
// memory is still being touched for the first time (slow in a VM: the
// first MiB took 30 ms, a later one about 2).
constexpr size_t kFirstBatchBytes = 64u << 10;
constexpr size_t kInPlace = 64u << 10;
constexpr size_t kBatchSlices = 1u << 16;
constexpr int kBatches = 3;

}  // namespace

// Each on cache lines of its own: the pipeline fills one batch while the
// sink reads another.
struct alignas(64) PipelineThread::Batch {
    struct Entry {
        uint64_t number, offset, length;
        size_t bytesAt, bytesLength, slicesAt;
        bool parsed;
        bool ascii;     // its bytes were looked at: none is above 127
        int field;      // of a rejection: the field at fault, or -1
        size_t reason;  // of a rejection: its place in reasons
    };
    std::string bytes;
    std::vector<FieldSlice> slices;
    std::vector<Entry> entries;
    std::vector<std::string> reasons;  // apart: most records have none
    std::string_view inPlace;          // a large record, still in the pipeline's buffer
    bool end = false;                  // the pipeline is done

    void clear() {
        bytes.clear();
        slices.clear();
        entries.clear();
        reasons.clear();
        inPlace = {};
        end = false;
    }
};

namespace {

// The data as the pipeline thread reads it: stops when asked, counts.
class StoppableSource : public ByteSource {
public:
    StoppableSource(ByteSource& source, const std::atomic<bool>& stop, std::atomic<uint64_t>& bytes)
        : source_(source), stop_(stop), bytes_(bytes) {}
    size_t read(char* buffer, size_t size) override {
        if (stop_) return 0;
        size_t got = source_.read(buffer, size);
        bytes_ += got;
        return got;
    }
    bool failed() const override { return source_.failed(); }

private:
    ByteSource& source_;
    const std::atomic<bool>& stop_;
    std::atomic<uint64_t>& bytes_;
};

}  // namespace

PipelineThread::PipelineThread(ByteSource& source, const EngineConfiguration& config, RecordLimits limits)
    : source_(source), config_(config), limits_(limits) {
    for (int k = 0; k < kBatches; ++k) {
        batches_.push_back(std::make_unique<Batch>());
        free_.push_back(batches_.back().get());
    }
}

PipelineThread::~PipelineThread() {
    {
        // Under the lock, so that a pipeline about to wait sees it.
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

PipelineThread::Batch* PipelineThread::take(std::deque<Batch*>& from, bool wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    // The pipeline waits for a free batch only until the run stops: the
    // other side may have gone.
    if (wait)
        changed_.wait(lock, [&] { return !from.empty() || stop_; });
    else
        changed_.wait_for(lock, std::chrono::milliseconds(200), [&] { return !from.empty(); });
    if (from.empty()) return nullptr;
    Batch* batch = from.front();
    from.pop_front();
    return batch;
}

void PipelineThread::give(std::deque<Batch*>& to, Batch* batch) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        to.push_back(batch);
    }
    changed_.notify_all();
}

void PipelineThread::produce() {
    keepInterruptsFromThisThread();
    try {
        produceRecords();
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;
        stop_ = true;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    changed_.notify_all();
}

// Collects records into the batch at hand and hands it over when full.
class PipelineThread::Handoff : public RecordSink {
public:
    explicit Handoff(PipelineThread& owner) : owner_(owner) { next(); }

    bool parsed(const CutRecord& record, const LocatedFields& fields) override {
        return add(record, &fields, -1, std::string());
    }
    bool rejected(const CutRecord& record, int field, const std::string& reason) override {
        return add(record, nullptr, field, reason);
    }
    // Hands over what is collected and then the end.
    void finish() {
        flush();
        batch_->end = true;
        if (batch_ != &spare_) owner_.give(owner_.full_, batch_);
    }

private:
    bool add(const CutRecord& record, const LocatedFields* fields, int field, const std::string& reason) {
        const bool inPlace = record.bytes.size() > kInPlace;
        if (inPlace) flush();
        place(record, fields, field, reason, inPlace);
        if (inPlace) {
            handOverInPlace();
        } else if (batch_->bytes.size() >= batchBytes_ || batch_->slices.size() >= kBatchSlices) {
            flush();
            batchBytes_ = std::min(kBatchBytes, batchBytes_ * 4);
        }
        return !owner_.stop_;
    }
    // The record's entry, its bytes (or, in place, where they are) and its
    // slices or rejection.
    void place(const CutRecord& record, const LocatedFields* fields, int field, const std::string& reason,
               bool inPlace) {
        // Set field by field in its place: built whole and copied in, it
        // stalled the processor as a narrow store read back wide.
        Batch::Entry& entry = batch_->entries.emplace_back();
        entry.number = record.number;
        entry.offset = record.offset;
        entry.length = record.length;
        entry.bytesAt = batch_->bytes.size();
        entry.bytesLength = record.bytes.size();
        entry.slicesAt = batch_->slices.size();
        entry.parsed = fields != nullptr;
        // Looked at here, beside the copy, rather than by the storing thread.
        entry.ascii = !inPlace && isAscii(record.bytes);
        entry.field = field;
        entry.reason = batch_->reasons.size();
        if (!fields) batch_->reasons.push_back(reason);
        if (inPlace)
            batch_->inPlace = record.bytes;
        else
            batch_->bytes.append(record.bytes.data(), record.bytes.size());
        if (fields) batch_->slices.insert(batch_->slices.end(), fields->slices.begin(), fields->slices.end());
    }
    // The record lives in the pipeline's buffer until it is stored.
    void handOverInPlace() {
        Batch* sent = batch_;
        flush();
        std::unique_lock<std::mutex> lock(owner_.mutex_);
        owner_.changed_.wait(lock, [&] {
            return owner_.stop_ || std::find(owner_.free_.begin(), owner_.free_.end(), sent) != owner_.free_.end();
        });
    }
    void flush() {
        if (batch_->entries.empty()) return;
        if (batch_ != &spare_) owner_.give(owner_.full_, batch_);
        next();
    }
    // A free batch; once the run stops, one that goes nowhere.
    void next() {
        batch_ = owner_.take(owner_.free_, true);
        if (!batch_) batch_ = &spare_;
        batch_->clear();
    }

    PipelineThread& owner_;
    Batch* batch_ = nullptr;
    Batch spare_;
    size_t batchBytes_ = kFirstBatchBytes;
};

void PipelineThread::produceRecords() {
    StoppableSource source(source_, stop_, bytesRead_);
    RecordPipeline pipeline(source, config_, limits_);
    pipeline.setStop(&stop_);
    Handoff handoff(*this);
    while (!stop_ && pipeline.next(handoff)) {
    }
    handoff.finish();
}

void PipelineThread::run(RecordSink& sink, const std::function<bool(bool idle)>& keepGoing) {
    thread_ = std::thread([this] { produce(); });
    CutRecord record;
    LocatedFields located;
    const size_t fields = config_.fields.size();
    for (;;) {
        Batch* batch = take(full_, false);
        if (!batch) {
            if (done_) break;
            // The pipeline is reading or searching: progress and a stop still show.
            if (!stopped_ && !keepGoing(true)) stopped_ = stop_ = true;
            changed_.notify_all();
            continue;
        }
        if (batch->end) break;
        for (const Batch::Entry& e : batch->entries) {
            if (stopped_) break;
            record.number = e.number;
            record.offset = e.offset;
            record.length = e.length;
            record.ascii = e.ascii;
            record.bytes = batch->inPlace.empty() ? std::string_view(batch->bytes.data() + e.bytesAt, e.bytesLength)
                                                  : batch->inPlace;
            bool going;
            if (e.parsed) {
                located.slices.assign(batch->slices.begin() + static_cast<long>(e.slicesAt),
                                      batch->slices.begin() + static_cast<long>(e.slicesAt + fields));
                going = sink.parsed(record, located);
                ++parsed_;
            } else {
                const std::string& reason = batch->reasons[e.reason];
                record.rejection = e.field < 0 ? reason : std::string();
                going = sink.rejected(record, e.field, reason);
                ++rejected_;
            }
            if (!going || !keepGoing(false)) stopped_ = stop_ = true;
        }
        // The sink is done with the batch's records before they go back.
        if (!stopped_ && !sink.letGo()) stopped_ = stop_ = true;
        batch->clear();
        give(free_, batch);
    }
    thread_.join();
}

}  // namespace velmora
