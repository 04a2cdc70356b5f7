#pragma once
// Many codes searched for in one pass over a record (Aho-Corasick): the
// work is about the record's length plus the matches, whatever the number
// of codes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "format/base/check.h"

namespace velmora {

class CodeAutomaton {
public:
    CodeAutomaton() = default;
    // `codes` are distinct and not empty. Built `reversed`, it reads a text
    // from its end, and what matches at a byte is the codes that begin there.
    CodeAutomaton(const std::vector<std::string_view>& codes, bool reversed);

    // What an automaton of these codes holds at most while it is built, in
    // bytes: a configuration is refused before it would take more than it
    // may.
    static uint64_t bytesFor(const std::vector<std::string_view>& codes);

    bool empty() const { return nodes_.size() <= 1; }
    static constexpr int kStart = 0;

    // The state after reading `byte` in `state`.
    int step(int state, unsigned char byte) const {
        VELMORA_ASSERT(state >= 0 && static_cast<size_t>(state) < nodes_.size());
        for (;;) {
            if (state == kStart) return startNext_[byte];
            int next = child(state, byte);
            if (next >= 0) return next;
            state = nodes_[static_cast<size_t>(state)].fail;
        }
    }

    // In the start state, the first place at or after `from` where a code
    // may begin (a byte that begins one), or the text's end: the bytes
    // before it change nothing. One such byte is found as memchr finds it.
    size_t nextStart(std::string_view text, size_t from) const {
        if (from >= text.size()) return text.size();
        if (firstBytes_ == 1) {
            const void* at = std::memchr(text.data() + from, onlyFirst_, text.size() - from);
            return at ? static_cast<size_t>(static_cast<const char*>(at) - text.data()) : text.size();
        }
        while (from < text.size() && startNext_[static_cast<unsigned char>(text[from])] == kStart) ++from;
        return from;
    }

    // Calls `found(code)` for each code matching at the byte just read,
    // longest first, until it returns false.
    template <class Found>
    void matches(int state, Found found) const {
        for (int code = longest(state); code >= 0; code = shorter(code))
            if (!found(code)) return;
    }

    // The longest code matching at the byte just read, or -1. Every other
    // code matching there is reached from it through shorter().
    int longest(int state) const {
        VELMORA_ASSERT(state >= 0 && static_cast<size_t>(state) < nodes_.size());
        const Node& n = nodes_[static_cast<size_t>(state)];
        return n.code >= 0 ? n.code : n.match >= 0 ? nodes_[static_cast<size_t>(n.match)].code : -1;
    }
    // The next shorter code that matches wherever `code` does (the longest
    // code `code` ends with; reversed, the longest it begins with), or -1.
    int shorter(int code) const {
        VELMORA_ASSERT(code >= 0 && static_cast<size_t>(code) < shorter_.size());
        return shorter_[static_cast<size_t>(code)];
    }

    // For each code, the first code that `kept` marks on the way from it
    // through shorter() (itself when marked), or -1: what matches of the
    // marked codes alone, once the longest match is known.
    std::vector<int> firstKept(const std::vector<char>& kept) const;

private:
    struct Node {
        int fail = kStart;
        int match = -1;  // the nearest node down the fail links that ends a code
        int code = -1;   // the code this node ends, or -1
        uint32_t firstEdge = 0, edges = 0;
    };
    struct Run;
    struct Build;
    static std::vector<uint32_t> sortedOrder(const std::vector<std::string_view>& codes, bool reversed);
    void buildTrie(Build& build);
    void branch(Build& build, const Run& run, size_t depth, std::vector<Run>& next);
    void linkFailures();
    int child(int state, unsigned char byte) const;

    std::vector<Node> nodes_;
    std::vector<std::pair<unsigned char, int>> edges_;  // by node, sorted by byte
    std::vector<int> shorter_;                          // by code
    std::array<int, 256> startNext_{};
    int firstBytes_ = 0;  // how many bytes begin a code
    int onlyFirst_ = 0;   // the byte, when it is one
};

}  // namespace velmora
