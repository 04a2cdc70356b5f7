// A database file is untrusted input: files no parse writes, crafted to
// hang, exhaust or confuse the reader, each open or are refused with one
// sentence and stay as they were; rowids anywhere in the 64-bit range; the
// engine's widest table; the shown limit; the export's formula guard.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <tuple>

#include "src/results/csv_export.h"
#include "src/results/record_detail.h"
#include "src/results/results_database.h"
#include "src/results/shown_value.h"
#include "tests/support/configurations.h"
#include "tests/support/parsed_database.h"

namespace velmora::test {
namespace {

constexpr std::int64_t kLeast = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();

// Records R1 to R40, each with a BER-TLV object holding another.
std::string chipData() {
    std::string data;
    for (int n = 1; n <= 40; ++n)
        data += "#AR" + std::to_string(n) + "#E#T\x70\x03\x5A\x01" + static_cast<char>(n) + "\r\n";
    return data;
}

std::string chipConfig() {
    return configText("", "\\x0D\\x0A",
                      {field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"),
                       field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")});
}

std::unique_ptr<ResultsDatabase> opened(const std::string& path) {
    auto database = ResultsDatabase::open(path);
    EXPECT_TRUE(database) << database.failure();
    return database.ok() ? std::move(*database) : nullptr;
}

using Layout = std::int64_t (*)(std::uint64_t k, std::uint64_t rows);

// SQL that gives rows 1 to `rows` of `table` the rowids `layout(k, rows)`,
// k counted from 0: none of them is a rowid the table had.
std::string moveRowids(const char* table, std::uint64_t rows, Layout layout) {
    std::string sql = std::string("UPDATE ") + table + " SET rowid = CASE rowid";
    for (std::uint64_t k = 0; k < rows; ++k)
        sql += " WHEN " + std::to_string(k + 1) + " THEN " + std::to_string(layout(k, rows));
    return sql + " END";
}

// Spread evenly from `least` to `least + span`, in unsigned arithmetic.
std::int64_t spread(std::uint64_t k, std::uint64_t rows, std::int64_t least, std::uint64_t span) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(least) + k * (span / (rows - 1)));
}

// The record window finds each record's objects by halving the rowids of
// the objects' table; no rowids make that overflow (a hang) or miss.
TEST(UntrustedDatabase, RowidsAtTheEndsOfTheRangeOrWithGapsStillFindEachRecordsObjects) {
    const Layout layouts[] = {
        [](std::uint64_t k, std::uint64_t rows) {  // the ends of the 64-bit range
            return k + 1 == rows ? kMost : spread(k, rows, kLeast, ~std::uint64_t{0});
        },
        [](std::uint64_t k, std::uint64_t rows) {
            return spread(k, rows, -5000000000000000000, 10000000000000000000u);
        },
        [](std::uint64_t k, std::uint64_t) { return static_cast<std::int64_t>(1000000007 + k * k * k * 1000003); },
    };
    ScratchFolder folder("velmora rowids");
    const std::string path = parsedDatabase(folder, "chips", chipConfig(), chipData());
    const std::string whole = folder.read("chips.mdb");
    for (Layout layout : layouts) {
        folder.write("chips.mdb", whole);
        changeDatabase(path, moveRowids("tlv", 80, layout));
        auto database = opened(path);
        ASSERT_TRUE(database);
        for (std::uint64_t row : {0u, 19u, 20u, 38u, 39u}) {
            auto detail = readRecordDetail(*database, row);
            ASSERT_TRUE(detail) << row;
            const char digits[] = "0123456789ABCDEF";
            EXPECT_EQ(detail->decoded.back().text,
                      std::string("5A Application Primary Account Number (PAN), 1 byte: ") + digits[(row + 1) / 16] +
                          digits[(row + 1) % 16])
                << row;
        }
        // The records too: the list holds as many rows as it can from the
        // first, and a row beyond the records' rowids is empty.
        database.reset();
        changeDatabase(path, moveRowids("records", 40, layout));
        database = opened(path);
        ASSERT_TRUE(database);
        EXPECT_EQ(database->cell(ResultsTab::Records, 0, 2), "R1");
        EXPECT_EQ(database->cell(ResultsTab::Records, database->rowCount(ResultsTab::Records) - 1, 2), "");
        ASSERT_TRUE(readRecordDetail(*database, 0));
        EXPECT_EQ(readRecordDetail(*database, 0)->decoded.back().text,
                  "5A Application Primary Account Number (PAN), 1 byte: 01");
    }
}

// Each crafted file opens or is refused at once, without reading more than
// is shown, and is left as it was (its bytes and time), nothing made beside it.
TEST(UntrustedDatabase, CraftedFilesOpenOrAreRefusedAndStayAsTheyWere) {
    const char* const kNotOurs = " is not a database written by ParseTarn.";
    const struct {
        const char* sql;      // changes a parse's database
        const char* refused;  // the end of the sentence; nullptr: it opens, showing `shown` first
        const char* shown;    // at the start of the first record's Name, or of the summary
    } cases[] = {
        {"DROP TABLE records; CREATE VIEW records AS SELECT 1 AS record_number, 0 AS byte_offset, 1 AS length, "
         "zeroblob(999999999) AS Name",
         kNotOurs, nullptr},
        {"ALTER TABLE records ADD COLUMN Big BLOB AS (zeroblob(999999999))", kNotOurs, nullptr},
        {"CREATE TABLE r2 (record_number, byte_offset, length, Name, Big AS (zeroblob(9)) STORED); "
         "DROP TABLE records; ALTER TABLE r2 RENAME TO records",
         kNotOurs, nullptr},
        {"CREATE TRIGGER rejected AFTER INSERT ON run BEGIN SELECT zeroblob(999999999); END", kNotOurs, nullptr},
        {"DROP TABLE fir_parts; CREATE INDEX FIR_PARTS ON records (Name)", kNotOurs, nullptr},
        {"DROP TABLE run; CREATE TABLE run (records_parsed INTEGER PRIMARY KEY, records_rejected, data_path, "
         "config_path, ended) WITHOUT ROWID",
         kNotOurs, nullptr},
        {"PRAGMA journal_mode = WAL", kNotOurs, nullptr},
        {"UPDATE records SET Chip = zeroblob(18 * 1024 * 1024) WHERE record_number = 40",
         " cannot be read: string or blob too big.", nullptr},
        {"UPDATE records SET Name = CAST(x'52C328FFF09F' AS TEXT) WHERE record_number = 1", nullptr, "R?(??"},
        {"ALTER TABLE records RENAME COLUMN Name TO rowid", nullptr, "R1"},
        {"UPDATE run SET records_parsed = 9223372036854775807, records_rejected = x'00', data_path = zeroblob(2000)",
         nullptr, "9223372036854775807 records parsed - \\x00\\x00"},
    };
    ScratchFolder folder("velmora crafted");
    const std::string whole = readFile(parsedDatabase(folder, "chips", chipConfig(), chipData()));
    const std::string path = folder.path("crafted.mdb");
    auto state = [&] {
        return std::make_tuple(folder.read("crafted.mdb"), std::filesystem::last_write_time(path), folder.names());
    };
    for (const auto& c : cases) {
        folder.write("crafted.mdb", whole);
        changeDatabase(path, c.sql);
        const auto before = state();
        auto opened = ResultsDatabase::open(path);
        EXPECT_EQ(opened.ok() ? "" : opened.failure(), c.refused ? path + c.refused : "") << c.sql;
        auto database = opened.ok() ? std::move(*opened) : nullptr;
        if (database && c.shown) {
            const bool summary = std::string(c.shown).find(" records parsed") != std::string::npos;
            const std::string shown = summary ? database->summary() : database->cell(ResultsTab::Records, 0, 2);
            EXPECT_EQ(shown.substr(0, std::string(c.shown).size()), c.shown) << c.sql;
            EXPECT_TRUE(readRecordDetail(*database, 0)) << c.sql;
        }
        database.reset();
        EXPECT_TRUE(state() == before) << c.sql;
    }
}

// A parse at the engine's own limit, 1,997 fields (2,000 columns with the
// record's number, offset and length), opens, shows and exports them all.
TEST(UntrustedDatabase, TheWidestTableTheEngineWritesOpensWhole) {
    constexpr int kFields = 1997;
    std::vector<FieldDef> fields;
    for (int f = 1; f <= kFields; ++f)
        fields.push_back(field("F" + std::to_string(f), "None", "", "FIXED_LENGTH", "1", "TEXT_FIELD"));
    std::string data;
    for (int r = 0; r < 20; ++r) {
        for (int f = 0; f < kFields; ++f) data += static_cast<char>('a' + (r + f) % 26);
        data += "\r\n";
    }
    ScratchFolder folder("velmora wide");
    auto database = opened(parsedDatabase(folder, "wide", configText("", "\\x0D\\x0A", fields), data));
    ASSERT_TRUE(database);
    ASSERT_EQ(database->columns(ResultsTab::Records).size(), static_cast<std::size_t>(kFields + 2));
    EXPECT_EQ(database->columns(ResultsTab::Records).back().header, "F1997");
    ASSERT_EQ(database->rowCount(ResultsTab::Records), 20u);
    // Rows of many columns are read a few at a time: each page's ends.
    auto letter = [](std::uint64_t row, int f) {
        return std::string(1, static_cast<char>('a' + (row + static_cast<std::uint64_t>(f) - 1) % 26));
    };
    for (std::uint64_t row = 0; row < 20; ++row)
        EXPECT_EQ(database->cell(ResultsTab::Records, row, kFields + 1), letter(row, kFields)) << row;
    auto detail = readRecordDetail(*database, 19);
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->fields.back().value + detail->fields.back().length, letter(19, kFields) + "1");
    CsvExport csv(*database, ResultsTab::Records);
    std::string text;
    while (!csv.step(7, text)) {
    }
    EXPECT_EQ(csv.exported(), 20u);
    EXPECT_EQ(database->takeReadFailure(), "");
}

// A value as long as the shown limit shows whole; one character more is
// cut there and ends in an ellipsis; in the Records list as in the preview.
TEST(UntrustedDatabase, AValueAsLongAsTheShownLimitShowsWholeAndOneLongerIsCut) {
    const std::string atLimit(kShownCharacters, 'a'), beyond(kShownCharacters + 1, 'b');
    EXPECT_EQ(shownValue(atLimit, false, CardMask::None), atLimit);
    EXPECT_EQ(shownValue(beyond, false, CardMask::None), beyond.substr(0, kShownCharacters) + "\x85");
    // Escaped bytes: 64 of them take the limit exactly, the 65th is left out whole.
    const std::string escaped(64, '\x01');
    std::string shown;
    for (int b = 0; b < 64; ++b) shown += "\\x01";
    EXPECT_EQ(shownValue(escaped, false, CardMask::None), shown);
    EXPECT_EQ(shownValue(escaped + '\x01', false, CardMask::None), shown + "\x85");

    ScratchFolder folder("velmora limit");
    const std::string path = parsedDatabase(
        folder, "names", configText("", "\\x0D\\x0A", {field("Name", "None", "", "None", "", "TEXT_FIELD")}),
        atLimit + "\r\n" + beyond + "\r\n" + std::string(kShownCharacters - 1, 'c') + "\xE9\r\n");
    auto database = opened(path);
    ASSERT_TRUE(database);
    EXPECT_EQ(database->cell(ResultsTab::Records, 0, 2), atLimit);
    EXPECT_EQ(database->cell(ResultsTab::Records, 1, 2), beyond.substr(0, kShownCharacters) + "\x85");
    // A letter beyond ASCII takes two bytes in the database, one character shown.
    EXPECT_EQ(database->cell(ResultsTab::Records, 2, 2), std::string(kShownCharacters - 1, 'c') + "\xE9");
    auto detail = readRecordDetail(*database, 1);
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->fields[0].length, std::to_string(kShownCharacters + 1));  // the whole value's
    EXPECT_EQ(detail->fields[0].value, beyond.substr(0, kShownCharacters) + "\x85");
}

