#include "src/editor/record_preview.h"

#include "format/config/config_format.h"
#include "format/config/strict_config_reader.h"
#include "engine/core/byte_source.h"
#include "engine/core/cp1252.h"
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

    PreviewRow& add(const CutRecord& record) {
        out_.rows.push_back({record.number, record.offset, {}, {}});
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

std::string previewSummary(const PreviewRows& rows) {
    return std::to_string(rows.parsed) + (rows.parsed == 1 ? " record, " : " records, ") +
           std::to_string(rows.rejected) + " rejected, in the first " + std::to_string(rows.bytesShown) + " bytes of " +
           std::to_string(rows.fileSize) + " bytes";
}

}  // namespace velmora
