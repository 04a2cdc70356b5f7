#include "src/results/rejected_records.h"

#include <algorithm>
#include <limits>

#include "engine/core/database_tables.h"

namespace velmora {

RejectedRecords::RejectedRecords(ResultsDatabase& database, std::uint64_t dataSize)
    : database_(database), dataSize_(dataSize), total_(database.rowCount(ResultsTab::Rejected)) {}

std::optional<std::uint64_t> RejectedRecords::storedRecordAt(std::int64_t number) {
    const std::optional<ByteRange> place = database_.recordPlace(tables::kRecords, number);
    if (!place) return std::nullopt;
    return place->offset;
}

bool RejectedRecords::step(std::uint64_t rows, std::vector<ByteRange>& ranges) {
    using namespace tables;
    ranges.clear();
    if (!database_.holds(rejectedTable())) return true;
    const std::string id = database_.rowidName(kRejected);
    // Only rows that say where they lie; a database no parse wrote may
    // hold others, which are passed over.
    Statement page(database_.connection(),
                   "SELECT " + id + ", " + kRecordNumber + ", " + kByteOffset + ", " + kLength + " FROM " + kRejected +
                       " WHERE " + id + " > ?1 AND typeof(" + kRecordNumber + ") = 'integer' AND typeof(" +
                       kByteOffset + ") = 'integer' AND typeof(" + kLength + ") = 'integer' AND " + kByteOffset +
                       " >= 0 AND " + kLength + " >= 0 ORDER BY " + id + " LIMIT ?2");
    page.bind(1, lastRowid_.value_or(std::numeric_limits<std::int64_t>::min()));
    page.bind(2, static_cast<std::int64_t>(std::min<std::uint64_t>(rows, 1u << 20)));
    auto give = [&](const Pending& p, std::optional<std::uint64_t> next) {
        const std::uint64_t end = p.offset + p.length;
        // The next record where it begins after this one; the file's end
        // after the last.
        const std::uint64_t to = std::max(end, next ? *next : dataSize_);
        ranges.push_back({p.offset, to - p.offset});
        ++done_;
    };
    std::uint64_t got = 0;
    while (page.step()) {
        ++got;
        lastRowid_ = page.integer(0);
        const Pending row{page.integer(1), static_cast<std::uint64_t>(page.integer(2)),
                          static_cast<std::uint64_t>(page.integer(3))};
        if (pending_) {
            const std::optional<std::uint64_t> next = row.number == pending_->number + 1
                                                          ? std::optional<std::uint64_t>(row.offset)
                                                          : storedRecordAt(pending_->number + 1);
            give(*pending_, next);
        }
        pending_ = row;
    }
    if (page.failed()) {
        database_.noteReadFailure();
        return true;
    }
    if (got < rows && pending_) {
        give(*pending_, storedRecordAt(pending_->number + 1));
        pending_.reset();
    }
    return got < rows;
}

}  // namespace velmora
