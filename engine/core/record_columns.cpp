#include "engine/core/record_columns.h"

#include <map>
#include <set>

#include "engine/core/text/cp1252.h"
#include "engine/core/database_tables.h"
#include "engine/core/magstripe_tracks.h"

namespace velmora {

namespace {

std::string asciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Names taken so far, as SQLite compares them.
class ColumnNames {
public:
    std::string distinct(const std::string& wanted) {
        if (taken_.insert(asciiLower(wanted)).second) return wanted;
        for (size_t& k = nextSuffix_.emplace(asciiLower(wanted), 1).first->second;;) {
            std::string name = wanted + " (" + std::to_string(++k) + ")";
            if (taken_.insert(asciiLower(name)).second) return name;
        }
    }

private:
    std::set<std::string> taken_;
    std::map<std::string, size_t> nextSuffix_;  // per name: the last suffix tried
};

}  // namespace

bool recordColumns(const EngineConfiguration& config, std::vector<RecordColumn>& columns, std::string& /*error*/) {
    ColumnNames names;
    columns.clear();
    for (const char* own : {tables::kRecordNumber, tables::kByteOffset, tables::kLength})
        columns.push_back({names.distinct(own), -1, -1});
    for (size_t i = 0; i < config.fields.size(); ++i) {
        const FieldPlan& f = config.fields[i];
        if (f.kind == FieldKind::Ignore) continue;
        std::string wanted;
        for (char c : f.name) {
            if (c == '\0')
                wanted += "\\x00";
            else
                appendCp1252AsUtf8(std::string_view(&c, 1), wanted);
        }
        const std::string name = names.distinct(wanted);
        columns.push_back({name, static_cast<int>(i), -1});
        if (f.kind == FieldKind::Magstripe)
            for (int t = 0; t < 3; ++t)
                columns.push_back({names.distinct(name + " track " + std::to_string(t + 1)), static_cast<int>(i), t});
    }
    return true;
}

std::string tooManyColumns(size_t columns) {
    if (columns <= static_cast<size_t>(kMostRecordColumns)) return "";
    return "the configuration stores " + std::to_string(columns - kRecordOwnColumns) + " columns, more than the " +
           std::to_string(kMostRecordColumns - kRecordOwnColumns) +
           " a records table can hold beside record_number, byte_offset and length";
}

std::vector<std::string> fieldColumnNames(const std::vector<RecordColumn>& columns, size_t fieldCount) {
    std::vector<std::string> names(fieldCount);
    for (const RecordColumn& c : columns)
        if (c.field >= 0 && c.track < 0) names[static_cast<size_t>(c.field)] = c.name;
    return names;
}

ColumnStorage columnStorage(const EngineConfiguration& config, const RecordColumn& column) {
    if (column.field < 0) return ColumnStorage::Integer;
    FieldKind kind = config.fields[static_cast<size_t>(column.field)].kind;
    return column.track >= 0 || kind == FieldKind::Text || kind == FieldKind::Magstripe ? ColumnStorage::Text
                                                                                        : ColumnStorage::Blob;
}

std::optional<std::string_view> trackValue(std::string_view field, const EngineConfiguration& config,
                                           const RecordColumn& column) {
    const FieldPlan& f = config.fields[static_cast<size_t>(column.field)];
    return magstripeTracks(field, f.sentinels)[static_cast<size_t>(column.track)];
}

uint64_t storedBytes(std::string_view record, const LocatedFields& located, const EngineConfiguration& config,
                     const std::vector<RecordColumn>& columns) {
    uint64_t total = 0;
    for (const RecordColumn& column : columns) {
        if (column.field < 0) continue;
        std::optional<std::string_view> value = columnValue(record, located, config, column);
        if (value) total += columnStorage(config, column) == ColumnStorage::Text ? utf8Length(*value) : value->size();
    }
    return total;
}

PartFields::PartFields(const EngineConfiguration& config) {
    for (size_t i = 0; i < config.fields.size(); ++i) {
        const bool tlv = config.fields[i].end == EndMethod::Tesselgram;
        const bool fir = !config.firSeparators.empty() && isTextKind(config.fields[i].kind);
        if (tlv || fir) parts_.push_back({i, tlv, fir});
    }
}

}  // namespace velmora
