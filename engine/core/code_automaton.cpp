#include "engine/core/code_automaton.h"

#include <algorithm>
#include <deque>
#include <map>

namespace velmora {

CodeAutomaton::CodeAutomaton(const std::vector<std::string_view>& codes, bool reversed) {
    // The trie first, with its edges in maps; flattened after.
    std::vector<std::map<unsigned char, int>> children(1);
    nodes_.resize(1);
    for (size_t c = 0; c < codes.size(); ++c) {
        int state = kStart;
        const std::string_view code = codes[c];
        for (size_t k = 0; k < code.size(); ++k) {
            unsigned char byte = static_cast<unsigned char>(reversed ? code[code.size() - 1 - k] : code[k]);
            auto [it, added] = children[static_cast<size_t>(state)].emplace(byte, static_cast<int>(nodes_.size()));
            if (added) {
                nodes_.emplace_back();
                children.emplace_back();
            }
            state = it->second;
        }
        nodes_[static_cast<size_t>(state)].code = static_cast<int>(c);
    }
    // Fail links breadth first: a node's fail is the longest proper suffix
    // of its path that is also a path from the start.
    startNext_.fill(kStart);
    std::deque<int> queue;
    for (auto [byte, next] : children[0]) {
        startNext_[byte] = next;
        queue.push_back(next);
    }
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        Node& node = nodes_[static_cast<size_t>(state)];
        node.edges = children[static_cast<size_t>(state)].size();
        node.firstEdge = edges_.size();
        for (auto [byte, next] : children[static_cast<size_t>(state)]) {
            edges_.emplace_back(byte, next);
            int fail = node.fail;
            while (fail != kStart && children[static_cast<size_t>(fail)].count(byte) == 0)
                fail = nodes_[static_cast<size_t>(fail)].fail;
            Node& child = nodes_[static_cast<size_t>(next)];
            child.fail = fail == kStart ? startNext_[byte] : children[static_cast<size_t>(fail)].at(byte);
            if (child.fail == next) child.fail = kStart;
            const Node& f = nodes_[static_cast<size_t>(child.fail)];
            child.match = f.code >= 0 ? child.fail : f.match;
            queue.push_back(next);
        }
    }
}

int CodeAutomaton::child(int state, unsigned char byte) const {
    const Node& n = nodes_[static_cast<size_t>(state)];
    auto first = edges_.begin() + static_cast<long>(n.firstEdge), last = first + static_cast<long>(n.edges);
    auto it = std::lower_bound(first, last, byte,
                               [](const std::pair<unsigned char, int>& e, unsigned char b) { return e.first < b; });
    return it != last && it->first == byte ? it->second : -1;
}

}  // namespace velmora
