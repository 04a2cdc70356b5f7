#include <gtest/gtest.h>

#include "engine/core/text/cp1252.h"
#include "engine/core/fir_parts.h"
#include "engine/core/magstripe_tracks.h"
#include "engine/core/record_columns.h"
#include "engine/storage/database_writer.h"
#include "tests/support/configurations.h"

namespace velmora::test {
namespace {

std::string utf8(const std::string& cp1252) {
    std::string out;
    appendCp1252AsUtf8(cp1252, out);
    return out;
}

TEST(Cp1252Test, ConvertsTheWholePageToUtf8) {
    EXPECT_EQ(utf8("plain"), "plain");
    EXPECT_EQ(utf8("\xE9"), "\xC3\xA9");      // é
    EXPECT_EQ(utf8("\x80"), "\xE2\x82\xAC");  // €
    EXPECT_EQ(utf8("\x9F"), "\xC5\xB8");      // Ÿ
    EXPECT_EQ(utf8("\x81"), "\xC2\x81");      // undefined: the C1 control
    EXPECT_EQ(utf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    EXPECT_TRUE(isAscii("0123456789abcdefghij"));
    EXPECT_FALSE(isAscii("0123456789abcdefg\xE9"));
    EXPECT_FALSE(isAscii("\xE9"));
    // A byte above 127 is seen wherever it lies among the words looked at together.
    for (size_t at = 0; at < 70; ++at) {
        std::string text(70, 'a');
        EXPECT_TRUE(isAscii(text));
        text[at] = '\x80';
        EXPECT_FALSE(isAscii(text)) << at;
    }
    // Back again, byte for byte; what the page lacks, or broken UTF-8, is '?'.
    std::string page, back;
    for (int b = 0; b < 256; ++b) page += static_cast<char>(b);
    appendUtf8AsCp1252(utf8(page), back);
    EXPECT_EQ(back, page);
    back.clear();
    appendUtf8AsCp1252("a\xE4\xB8\xAD\xC3", back);
    EXPECT_EQ(back, "a??");
}

TEST(MagstripeTracksTest, EachTrackBetweenItsSentinels) {
    std::array<std::string, 6> iso{"%", "?", ";", "?", "_;", "?"};
    auto t = magstripeTracks("%B4111^DOE/J^25?;4111=25?_;011?", iso);
    EXPECT_EQ(t[0].value(), "B4111^DOE/J^25");
    EXPECT_EQ(t[1].value(), "4111=25");
    EXPECT_EQ(t[2].value(), "011");
    // Empty sentinels, or a start without its end, leave the track absent.
    t = magstripeTracks("%B1?;22", {"%", "?", ";", "?", "", ""});
    EXPECT_EQ(t[0].value(), "B1");
    EXPECT_FALSE(t[1]);
    EXPECT_FALSE(t[2]);
    // Track 2 is looked for after track 1, so a ";" inside track 1 is not taken.
    t = magstripeTracks("%a;b?;c?", {"%", "?", ";", "?", "", ""});
    EXPECT_EQ(t[1].value(), "c");
}

TEST(FirPartsTest, SplitsAtAnySeparatorKeepingEmptyParts) {
    auto split = [](std::string_view text, std::string_view separators) {
        std::vector<std::string_view> parts;
        FirParts cursor(text, separators);
        for (std::string_view part; cursor.next(part);) parts.push_back(part);
        return parts;
    };
    EXPECT_EQ(split("a~b^^c", "~^"), (std::vector<std::string_view>{"a", "b", "", "c"}));
    EXPECT_EQ(split("~a~", "~"), (std::vector<std::string_view>{"", "a", ""}));
    EXPECT_EQ(split("", "~"), (std::vector<std::string_view>{""}));
}

TEST(RecordColumnsTest, TracksGetColumnsIgnoredFieldsNoneAndEveryNameIsDistinct) {
    auto columnsOf = [](const std::vector<FieldDef>& fields) {
        EngineConfiguration c = engineConfig(configText("10", "", fields));
        std::vector<RecordColumn> columns;
        std::string error;
        EXPECT_TRUE(recordColumns(c, columns, error)) << error;
        std::vector<std::string> names;
        for (const RecordColumn& col : columns) names.push_back(col.name);
        return std::vector<std::string>(names.begin() + kRecordOwnColumns, names.end());
    };
    auto f = [](const std::string& name, const char* type) {
        return field(name, "None", "", "FIXED_LENGTH", "2", type);
    };
    EXPECT_EQ(columnsOf({f("Mag", "MAGSTRIPE_FIELD"), f("Skip", "IGNORE_FIELD"), f("Caf\xE9 name", "BINARY_FIELD")}),
              (std::vector<std::string>{"Mag", "Mag track 1", "Mag track 2", "Mag track 3", "Caf\xC3\xA9 name"}));
    // SQLite ignores ASCII case in names: a later name taken in any case
    // gets the next free number, the record's own columns included.
    EXPECT_EQ(columnsOf({f("PAN", "TEXT_FIELD"), f("Pan", "TEXT_FIELD"), f("pan (2)", "TEXT_FIELD"),
                         f("LENGTH", "TEXT_FIELD"), f("mag track 1", "TEXT_FIELD"), f("Mag", "MAGSTRIPE_FIELD")}),
              (std::vector<std::string>{"PAN", "Pan (2)", "pan (2) (2)", "LENGTH (2)", "mag track 1", "Mag",
                                        "Mag track 1 (2)", "Mag track 2", "Mag track 3"}));
    // No SQL text holds a NUL byte.
    EXPECT_EQ(columnsOf({f(std::string("A\0B", 3), "TEXT_FIELD")}), (std::vector<std::string>{"A\\x00B"}));
    EXPECT_EQ(quoteIdentifier("a \"b\""), "\"a \"\"b\"\"\"");
}

}  // namespace
}  // namespace velmora::test
