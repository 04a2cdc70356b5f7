#pragma once
// One stored record as the "Record N" window shows it: a row per stored
// field and track, and what the engine decoded of it: each BER-TLV object
// under its field and its enclosing object, and each FIR part.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "src/results/results_database.h"

namespace velmora {

struct RecordFieldRow {
    std::string name, type, length, value;  // as shown, in the program's code page
};

struct DecodedItem {
    int parent = -1;  // the index of the item it sits under; -1 at the top
    std::string text;
};

struct RecordDetail {
    std::int64_t record = 0;  // the engine's record number
    std::vector<RecordFieldRow> fields;
    std::vector<DecodedItem> decoded;  // each after the item it sits under
};

// A record may hold millions of objects; the window shows this many.
constexpr std::size_t kDecodedItemsShown = 10000;

// The record in row `row` of the Records tab; nothing when it cannot be
// read (the database keeps the failure).
std::optional<RecordDetail> readRecordDetail(ResultsDatabase& database, std::uint64_t row);
// The record in row `row` of the Rejected tab: its number alone, since the
// engine stores nothing of a rejected record's fields.
std::optional<RecordDetail> readRejectedDetail(ResultsDatabase& database, std::uint64_t row);

}  // namespace velmora
