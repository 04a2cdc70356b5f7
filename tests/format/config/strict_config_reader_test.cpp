#include <gtest/gtest.h>

#include "format/config/byte_escapes.h"
#include "format/config/strict_config_reader.h"
#include "format/fields/keywords.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

TEST(StrictConfigReaderTest, ReadsTheFixedLengthExample) {
    ConfigReading r = readStrictConfiguration(exampleFile("fixed_length.cfg"));
    ASSERT_TRUE(r.ok) << r.failureText();
    EXPECT_EQ(r.config.recordLength, 250u);
    EXPECT_EQ(r.config.separator, "");
    EXPECT_FALSE(r.config.fieldsInOrder);
    ASSERT_EQ(r.config.fields.size(), 3u);
    EXPECT_EQ(r.config.fields[0].start, StartMethod::ByPosition);
    EXPECT_EQ(r.config.fields[0].startPosition, 1u);
    EXPECT_EQ(r.config.fields[0].fixedLength, 19u);
    EXPECT_EQ(r.config.fields[1].end, EndMethod::EmbeddedLength);
    EXPECT_EQ(r.config.fields[2].kind, FieldKind::P3);
    EXPECT_EQ(r.config.text.fieldDefs.row(2).fieldTypeData, "App1");
}

TEST(StrictConfigReaderTest, ReadsTheSeparatorExampleDecodingCodesAndQuotes) {
    ConfigReading r = readStrictConfiguration(exampleFile("separator.cfg"));
    ASSERT_TRUE(r.ok) << r.failureText();
    const EngineConfiguration& c = r.config;
    EXPECT_EQ(c.recordLength, 0u);
    EXPECT_EQ(c.separator, "\r\n");
    EXPECT_EQ(c.text.recordSeparator, "\\x0D\\x0A");  // the text stays as the file holds it
    EXPECT_EQ(c.firSeparators, "~");
    EXPECT_TRUE(c.fieldsInOrder);
    ASSERT_EQ(c.fields.size(), 4u);
    EXPECT_EQ(c.fields[0].startCode, "\"");
    EXPECT_EQ(c.fields[0].endCode, "#E1");
    EXPECT_EQ(c.fields[1].kind, FieldKind::SorvinaPm);
    EXPECT_EQ(c.text.fieldDefs.row(1).fieldType, kw::SorvinaPmField);
    EXPECT_EQ(c.fields[2].end, EndMethod::Tesselgram);
    EXPECT_EQ(c.text.fieldDefs.row(2).fieldTypeData, "Issuer");
    EXPECT_EQ(c.fields[3].kind, FieldKind::Magstripe);
    EXPECT_EQ(c.fields[3].sentinels, (std::array<std::string, 6>{"%", "?", ";", "?", "", ""}));
}

TEST(StrictConfigReaderTest, EveryFormTheEditorWritesReadsBack) {
    std::vector<FieldDef> fields = {
        field("A name", kw::StartCode, "x\"y", kw::EndCode, "\\x1E", kw::BinaryField),
        field("B", kw::StartPosition, "7", kw::FixedLength, "120", kw::TextField),
        field("C", kw::None, "", kw::EmbeddedLength, "", kw::SorvinaPmField),
        field("D", kw::StartPosition, "300", kw::Tesselgram, "", kw::SorvinaPsField, "script \"1\", (x)"),
        field("E", kw::StartCode, "(", kw::FixedLength, "3", kw::OpField, ""),
        field("F", kw::None, "", kw::None, "", kw::MagstripeField, "\"%\",\"?\",\";\",\"?\",\"_;\",\"?\""),
        field("G", kw::StartCode, "\\x41", kw::None, "", kw::IgnoreField),
    };
    ConfigReading r = readStrictConfiguration(configText("", "'a=\"", fields, false, "\\x1F~"));
    ASSERT_TRUE(r.ok) << r.failureText();
    for (size_t i = 0; i < fields.size(); ++i) {
        FieldDef read = r.config.text.fieldDefs.row(static_cast<int>(i));
        if (i == 5)
            EXPECT_EQ(read.fieldTypeData, "\"%\", \"?\", \";\", \"?\", \"_;\", \"?\"");
        else
            EXPECT_EQ(read, fields[i]) << i;
    }
    EXPECT_EQ(r.config.separator, "'a=\"");
    EXPECT_EQ(r.config.firSeparators, "\x1F~");
    EXPECT_EQ(r.config.fields[0].startCode, "x\"y");
    EXPECT_EQ(r.config.fields[0].endCode, "\x1E");
    EXPECT_EQ(r.config.fields[6].startCode, "A");
    EXPECT_EQ(r.config.fields[5].sentinels[4], "_;");
}

