#pragma once
// Many codes searched for in one pass over a record (Aho-Corasick): the
// work is about the record's length plus the matches, whatever the number
// of codes.
#include <array>
#include <string_view>
#include <vector>

namespace velmora {

class CodeAutomaton {
public:
    CodeAutomaton() = default;
    // `codes` are distinct and not empty. Built `reversed`, it reads a text
    // from its end, and what matches at a byte is the codes that begin there.
    CodeAutomaton(const std::vector<std::string_view>& codes, bool reversed);

    bool empty() const { return nodes_.size() <= 1; }
    static constexpr int kStart = 0;

    // The state after reading `byte` in `state`.
    int step(int state, unsigned char byte) const {
        for (;;) {
            if (state == kStart) return startNext_[byte];
            int next = child(state, byte);
            if (next >= 0) return next;
            state = nodes_[static_cast<size_t>(state)].fail;
        }
    }

    // Calls `found(code)` for each code matching at the byte just read,
    // longest first, until it returns false.
    template <class Found>
    void matches(int state, Found found) const {
        const Node& n = nodes_[static_cast<size_t>(state)];
        for (int s = n.code >= 0 ? state : n.match; s > kStart; s = nodes_[static_cast<size_t>(s)].match)
            if (!found(nodes_[static_cast<size_t>(s)].code)) return;
    }

private:
    struct Node {
        int fail = kStart;
        int match = -1;  // the nearest node down the fail links that ends a code
        int code = -1;   // the code this node ends, or -1
        size_t firstEdge = 0, edges = 0;
    };
    int child(int state, unsigned char byte) const;

    std::vector<Node> nodes_;
    std::vector<std::pair<unsigned char, int>> edges_;  // by node, sorted by byte
    std::array<int, 256> startNext_{};
};

}  // namespace velmora