// OWASP's advice for CSV meant for spreadsheets: a text a spreadsheet would
// run as a formula gets a ' before it; a plain number stays a number.
TEST(UntrustedDatabase, ExportedTextsThatASpreadsheetWouldRunGetAQuoteBeforeThem) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0"},
        {"@SUM(A1:A9)", "'@SUM(A1:A9)"},
        {"\tlead", "'\tlead"},
        {"\rlead", "\"'\rlead\""},
        {"-2+3", "'-2+3"},
        {"-", "'-"},
        {"-1.2.3", "'-1.2.3"},
        {"+1e5", "'+1e5"},
        {"-12.5", "-12.5"},  // plain numbers
        {"+42", "+42"},
        {"-.5", "-.5"},
        {"a=b", "a=b"},
    };
    for (const auto& c : cases) {
        std::string out;
        appendCsvText(c.text, out);
        EXPECT_EQ(out, c.field) << c.text;
    }

    ScratchFolder folder("velmora formulas");
    const std::string path = parsedDatabase(
        folder, "formulas", configText("", "\\x0D\\x0A", {field("=Name", "None", "", "None", "", "TEXT_FIELD")}),
        "=1+1\r\n-5\r\n@x\r\n");
    auto database = opened(path);
    ASSERT_TRUE(database);
    CsvExport csv(*database, ResultsTab::Records);
    std::string text;
    while (!csv.step(100, text)) {
    }
    EXPECT_EQ(text, "\xEF\xBB\xBFRecord,Offset,'=Name\r\n1,0,'=1+1\r\n2,6,-5\r\n3,10,'@x\r\n");
}

}  // namespace
}  // namespace velmora::test