TEST(StrictConfigReaderTest, RefusesWhatItCannotUnderstandWithTheLine) {
    const std::string head =
        "fixedLength = 0\r\nrecordSeparator = '|'\r\nfirSeparator = ''\r\nfieldsInOrder = 1\r\n"
        "fieldDefs = (\r\n";
    const std::string ok = "FieldDef(\"A\", None, \"\", None, \"\", TEXT_FIELD, \"Y\"),\r\n";
    struct Case {
        std::string text;
        int line;
        const char* reason;
    } cases[] = {
        {"\xEF\xBB\xBF" + head + ok + ")\r\n", 1, "fixedLength"},
        {"fixedLength = 12x\r\n", 1, "whole number"},
        {"fixedLength = 0\r\nrecordSeparator = ''\r\n", 2, "neither"},
        {"fixedLength = 5\r\nrecordSeparator = '|'\r\n", 2, "both"},
        {"fixedLength = 0\r\nrecordSeparator = |\r\n", 2, "recordSeparator"},
        {"fixedLength = 0\r\nrecordSeparator = '|'\r\nfirSeparator = ''\r\nfieldsInOrder = 2\r\n", 4, "fieldsInOrder"},
        {head + ok, 7, "ends"},
        {head + ")\r\n", 6, "empty"},
        {head + ok + ")\r\n\r\n", 8, "after the closing"},
        {head + "\r\n" + ok + ")\r\n", 6, "FieldDef("},
        {head + ok + ok + ")\r\n", 7, "second field"},
        {head + "FieldDef(\"\", None, \"\", None, \"\", TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "name is empty"},
        {head + "FieldDef(\"A\", Start, \"\", None, \"\", TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "start type"},
        {head + "FieldDef(\"A\", START_POSITION, 0, None, \"\", TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "start position"},
        {head + "FieldDef(\"A\", START_POSITION, \"5\", None, \"\", TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "start position"},
        {head + "FieldDef(\"A\", START_CODE, \"\", None, \"\", TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "empty code"},
        {head + "FieldDef(\"A\", None, \"x\", None, \"\", TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "no data"},
        {head + "FieldDef(\"A\", None, \"\", FIXED_LENGTH, -3, TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "fixed length"},
        {head + "FieldDef(\"A\", None, \"\", None, \"\", TEXT, \"Y\"),\r\n)\r\n", 6, "field type"},
        {head + "FieldDef(\"A\", None, \"\", None, \"\", TEXT_FIELD, \"N\"),\r\n)\r\n", 6, "expected"},
        {head + "FieldDef(\"A\", None, \"\", None, \"\", TEXT_FIELD, \"Y\", \"x\"),\r\n)\r\n", 6, "expected"},
        {head + "FieldDef(\"A\", None, \"\", None, \"\", P3_FIELD, \"Y\"),\r\n)\r\n", 6, "expected"},
        {head + "FieldDef(\"A\", None, \"\", None, \"\", TEXT_FIELD, \"Y\")\r\n)\r\n", 6, "expected"},
        {head + "FieldDef(\"A\", None, \"\", None, \"\", TEXT_FIELD, \"Y\"), \r\n)\r\n", 6, "unexpected text"},
        {head + "FieldDef(\"A, None, \"\", None, \"\", TEXT_FIELD, \"Y\"),\r\n)\r\n", 6, "expected"},
        {head + "FieldDef(\"M\", None, \"\", None, \"\", MAGSTRIPE_FIELD,\"Y\", (\"%\", \"?\")),\r\n)\r\n", 6,
         "expected"},
        {head + "FieldDef(\"M\", None, \"\", None, \"\", MAGSTRIPE_FIELD, \"Y\"),\r\n)\r\n", 6, "expected"},
    };
    for (const Case& c : cases) {
        ConfigReading r = readStrictConfiguration(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.line, c.line) << c.text << r.reason;
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << r.reason;
    }
}

TEST(StrictConfigReaderTest, AcceptsLineFeedsAndAMissingLastLineEnd) {
    std::string text = exampleFile("fixed_length.cfg");
    std::string lf;
    for (char c : text)
        if (c != '\r') lf += c;
    EXPECT_TRUE(readStrictConfiguration(lf).ok);
    EXPECT_TRUE(readStrictConfiguration(text.substr(0, text.size() - 2)).ok);
    EXPECT_TRUE(readStrictConfiguration(std::string(exampleFile("fixed_length.cfg")).replace(14, 3, "+250")).ok);
}

// Whatever the editor lets through means something to the engine: a "\x"
// without two hexadecimal digits is literal text, and a number too large
// for any record is as good as the largest.
TEST(StrictConfigReaderTest, TakesEveryCodeAndNumberTheEditorAccepts) {
    ConfigReading r = readStrictConfiguration(configText(
        "", "\\xZ1", {field("A", "START_POSITION", "99999999999999999999", "END_CODE", "\\x4", "TEXT_FIELD")}));
    ASSERT_TRUE(r.ok) << r.failureText();
    EXPECT_EQ(r.config.separator, "\\xZ1");
    EXPECT_EQ(r.config.fields[0].endCode, "\\x4");
    EXPECT_EQ(r.config.fields[0].startPosition, 999999999999u);
    EXPECT_EQ(r.config.text.fieldDefs.row(0).startData, "99999999999999999999");
    r = readStrictConfiguration(
        configText("123456789012345678901234567890", "", {field("A", "None", "", "None", "", "TEXT_FIELD")}));
    ASSERT_TRUE(r.ok) << r.failureText();
    EXPECT_EQ(r.config.text.fixedLength, "123456789012345678901234567890");
}

TEST(ByteEscapesTest, DecodesHexPairsAndLeavesOtherBackslashes) {
    EXPECT_EQ(decodeByteEscapes("a\\x0d\\x0A\\n\\\\x41\\"), "a\r\n\\n\\A\\");
    // Without two hexadecimal digits the backslash is itself.
    EXPECT_EQ(decodeByteEscapes("\\x4"), "\\x4");
    EXPECT_EQ(decodeByteEscapes("\\xg0\\x"), "\\xg0\\x");
}

TEST(ByteEscapesTest, MessagesShowBytesThatDoNotPrintAsHexPairs) {
    const std::string bytes("a\r\n\0\x1A\x7F\xA0\xE9\\x\\n", 12);
    EXPECT_EQ(escapeBytes(bytes), "a\\x0D\\x0A\\x00\\x1A\\x7F\\xA0\xE9\\x5Cx\\n");
    // Controls only: the line stays one line, and escapes already made stay.
    EXPECT_EQ(escapeBytes(bytes, Escaping::Controls), "a\\x0D\\x0A\\x00\\x1A\\x7F\xA0\xE9\\x\\n");
}

}  // namespace
}  // namespace velmora::test
