#pragma once
// How the records of a sample are cut: at a separator that repeats with
// records of one shape, or at a fixed length where the bytes line up.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::suggest {

// The longest fixed record looked for.
constexpr std::size_t kLongestRecord = 65536;

struct RecordCut {
    bool found = false;
    std::string separator;                  // bytes; empty when records have a fixed length
    std::size_t length = 0;                 // the fixed length, or 0
    std::vector<std::string_view> records;  // whole records of the sample, as the engine cuts them
    std::size_t end = 0;                    // where the last of them ends in the sample, its separator included
    std::string reason;                     // why these records, or why none
};

// `wholeFile`: the sample is the whole file, so a last record without its
// separator is a record and not one cut short.
RecordCut findRecords(std::string_view sample, bool wholeFile);

// The records `separator` cuts the sample into, as the engine cuts them:
// empty ones skipped, a last one without the separator kept only when the
// sample is the whole file; at most `most`.
std::vector<std::string_view> cutAt(std::string_view sample, std::string_view separator, bool wholeFile,
                                    std::size_t most = static_cast<std::size_t>(-1));

}  // namespace velmora::suggest
