#pragma once
// Cuts a stream of bytes into records, by a fixed length or at a separator,
// holding at most one record (up to the size limit) and one read in memory.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/core/byte_source.h"

namespace velmora {

struct RecordLimits {
    size_t largestRecord = 16u << 20;  // 16 MiB
    size_t readSize = 1u << 20;
};

struct CutRecord {
    uint64_t number = 0;     // 1-based; empty records are skipped and get none
    uint64_t offset = 0;     // of its first byte in the stream
    uint64_t length = 0;     // without the separator
    std::string_view bytes;  // valid until the next call; empty when rejected
    std::string rejection;   // why the record was set aside, or empty
    bool ascii = false;      // known to hold no byte above 127 (false: not looked at)
};

class RecordCutter {
public:
    // `recordLength` > 0 cuts fixed-length records; otherwise `separator`
    // (not empty) ends each record.
    RecordCutter(ByteSource& source, size_t recordLength, std::string separator, RecordLimits limits = {});

    // The next record, rejected or not; false at the end of the stream.
    bool next(CutRecord& record);

    uint64_t bytesRead() const { return bytesRead_; }

private:
    bool refill();
    size_t findSeparator(size_t from) const;  // buffer index, or end_
    bool nextFixed(CutRecord& record);
    bool nextSeparated(CutRecord& record);
    void skipOversized(CutRecord& record);

    ByteSource& source_;
    size_t recordLength_;
    std::string separator_;
    RecordLimits limits_;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
    size_t begin_ = 0, end_ = 0;  // unconsumed bytes
    size_t scan_ = 0;             // no separator starts in [begin_, scan_)
    uint64_t base_ = 0;           // stream offset of buffer_[0]
    uint64_t bytesRead_ = 0;
    uint64_t count_ = 0;
    bool atEnd_ = false;
};

}  // namespace velmora
