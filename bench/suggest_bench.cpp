// Benchmark of the suggestion core (not a test): the processor time to
// suggest a configuration for 1 MiB of records of each shape it knows, and
// of random bytes, the best of several runs each. Processor time, since on
// a machine shared with other work the wall clock measures the neighbours;
// the suggestion runs on one thread, so on an idle machine the two agree.
//
//   bench/suggest_bench.sh [RUNS]      (default 5)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/suggest/suggestion.h"

namespace {

using velmora::kSuggestionSampleBytes;

std::uint64_t state = 22;
unsigned next(unsigned below) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>((state >> 33) % below);
}

std::string digits(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + next(10));
    return s;
}

// Sixteen digits passing the Luhn check.
std::string pan() {
    std::string s = "4" + digits(14);
    for (char check = '0'; check <= '9'; ++check) {
        int sum = 0;
        std::string t = s + check;
        for (std::size_t i = 0; i < t.size(); ++i) {
            int d = t[t.size() - 1 - i] - '0';
            if (i % 2) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
            sum += d;
        }
        if (sum % 10 == 0) return t;
    }
    return s + "0";
}

std::string name() {
    static const char* const names[] = {"JOHN SMITH", "ANNA LEE", "MARK TWAIN", "ZOE O NEIL", "ALEXANDRA GRAHAM"};
    return names[next(5)];
}

std::string padded(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string expiry() { return std::to_string(24 + next(8)) + (next(2) ? "0" : "1") + std::to_string(next(2)); }

std::string bytes(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>(next(256));
    return s;
}

std::string tlv(const std::string& tag, const std::string& value) {
    return tag + static_cast<char>(value.size()) + value;
}

struct Shape {
    const char* name;
    std::function<std::string()> record;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::vector<Shape> shapes = {
        {"delimited, CR LF", [] { return pan() + "," + expiry() + "," + name() + "," + digits(6) + "\r\n"; }},
        {"fixed length", [] { return pan() + padded(name(), 20) + expiry() + "A"; }},
        {"fixed columns, CR LF",
         [] { return digits(6) + " " + pan() + " " + expiry() + " " + padded(name(), 20) + "\r\n"; }},
        {"binary column", [] { return pan() + bytes(8) + padded(name(), 16); }},
        {"magnetic stripe",
         [] {
             const std::string p = pan(), e = expiry();
             return digits(6) + "|%B" + p + "^SMITH/JOHN^" + e + "101?;" + p + "=" + e + "101?|" + name() + "\r\n";
         }},
        {"BER-TLV",
         [] {
             return tlv("\x70",
                        tlv("\x5A", bytes(8)) + tlv("\x5F\x24", bytes(3)) + tlv("\x5F\x20", padded(name(), 20)));
         }},
        {"random bytes", [] { return bytes(1000); }},
        // One field a value, past what a records table holds.
        {"5,000 values a line",
         [] {
             std::string line = digits(3);
             for (int k = 1; k < 5000; ++k) line += "," + digits(3);
             return line + "\r\n";
         }},
        // Just short of it: every field passes the editor's rules.
        {"1,996 columns a line",
         [] {
             std::string line;
             for (int k = 0; k < 998; ++k) line += digits(1) + static_cast<char>('A' + next(26));
             return line + "\r\n";
         }},
    };
    std::printf("%-22s %10s  %s\n", "shape (1 MiB)", "ms", "suggested");
    for (const Shape& shape : shapes) {
        std::string sample;
        while (sample.size() < kSuggestionSampleBytes) sample += shape.record();
        sample.resize(kSuggestionSampleBytes);
        double best = 1e9;
        velmora::Suggestion s;
        for (int run = 0; run < runs; ++run) {
            const std::clock_t start = std::clock();
            s = velmora::suggestConfiguration(sample, false);
            best = std::min(best, 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        }
        std::string what = "none";
        if (s.found)
            what = (s.configuration.fixedLength.empty() ? "separator '" + s.configuration.recordSeparator + "'"
                                                        : "length " + s.configuration.fixedLength) +
                   ", " + std::to_string(s.configuration.fieldDefs.rowCount()) + " fields";
        std::printf("%-22s %10.1f  %s\n", shape.name, best, what.c_str());
    }
    return 0;
}
