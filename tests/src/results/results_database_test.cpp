// Reading a parse's database as the Results show it: recognised or refused
// with one sentence, paged by rowid, searched, exported as CSV, and a
// record with what the engine decoded of it.
#include "src/results/results_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <regex>

#include "src/results/csv_export.h"
#include "src/results/record_detail.h"
#include "src/results/row_search.h"
#include "tests/support/configurations.h"
#include "tests/support/parsed_database.h"

namespace velmora::test {
namespace {

using Cells = std::vector<std::string>;

// A text with a FIR separator, quotes and a letter beyond ASCII; empty
// values; a BER-TLV object holding another; a record set aside; and
// enough records for several pages.
std::string cardsData() {
    std::string data =
        "#AJos\xC9, \"Jr\"#E#P\x01\x02#E#T\x70\x03\x5A\x01\x07\r\n#A#E#P#E\r\n#ABAD#E#P1#E#T\x70\x05\x01";
    for (int n = 1; n <= 600; ++n) data += "\r\n#AR" + std::to_string(n) + "#E#P" + std::string(1, '\0') + "#E";
    return data;
}

std::string cardsConfig() {
    return configText("", "\\x0D\\x0A",
                      {field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"),
                       field("PIN", "START_CODE", "#P", "END_CODE", "#E", "BINARY_FIELD"),
                       field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")},
                      true, ",");
}

class ResultsDatabaseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new ScratchFolder("velmora results");
        path = parsedDatabase(*folder, "cards", cardsConfig(), cardsData());
    }
    static void TearDownTestSuite() { delete folder; }
    void SetUp() override {
        auto opened = ResultsDatabase::open(path);
        ASSERT_TRUE(opened) << opened.failure();
        database = std::move(*opened);
    }
    Cells row(ResultsTab tab, std::uint64_t r) {
        Cells cells;
        for (std::size_t c = 0; c < database->columns(tab).size(); ++c)
            cells.push_back(database->cell(tab, r, static_cast<int>(c)));
        return cells;
    }

