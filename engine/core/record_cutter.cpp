#include "engine/core/record_cutter.h"

#include <algorithm>
#include <cstring>

#include "engine/core/find_bytes.h"
#include "format/base/check.h"

namespace velmora {

namespace {

std::string tooLong(uint64_t length, size_t limit) {
    return "record of " + std::to_string(length) + " bytes is longer than the limit of " + std::to_string(limit) +
           " bytes";
}

std::string shortLast(uint64_t length, size_t recordLength) {
    return "short last record: " + std::to_string(length) + " of " + std::to_string(recordLength) + " bytes";
}

}  // namespace

RecordCutter::RecordCutter(ByteSource& source, size_t recordLength, std::string separator, RecordLimits limits)
    : source_(source), recordLength_(recordLength), separator_(std::move(separator)), limits_(limits) {
    if (limits_.readSize == 0) limits_.readSize = 1;
    size_t held =
        recordLength_ > 0 ? std::min(recordLength_, limits_.largestRecord) : limits_.largestRecord + separator_.size();
    capacity_ = held + limits_.readSize;
    // Left uninitialised: only the pages that reads touch count against memory.
    buffer_.reset(new char[capacity_]);
}

bool RecordCutter::refill() {
    if (atEnd_) return false;
    // Moving the short unconsumed tail to the front once a read's worth is
    // used keeps the touched part of the buffer, and so memory, small.
    if (begin_ > 0 && (begin_ >= limits_.readSize || capacity_ - end_ < limits_.readSize)) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        base_ += begin_;
        end_ -= begin_;
        scan_ -= std::min(scan_, begin_);
        begin_ = 0;
    }
    size_t room = std::min(capacity_ - end_, limits_.readSize);
    size_t got = room > 0 ? source_.read(buffer_.get() + end_, room) : 0;
    if (got == 0) {
        atEnd_ = true;
        return false;
    }
    end_ += got;
    VELMORA_ASSERT(end_ <= capacity_);
    bytesRead_ += got;
    return true;
}

size_t RecordCutter::findSeparator(size_t from) const {
    if (from >= end_) return end_;
    const size_t at = findBytes(std::string_view(buffer_.get() + from, end_ - from), separator_);
    return at == std::string_view::npos ? end_ : from + at;
}

bool RecordCutter::next(CutRecord& record) {
    record.bytes = {};
    record.rejection.clear();
    return recordLength_ > 0 ? nextFixed(record) : nextSeparated(record);
}

bool RecordCutter::nextFixed(CutRecord& record) {
    const size_t n = recordLength_;
    if (n > limits_.largestRecord) {
        // Every record is too long: pass over its bytes without holding them.
        uint64_t skipped = 0;
        while (skipped < n) {
            if (begin_ == end_ && !refill()) break;
            size_t take = static_cast<size_t>(std::min<uint64_t>(end_ - begin_, n - skipped));
            if (skipped == 0) record.offset = base_ + begin_;
            begin_ += take;
            skipped += take;
        }
        if (skipped == 0) return false;
        record.number = ++count_;
        record.length = skipped;
        record.rejection = skipped < n ? shortLast(skipped, n) : tooLong(n, limits_.largestRecord);
        return true;
    }
    while (end_ - begin_ < n && refill()) {
    }
    if (begin_ == end_) return false;
    record.number = ++count_;
    record.offset = base_ + begin_;
    if (end_ - begin_ < n) {
        record.length = end_ - begin_;
        record.rejection = shortLast(record.length, n);
        begin_ = end_;
        return true;
    }
    record.length = n;
    VELMORA_ASSERT(begin_ + n <= end_);
    record.bytes = std::string_view(buffer_.get() + begin_, n);
    begin_ += n;
    return true;
}

bool RecordCutter::nextSeparated(CutRecord& record) {
    const size_t sep = separator_.size();
    for (;;) {
        size_t at = findSeparator(std::max(scan_, begin_));
        if (at != end_) {
            VELMORA_ASSERT(begin_ <= at && at + sep <= end_);
            size_t length = at - begin_;
            uint64_t offset = base_ + begin_;
            const char* start = buffer_.get() + begin_;
            begin_ = scan_ = at + sep;
            if (length == 0) continue;
            record.number = ++count_;
            record.offset = offset;
            record.length = length;
            if (length > limits_.largestRecord)
                record.rejection = tooLong(length, limits_.largestRecord);
            else
                record.bytes = std::string_view(start, length);
            return true;
        }
        // The tail may hold the first bytes of a separator.
        scan_ = std::max(begin_, end_ >= sep - 1 ? end_ - (sep - 1) : 0);
        if (end_ - begin_ > limits_.largestRecord + sep - 1) {
            skipOversized(record);
            return true;
        }
        if (!refill()) {
            if (begin_ == end_) return false;
            record.number = ++count_;
            record.offset = base_ + begin_;
            record.length = end_ - begin_;
            if (record.length > limits_.largestRecord) {
                record.rejection = tooLong(record.length, limits_.largestRecord);
            } else {
                record.bytes = std::string_view(buffer_.get() + begin_, end_ - begin_);
            }
            begin_ = scan_ = end_;
            return true;
        }
    }
}

void RecordCutter::skipOversized(CutRecord& record) {
    const size_t sep = separator_.size();
    record.number = ++count_;
    record.offset = base_ + begin_;
    uint64_t length = 0;
    for (;;) {
        size_t at = findSeparator(std::max(scan_, begin_));
        if (at != end_) {
            length += at - begin_;
            begin_ = scan_ = at + sep;
            break;
        }
        // Keep only what may start a separator; the rest is passed over.
        size_t keep = std::min(end_ - begin_, sep - 1);
        length += end_ - begin_ - keep;
        begin_ = end_ - keep;
        scan_ = begin_;
        if (!refill()) {
            length += end_ - begin_;
            begin_ = scan_ = end_;
            break;
        }
    }
    record.length = length;
    record.rejection = tooLong(length, limits_.largestRecord);
}

}  // namespace velmora
