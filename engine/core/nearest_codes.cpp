#include "engine/core/nearest_codes.h"

#include <algorithm>
#include <cmath>

#include "format/base/check.h"

namespace velmora {

namespace {

constexpr size_t npos = std::string_view::npos;

}  // namespace

NearestCodes::NearestCodes(const CodeAutomaton& backward, const std::vector<char>& tracked)
    : top_(backward.firstKept(tracked)), first_(tracked.size(), npos), last_(tracked.size(), npos) {
    // The tree of tracked codes, each under the first tracked code it begins with.
    std::vector<std::vector<int>> children(tracked.size());
    std::vector<int> roots;
    for (size_t c = 0; c < tracked.size(); ++c) {
        if (!tracked[c]) continue;
        const int shorter = backward.shorter(static_cast<int>(c));
        const int parent = shorter >= 0 ? top_[static_cast<size_t>(shorter)] : -1;
        (parent >= 0 ? children[static_cast<size_t>(parent)] : roots).push_back(static_cast<int>(c));
    }
    // Depth first without recursion: a code's slot, then its subtree's.
    size_t slots = 0;
    std::vector<std::pair<int, size_t>> stack;  // code, next child
    for (int root : roots) {
        stack.emplace_back(root, 0);
        first_[static_cast<size_t>(root)] = slots++;
        while (!stack.empty()) {
            auto& [code, next] = stack.back();
            const std::vector<int>& kids = children[static_cast<size_t>(code)];
            if (next < kids.size()) {
                const int child = kids[next++];
                first_[static_cast<size_t>(child)] = slots++;
                stack.emplace_back(child, 0);
            } else {
                last_[static_cast<size_t>(code)] = slots - 1;
                stack.pop_back();
            }
        }
    }
    block_ = std::max<size_t>(1, static_cast<size_t>(std::sqrt(static_cast<double>(slots))));
    at_.assign(slots, npos);
    stamp_.assign(slots, 0);
    blockAt_.assign(slots / block_ + 1, npos);
    blockStamp_.assign(blockAt_.size(), 0);
}

void NearestCodes::clear() {
    if (++record_ == 0) {
        std::fill(stamp_.begin(), stamp_.end(), 0);
        std::fill(blockStamp_.begin(), blockStamp_.end(), 0);
        record_ = 1;
    }
}

void NearestCodes::begins(int longest, size_t at) {
    VELMORA_ASSERT(longest >= 0 && static_cast<size_t>(longest) < top_.size());
    const int code = top_[static_cast<size_t>(longest)];
    if (code < 0) return;
    // Places only go down: the newest is the nearest, in its slot and its block.
    const size_t slot = first_[static_cast<size_t>(code)], block = slot / block_;
    at_[slot] = at;
    stamp_[slot] = record_;
    blockAt_[block] = at;
    blockStamp_[block] = record_;
}

size_t NearestCodes::nearest(int code, uint64_t& work) const {
    // Only a tracked code has a run of slots.
    VELMORA_ASSERT(code >= 0 && static_cast<size_t>(code) < first_.size() && first_[static_cast<size_t>(code)] != npos);
    size_t slot = first_[static_cast<size_t>(code)];
    const size_t last = last_[static_cast<size_t>(code)];
    size_t nearest = npos;
    while (slot <= last) {
        ++work;
        if (slot % block_ == 0 && slot + block_ - 1 <= last) {
            nearest = std::min(nearest, blockValue(slot / block_));
            slot += block_;
        } else {
            nearest = std::min(nearest, value(slot++));
        }
    }
    return nearest;
}

}  // namespace velmora
