#pragma once
// The record window's map: a stored record's bytes read again from the
// run's data file, where the database says the record lies, and cut by the
// Preview's code (the engine's cutter and locator) with the configuration
// the run used, so each field's place is the one the engine found.
#include <cstdint>
#include <string>

#include "format/base/result.h"
#include "src/editor/record_preview.h"
#include "src/results/results_database.h"
#include "src/toolkit/file_system.h"

namespace velmora {

class StoredRecordMap {
public:
    // Record `record` (the engine's number) of the run in `database`, from
    // `table` (records or rejected). Fails, saying why in the operator's
    // words, when the data file or the configuration is gone or is not the
    // one the run read.
    static Result<StoredRecordMap> read(FileSystem& files, ResultsDatabase& database, const char* table,
                                        std::int64_t record);

    // The map's source; it points into this object.
    RecordMapSource source(bool full) const { return preview_.mapSource(rows_, 0, bytes_, full); }
    // The map's field that a column of the records, by its shown name, is
    // (a track's is its magnetic-stripe field); -1 for none.
    int fieldOfColumn(const std::string& name) const;

private:
    explicit StoredRecordMap(const ParseConfiguration& config) : preview_(config) {}

    RecordPreview preview_;
    PreviewRows rows_;   // the one record
    std::string bytes_;  // the record and its separator
};

}  // namespace velmora
