#include "src/viewer/stored_record_map.h"

#include <gtest/gtest.h>

#include "engine/core/database_tables.h"
#include "src/headless/memory_file_system.h"
#include "tests/support/configurations.h"
#include "tests/support/parsed_database.h"

namespace velmora::test {

// A real parse of fixed, separated and chip fields, in records cut by a
// separator and by a length: on each record's map every field's bytes are
// the value the engine stored, and a rejected record's fault is the one stored.
TEST(StoredRecordMap, EachFieldsBytesAreTheValueTheEngineStored) {
    ScratchFolder folder{"velmora stored map"};
    for (const char* fixedLength : {"", "40"}) {
        const std::string config = configText(fixedLength, *fixedLength ? "" : "\\x0D\\x0A",
                                              {field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"),
                                               field("Exp", "START_CODE", "=", "FIXED_LENGTH", "4", "TEXT_FIELD"),
                                               field("PAN", "START_CODE", "#N", "END_CODE", ";", "TEXT_FIELD"),
                                               field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")});
        const std::string records[] = {"#AJOE#E=2512#N4111111111111111;#T\x70\x03\x5A\x01\x07", "#ANA#E=2612#N41;",
                                       "#AX#E=1234#N5;#T\x70\x7F\x01"};
        std::string data;
        for (const std::string& r : records)
            data += *fixedLength ? (r + std::string(40, ' ')).substr(0, 40) : r + "\r\n";
        const std::string db = parsedDatabase(folder, "map", config, data);
        MemoryFileSystem files;
        holdRunFiles(files, folder, "map");
        auto database = ResultsDatabase::open(db);
        ASSERT_TRUE(database.ok()) << database.failure();

        for (std::int64_t record = 1; record <= 2; ++record) {
            auto map = StoredRecordMap::read(files, **database, tables::kRecords, record);
            ASSERT_TRUE(map.ok()) << map.failure();
            const RecordMapSource source = map->source(true);
            Statement stored = (*database)->rowsFrom(ResultsTab::Records, static_cast<std::uint64_t>(record - 1));
            ASSERT_TRUE(stored.step());
            for (std::size_t k = 0; k < source.fields.size(); ++k) {
                const MapField& f = source.fields[k];
                const auto bytes = f.found ? std::optional(source.record.substr(f.begin, f.length)) : std::nullopt;
                EXPECT_EQ(bytes, stored.bytes((*database)->shownColumn(ResultsTab::Records, 2 + int(k))))
                    << fixedLength << " " << record << " " << f.name;
            }
        }
        const RecordMap rejected(StoredRecordMap::read(files, **database, tables::kRejected, 3)->source(true));
        EXPECT_EQ(rejected.fault(),
                  (*database)->cell(ResultsTab::Rejected, 0, 3) + ": " + (*database)->cell(ResultsTab::Rejected, 0, 4));
        EXPECT_EQ(rejected.faultAt(), 13u);  // after the card number

        // No map, and why, for a place no record can have, or a
        // configuration changed since the run.
        changeDatabase(db, "UPDATE records SET length = 9000000000 WHERE record_number = 2");
        const auto why = [&](std::int64_t record) {
            auto map = StoredRecordMap::read(files, **database, tables::kRecords, record);
            return map.ok() ? std::string("a map") : map.failure();
        };
        EXPECT_EQ(why(2), "The database places the record past the end of the data file.");
        files.files[folder.path("map.cfg")] += "\r\n";
        EXPECT_EQ(why(1), "The configuration " + folder.path("map.cfg") + " has changed since the run.");
    }
}

}  // namespace velmora::test
