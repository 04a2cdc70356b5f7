#include "engine/core/code_automaton.h"

#include <algorithm>
#include <numeric>

#include "format/base/check.h"

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

// A trie node's codes while the trie is built: the codes that share its
// path are a run of the sorted order.
struct CodeAutomaton::Run {
    int node;
    uint32_t first, last;  // of `order`
};

// What the trie's levels share while they are built.
struct CodeAutomaton::Build {
    const std::vector<std::string_view>& codes;
    bool reversed;
    std::vector<uint32_t> order;  // the codes, sorted by their bytes
    std::vector<int> codeNode;    // per code: the node that ends it
};

CodeAutomaton::CodeAutomaton(const std::vector<std::string_view>& codes, bool reversed) {
    Build build{codes, reversed, sortedOrder(codes, reversed), std::vector<int>(codes.size(), kStart)};
    buildTrie(build);
    linkFailures();
    shorter_.resize(codes.size());
    for (size_t c = 0; c < codes.size(); ++c) {
        const int match = nodes_[static_cast<size_t>(build.codeNode[c])].match;
        shorter_[c] = match >= 0 ? nodes_[static_cast<size_t>(match)].code : -1;
    }
}

std::vector<uint32_t> CodeAutomaton::sortedOrder(const std::vector<std::string_view>& codes, bool reversed) {
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
    return order;
}

// The trie level by level from the codes in sorted order: a node's children
// are made one after another, so its edges lie together, sorted, and the
// nodes come out breadth first. No map per node: a code of millions of
// bytes costs its nodes and nothing more.
void CodeAutomaton::buildTrie(Build& build) {
    size_t bytes = 0;
    for (std::string_view code : build.codes) bytes += code.size();
    nodes_.reserve(bytes + 1);
    edges_.reserve(bytes);
    nodes_.resize(1);
    std::vector<Run> level{{kStart, 0, static_cast<uint32_t>(build.codes.size())}}, next;
    for (size_t depth = 0; !level.empty(); ++depth) {
        next.clear();
        for (const Run& run : level) branch(build, run, depth, next);
        std::swap(level, next);
    }
}

// The node of `run` at `depth`: the code that ends there, and a child per
// byte that the longer codes go on with, each with its run.
void CodeAutomaton::branch(Build& build, const Run& run, size_t depth, std::vector<Run>& next) {
    const std::vector<std::string_view>& codes = build.codes;
    const std::vector<uint32_t>& order = build.order;
    uint32_t i = run.first;
    // A code as long as the path ends here; it sorts before the longer ones.
    if (i < run.last && codes[order[i]].size() == depth) {
        VELMORA_ASSERT(depth > 0);  // codes are not empty
        nodes_[static_cast<size_t>(run.node)].code = static_cast<int>(order[i]);
        build.codeNode[order[i]] = run.node;
        ++i;
        VELMORA_ASSERT(i == run.last || codes[order[i]].size() > depth);  // codes are distinct
    }
    nodes_[static_cast<size_t>(run.node)].firstEdge = static_cast<uint32_t>(edges_.size());
    while (i < run.last) {
        const unsigned char byte = byteOf(codes[order[i]], depth, build.reversed);
        uint32_t j = i + 1;
        while (j < run.last && byteOf(codes[order[j]], depth, build.reversed) == byte) ++j;
        const int child = static_cast<int>(nodes_.size());
        nodes_.emplace_back();
        edges_.emplace_back(byte, child);
        next.push_back({child, i, j});
        i = j;
    }
    Node& node = nodes_[static_cast<size_t>(run.node)];
    node.edges = static_cast<uint32_t>(edges_.size()) - node.firstEdge;
}

// Fail links breadth first, that is in the nodes' order: a node's fail is
// the longest proper suffix of its path that is also a path from the start,
// and lies nearer the start than the node.
void CodeAutomaton::linkFailures() {
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
            VELMORA_ASSERT(to < node);  // nearer the start
            Node& n = nodes_[static_cast<size_t>(node)];
            n.fail = to;
            const Node& f = nodes_[static_cast<size_t>(to)];
            n.match = f.code >= 0 ? to : f.match;
        }
    }
}

std::vector<int> CodeAutomaton::firstKept(const std::vector<char>& kept) const {
    VELMORA_ASSERT(kept.size() == shorter_.size());
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
