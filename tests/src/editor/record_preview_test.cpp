#include "src/editor/record_preview.h"

#include <gtest/gtest.h>

#include "tests/support/configurations.h"

namespace velmora::test {

namespace {

ParseConfiguration cards(const char* fixedLength, const char* separator) {
    ParseConfiguration c;
    c.fixedLength = fixedLength;
    c.recordSeparator = separator;
    c.fieldsInOrder = true;
    addRow(c, field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"));
    addRow(c, field("Photo", "None", "", "EMBEDDED_LENGTH", "", "BINARY_FIELD"));
    addRow(c, field("Skip", "None", "", "FIXED_LENGTH", "1", "IGNORE_FIELD"));
    addRow(c, field("Mag", "START_CODE", "|", "END_CODE", "|", "MAGSTRIPE_FIELD", "\"%\",\"?\",\";\",\"?\",\"\",\"\""));
    addRow(c, field("Chip", "None", "", "TESSELGRAM", "", "GP_FIELD", "App"));
    return c;
}

std::vector<std::string> shown(const PreviewRows& rows, const RecordPreview& preview) {
    std::vector<std::string> lines;
    for (const PreviewRow& row : rows.rows) {
        std::string line = std::to_string(row.record) + "@" + std::to_string(row.offset);
        for (size_t c = 0; c < row.values.size(); ++c)
            line += "|" + shownValue(row.values[c], preview.columns()[c].hex, CardMask::None);
        if (!row.rejected.empty()) line += " rejected: " + row.rejected;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(RecordPreview, ColumnsAndValuesAsAParseStoresThemRejectionsWithTheirField) {
    RecordPreview preview(cards("", "\\x0D\\x0A"));
    ASSERT_EQ(preview.failure(), "");
    std::vector<std::string> names;
    for (const PreviewColumn& c : preview.columns()) names.push_back(c.name + (c.hex ? " (hex)" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"Name", "Photo", "Mag", "Mag track 1", "Mag track 2", "Mag track 3",
                                               "Chip (hex)"}));

    const char raw[] =
        "#AJOHN#E0002\x01\xFFx|%B41?;41?|\x9F\x02\x01\x07\r\n"  // every field found
        "\r\n"                                                  // empty: skipped, no number
        "0000x||\x5A\x00\r\n"                                   // no start code: Name NULL, the rest found
        "#ANA#E0009ab\r\n";                                     // the photo runs past the record
    const std::string data(raw, sizeof raw - 1);
    PreviewRows rows = preview.cut(data, data.size());
    EXPECT_EQ(shown(rows, preview),
              (std::vector<std::string>{"1@0|JOHN|\\x01\xFF|%B41?;41?|B41|41||9F020107", "2@34||''|''||||5A00",
                                        "3@45 rejected: Photo: embedded length 9 runs past the end of the record "
                                        "(2 bytes left)"}));
    EXPECT_EQ(previewSummary(rows), "2 records, 1 rejected, in the first 59 bytes of 59 bytes");
}

TEST(RecordPreview, ShowsOnlyRecordsThatEndWithinWhatWasReadUpToTheLimit) {
    struct Case {
        const char* fixedLength;
        const char* separator;
        std::string start;
        std::uint64_t fileSize;
        size_t limit;
        std::vector<std::string> records;  // number@offset
        std::uint64_t bytesShown;
    };
    const std::string sep = "#AA#E0000x||\x5A\x01Z\r\n#AB#E0000x||\x5A\x01Z\r\n#AC#E0000x||\x5A\x01Z";  // 15 bytes each
    const std::string fixed = sep.substr(0, 15) + sep.substr(17, 15) + sep.substr(34, 10);
    const Case cases[] = {
        // The whole file: the last record is shown without its separator or cut short.
        {"", "\\x0D\\x0A", sep, sep.size(), 200, {"1@0", "2@17", "3@34"}, sep.size()},
        {"15", "", fixed, fixed.size(), 200, {"1@0", "2@15", "3@30"}, fixed.size()},
        // The start of a bigger file: the record at the end of what was read may go on.
        {"", "\\x0D\\x0A", sep, 1000, 200, {"1@0", "2@17"}, 34},
        {"", "\\x0D\\x0A", sep.substr(0, 33), 1000, 200, {"1@0"}, 17},  // half a separator
        {"15", "", fixed, 1000, 200, {"1@0", "2@15"}, 30},
        {"15", "", fixed.substr(0, 30), 1000, 200, {"1@0", "2@15"}, 30},
        // The record limit.
        {"", "\\x0D\\x0A", sep, sep.size(), 2, {"1@0", "2@17"}, 34},
    };
    for (const Case& c : cases) {
        RecordPreview preview(cards(c.fixedLength, c.separator));
        PreviewRows rows = preview.cut(c.start, c.fileSize, {c.limit, 1u << 20});
        std::vector<std::string> records;
        for (const PreviewRow& row : rows.rows)
            records.push_back(std::to_string(row.record) + "@" + std::to_string(row.offset));
        EXPECT_EQ(records, c.records) << c.fixedLength << " " << c.start.size() << " of " << c.fileSize;
        EXPECT_EQ(rows.bytesShown, c.bytesShown) << c.fixedLength << " " << c.start.size() << " of " << c.fileSize;
    }
    // Fixed-length records: the short last one is the engine's rejection.
    RecordPreview preview(cards("15", ""));
    EXPECT_EQ(preview.cut(fixed, fixed.size()).rows.back().rejected, "short last record: 10 of 15 bytes");
    // Only the bytes the limit allows are cut.
    EXPECT_EQ(preview.cut(fixed, 1000, {200, 20}).rows.size(), 1u);
}

// The map of each record shows, for every stored field, exactly the bytes
// the engine stores: fixed, separated, chip and card-number fields, found,
// not found and cut short by a fault.
TEST(RecordPreview, EachFieldsBytesOnTheMapAreTheValueTheEngineStores) {
    for (const char* fixedLength : {"", "30"}) {
        ParseConfiguration c = cards(fixedLength, *fixedLength ? "" : "\\x0D\\x0A");
        addRow(c, field("Exp", "START_CODE", "=", "FIXED_LENGTH", "4", "TEXT_FIELD"));
        addRow(c, field("PAN", "START_CODE", "#N", "END_CODE", ";", "TEXT_FIELD"));
        RecordPreview preview(c);
        ASSERT_EQ(preview.failure(), "");
        const std::string records[] = {
            std::string("#AJO#E0002\x01\xFFx|%B4?;4?|\x9F\x02\x01\x07=2512#N4111111111111111;"),
            std::string("0000x||\x5A\x00=2612#N41;", 19),
            std::string("#ANA#E0009ab=1#N5;......"),  // rejected: the photo runs past the record
        };
        std::string data;
        for (const std::string& r : records)
            data += *fixedLength ? (r + std::string(30, ' ')).substr(0, 30) : r + "\r\n";
        if (*fixedLength) data.resize(60);  // the first record does not fit in 30 bytes: two records only
        const PreviewRows rows = preview.cut(data, data.size());
        ASSERT_FALSE(rows.rows.empty());
        for (std::size_t r = 0; r < rows.rows.size(); ++r) {
            const RecordMapSource source = preview.mapSource(rows, r, data, true);
            const RecordMap map(source);
            std::size_t column = 0;
            for (const MapField& f : map.fields()) {
                while (preview.columns()[column].name != f.name) ++column;  // past the tracks
                const PreviewRow& row = rows.rows[r];
                if (!row.rejected.empty()) {
                    EXPECT_FALSE(f.found && f.begin + f.length > map.faultAt()) << f.name;
                    continue;
                }
                const auto stored = row.values[column];
                EXPECT_EQ(f.found, stored.has_value()) << r << " " << f.name;
                if (!f.found || !stored) continue;
                EXPECT_EQ(source.record.substr(f.begin, f.length), *stored) << f.name;
                for (std::size_t at = f.begin; at < f.begin + f.length; ++at)
                    EXPECT_EQ(map.fieldAt(at), &f - map.fields().data()) << f.name << " " << at;
            }
        }
    }
}

TEST(RecordPreview, AConfigurationTheEngineRefusesGivesItsMessageAndNoRows) {
    RecordPreview noRecords(cards("", ""));
    EXPECT_EQ(noRecords.failure().rfind("configuration line ", 0), 0u) << noRecords.failure();
    EXPECT_TRUE(noRecords.columns().empty());
    EXPECT_TRUE(noRecords.cut("#AJOHN#E", 8).rows.empty());

    // Codes the engine would refuse to search for are refused here too, in its words.
    ParseConfiguration huge;
    huge.fixedLength = "5";
    addRow(huge, field("Big", "START_CODE", std::string(5u << 20, 'c'), "None", "", "TEXT_FIELD"));
    EXPECT_EQ(RecordPreview(huge).failure().rfind("configuration too large: ", 0), 0u);
}

TEST(RecordPreview, ValuesShowAsTextWhereTheyArePrintable) {
    struct Case {
        std::optional<std::string> value;
        bool hex;
        size_t limit;
        std::string text;
    } cases[] = {
        {std::nullopt, false, 256, ""},
        {"", false, 256, "''"},
        {"''", false, 256, "\\x27\\x27"},  // data, not the empty value
        {"Ab 1~", false, 256, "Ab 1~"},
        {std::string("\x00\t\x7F\x80\xA0\xAD", 6), false, 256, "\\x00\\x09\\x7F\\x80\\xA0\\xAD"},
        {"\xE9\xFF", false, 256, "\xE9\xFF"},
        {"C:\\x41\\y\\", false, 256, "C:\\x5Cx41\\y\\"},  // reads back as the same bytes
        {"\x9F\x02\x01", true, 256, "9F0201"},
        {"ABCDEF", false, 4, "ABCD\x85"},
        {"A\x01", false, 4, "A\x85"},  // an escape is never cut in half
    };
    for (const Case& c : cases) EXPECT_EQ(shownValue(c.value, c.hex, CardMask::None, c.limit), c.text) << c.text;
    PreviewRows one;
    one.parsed = 1;
    EXPECT_EQ(previewSummary(one), "1 record, 0 rejected, in the first 0 bytes of 0 bytes");
}

}  // namespace velmora::test
