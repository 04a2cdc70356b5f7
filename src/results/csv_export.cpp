#include "src/results/csv_export.h"

#include "engine/core/text/cp1252.h"

namespace velmora {

namespace {

const char* const kByteOrderMark = "\xEF\xBB\xBF";
const char* const kLineEnd = "\r\n";

void appendHex(std::string_view bytes, std::string& out) {
    static const char digits[] = "0123456789ABCDEF";
    const std::size_t at = out.size();
    out.resize(at + bytes.size() * 2);
    char* to = &out[at];
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *to++ = digits[b >> 4];
        *to++ = digits[b & 0x0F];
    }
}

}  // namespace

void appendCsvField(std::string_view value, std::string& out) {
    if (!value.empty() && value.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(value);
        return;
    }
    out += '"';
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

bool readAsFormula(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos) return false;
    if (text.front() != '+' && text.front() != '-') return true;
    bool digit = false, point = false;
    for (char c : text.substr(1)) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return true;
        }
    }
    return !digit;
}

void appendCsvText(std::string_view text, std::string& out) {
    if (!readAsFormula(text)) {
        appendCsvField(text, out);
        return;
    }
    std::string guarded = "'";
    guarded.append(text);
    appendCsvField(guarded, out);
}

CsvExport::CsvExport(ResultsDatabase& database, ResultsTab tab)
    : database_(database),
      tab_(tab),
      total_(database.rowCount(tab)),
      full_(database.fullCardNumbers()),
      rows_(database.rowsFrom(tab, 0)) {}

void CsvExport::appendValue(int column, CellKind kind, CardMask mask, std::string& out) {
    const std::optional<std::string_view> bytes = rows_.bytes(column);
    if (!bytes) return;  // NULL: nothing between the commas
    const bool blob = rows_.isBlob(column);
    if (blob || (kind == CellKind::Hex && rows_.isText(column))) {
        // Binary values and the bytes a BER-TLV field held, as the list shows them.
        std::string_view recordBytes = *bytes;
        if (!blob) {
            recordBytes_.clear();
            appendUtf8AsCp1252(*bytes, recordBytes_);
            recordBytes = recordBytes_;
        }
        scratch_.clear();
        appendHex(recordBytes, scratch_);
        if (kind == CellKind::Hex)
            maskTlvHex(recordBytes, mask, scratch_);
        else
            maskTextHex(recordBytes, mask, scratch_);
        appendCsvField(scratch_, out);
    } else if (rows_.isText(column) && mayHoldCardData(*bytes, mask)) {
        scratch_.assign(bytes->data(), bytes->size());
        maskCardText(scratch_, mask);
        appendCsvField(scratch_, out);
    } else if (rows_.isText(column)) {
        appendCsvText(*bytes, out);  // already in UTF-8
    } else {
        appendCsvField(*bytes, out);  // a number's digits
    }
}

bool CsvExport::step(std::uint64_t rows, std::string& out) {
    if (done_) return true;
    const std::vector<ResultsColumn>& columns = database_.columns(tab_);
    if (!started_) {
        started_ = true;
        out += kByteOrderMark;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) out += ',';
            appendCsvText(columns[c].utf8Header, out);
        }
        out += kLineEnd;
    }
    for (std::uint64_t n = 0; n < rows; ++n) {
        if (!rows_.step()) {
            if (rows_.failed()) database_.noteReadFailure();
            return done_ = true;
        }
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) out += ',';
            appendValue(database_.shownColumn(tab_, static_cast<int>(c)), columns[c].kind,
                        cardMask(full_, columns[c].cardNumbers), out);
        }
        out += kLineEnd;
        ++exported_;
    }
    return false;
}

}  // namespace velmora
