// The utility's preview and the engine's database, for the same data and
// configuration: the same records, offsets, values and rejections; and the
// Results show what the database holds as the preview shows it.
#include <gtest/gtest.h>

#include "src/editor/record_preview.h"
#include "engine/core/ber_tlv.h"
#include "engine/core/text/cp1252.h"
#include "tests/support/database_query.h"
#include "engine/run/data_file_parse.h"
#include "src/results/results_database.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

using Rows = std::vector<std::string>;

TEST(PreviewMatchesDatabase, SameRecordsOffsetsValuesAndRejections) {
    const char separated[] =
        "#AJOS\xC9#E#P\x01\x02\xFF#Ex#M%B41^X?;41=25?|#T\x70\x03\x5A\x01\x07\r\n"
        "#A#E#P#Ex#M|#T\x5A\x00\r\n"       // found empty
        "#P12#Ex\r\n"                      // Name, Mag and Chip not found
        "#ABAD#E#P1#Ex#M|#T\x70\x05\x01";  // the TLV runs past the record
    const char fixed[] = "ABCD0002\xE9\x01  WXYZ0009abcdXY";
    struct Case {
        std::string config;
        std::string data;
    } cases[] = {
        {configText("", "\\x0D\\x0A",
                    {field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"),
                     field("PIN", "START_CODE", "#P", "END_CODE", "#E", "BINARY_FIELD"),
                     field("Skip", "None", "", "FIXED_LENGTH", "1", "IGNORE_FIELD"),
                     field("Mag", "START_CODE", "#M", "END_CODE", "|", "MAGSTRIPE_FIELD",
                           "\"%\",\"?\",\";\",\"?\",\"_;\",\"?\""),
                     field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")}),
         std::string(separated, sizeof separated - 1)},
        {configText("12", "",
                    {field("Name", "START_POSITION", "1", "FIXED_LENGTH", "4", "TEXT_FIELD"),
                     field("Photo", "START_POSITION", "5", "EMBEDDED_LENGTH", "", "BINARY_FIELD")}),
         std::string(fixed, sizeof fixed - 1)},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        folder.write("cards.dat", c.data);
        folder.write("cards.cfg", c.config);
        ParseRequest request;
        request.dataPath = folder.path("cards.dat");
        request.configPath = folder.path("cards.cfg");
        request.databasePath = folder.path("cards.mdb");
        ASSERT_TRUE(parseDataFile(request).completed);

        EngineConfiguration engine = engineConfig(c.config);
        RecordPreview preview(engine.text);
        ASSERT_EQ(preview.failure(), "");
        PreviewRows shown = preview.cut(c.data, c.data.size());
        std::vector<RecordColumn> columns;
        std::string error;
        ASSERT_TRUE(recordColumns(engine, columns, error));
        columns.erase(columns.begin(), columns.begin() + kRecordOwnColumns);
        ASSERT_EQ(columns.size(), preview.columns().size());

        std::string sql = "SELECT record_number, byte_offset";
        for (const RecordColumn& column : columns) sql += ", \"" + column.name + "\"";
        Rows records, rejected;
        for (const PreviewRow& row : shown.rows) {
            std::string line = std::to_string(row.record) + "|" + std::to_string(row.offset);
            if (!row.rejected.empty()) {
                rejected.push_back(line + "|" + row.rejected);
                continue;
            }
            for (size_t k = 0; k < columns.size(); ++k) {
                line += "|";
                if (!row.values[k])
                    line += "NULL";
                else if (columnStorage(engine, columns[k]) == ColumnStorage::Text)
                    appendCp1252AsUtf8(*row.values[k], line);
                else
                    line += "x" + hexBytes(*row.values[k]);
            }
            records.push_back(line);
        }
        const std::string db = folder.path("cards.mdb");
        EXPECT_EQ(query(db, sql + " FROM records ORDER BY record_number"), records);
        EXPECT_EQ(query(db,
                        "SELECT record_number, byte_offset, CASE WHEN field IS NULL THEN reason "
                        "ELSE field || ': ' || reason END FROM rejected ORDER BY record_number"),
                  rejected);
        EXPECT_EQ(query(db, "SELECT records_parsed, records_rejected FROM run"),
                  Rows{std::to_string(shown.parsed) + "|" + std::to_string(shown.rejected)});
        EXPECT_FALSE(records.empty());
        EXPECT_FALSE(rejected.empty());

        auto opened = ResultsDatabase::open(db);
        ASSERT_TRUE(opened) << opened.failure();
        auto results = std::move(*opened);
        Rows headers, previewHeaders{"Record", "Offset"}, cells, previewCells;
        for (const ResultsColumn& column : results->columns(ResultsTab::Records)) headers.push_back(column.header);
        for (const PreviewColumn& column : preview.columns()) previewHeaders.push_back(column.name);
        EXPECT_EQ(headers, previewHeaders);
        for (const PreviewRow& row : shown.rows) {
            if (!row.rejected.empty()) continue;
            previewCells.push_back(std::to_string(row.record) + "|" + std::to_string(row.offset));
            for (size_t k = 0; k < columns.size(); ++k)
                previewCells.back() +=
                    "|" + shownValue(row.values[k], preview.columns()[k].hex, cardMask(false, shown.cardColumns[k]));
        }
        for (std::uint64_t r = 0; r < results->rowCount(ResultsTab::Records); ++r) {
            cells.emplace_back(results->cell(ResultsTab::Records, r, 0));
            for (size_t k = 1; k < headers.size(); ++k)
                cells.back() += "|" + results->cell(ResultsTab::Records, r, static_cast<int>(k));
        }
        EXPECT_EQ(cells, previewCells);
    }
}

}  // namespace
}  // namespace velmora::test
