#pragma once
// The columns of the `records` table: three of the record's own, then one
// per stored field, and one per track after a magnetic-stripe field.
#include <string>
#include <vector>

#include "config/engine_configuration.h"

namespace velmora {

struct RecordColumn {
    std::string name;  // UTF-8
    int field = -1;    // -1 for the record's own columns
    int track = -1;    // 0..2 for a track column of a MAGSTRIPE_FIELD
};

constexpr int kRecordOwnColumns = 3;  // record_number, byte_offset, length

// False with `error` set when two columns would share a name (SQLite
// compares names without regard to ASCII case).
bool recordColumns(const EngineConfiguration& config, std::vector<RecordColumn>& columns, std::string& error);

// A name as an SQL identifier: in double quotes, inner quotes doubled.
std::string quoteIdentifier(const std::string& name);

}  // namespace velmora
