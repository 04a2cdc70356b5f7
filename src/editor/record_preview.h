#pragma once
// What the Preview dialog shows: a configuration, as Save would write it
// and the engine would read it, cutting the start of a sample data file
// with the engine's own cutter and locator. Rows, columns and values are
// the ones a parse stores.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/config/engine_configuration.h"
#include "format/config/parse_configuration.h"
#include "engine/core/field_locator.h"
#include "engine/core/record_columns.h"
#include "src/viewer/record_map.h"
#include "src/results/shown_value.h"

namespace velmora {

struct PreviewLimits {
    std::size_t records = 200;
    std::size_t bytes = 4u << 20;  // read from the start of the file
};

struct PreviewColumn {
    std::string name;  // in the program's code page, as the operator typed it
    bool hex = false;  // BER-TLV data, shown in hexadecimal
};

struct PreviewRow {
    std::uint64_t record = 0;  // the engine's record number
    std::uint64_t offset = 0;  // of the record's first byte in the file
    std::uint64_t length = 0;  // without its separator
    // Where the locator found each field of the configuration; for a
    // rejected record those found before the fault.
    std::vector<FieldSlice> slices;
    std::size_t faultAt = 0;  // a rejected record: where the locator stopped
    // One per column: the bytes a parse stores; nothing for NULL. Empty
    // for a rejected record.
    std::vector<std::optional<std::string>> values;
    std::string rejected;  // "Field: reason", the reason alone for the whole record; empty when parsed
};

struct PreviewRows {
    std::vector<PreviewRow> rows;
    std::uint64_t parsed = 0;
    std::uint64_t rejected = 0;
    std::uint64_t bytesShown = 0;  // from the file's start to the end of the last row shown
    std::uint64_t fileSize = 0;
    // Per column: whether its values are card numbers, by its name or by
    // most of the values cut.
    std::vector<bool> cardColumns;
};

class RecordPreview {
public:
    explicit RecordPreview(const ParseConfiguration& config);

    // The engine's message when it would refuse the configuration; empty
    // when it would run it.
    const std::string& failure() const { return failure_; }
    const std::vector<PreviewColumn>& columns() const { return shown_; }
    // The bytes that end a record; none for fixed-length records.
    std::size_t separatorSize() const { return config_.recordLength > 0 ? 0 : config_.separator.size(); }

    // The records of `start`, the first bytes of a file of `fileSize`
    // bytes, up to the limit. A record that does not end within `start`
    // (cut short by the end of what was read) is not shown.
    PreviewRows cut(std::string_view start, std::uint64_t fileSize, PreviewLimits limits = {}) const;

    // Row `row` of `rows`, cut from `start`, as its record map shows it:
    // the stored fields' places as the locator found them.
    // The field of the map that column `column` of columns() shows: a
    // track's is its magnetic-stripe field.
    int mapField(std::size_t column) const;
    RecordMapSource mapSource(const PreviewRows& rows, std::size_t row, std::string_view start, bool full) const;

private:
    std::string failure_;
    EngineConfiguration config_;
    std::vector<RecordColumn> columns_;  // the field columns only
    std::vector<PreviewColumn> shown_;
};

// "2 records, 1 rejected, in the first 120 bytes of 120 bytes".
std::string previewSummary(const PreviewRows& rows);

}  // namespace velmora
