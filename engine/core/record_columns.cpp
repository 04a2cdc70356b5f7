#include "engine/core/record_columns.h"

#include <map>

#include "engine/core/cp1252.h"
#include "engine/core/magstripe_tracks.h"

namespace velmora {

namespace {

std::string asciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

bool recordColumns(const EngineConfiguration& config, std::vector<RecordColumn>& columns, std::string& error) {
    columns = {{"record_number", -1, -1}, {"byte_offset", -1, -1}, {"length", -1, -1}};
    for (size_t i = 0; i < config.fields.size(); ++i) {
        const FieldPlan& f = config.fields[i];
        if (f.kind == FieldKind::Ignore) continue;
        std::string name;
        appendCp1252AsUtf8(f.name, name);
        columns.push_back({name, static_cast<int>(i), -1});
        if (f.kind == FieldKind::Magstripe)
            for (int t = 0; t < 3; ++t)
                columns.push_back({name + " track " + std::to_string(t + 1), static_cast<int>(i), t});
    }
    std::map<std::string, std::string> seen;
    for (const RecordColumn& c : columns) {
        auto inserted = seen.emplace(asciiLower(c.name), c.name);
        if (!inserted.second) {
            error = "the column \"" + c.name + "\" would have the same name as \"" + inserted.first->second +
                    "\" in the records table; rename the field";
            return false;
        }
    }
    return true;
}

ColumnStorage columnStorage(const EngineConfiguration& config, const RecordColumn& column) {
    if (column.field < 0) return ColumnStorage::Integer;
    FieldKind kind = config.fields[static_cast<size_t>(column.field)].kind;
    return column.track >= 0 || kind == FieldKind::Text || kind == FieldKind::Magstripe ? ColumnStorage::Text
                                                                                        : ColumnStorage::Blob;
}

std::optional<std::string_view> columnValue(std::string_view record, const LocatedFields& located,
                                            const EngineConfiguration& config, const RecordColumn& column) {
    const FieldSlice& slice = located.slices[static_cast<size_t>(column.field)];
    if (!slice.present) return std::nullopt;
    std::string_view data = record.substr(slice.begin, slice.length);
    if (column.track < 0) return data;
    const FieldPlan& f = config.fields[static_cast<size_t>(column.field)];
    return magstripeTracks(data, f.sentinels)[static_cast<size_t>(column.track)];
}

}  // namespace velmora
