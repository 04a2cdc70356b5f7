#pragma once
// Backward over a record, for some of a backward automaton's codes: the
// nearest place at or after the byte reached where each of them begins.
//
// The automaton names at each byte only the longest code beginning there;
// the others beginning there with it are the codes it begins with. So a
// code begins at every place where it, or a longer code beginning with it,
// is the longest; those codes form its subtree in the tree that hangs each
// code under the longest code it begins with. Numbered depth first, every
// subtree is a run of numbers, and a run's nearest place is read from blocks
// of about the square root of the codes' number. A byte costs the same
// whatever the number of codes; a question at most twice that root.
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/core/code_automaton.h"

namespace velmora {

class NearestCodes {
public:
    NearestCodes() = default;
    // `tracked[code]` marks the codes asked about.
    NearestCodes(const CodeAutomaton& backward, const std::vector<char>& tracked);

    // A new record.
    void clear();
    // The longest code beginning at `at`, places going down one by one.
    void begins(int longest, size_t at);
    // The nearest place so far where the tracked `code` begins, or npos;
    // `work` counts the slots and blocks looked at.
    size_t nearest(int code, uint64_t& work) const;

private:
    size_t value(size_t slot) const { return stamp_[slot] == record_ ? at_[slot] : std::string_view::npos; }
    size_t blockValue(size_t block) const {
        return blockStamp_[block] == record_ ? blockAt_[block] : std::string_view::npos;
    }

    std::vector<int> top_;         // per code: the first tracked code from it down, or -1
    std::vector<size_t> first_;    // per tracked code: its slot, the first of its subtree's run
    std::vector<size_t> last_;     // per tracked code: the last slot of that run
    std::vector<size_t> at_;       // per slot: the nearest place
    std::vector<uint32_t> stamp_;  // per slot: the record it was set for
    std::vector<size_t> blockAt_;  // per block of slots: the nearest place in it
    std::vector<uint32_t> blockStamp_;
    size_t block_ = 1;
    uint32_t record_ = 0;
};

}  // namespace velmora