    static inline ScratchFolder* folder = nullptr;
    static inline std::string path;
    std::unique_ptr<ResultsDatabase> database;
};

TEST_F(ResultsDatabaseTest, ShowsTheRunTheRecordsAndTheRejectionsAsStoredAPageAtATime) {
    EXPECT_TRUE(std::regex_match(database->summary(),
                                 std::regex("602 records parsed, 1 rejected - .*cards\\.dat with .*cards\\.cfg, "
                                            "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d")))
        << database->summary();
    Cells headers;
    for (const ResultsColumn& column : database->columns(ResultsTab::Records)) headers.push_back(column.header);
    EXPECT_EQ(headers, (Cells{"Record", "Offset", "Name", "PIN", "Chip"}));
    ASSERT_EQ(database->rowCount(ResultsTab::Records), 602u);
    ASSERT_EQ(database->rowCount(ResultsTab::Rejected), 1u);
    EXPECT_EQ(row(ResultsTab::Records, 0), (Cells{"1", "0", "Jos\xC9, \"Jr\"", "\\x01\\x02", "70035A0107"}));
    EXPECT_EQ(row(ResultsTab::Records, 1), (Cells{"2", "29", "''", "''", ""}));  // empty, and not found
    // Pages far apart and back again, past the few kept; each page's first
    // and last rows (256 a page), and the table's last.
    for (std::uint64_t r : {601u, 300u, 520u, 777u, 40u, 260u, 601u, 255u, 256u, 511u, 512u, 2u})
        EXPECT_EQ(database->cell(ResultsTab::Records, r, 2), r < 602 ? "R" + std::to_string(r - 1) : "") << r;
    EXPECT_EQ(row(ResultsTab::Records, 601)[3], "\\x00");
    const Cells rejected = row(ResultsTab::Rejected, 0);
    EXPECT_EQ(Cells(rejected.begin(), rejected.begin() + 4), (Cells{"3", "39", "17", "Chip"}));
    EXPECT_FALSE(rejected[4].empty());
}

TEST_F(ResultsDatabaseTest, EveryFileThatIsNotAParsesDatabaseSaysWhatItIsAndNamesIt) {
    const std::string whole = folder->read("cards.mdb");
    folder->write("empty.mdb", "");
    folder->write("text.mdb", "Name,PAN\r\nJOHN,4111\r\n");
    folder->write("cut.mdb", whole.substr(0, whole.size() / 2));
    folder->write("foreign.mdb", "");
    changeDatabase(folder->path("foreign.mdb"),
                   "CREATE TABLE customers (id INTEGER, name TEXT); INSERT INTO customers VALUES (1, 'x')");
    folder->write("locked.mdb", whole);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(folder->path("locked.mdb").c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const struct {
        const char* file;
        const char* says;
    } cases[] = {
        {"missing.mdb", " does not exist."},
        {"empty.mdb", " is empty."},
        {"text.mdb", " is not a database."},
        {"cut.mdb", " is damaged: database disk image is malformed."},
        {"foreign.mdb", " is not a database written by ParseTarn."},
        {"locked.mdb", " is locked by another program."},
    };
    for (const auto& c : cases) {
        auto opened = ResultsDatabase::open(folder->path(c.file));
        EXPECT_FALSE(opened);
        EXPECT_EQ(opened.ok() ? "" : opened.failure(), folder->path(c.file) + c.says);
    }
    sqlite3_close(holder);

    // An engine's database without some of its tables shows what it has.
    for (const char* dropped : {"records", "rejected"}) {
        folder->write("older.mdb", whole);
        changeDatabase(folder->path("older.mdb"),
                       std::string("DROP TABLE run; DROP TABLE fields; DROP TABLE ") + dropped);
        auto opened = ResultsDatabase::open(folder->path("older.mdb"));
        ASSERT_TRUE(opened) << opened.failure();
        auto older = std::move(*opened);
        const bool records = std::string(dropped) != "records";
        EXPECT_EQ(older->summary(), std::string("No run facts in this database: ") + (records ? "602" : "0") +
                                        " records stored, " + (records ? "0" : "1") + " rejected.");
        EXPECT_EQ(older->cell(records ? ResultsTab::Records : ResultsTab::Rejected, 0, records ? 2 : 3),
                  records ? "Jos\xC9, \"Jr\"" : "Chip");
    }
    // An older engine's run, without the data file's facts, still sums up
    // the run; it only cannot say which data file it read.
    folder->write("older.mdb", whole);
    changeDatabase(folder->path("older.mdb"),
                   "ALTER TABLE run DROP COLUMN data_size; ALTER TABLE run DROP COLUMN data_modified; "
                   "ALTER TABLE run DROP COLUMN config_digest");
    auto older = ResultsDatabase::open(folder->path("older.mdb"));
    ASSERT_TRUE(older) << older.failure();
    EXPECT_EQ((*older)->summary().rfind("602 records parsed, 1 rejected - ", 0), 0u) << (*older)->summary();
    EXPECT_FALSE((*older)->runData());
    ASSERT_TRUE(database->runData());
    EXPECT_EQ(database->runData()->stamp.size, folder->read("cards.dat").size());
    EXPECT_EQ(sqlite3_db_readonly(database->connection(), "main"), 1);  // read, never written
}

TEST_F(ResultsDatabaseTest, FindGoesOnAfterTheSelectionIgnoresCaseAndWrapsOnce) {
    const struct {
        ResultsTab tab;
        const char* text;
        std::optional<std::uint64_t> after, found;
    } cases[] = {
        {ResultsTab::Records, "jos\xE9", std::nullopt, 0},  // a letter beyond ASCII in the other case
        {ResultsTab::Records, "r600", std::nullopt, 601},
        {ResultsTab::Records, "r1", 5, 11},              // R10, after R4
        {ResultsTab::Records, "JOS", 0, 0},              // round to the row itself, once
        {ResultsTab::Records, "5a01", std::nullopt, 0},  // hexadecimal as shown
        {ResultsTab::Records, "\\x00", 600, 601},
        {ResultsTab::Records, "zzz", 7, std::nullopt},
        {ResultsTab::Rejected, "chip", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        RowSearch search(*database, c.tab, c.text, c.after);
        while (!search.step(7)) {
        }
        EXPECT_EQ(search.found(), c.found) << c.text;
        if (!c.found) {
            EXPECT_EQ(search.looked(), 602u) << c.text;
        }
    }
}

TEST_F(ResultsDatabaseTest, CsvQuotesOnlyWhatNeedsItAndWritesTheStoredValues) {
    const struct {
        const char* value;
        const char* field;
    } cases[] = {{"plain", "plain"},
                 {"", "\"\""},
                 {"a,b", "\"a,b\""},
                 {"say \"hi\"", "\"say \"\"hi\"\"\""},
                 {"two\r\nlines", "\"two\r\nlines\""},
                 {"lone\rCR", "\"lone\rCR\""},
                 {"lone\nLF", "\"lone\nLF\""},
                 {" spaced ", " spaced "}};
    for (const auto& c : cases) {
        std::string out;
        appendCsvField(c.value, out);
        EXPECT_EQ(out, c.field);
    }
    CsvExport csv(*database, ResultsTab::Records);
    std::string text;
    while (!csv.step(100, text)) {
    }
    EXPECT_EQ(csv.exported(), 602u);
    const std::string start =
        "\xEF\xBB\xBFRecord,Offset,Name,PIN,Chip\r\n1,0,\"Jos\xC3\x89, "
        "\"\"Jr\"\"\",0102,70035A0107\r\n2,29,\"\",\"\",\r\n";
    const std::string end = "\r\n603,8935,R600,00,\r\n";  // NULL: nothing
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

// Card numbers where the engine writes none are hidden all the same.
TEST_F(ResultsDatabaseTest, CardNumbersInReasonsAndBinaryValuesAreHidden) {
    folder->write("pans.mdb", folder->read("cards.mdb"));
    changeDatabase(folder->path("pans.mdb"),
                   "UPDATE rejected SET reason = 'bad 4111111111111111'; UPDATE records SET PIN = "
                   "CAST('4111111111111111' AS BLOB) WHERE record_number = 1");
    auto opened = ResultsDatabase::open(folder->path("pans.mdb"));
    ASSERT_TRUE(opened) << opened.failure();
    auto pans = std::move(*opened);
    EXPECT_EQ(pans->cell(ResultsTab::Rejected, 0, 4), "bad 411111******1111");
    EXPECT_EQ(pans->cell(ResultsTab::Records, 0, 3), "411111******1111");
    CsvExport csv(*pans, ResultsTab::Records);
    std::string text;
    csv.step(1, text);
    EXPECT_NE(text.find(",343131313131************31313131,"), std::string::npos) << text;
}

TEST_F(ResultsDatabaseTest, ARecordShowsItsFieldsAndItsDecodedObjectsAndParts) {
    auto detail = readRecordDetail(*database, 0);
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->record, 1);
    Cells fields;
    for (const RecordFieldRow& f : detail->fields)
        fields.push_back(f.name + "|" + f.type + "|" + f.length + "|" + f.value);
    EXPECT_EQ(fields, (Cells{"Name|TEXT_FIELD|10|Jos\xC9, \"Jr\"", "PIN|BINARY_FIELD|2|\\x01\\x02",
                             "Chip|GP_FIELD|5|70035A0107"}));
    Cells tree;
    for (const DecodedItem& item : detail->decoded) tree.push_back(std::to_string(item.parent) + " " + item.text);
    EXPECT_EQ(tree, (Cells{"-1 Chip", "0 70 READ RECORD Response Message Template, 3 bytes",
                           "1 5A Application Primary Account Number (PAN), 1 byte: 07", "-1 Name (FIR parts)",
                           "3 1: Jos\xC9", "3 2:  \"Jr\""}));
    EXPECT_TRUE(readRecordDetail(*database, 601)->decoded.size() == 2u);  // R600's one part
}

}  // namespace
}  // namespace velmora::test
