#include "engine/core/code_sweep.h"

#include <algorithm>

#include "engine/core/find_bytes.h"
#include "format/base/check.h"

namespace velmora {

namespace {

constexpr size_t npos = std::string_view::npos;
// How many bytes a search reads between two looks at the stop.
constexpr size_t kStopCheck = 1u << 16;
// How far ahead a code is looked for alone before a pass looks for all.
constexpr size_t kNear = 256;

}  // namespace

CodeSweep::CodeSweep(const std::vector<std::string_view>& codes)
    : forward_(codes, false),
      backward_(codes, true),
      codes_(codes),
      seenIn_(codes.size(), 0),
      seenAt_(codes.size(), npos),
      last_(codes.size(), npos) {}

uint64_t CodeSweep::bytesFor(const std::vector<std::string_view>& codes) {
    return 2 * CodeAutomaton::bytesFor(codes) + codes.size() * (3 * sizeof(size_t) + sizeof(uint32_t));
}

void CodeSweep::begin(std::string_view record, const std::atomic<bool>* stop) {
    record_ = record;
    stop_ = stop;
    lastKnown_ = false;
    restart(0);
}

void CodeSweep::restart(size_t from) {
    if (++pass_ == 0) {
        // Passes are told apart by number; after four billion, start afresh.
        std::fill(seenIn_.begin(), seenIn_.end(), 0);
        pass_ = 1;
    }
    from_ = at_ = from;
    state_ = CodeAutomaton::kStart;
}

// Reads on until `code` is seen or the record ends. A code seen at a byte
// means every shorter code it ends with was seen there or before, so the
// matches need only be followed to the first code seen already.
void CodeSweep::readUntilSeen(size_t code) {
    const size_t started = at_;
    size_t check = at_;
    while (!seen(code) && at_ < record_.size()) {
        if (at_ >= check) {
            if (halted()) return;
            check = at_ + kStopCheck;
        }
        // Bytes that begin no code are passed over at memchr's pace.
        if (state_ == CodeAutomaton::kStart && (at_ = forward_.nextStart(record_, at_)) == record_.size()) break;
        state_ = forward_.step(state_, static_cast<unsigned char>(record_[at_++]));
        forward_.matches(state_, [&](int found) {
            const size_t f = static_cast<size_t>(found);
            ++work_;
            if (seen(f)) return false;
            seenIn_[f] = pass_;
            seenAt_[f] = at_ - codes_[f].size();
            return true;
        });
    }
    work_ += at_ - started;
    if (!seen(code) && !lastKnown_) findLastOccurrences();
}

// The last occurrence of every code, in one pass backward that stops once
// all are known: the first one met there is the last one.
void CodeSweep::findLastOccurrences() {
    std::fill(last_.begin(), last_.end(), npos);
    size_t left = last_.size(), at = record_.size();
    int state = CodeAutomaton::kStart;
    while (at > 0 && left > 0) {
        if ((record_.size() - at) % kStopCheck == 0 && halted()) return;
        state = backward_.step(state, static_cast<unsigned char>(record_[--at]));
        backward_.matches(state, [&](int found) {
            const size_t f = static_cast<size_t>(found);
            ++work_;
            if (last_[f] != npos) return false;
            last_[f] = at;
            --left;
            return true;
        });
    }
    work_ += record_.size() - at;
    lastKnown_ = true;
}

size_t CodeSweep::find(int code, size_t from) {
    VELMORA_ASSERT(code >= 0 && static_cast<size_t>(code) < codes_.size());
    const size_t c = static_cast<size_t>(code);
    if (from >= record_.size() || (lastKnown_ && (last_[c] == npos || last_[c] < from))) return npos;
    if (from >= from_ && seen(c) && seenAt_[c] >= from) return seenAt_[c];
    // Near, where the cursor will move to it: the cost is the cursor's.
    const size_t window = std::min(record_.size() - from, kNear + codes_[c].size() - 1);
    const size_t near = findBytes(record_.substr(from, window), codes_[c]);
    work_ += near == npos ? window : near + codes_[c].size();
    if (near != npos) return from + near;
    // The pass answers for every place from its start: with the code's
    // first occurrence when it is not before `from`, or by reading on when
    // it has not been seen and `from` is within what it has read.
    if (from < from_ || (seen(c) ? seenAt_[c] < from : from > at_)) restart(from);
    readUntilSeen(c);
    if (seen(c) && seenAt_[c] < from) {
        // It began before `from`, in bytes the pass had read before it was asked.
        restart(from);
        readUntilSeen(c);
    }
    return seen(c) && !halted() ? seenAt_[c] : npos;
}

}  // namespace velmora
