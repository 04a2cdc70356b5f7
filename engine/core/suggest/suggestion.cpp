#include "engine/core/suggest/suggestion.h"

#include <variant>

#include "format/config/byte_escapes.h"
#include "format/config/config_checks.h"
#include "format/config/config_format.h"
#include "format/config/strict_config_reader.h"
#include "engine/core/byte_source.h"
#include "engine/core/record_columns.h"
#include "engine/core/record_pipeline.h"
#include "engine/core/suggest/byte_classes.h"
#include "engine/core/suggest/field_finder.h"
#include "engine/core/suggest/record_finder.h"
#include "format/fields/entry_checks.h"
#include "format/fields/placement_rules.h"

namespace velmora {

namespace {

Suggestion none(const std::string& why) {
    Suggestion s;
    s.reasons.push_back("No suggestion: " + why + ".");
    return s;
}

// Counts what the engine makes of the sample's records.
class Tally : public RecordSink {
public:
    explicit Tally(const EngineConfiguration& config) : config_(config) {}
    bool parsed(const CutRecord&, const LocatedFields&) override {
        ++parsed_;
        return true;
    }
    bool rejected(const CutRecord& record, int field, const std::string& reason) override {
        if (rejected_++ == 0)
            first_ = "record " + std::to_string(record.number) + ": " +
                     (field < 0 ? "" : config_.fields[static_cast<std::size_t>(field)].name + ": ") + reason;
        return true;
    }
    std::string summary() const {
        std::string text = "The engine cuts the sample's " + std::to_string(parsed_ + rejected_) + " records by it, ";
        if (rejected_ == 0) return text + "none rejected";
        return text + std::to_string(rejected_) + " rejected (the first, " + escapeBytes(first_, Escaping::Controls) +
               ")";
    }

private:
    const EngineConfiguration& config_;
    std::uint64_t parsed_ = 0, rejected_ = 0;
    std::string first_;
};

std::string engineCheck(const EngineConfiguration& config, std::string_view records) {
    MemorySource source{std::string(records)};
    RecordPipeline pipeline(source, config);
    Tally tally(config);
    while (pipeline.next(tally)) {
    }
    return tally.summary();
}

}  // namespace

Suggestion suggestConfiguration(std::string_view sample, bool wholeFile) {
    if (sample.size() > kSuggestionSampleBytes) {
        sample = sample.substr(0, kSuggestionSampleBytes);
        wholeFile = false;
    }
    const suggest::RecordCut cut = suggest::findRecords(sample, wholeFile);
    if (!cut.found) return none(cut.reason);
    const suggest::FieldLayout layout = suggest::findFields(cut.records);
    if (layout.fields.empty()) return none(layout.reason);

    Suggestion s;
    ParseConfiguration& c = s.configuration;
    c.fixedLength = cut.length > 0 ? std::to_string(cut.length) : "";
    c.recordSeparator = suggest::editorText(cut.separator);
    c.fieldsInOrder = true;
    s.reasons = {cut.reason, layout.reason};
    // Each field passes the editor's own checks and placement rules, as if
    // the operator appended it.
    for (const suggest::FieldGuess& guess : layout.fields) {
        // The type chosen in the drop-down, as the operator would.
        FieldEntry entry = guess.entry;
        entry.fieldTypeIndex = indexFromFieldType(guess.fieldType);
        auto built = checkFieldEntry(entry);
        if (const Refusal* refusal = std::get_if<Refusal>(&built))
            return none("the editor refuses the field " + entry.fieldName + ": " + refusal->message);
        FieldDef field = std::get<FieldDef>(built);
        std::optional<Refusal> refusal = checkFieldTypeData(entry);
        if (!refusal) refusal = checkPlacement(FieldOperation::Append, -1, field, c.fieldDefs, c.fieldsInOrder);
        if (refusal) return none("the editor refuses the field " + entry.fieldName + ": " + refusal->message);
        field.fieldTypeData = composeFieldTypeData(entry, RowKind::NewRow);
        c.fieldDefs.insertRow(c.fieldDefs.rowCount(), field);
        s.reasons.push_back(guess.reason);
    }
    if (auto failure = checkFileSettings(c, c.fieldDefs.rowCount(), !c.fixedLength.empty()))
        return none("the editor would not save it: " + failure->message);
    const ConfigReading reading = readStrictConfiguration(configurationText(c));
    if (!reading.ok) return none("the engine refuses it: " + reading.failureText());
    std::vector<RecordColumn> columns;
    std::string failure;
    recordColumns(reading.config, columns, failure);
    if (failure.empty()) failure = tooManyColumns(columns.size());
    if (!failure.empty()) return none("the engine refuses it: " + failure);
    s.reasons.push_back(engineCheck(reading.config, sample.substr(0, cut.end)));
    s.found = true;
    return s;
}

}  // namespace velmora
