#include "src/results/record_detail.h"

#include <map>
#include <unordered_map>

#include "engine/core/text/cp1252.h"
#include "engine/core/database_tables.h"
#include "src/results/emv_tags.h"
#include "src/results/shown_value.h"

namespace velmora {

namespace {

std::string inCodePage(std::optional<std::string_view> utf8) {
    std::string text;
    if (utf8) appendUtf8AsCp1252(*utf8, text);
    return text;
}

std::string byteCount(std::int64_t bytes) { return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes"); }

// The field nodes at the top of the decoded tree, one per field name.
class Decoded {
public:
    explicit Decoded(std::vector<DecodedItem>& items) : items_(items) {}
    bool full() const { return items_.size() >= kDecodedItemsShown; }
    int fieldNode(const std::string& name, const std::string& text) {
        auto found = fields_.find(name);
        if (found != fields_.end()) return found->second;
        return fields_[name] = add(-1, text);
    }
    int add(int parent, std::string text) {
        items_.push_back({parent, std::move(text)});
        return static_cast<int>(items_.size()) - 1;
    }

private:
    std::vector<DecodedItem>& items_;
    std::map<std::string, int> fields_;
};

// A column cut in SQL to what the window shows of it.
std::string shown(const char* column) { return cutToShown(column); }

// The rows of `table` holding the record's, which follow one another.
Statement rowsOfRecord(ResultsDatabase& db, const tables::Table& table, const std::string& columns,
                       std::int64_t record) {
    auto first = db.holds(table) ? db.firstRowidOfRecord(table.name, record) : std::nullopt;
    if (!first) return Statement();
    const std::string rowid = db.rowidName(table.name);
    Statement rows(db.connection(), "SELECT " + std::string(tables::kRecordNumber) + ", " + columns + " FROM " +
                                        table.name + " WHERE " + rowid + " >= ?1 ORDER BY " + rowid);
    rows.bind(1, *first);
    return rows;
}

bool readTlv(ResultsDatabase& db, std::int64_t record, Decoded& decoded) {
    using namespace tables;
    Statement rows = rowsOfRecord(db, tlvTable(),
                                  shown(kTlvField) + ", " + kTlvSequence + ", " + kTlvParent + ", " + shown(kTlvTag) +
                                      ", " + kLength + ", " + kTlvConstructed + ", " + shown(kTlvValue),
                                  record);
    std::unordered_map<std::int64_t, int> bySequence;
    while (!decoded.full() && rows.step() && rows.integer(0) == record) {
        const std::string field = inCodePage(rows.bytes(1));
        const int top = decoded.fieldNode("tlv " + field, field);
        auto parent = rows.isNull(3) ? bySequence.end() : bySequence.find(rows.integer(3));
        const std::string tag = inCodePage(rows.bytes(4));
        std::string text = emvTagLabel(tag) + ", " + byteCount(rows.integer(5));
        // A constructed object shows what it holds below it, not its bytes.
        if (rows.integer(6) == 0 && !rows.isNull(7)) {
            text += ": " + shownTlvValue(tag, rows.bytes(7), cardMask(db.fullCardNumbers(), false));
            if (const std::string meaning = emvValueMeaning(tag, *rows.bytes(7)); !meaning.empty())
                text += " " + meaning;
        }
        bySequence[rows.integer(2)] = decoded.add(parent == bySequence.end() ? top : parent->second, text);
    }
    return !rows.failed();
}

bool readFirParts(ResultsDatabase& db, std::int64_t record, Decoded& decoded) {
    using namespace tables;
    // The parts of a card-number field are pieces of its number.
    const std::vector<ResultsColumn>& columns = db.columns(ResultsTab::Records);
    auto partsMask = [&](const std::string& field) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (columns[c].header == field) return db.maskOf(ResultsTab::Records, static_cast<int>(c));
        return cardMask(db.fullCardNumbers(), false);
    };
    Statement rows =
        rowsOfRecord(db, firPartsTable(), shown(kFirField) + ", " + kFirPart + ", " + shown(kFirValue), record);
    while (!decoded.full() && rows.step() && rows.integer(0) == record) {
        const std::string field = inCodePage(rows.bytes(1));
        const int top = decoded.fieldNode("fir " + field, field + " (FIR parts)");
        const std::optional<std::string> value =
            rows.isNull(3) ? std::nullopt : std::optional<std::string>(inCodePage(rows.bytes(3)));
        decoded.add(top, std::to_string(rows.integer(2)) + ": " + shownValue(value, false, partsMask(field)));
    }
    return !rows.failed();
}

}  // namespace

std::optional<RecordDetail> readRecordDetail(ResultsDatabase& db, std::uint64_t row) {
    using namespace tables;
    if (row >= db.rowCount(ResultsTab::Records)) return std::nullopt;
    const std::vector<ResultsColumn>& columns = db.columns(ResultsTab::Records);
    // Each value as far as it is shown, and its length beside it.
    Statement values = db.rowsFrom(ResultsTab::Records, row, ResultsDatabase::Values::Shown);
    Statement lengths = db.lengthsFrom(ResultsTab::Records, row);
    if (!values.step() || !lengths.step()) {
        if (values.failed() || lengths.failed()) db.noteReadFailure();
        return std::nullopt;
    }
    RecordDetail detail;
    detail.record = values.integer(db.shownColumn(ResultsTab::Records, 0));

    // Each field's type by its column; a track column follows its field's.
    // Only the rows naming a column of the records are read.
    std::map<std::string, std::string> types;
    if (db.holds(fieldsTable())) {
        Statement s(db.connection(), std::string("SELECT ") + kFieldColumnName + ", " + shown(kFieldType) + " FROM " +
                                         kFields + " WHERE " + kFieldColumnName + " IN (SELECT name FROM " +
                                         "pragma_table_xinfo('" + kRecords + "'))");
        while (s.step())
            if (s.bytes(0)) types[std::string(*s.bytes(0))] = inCodePage(s.bytes(1));
    }
    std::string type;
    for (std::size_t c = 2; c < columns.size(); ++c) {
        const int at = db.shownColumn(ResultsTab::Records, static_cast<int>(c));
        auto known = types.find(columns[c].utf8Header);
        if (known != types.end()) type = known->second;
        RecordFieldRow field{
            columns[c].header, type, "",
            shownCell(values, at, columns[c].kind, db.maskOf(ResultsTab::Records, static_cast<int>(c)))};
        if (!lengths.isNull(at)) field.length = std::to_string(lengths.integer(at));
        detail.fields.push_back(std::move(field));
    }

    Decoded decoded(detail.decoded);
    const bool read = readTlv(db, detail.record, decoded) && readFirParts(db, detail.record, decoded);
    if (decoded.full()) decoded.add(-1, "(only the first " + std::to_string(kDecodedItemsShown) + " are shown)");
    if (!read) db.noteReadFailure();
    return detail;
}

std::optional<RecordDetail> readRejectedDetail(ResultsDatabase& db, std::uint64_t row) {
    if (row >= db.rowCount(ResultsTab::Rejected)) return std::nullopt;
    Statement rejected = db.rowsFrom(ResultsTab::Rejected, row);
    if (!rejected.step()) {
        if (rejected.failed()) db.noteReadFailure();
        return std::nullopt;
    }
    RecordDetail detail;
    detail.record = rejected.integer(db.shownColumn(ResultsTab::Rejected, 0));
    return detail;
}

}  // namespace velmora
