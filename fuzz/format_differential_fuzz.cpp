// The editor, the file and the engine agree: a configuration the editor
// could make (built through its own field rules and save checks) is written,
// and the engine's strict reader must give back exactly what was written,
// Open must give back the same, and the engine must be able to plan its
// records table from it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "format/config/config_checks.h"
#include "format/config/config_format.h"
#include "format/config/config_reader.h"
#include "format/config/strict_config_reader.h"
#include "engine/core/record_columns.h"
#include "format/fields/entry_checks.h"
#include "format/fields/keywords.h"
#include "format/fields/placement_rules.h"

using namespace velmora;

namespace {

// What a single-line edit can hold: any byte but NUL, CR and LF.
std::string typed(FuzzedDataProvider& in, size_t limit) {
    std::string text = in.ConsumeRandomLengthString(limit);
    std::string kept;
    for (char c : text)
        if (c != '\0' && c != '\r' && c != '\n') kept += c;
    return kept;
}

// Letters, digits, blanks and underscores, so that case-colliding names
// ("Pan", "PAN") come up often.
std::string fieldName(FuzzedDataProvider& in) {
    static const char kAlphabet[] = "aAbB1 _\t";
    std::string name;
    size_t length = in.ConsumeIntegralInRange<size_t>(1, 4);
    for (size_t i = 0; i < length; ++i) name += kAlphabet[in.ConsumeIntegralInRange<size_t>(0, sizeof kAlphabet - 2)];
    return name;
}

FieldEntry fieldEntry(FuzzedDataProvider& in) {
    FieldEntry e;
    e.fieldName = fieldName(in);
    e.fieldTypeIndex = in.ConsumeIntegralInRange(0, kFieldTypeCount - 1);
    e.startMethod = static_cast<StartMethod>(in.ConsumeIntegralInRange(0, 2));
    e.startCode = typed(in, 7);
    e.startPosition = in.ConsumeIntegralInRange(0, 70000);
    e.endMethod = static_cast<EndMethod>(in.ConsumeIntegralInRange(0, 4));
    e.endingCode = typed(in, 7);
    e.endLength = in.ConsumeIntegral<int>();
    e.applicationName = typed(in, 40);
    e.scriptData = typed(in, 40);
    for (int i = 0; i < kSentinelCount; ++i) {
        std::string sentinel = typed(in, 3);
        // The Sentinels dialog lets through only what the file carries.
        e.sentinels.at(i) = sentinelCarried(sentinel) ? sentinel : "";
    }
    return e;
}

// One commit as the Configure dialog makes it: Append, or Change of a row.
void commit(FuzzedDataProvider& in, ParseConfiguration& config) {
    FieldEntry entry = fieldEntry(in);
    auto built = checkFieldEntry(entry);
    if (!std::holds_alternative<FieldDef>(built) || checkFieldTypeData(entry)) return;
    FieldDef def = std::get<FieldDef>(built);
    FieldList& list = config.fieldDefs;
    const bool change = list.rowCount() > 0 && in.ConsumeBool();
    const int row = change ? in.ConsumeIntegralInRange(0, list.rowCount() - 1) : list.rowCount();
    const FieldOperation operation = change ? FieldOperation::Change : FieldOperation::Append;
    if (checkPlacement(operation, row, def, list, config.fieldsInOrder)) return;
    def.fieldTypeData = composeFieldTypeData(entry, change ? RowKind::ChangedRow : RowKind::NewRow);
    if (change) list.deleteRow(row);
    list.insertRow(row, def);
}

bool sameSettings(const ParseConfiguration& a, const ParseConfiguration& b) {
    return a.fixedLength == b.fixedLength && a.recordSeparator == b.recordSeparator && a.processFir == b.processFir &&
           a.firSeparator == b.firSeparator && a.fieldsInOrder == b.fieldsInOrder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    ParseConfiguration config;
    if (in.ConsumeBool()) {
        config.fixedLength = (in.ConsumeBool() ? "+" : "") + std::to_string(in.ConsumeIntegral<uint32_t>());
        if (in.ConsumeBool()) config.fixedLength += std::string(in.ConsumeIntegralInRange(0, 30), '9');
    } else {
        config.recordSeparator = typed(in, 50);
    }
    config.processFir = in.ConsumeBool();
    if (config.processFir) config.firSeparator = typed(in, 20);  // unticking empties it
    config.fieldsInOrder = in.ConsumeBool();
    const int commits = in.ConsumeIntegralInRange(1, 12);
    for (int i = 0; i < commits; ++i) commit(in, config);
    if (checkFileSettings(config, config.fieldDefs.rowCount(), true)) return 0;

    const std::string written = configurationText(config);
    ConfigReading strict = readStrictConfiguration(written);
    if (!strict.ok) {
        std::fprintf(stderr, "strict reader refused: %s\n%s", strict.failureText().c_str(), written.c_str());
        std::abort();
    }
    // Exactly what was written: the same settings, the same rows (a sentinel
    // text in the file's form, which writes the same tuple), the same bytes.
    const ParseConfiguration& read = strict.config.text;
    if (!sameSettings(read, config) || read.fieldDefs.rowCount() != config.fieldDefs.rowCount()) std::abort();
    for (int r = 0; r < config.fieldDefs.rowCount(); ++r) {
        FieldDef a = read.fieldDefs.row(r), b = config.fieldDefs.row(r);
        if (isMagstripeType(b.fieldType)) a.fieldTypeData = b.fieldTypeData = "";
        if (!(a == b)) std::abort();
    }
    if (configurationText(read) != written) std::abort();

    ParseConfiguration opened;
    openConfigurationLines(splitLines(written), opened);
    if (!sameSettings(opened, read) || opened.fieldDefs.rows() != read.fieldDefs.rows()) std::abort();

    std::vector<RecordColumn> columns;
    std::string error;
    if (!recordColumns(strict.config, columns, error)) {
        std::fprintf(stderr, "the engine cannot plan its records table: %s\n%s", error.c_str(), written.c_str());
        std::abort();
    }
    return 0;
}
