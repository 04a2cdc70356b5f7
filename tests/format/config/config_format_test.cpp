#include "format/config/config_format.h"

#include <gtest/gtest.h>

#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {

TEST(ConfigurationText, FixedLengthExampleByteForByte) {
    ParseConfiguration c;
    c.fixedLength = "250";
    addRow(c, field("PAN", "START_POSITION", "1", "FIXED_LENGTH", "19", "TEXT_FIELD"));
    addRow(c, field("Photo", "START_POSITION", "20", "EMBEDDED_LENGTH", "", "BINARY_FIELD"));
    addRow(c, field("Chip", "START_POSITION", "100", "FIXED_LENGTH", "40", "P3_FIELD", "App1"));
    EXPECT_EQ(configurationText(c), exampleFile("fixed_length.cfg"));
}

TEST(ConfigurationText, SeparatorExampleByteForByte) {
    ParseConfiguration c;
    c.recordSeparator = "\\x0D\\x0A";
    c.processFir = true;
    c.firSeparator = "~";
    c.fieldsInOrder = true;
    addRow(c, field("Name", "START_CODE", "\"", "END_CODE", "#E1", "TEXT_FIELD"));
    addRow(c, field("PM", "START_CODE", "#P", "END_CODE", "#E2", "SORVINA_PM_FIELD"));
    addRow(c, field("Script", "START_CODE", "#S", "TESSELGRAM", "", "GP_FIELD", "Issuer"));
    addRow(c, field("Mag", "None", "", "END_CODE", "|", "MAGSTRIPE_FIELD", R"("%","?",";","?")"));
    EXPECT_EQ(configurationText(c), exampleFile("separator.cfg"));
}

TEST(FieldDefLine, QuotingOfStartAndEndDataFollowsTheTwoKeywords) {
    auto line = [](const char* st, const char* sd, const char* et, const char* ed, const char* type) {
        return *formatFieldDef(field("F", st, sd, et, ed, type, "d"));
    };
    EXPECT_EQ(line("START_POSITION", "5", "FIXED_LENGTH", "3", "TEXT_FIELD"),
              R"(FieldDef("F", START_POSITION, 5, FIXED_LENGTH, 3, TEXT_FIELD, "Y"),)");
    EXPECT_EQ(line("START_POSITION", "5", "END_CODE", "#", "OP_FIELD"),
              R"(FieldDef("F", START_POSITION, 5, END_CODE, "#", OP_FIELD, "Y", "d"),)");
    EXPECT_EQ(line("START_CODE", "A", "FIXED_LENGTH", "3", "SORVINA_PS_FIELD"),
              R"(FieldDef("F", START_CODE, "A", FIXED_LENGTH, 3, SORVINA_PS_FIELD, "Y", "d"),)");
    EXPECT_EQ(line("START_CODE", "A", "EMBEDDED_LENGTH", "", "IGNORE_FIELD"),
              R"(FieldDef("F", START_CODE, "A", EMBEDDED_LENGTH, "", IGNORE_FIELD, "Y"),)");
    EXPECT_EQ(line("START_POSITION", "5", "FIXED_LENGTH", "3", "MAGSTRIPE_FIELD"),
              R"(FieldDef("F", START_POSITION, 5, FIXED_LENGTH, 3, MAGSTRIPE_FIELD,"Y", ("d", "", "", "", "", "")),)");
    EXPECT_EQ(line("None", "", "None", "", "MAGSTRIPE_FIELD"),
              R"(FieldDef("F", None, "", None, "", MAGSTRIPE_FIELD,"Y", ("d", "", "", "", "", "")),)");
}

TEST(FieldDefLine, UnknownTypeWritesNoLineButNeighboursAreWritten) {
    EXPECT_FALSE(formatFieldDef(field("F", "None", "", "None", "", "FOO_FIELD")));
    EXPECT_FALSE(formatFieldDef(field("F", "None", "", "None", "", "IGNORE")));
    ParseConfiguration c;
    c.fixedLength = "+5";
    addRow(c, field("A", "None", "", "None", "", "TEXT_FIELD"));
    addRow(c, field("B", "None", "", "None", "", "FOO_FIELD"));
    addRow(c, field("C", "None", "", "None", "", "BINARY_FIELD"));
    auto lines = formatConfiguration(c);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "fixedLength = +5");
    EXPECT_NE(lines[5].find("\"A\""), std::string::npos);
    EXPECT_NE(lines[6].find("\"C\""), std::string::npos);
    EXPECT_EQ(lines[7], ")");
}

TEST(FieldDefLine, QuotesAreEscapedInValuesButNotInSentinels) {
    EXPECT_EQ(escapeQuotes(R"(a"b"")"), R"(a\"b\"\")");
    EXPECT_EQ(escapeQuotes("'\\,()="), "'\\,()=");
    ParseConfiguration c;
    c.recordSeparator = "\"";
    c.firSeparator = "a'b";
    EXPECT_EQ(formatConfiguration(c)[1], R"(recordSeparator = '\"')");
    EXPECT_EQ(formatConfiguration(c)[2], "firSeparator = 'a'b'");
    EXPECT_EQ(*formatFieldDef(field("F", "None", "", "None", "", "P3_FIELD", "say \"hi\"")),
              R"(FieldDef("F", None, "", None, "", P3_FIELD, "Y", "say \"hi\""),)");
}

}  // namespace velmora::test
