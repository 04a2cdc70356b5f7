#pragma once
// A tab of a parse's database as CSV for a spreadsheet: UTF-8 with a
// byte-order mark, a header row of the column names, RFC 4180 quoting, CR
// LF line ends; numbers in decimal, texts as stored, binary and BER-TLV
// values in hexadecimal, NULL as nothing and an empty value as "". Card
// data are hidden as the list hides them when the export starts. A text
// that a spreadsheet would take for a formula gets a ' before it (OWASP's
// advice against CSV injection). Made a slice of rows at a time, so a long
// export can show its progress and be stopped between slices.
#include <cstdint>
#include <string>
#include <string_view>

#include "src/results/results_database.h"

namespace velmora {

// Appends `value` as one CSV field: quoted when it holds a comma, a quote,
// CR or LF, or is empty, with each quote doubled.
void appendCsvField(std::string_view value, std::string& out);
// Whether a spreadsheet would read `text` as a formula: it begins with =,
// +, -, @, a tab or a CR, and is not a plain number (a sign, digits, at most
// one decimal point), which stays a number.
bool readAsFormula(std::string_view text);
// Appends a text as one CSV field, with a ' before it when readAsFormula().
void appendCsvText(std::string_view text, std::string& out);

class CsvExport {
public:
    CsvExport(ResultsDatabase& database, ResultsTab tab);

    // Appends the byte-order mark and the header first, then up to `rows`
    // rows; true once every row is in `out`, or a read failed (the database
    // keeps the failure).
    bool step(std::uint64_t rows, std::string& out);
    std::uint64_t exported() const { return exported_; }
    std::uint64_t total() const { return total_; }
    // Whether card numbers go into the file in full.
    bool fullCardNumbers() const { return full_; }

private:
    void appendValue(int column, CellKind kind, CardMask mask, std::string& out);

    ResultsDatabase& database_;
    ResultsTab tab_;
    std::uint64_t total_;
    std::uint64_t exported_ = 0;
    bool full_;
    bool started_ = false;
    bool done_ = false;
    Statement rows_;
    std::string scratch_;
    std::string recordBytes_;
};

}  // namespace velmora
