#include "src/results/batch_check_run.h"

#include <algorithm>
#include <cctype>

#include "engine/core/ber_tlv.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/database_tables.h"

namespace velmora {

namespace {

// The first rows whose values tell an expiry or a track column.
constexpr std::uint64_t kSampleRows = 64;
// The list's own columns (Record, Offset) come before the fields'.
constexpr int kFirstFieldColumn = 2;

std::string lowered(const std::string& name) {
    std::string low;
    for (char c : name)
        if (c != ' ' && c != '_' && c != '-') low += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return low;
}

bool namesExpiry(const std::string& name) {
    const std::string low = lowered(name);
    for (const char* known : {"expiry", "exp", "expdate", "expiration", "expirydate", "expirationdate"})
        if (low == known) return true;
    return false;
}

// The magnetic stripe's column ("Mag track 2"), or a text column of track 2.
bool namesTrack2(const std::string& name) {
    const std::string low = lowered(name);
    return low.size() >= 6 && low.compare(low.size() - 6, 6, "track2") == 0;
}

bool looksLikeTrack2(std::string_view value) {
    if (!value.empty() && value.front() == ';') value.remove_prefix(1);
    const std::size_t separator = value.find('=');
    return separator != std::string_view::npos && separator >= 12 && suggest::allDigits(value.substr(0, separator));
}

std::vector<std::string_view> filled(const std::vector<std::vector<std::string>>& sample, int column) {
    std::vector<std::string_view> values;
    for (const auto& row : sample)
        if (!row[static_cast<std::size_t>(column)].empty())
            values.push_back(suggest::trimRight(row[static_cast<std::size_t>(column)]));
    return values;
}

// The year and month of the run ("2026-12-..."), or of nothing: no run is
// expired against.
std::pair<int, int> runMonth(ResultsDatabase& database) {
    using namespace tables;
    if (!database.holds(runTable())) return {0, 1};
    Statement run(database.connection(),
                  std::string("SELECT substr(") + kRunEnded + ", 1, 7) FROM " + kRun + " LIMIT 1");
    if (!run.step() || !run.bytes(0) || run.bytes(0)->size() != 7) return {0, 1};
    const std::string ended(*run.bytes(0));
    if (!suggest::allDigits(ended.substr(0, 4)) || !suggest::allDigits(ended.substr(5, 2))) return {0, 1};
    return {std::stoi(ended.substr(0, 4)), std::stoi(ended.substr(5, 2))};
}

}  // namespace

BatchCheckRun::BatchCheckRun(ResultsDatabase& database)
    : database_(database), total_(database.rowCount(ResultsTab::Records)) {
    const std::size_t columns = database.columns(ResultsTab::Records).size();
    std::vector<std::vector<std::string>> sample;
    Statement first = database.rowsFrom(ResultsTab::Records, 0, ResultsDatabase::Values::Shown);
    while (sample.size() < kSampleRows && first.step()) {
        sample.emplace_back(columns);
        for (std::size_t c = 0; c < columns; ++c)
            if (auto bytes = first.bytes(database.shownColumn(ResultsTab::Records, static_cast<int>(c))))
                sample.back()[c] = std::string(*bytes);
    }
    findColumns(sample);
    const std::optional<suggest::DateOrder> order =
        expiryColumn_ ? suggest::expiryOrder(filled(sample, *expiryColumn_)) : std::nullopt;
    const auto [year, month] = runMonth(database);
    checks_.emplace(year, month, order.value_or(suggest::DateOrder::YYMM));
    rows_ = database.rowsFrom(ResultsTab::Records, 0);
    using namespace tables;
    if (database.holds(tlvTable()))
        chip_ =
            Statement(database.connection(), std::string("SELECT ") + kRecordNumber + ", " + kTlvField + ", " +
                                                 kTlvTag + ", " + kTlvValue + " FROM " + kTlv + " WHERE " + kTlvTag +
                                                 " IN ('5A', '5F24') ORDER BY " + database.rowidName(kTlv));
    chipPending_ = chip_.ok() && chip_.step();
}

void BatchCheckRun::findColumns(const std::vector<std::vector<std::string>>& sample) {
    const std::vector<ResultsColumn>& columns = database_.columns(ResultsTab::Records);
    for (int c = kFirstFieldColumn; c < static_cast<int>(columns.size()); ++c) {
        const ResultsColumn& column = columns[static_cast<std::size_t>(c)];
        if (column.cardNumbers) {
            cardColumns_.push_back(c);
            continue;
        }
        if (namesTrack2(column.utf8Header))
            trackColumns_.push_back(c);
        else if (!expiryColumn_ && namesExpiry(column.utf8Header))
            expiryColumn_ = c;
    }
    // A text column of track 2, where no magnetic stripe's track 2 is
    // stored (the stripe's own column holds the same track).
    for (int c = kFirstFieldColumn; trackColumns_.empty() && c < static_cast<int>(columns.size()); ++c) {
        const std::vector<std::string_view> values = filled(sample, c);
        if (!columns[static_cast<std::size_t>(c)].cardNumbers && !values.empty() &&
            std::all_of(values.begin(), values.end(), looksLikeTrack2))
            trackColumns_.push_back(c);
    }
    // Else the first column of four-digit months, as a suggestion finds one.
    for (int c = kFirstFieldColumn; !expiryColumn_ && c < static_cast<int>(columns.size()); ++c)
        if (!columns[static_cast<std::size_t>(c)].cardNumbers && !filled(sample, c).empty() &&
            suggest::expiryOrder(filled(sample, c)))
            expiryColumn_ = c;
}

// The chip's card numbers and expiries of `record`, from the objects'
// rows, which come in record order.
void BatchCheckRun::readChip(std::int64_t record, CheckedRecord& checked) {
    while (chipPending_ && chip_.integer(0) < record) chipPending_ = chip_.step();
    while (chipPending_ && chip_.integer(0) == record) {
        std::string field;
        appendUtf8AsCp1252(chip_.bytes(1).value_or(""), field);
        const std::string value = hexBytes(chip_.bytes(3).value_or(""));
        (chip_.bytes(2).value_or("") == "5A" ? checked.chipNumbers : checked.chipExpiries).push_back({field, value});
        chipPending_ = chip_.step();
    }
}

bool BatchCheckRun::step(std::uint64_t rows) {
    const std::vector<ResultsColumn>& columns = database_.columns(ResultsTab::Records);
    auto value = [&](int column) {
        auto bytes = rows_.bytes(database_.shownColumn(ResultsTab::Records, column));
        return CheckedValue{columns[static_cast<std::size_t>(column)].header, std::string(bytes.value_or(""))};
    };
    for (std::uint64_t n = 0; n < rows; ++n) {
        if (!rows_.step()) {
            if (rows_.failed() || chip_.failed()) database_.noteReadFailure();
            return true;
        }
        CheckedRecord record;
        record.record = rows_.integer(database_.shownColumn(ResultsTab::Records, 0));
        record.row = database_.rowOf(ResultsTab::Records, rows_.integer(0));
        for (int c : cardColumns_) record.cardNumbers.push_back(value(c));
        if (expiryColumn_) record.expiry = value(*expiryColumn_);
        for (int c : trackColumns_) record.tracks2.push_back(value(c));
        readChip(record.record, record);
        checks_->check(record);
        ++looked_;
    }
    return false;
}

}  // namespace velmora
