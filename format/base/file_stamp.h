#pragma once
// A file as a run saw it: its size and last-write time. The engine records
// them with the run; the utility reads the data file again only when both
// still agree, so that what it shows or saves are the run's own bytes.
#include <cstdint>
#include <string>

namespace velmora {

struct FileStamp {
    std::uint64_t size = 0;
    std::string modified;  // lastWriteText's form
    bool operator==(const FileStamp& o) const { return size == o.size && modified == o.modified; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// Bytes of a file: `length` of them from `offset`.
struct ByteRange {
    std::uint64_t offset = 0, length = 0;
    bool operator==(const ByteRange& o) const { return offset == o.offset && length == o.length; }
};

// A last-write time given in 100-nanosecond ticks since 1601-01-01 UTC (a
// Windows FILETIME, the finest both systems keep), as
// "YYYY-MM-DDTHH:MM:SS.fffffffZ".
std::string lastWriteText(std::uint64_t ticksSince1601);

// The same from POSIX seconds and nanoseconds since 1970.
std::string lastWriteText(std::int64_t secondsSince1970, long nanoseconds);

}  // namespace velmora
