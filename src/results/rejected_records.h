#pragma once
// Where the run's rejected records lie in its data file, in record order,
// each up to where the next record begins: with its record separator and
// any empty records the engine skipped after it, so that the records saved
// cut again as they did. The last reaches the end of the file.
#include <cstdint>
#include <vector>

#include "format/base/file_stamp.h"
#include "src/results/results_database.h"

namespace velmora {

class RejectedRecords {
public:
    RejectedRecords(ResultsDatabase& database, std::uint64_t dataSize);

    // Up to `rows` more records' ranges into `ranges` (cleared first); true
    // when the last one is given. A failure to read is the database's
    // takeReadFailure().
    bool step(std::uint64_t rows, std::vector<ByteRange>& ranges);
    std::uint64_t done() const { return done_; }
    std::uint64_t total() const { return total_; }

private:
    // Where record `number` begins when the records table holds it.
    std::optional<std::uint64_t> storedRecordAt(std::int64_t number);

    ResultsDatabase& database_;
    std::uint64_t dataSize_;
    std::uint64_t done_ = 0, total_ = 0;
    std::optional<std::int64_t> lastRowid_;
    // A row read but not yet given: its end waits for the next row.
    struct Pending {
        std::int64_t number = 0;
        std::uint64_t offset = 0, length = 0;
    };
    std::optional<Pending> pending_;
};

}  // namespace velmora
