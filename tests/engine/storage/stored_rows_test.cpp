// Every row a run stores, byte for byte and type for type, against the rows
// an earlier engine stored for the same file: how rows reach SQLite (several
// a statement, bound in place) must never change what is stored.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/database_query.h"
#include "engine/command/engine_main.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

// Records of every kind the tables hold, more than a statement takes at
// once, with rejections in between: names with and without FIR parts and
// Windows-1252 letters, absent names, blobs of any byte, BER-TLV objects,
// tracks found and not found.
std::string manyRecords(int count) {
    std::string data;
    for (int k = 0; k < count; ++k) {
        const std::string n = std::to_string(k);
        if (k % 7 != 0) data += "\"Name" + n + (k % 2 ? "~part" + n : "") + (k % 5 == 0 ? "\xE9\xFC" : "") + "#E1";
        data += "#P" + std::string{static_cast<char>(k), static_cast<char>(k * 7), '\0'} + "#E2";
        const std::string children = std::string{'\x5A', '\x02', static_cast<char>(k), '\x34'} +
                                     std::string(k % 3, '\0') + std::string{'\x9F', '\x01', '\x01', 'v'};
        // Every third record's object runs past its end: rejected.
        const char length = static_cast<char>(children.size() + (k % 3 == 2 ? 40 : 0));
        data += "#S" + std::string{'\x70', length} + children;
        data += k % 2 ? "%B" + n + "^X?;" + n + "=25?|\r\n" : "plain|\r\n";
    }
    return data;
}

// Each row of a table in rowid order, every value as SQLite quotes it.
std::vector<std::string> dump(const std::string& db, const std::string& table) {
    std::vector<std::string> quoted;
    for (const std::string& column : query(db, "SELECT name FROM pragma_table_info('" + table + "')"))
        quoted.push_back("quote(\"" + column + "\")");
    std::string select;
    for (const std::string& q : quoted) select += (select.empty() ? "" : " || ',' || ") + q;
    std::vector<std::string> rows =
        query(db, "SELECT '" + table + ",' || " + select + " FROM " + table + " ORDER BY rowid");
    rows.insert(rows.begin(), table + " " + std::to_string(rows.size()));
    return rows;
}

TEST(StoredRows, ARunStoresTheRowsItAlwaysHas) {
    ScratchFolder folder;
    folder.write("in.dat", manyRecords(200));
    folder.write("in.cfg", exampleFile("separator.cfg"));
    std::ostringstream console;
    ASSERT_EQ(parseTarnMain({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}, console), 0);

    std::vector<std::string> rows;
    for (const char* table : {"records", "rejected", "tlv", "fir_parts", "fields"}) {
        std::vector<std::string> more = dump(folder.path("in.mdb"), table);
        rows.insert(rows.end(), more.begin(), more.end());
    }
    std::vector<std::string> expected;
    std::istringstream golden(exampleFile("stored_rows.golden"));
    for (std::string line; std::getline(golden, line);) expected.push_back(line);
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t k = 0; k < rows.size(); ++k) EXPECT_EQ(rows[k], expected[k]) << "line " << k + 1;
}

// Records are bound where they lie, in the batches the cutting thread hands
// over: a statement's rows spanning several batches keep their own bytes,
// not those of the records cut into a batch after it came back.
TEST(StoredRows, RowsSpanningHandOversKeepTheirOwnBytes) {
    constexpr int kLength = 30000, kCount = 120;  // over 1 MiB, three hand-overs
    std::string data;
    std::vector<std::string> expected;
    for (int k = 1; k <= kCount; ++k) {
        const std::string number = std::to_string(100000 + k);
        data += number + std::string(kLength - number.size(), static_cast<char>('a' + k % 26));
        expected.push_back(std::to_string(k) + "|" + number + "|" + std::string(3, static_cast<char>('a' + k % 26)));
    }
    ScratchFolder folder;
    folder.write("in.dat", data);
    folder.write("in.cfg", configText(std::to_string(kLength), "", {field("A", "None", "", "None", "", "TEXT_FIELD")}));
    std::ostringstream console;
    ASSERT_EQ(parseTarnMain({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}, console), 0);
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT record_number, substr(A, 1, 6), substr(A, -3) FROM records"),
              expected);
}

}  // namespace
}  // namespace velmora::test
