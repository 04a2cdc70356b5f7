#include "src/editor/record_preview.h"

#include "format/config/config_format.h"
#include "format/config/strict_config_reader.h"
#include "engine/core/byte_source.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/field_locator.h"
#include "engine/core/record_pipeline.h"

namespace velmora {

namespace {

// Keeps the rows of the records that end within what was read, up to the
// limit, and stops the pipeline at the first other.
class PreviewSink : public RecordSink {
public:
    PreviewSink(const EngineConfiguration& config, const std::vector<RecordColumn>& columns, std::uint64_t readEnd,
                bool wholeFile, std::size_t limit, PreviewRows& out)
        : config_(config), columns_(columns), readEnd_(readEnd), wholeFile_(wholeFile), limit_(limit), out_(out) {}

    bool parsed(const CutRecord& record, const LocatedFields& fields) override {
        if (!endsWithinRead(record)) return false;
        PreviewRow& row = add(record);
        row.slices = fields.slices;
        row.values.reserve(columns_.size());
        for (const RecordColumn& column : columns_) {
            auto value = columnValue(record.bytes, fields, config_, column);
            row.values.push_back(value ? std::optional<std::string>(*value) : std::nullopt);
        }
        ++out_.parsed;
        return out_.rows.size() < limit_;
    }

    bool rejected(const CutRecord& record, int field, const std::string& reason) override {
        if (!endsWithinRead(record)) return false;
        PreviewRow& row = add(record);
        row.rejected = field < 0 ? reason : config_.fields[static_cast<std::size_t>(field)].name + ": " + reason;
        if (field >= 0) locateUpToFault(record.bytes, row);
        ++out_.rejected;
        return out_.rows.size() < limit_;
    }

private:
    // Where the record ends in the file: after its full length, or after
    // its separator. Past the end of what was read, a fixed-length record
    // cut short, or a record without its separator, may go on in the rest
    // of the file.
    std::uint64_t end(const CutRecord& record) const {
        return record.offset +
               (config_.recordLength > 0 ? config_.recordLength : record.length + config_.separator.size());
    }
    bool endsWithinRead(const CutRecord& record) const { return wholeFile_ || end(record) <= readEnd_; }

    // The pipeline tells the field at fault, not what was found before it:
    // the record is located once more for its map.
    void locateUpToFault(std::string_view bytes, PreviewRow& row) const {
        LocatedFields located;
        locateFields(bytes, config_, located);
        row.slices = located.slices;
        for (const FieldSlice& s : row.slices)
            if (s.present) row.faultAt = std::max(row.faultAt, s.begin + s.length);
    }

    PreviewRow& add(const CutRecord& record) {
        out_.rows.push_back({record.number, record.offset, record.length, {}, 0, {}, {}});
        out_.bytesShown = std::min(end(record), readEnd_);
        return out_.rows.back();
    }

    const EngineConfiguration& config_;
    const std::vector<RecordColumn>& columns_;
    std::uint64_t readEnd_;
    bool wholeFile_;
    std::size_t limit_;
    PreviewRows& out_;
};

}  // namespace

RecordPreview::RecordPreview(const ParseConfiguration& config) {
    ConfigReading reading = readStrictConfiguration(configurationText(config));
    if (!reading.ok) {
        failure_ = reading.failureText();
        return;
    }
    config_ = std::move(reading.config);
    // As the engine refuses it, before building what would not fit.
    failure_ = locatorTooLarge(config_);
    if (!failure_.empty()) return;
    std::vector<RecordColumn> all;
    if (!recordColumns(config_, all, failure_)) return;
    for (const RecordColumn& column : all) {
        if (column.field < 0) continue;  // the record's own, shown as "Record" and "Offset"
        columns_.push_back(column);
        PreviewColumn shown;
        appendUtf8AsCp1252(column.name, shown.name);
        shown.hex =
            column.track < 0 && config_.fields[static_cast<std::size_t>(column.field)].end == EndMethod::Tesselgram;
        shown_.push_back(shown);
    }
}

PreviewRows RecordPreview::cut(std::string_view start, std::uint64_t fileSize, PreviewLimits limits) const {
    PreviewRows out;
    out.fileSize = fileSize;
    if (!failure_.empty() || limits.records == 0) return out;
    start = start.substr(0, limits.bytes);
    const bool wholeFile = start.size() >= fileSize;
    MemorySource source{std::string(start)};
    RecordPipeline pipeline(source, config_);
    PreviewSink sink(config_, columns_, start.size(), wholeFile, limits.records, out);
    while (pipeline.next(sink)) {
    }
    if (wholeFile && !pipeline.stopped()) out.bytesShown = start.size();
    for (std::size_t k = 0; k < shown_.size(); ++k) {
        std::vector<std::string_view> values;
        for (const PreviewRow& row : out.rows)
            if (k < row.values.size() && row.values[k]) values.push_back(*row.values[k]);
        out.cardColumns.push_back(!shown_[k].hex && (namesCardNumbers(shown_[k].name) || mostlyCardNumbers(values)));
    }
    return out;
}

int RecordPreview::mapField(std::size_t column) const {
    int field = -1;
    for (std::size_t k = 0; k <= column && k < columns_.size(); ++k)
        if (columns_[k].track < 0) ++field;
    return field;
}

RecordMapSource RecordPreview::mapSource(const PreviewRows& rows, std::size_t row, std::string_view start,
                                         bool full) const {
    RecordMapSource source;
    const PreviewRow& r = rows.rows[row];
    const std::string_view rest = start.substr(std::min<std::uint64_t>(r.offset, start.size()));
    source.record = rest.substr(0, r.length);
    if (config_.recordLength == 0) source.separator = rest.substr(source.record.size(), config_.separator.size());
    source.fixedLength = config_.recordLength > 0;
    source.fault = r.rejected;
    source.faultAt = r.faultAt;
    source.full = full;
    for (std::size_t k = 0; k < columns_.size(); ++k) {
        if (columns_[k].track >= 0) continue;  // a part of its field's bytes
        MapField f{shown_[k].name, false, 0, 0, shown_[k].hex, k < rows.cardColumns.size() && rows.cardColumns[k]};
        const std::size_t field = static_cast<std::size_t>(columns_[k].field);
        if (field < r.slices.size() && r.slices[field].present) {
            f.found = r.slices[field].begin + r.slices[field].length <= source.record.size();
            f.begin = r.slices[field].begin;
            f.length = r.slices[field].length;
        }
        source.fields.push_back(f);
    }
    return source;
}

std::string previewSummary(const PreviewRows& rows) {
    return std::to_string(rows.parsed) + (rows.parsed == 1 ? " record, " : " records, ") +
           std::to_string(rows.rejected) + " rejected, in the first " + std::to_string(rows.bytesShown) + " bytes of " +
           std::to_string(rows.fileSize) + " bytes";
}

}  // namespace velmora
