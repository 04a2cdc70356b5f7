#include "engine/storage/record_columns.h"

#include <map>

#include "engine/core/cp1252.h"

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

std::string quoteIdentifier(const std::string& name) {
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

}  // namespace velmora
