#include "engine/core/code_automaton.h"

#include <algorithm>
#include <numeric>

namespace velmora {

namespace {

// A code's byte `k`, read from its end when reversed.
unsigned char byteOf(std::string_view code, size_t k, bool reversed) {
    return static_cast<unsigned char>(reversed ? code[code.size() - 1 - k] : code[k]);
}

}  // namespace

uint64_t CodeAutomaton::bytesFor(const std::vector<std::string_view>& codes) {
    // A node and its edge per byte of code, at worst; per code its place
    // in the sorted order, its node, its shorter code and its runs in two
    // levels of the trie while it is built.
    uint64_t bytes = 0;
    for (std::string_view code : codes) bytes += code.size();
    return (bytes + 1) * (sizeof(Node) + sizeof(std::pair<unsigned char, int>)) + codes.size() * 9 * sizeof(int);
}

CodeAutomaton::CodeAutomaton(const std::vector<std::string_view>& codes, bool reversed) {
    // The trie level by level from the codes in sorted order: the codes that
    // share a node's path are a run of that order, and a node's children
    // are made one after another, so its edges lie together, sorted, and
    // the nodes come out breadth first. No map per node: a code of millions
    // of bytes costs its nodes and nothing more.
    std::vector<uint32_t> order(codes.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const std::string_view x = codes[a], y = codes[b];
        for (size_t k = 0; k < x.size() && k < y.size(); ++k) {
            const unsigned char p = byteOf(x, k, reversed), q = byteOf(y, k, reversed);
            if (p != q) return p < q;
        }
        return x.size() < y.size();
    });
    struct Run {
        int node;
        uint32_t first, last;  // of `order`
    };
    std::vector<Run> level{{kStart, 0, static_cast<uint32_t>(codes.size())}}, next;
    std::vector<int> codeNode(codes.size(), kStart);
    size_t bytes = 0;
    for (std::string_view code : codes) bytes += code.size();
    nodes_.reserve(bytes + 1);
    edges_.reserve(bytes);
    nodes_.resize(1);
    for (size_t depth = 0; !level.empty(); ++depth) {
        next.clear();
        for (const Run& run : level) {
            uint32_t i = run.first;
            // A code as long as the path ends here; it sorts before the longer ones.
            if (i < run.last && codes[order[i]].size() == depth) {
                nodes_[static_cast<size_t>(run.node)].code = static_cast<int>(order[i]);
                codeNode[order[i]] = run.node;
                ++i;
            }
            nodes_[static_cast<size_t>(run.node)].firstEdge = static_cast<uint32_t>(edges_.size());
            while (i < run.last) {
                const unsigned char byte = byteOf(codes[order[i]], depth, reversed);
                uint32_t j = i + 1;
                while (j < run.last && byteOf(codes[order[j]], depth, reversed) == byte) ++j;
                const int child = static_cast<int>(nodes_.size());
                nodes_.emplace_back();
                edges_.emplace_back(byte, child);
                next.push_back({child, i, j});
                i = j;
            }
            Node& node = nodes_[static_cast<size_t>(run.node)];
            node.edges = static_cast<uint32_t>(edges_.size()) - node.firstEdge;
        }
        std::swap(level, next);
    }

    // Fail links breadth first, that is in the nodes' order: a node's fail
    // is the longest proper suffix of its path that is also a path from the
    // start, and lies nearer the start than the node.
    startNext_.fill(kStart);
    const Node& root = nodes_[kStart];
    for (uint32_t e = root.firstEdge; e < root.firstEdge + root.edges; ++e)
        startNext_[edges_[e].first] = edges_[e].second;
    firstBytes_ = static_cast<int>(root.edges);
    if (firstBytes_ == 1) onlyFirst_ = edges_[root.firstEdge].first;
    for (size_t parent = 1; parent < nodes_.size(); ++parent) {
        const Node p = nodes_[parent];
        for (uint32_t e = p.firstEdge; e < p.firstEdge + p.edges; ++e) {
            const auto [byte, node] = edges_[e];
            int fail = p.fail;
            int to = -1;
            while (to < 0) {
                to = fail == kStart ? startNext_[byte] : child(fail, byte);
                if (to < 0) fail = nodes_[static_cast<size_t>(fail)].fail;
            }
            Node& n = nodes_[static_cast<size_t>(node)];
            n.fail = to;
            const Node& f = nodes_[static_cast<size_t>(to)];
            n.match = f.code >= 0 ? to : f.match;
        }
    }
    shorter_.resize(codes.size());
    for (size_t c = 0; c < codes.size(); ++c) {
        const int match = nodes_[static_cast<size_t>(codeNode[c])].match;
        shorter_[c] = match >= 0 ? nodes_[static_cast<size_t>(match)].code : -1;
    }
}

std::vector<int> CodeAutomaton::firstKept(const std::vector<char>& kept) const {
    std::vector<int> first(shorter_.size(), -1);
    // Breadth first, a shorter code's node comes before the longer one's.
    for (const Node& node : nodes_) {
        if (node.code < 0) continue;
        const size_t c = static_cast<size_t>(node.code);
        first[c] = kept[c] ? node.code : shorter_[c] >= 0 ? first[static_cast<size_t>(shorter_[c])] : -1;
    }
    return first;
}

int CodeAutomaton::child(int state, unsigned char byte) const {
    const Node& n = nodes_[static_cast<size_t>(state)];
    auto first = edges_.begin() + static_cast<long>(n.firstEdge), last = first + static_cast<long>(n.edges);
    auto it = std::lower_bound(first, last, byte,
                               [](const std::pair<unsigned char, int>& e, unsigned char b) { return e.first < b; });
    return it != last && it->first == byte ? it->second : -1;
}

}  // namespace velmora
