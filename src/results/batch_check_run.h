#pragma once
// The batch checks over a parse's database: which columns hold the card
// number, the expiry and track 2 (found by their names or their first
// rows), then every record with its chip's number and expiry, a slice of
// rows at a time, so that a long run can show its progress and be stopped.
// The database is only read.
#include <cstdint>
#include <optional>
#include <vector>

#include "src/results/batch_checks.h"
#include "src/results/results_database.h"

namespace velmora {

class BatchCheckRun {
public:
    explicit BatchCheckRun(ResultsDatabase& database);

    // Checks up to `rows` more records; true when every record is checked
    // (or the read failed: the database's read failure tells).
    bool step(std::uint64_t rows);
    std::uint64_t looked() const { return looked_; }
    std::uint64_t total() const { return total_; }
    std::vector<Finding> findings() { return checks_->findings(); }

private:
    void findColumns(const std::vector<std::vector<std::string>>& sample);
    void readChip(std::int64_t record, CheckedRecord& checked);

    ResultsDatabase& database_;
    std::vector<int> cardColumns_, trackColumns_;
    std::optional<int> expiryColumn_;
    std::optional<BatchChecks> checks_;
    Statement rows_, chip_;
    bool chipPending_ = false;  // chip_ holds a row not yet taken
    std::uint64_t looked_ = 0, total_ = 0;
};

}  // namespace velmora
