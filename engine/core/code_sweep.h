#pragma once
// Fields in order search for their codes from a cursor that moves forward
// through the record. One pass forward, with every code at once, notes
// where each code first begins after the place the pass started from, and
// reads on only as far as the code asked for needs. A code asked for from a
// place beyond its noted occurrence, or from before the pass's start, starts
// a new pass there. A pass stops at what it was asked for and the cursor
// moves past it, so while the cursor moves forward nothing is read twice:
// a record costs about its length whatever the number of codes. (A start
// position behind the cursor takes the cursor back, and what follows it is
// read again.) Once a pass has read to the record's end for a code that is
// not there, one pass backward notes where each code last begins, so that
// no later question reads to the end for nothing. A code a few hundred
// bytes ahead, as in most records, is first looked for alone, at memchr's
// pace.
#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/core/code_automaton.h"

namespace velmora {

class CodeSweep {
public:
    CodeSweep() = default;
    // `codes` are distinct and not empty.
    explicit CodeSweep(const std::vector<std::string_view>& codes);

    // What a sweep of these codes holds at most, in bytes.
    static uint64_t bytesFor(const std::vector<std::string_view>& codes);

    // A new record. Once `*stop` is set, the searches stop within a few
    // thousand bytes and find nothing more.
    void begin(std::string_view record, const std::atomic<bool>* stop);

    // Where the first occurrence of `code` at or after `from` begins, or npos.
    size_t find(int code, size_t from);

    // The bytes read and the matches followed, over all records so far.
    uint64_t work() const { return work_; }

private:
    void restart(size_t from);
    void readUntilSeen(size_t code);
    void findLastOccurrences();
    bool seen(size_t code) const { return seenIn_[code] == pass_; }
    bool halted() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    CodeAutomaton forward_, backward_;
    std::vector<std::string_view> codes_;
    std::vector<uint32_t> seenIn_;  // per code: the pass that saw it
    std::vector<size_t> seenAt_;    // per code: where it first begins in that pass
    std::vector<size_t> last_;      // per code: where it last begins, once known
    bool lastKnown_ = false;

    std::string_view record_;
    const std::atomic<bool>* stop_ = nullptr;
    uint32_t pass_ = 0;
    size_t from_ = 0, at_ = 0;  // the pass began at from_ and has read up to at_
    int state_ = CodeAutomaton::kStart;
    uint64_t work_ = 0;
};

}  // namespace velmora
