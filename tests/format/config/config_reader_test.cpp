#include "format/config/config_reader.h"

#include <gtest/gtest.h>

#include "format/config/config_format.h"
#include "tests/support/configurations.h"

namespace velmora::test {

namespace {
ParseConfiguration read(const std::vector<std::string>& lines, ReadEffects* fx = nullptr) {
    ParseConfiguration c;
    ReadEffects e = applyConfigurationLines(lines, c);
    if (fx) *fx = e;
    return c;
}
}  // namespace

TEST(SplitLines, DropsCrBeforeLfAndKeepsALastLineWithoutEnd) {
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitLines("\n\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(splitLines("a\rb\r\r\n"), (std::vector<std::string>{"a\rb\r"}));
    EXPECT_EQ(splitLines(std::string("a\0b", 3)), (std::vector<std::string>{std::string("a\0b", 3)}));
}

TEST(ReadSlot, QuotedBareAndMissingSlots) {
    std::string line = R"(FieldDef("PAN", START_POSITION, 1, FIXED_LENGTH, 19, TEXT_FIELD, "Y"),)";
    size_t pos = 9;
    std::string slot;
    ASSERT_TRUE(readSlot(line, pos, slot));
    EXPECT_EQ(slot, "PAN");
    ASSERT_TRUE(readSlot(line, pos, slot));
    EXPECT_EQ(slot, "START_POSITION");
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(readSlot(line, pos, slot));
    EXPECT_EQ(slot, "Y");
    // After "Y") the next slot is found empty at the comma.
    ASSERT_TRUE(readSlot(line, pos, slot));
    EXPECT_EQ(slot, "");
    EXPECT_FALSE(readSlot(line, pos, slot));

    std::string bare = "FieldDef(abc)";
    pos = 9;
    ASSERT_TRUE(readSlot(bare, pos, slot));
    EXPECT_EQ(slot, "abc");
    EXPECT_EQ(bare[pos], ')');  // a bare slot stays on ")"
    EXPECT_FALSE(readSlot(bare, pos, slot));

    std::string open = R"(FieldDef("never closed)";
    pos = 9;
    EXPECT_FALSE(readSlot(open, pos, slot));
}

TEST(ReadSlot, StrayQuoteTakesTheCharacterBeforeTheNextCommaAsClosing) {
    std::string line = R"x(FieldDef("a"bc, next))x";
    size_t pos = 9;
    std::string slot;
    ASSERT_TRUE(readSlot(line, pos, slot));
    EXPECT_EQ(slot, "a\"b");
    ASSERT_TRUE(readSlot(line, pos, slot));
    EXPECT_EQ(slot, "next");
}

TEST(ReadGroup, CollectsUpToTheDoubleParenthesis) {
    std::string line = R"(x, ("%", "?", ";", "?", "_;", "?")),)";
    size_t pos = 2;
    std::string text;
    ASSERT_TRUE(readGroup(line, pos, text));
    EXPECT_EQ(text, R"("%", "?", ";", "?", "_;", "?")");
    EXPECT_EQ(line.compare(pos, 2, "))"), 0);

    std::string cut = R"(x, ("%", "?")";
    pos = 2;
    EXPECT_FALSE(readGroup(cut, pos, text));
    EXPECT_EQ(text, R"("%", "?")");
    std::string neither = "x, 42";
    pos = 2;
    EXPECT_FALSE(readGroup(neither, pos, text));
    EXPECT_EQ(text, "");
}

TEST(ApplyLines, KeysAndTheirRecordChoices) {
    ReadEffects fx;
    auto c = read({"fixedLength = 0"}, &fx);
    EXPECT_EQ(c.fixedLength, "");
    EXPECT_EQ(fx.recordChoice, RecordChoice::Unchanged);

    c = read({"fixedLength = 120"}, &fx);
    EXPECT_EQ(c.fixedLength, "120");
    EXPECT_EQ(fx.recordChoice, RecordChoice::FixedLength);
    EXPECT_TRUE(fx.enableFixedLengthEdit);

    c = read({"fixedLength = ' '"}, &fx);
    EXPECT_EQ(c.fixedLength, "");
    EXPECT_EQ(fx.recordChoice, RecordChoice::FixedLength);

    // Not key lines: no blanks around "=", a blank before the key, no "=".
    c = read({"fixedLength=120", " fixedLength = 120", "fixedLength ", ""}, &fx);
    EXPECT_EQ(c.fixedLength, "");
    EXPECT_EQ(fx.recordChoice, RecordChoice::Unchanged);

    // The last record line decides the radio button.
    c = read({"fixedLength = 250", "recordSeparator = '|'"}, &fx);
    EXPECT_EQ(fx.recordChoice, RecordChoice::CharacterSequence);
    EXPECT_TRUE(fx.enableFixedLengthEdit);
    EXPECT_TRUE(fx.enableCharacterSequenceEdit);
}

TEST(ApplyLines, FieldsInOrderOnlyForExactlyOne) {
    EXPECT_TRUE(read({"fieldsInOrder = 1"}).fieldsInOrder);
    EXPECT_FALSE(read({"fieldsInOrder = 1 "}).fieldsInOrder);
    EXPECT_FALSE(read({"fieldsInOrder = 0"}).fieldsInOrder);
}

TEST(ApplyLines, FirSeparatorTurnsProcessingOn) {
    ReadEffects fx;
    auto c = read({"firSeparator = '~'"}, &fx);
    EXPECT_TRUE(c.processFir);
    EXPECT_EQ(c.firSeparator, "~");
    EXPECT_TRUE(fx.enableFirSeparatorEdit);
    c = read({"firSeparator = ''"}, &fx);
    EXPECT_FALSE(c.processFir);
    EXPECT_FALSE(fx.enableFirSeparatorEdit);
}

TEST(ApplyLines, HandWrittenSeparatorsLoseBlanksAndQuotes) {
    // Not the writer's form: the value is cleaned as before.
    auto c = read({"recordSeparator =  ' a b ' x"});
    EXPECT_EQ(c.recordSeparator, "abx");
    c = read({"recordSeparator = ab = cd"});
    EXPECT_EQ(c.recordSeparator, "ab");
}

TEST(ApplyLines, SeparatorsTheWriterWroteComeBackWhole) {
    for (const char* sep : {" a b ", "=", "a'b", "\"", "\\x0D\\x0A", "a=b=c"}) {
        ParseConfiguration original;
        original.recordSeparator = sep;
        original.firSeparator = sep;
        original.processFir = true;
        auto c = read(formatConfiguration(original));
        EXPECT_EQ(c.recordSeparator, sep);
        EXPECT_EQ(c.firSeparator, sep);
    }
}

TEST(ApplyLines, FieldBlockRows) {
    auto c = read({
        "fieldDefs = (",
        R"(  FieldDef("A", START_CODE, "\"", END_CODE, "\"", TEXT_FIELD, "Y"),)",
        R"(FieldDef("B", START_POSITION, 12, FIXED_LENGTH, 4, SCPM_FIELD, "Y"),)",
        R"(FieldDef("C", None, "", TESSELGRAM, "", GP_FIELD, "Y", "script 1"),)",
        R"(FieldDef("D", None, "", END_CODE, "|", MAGSTRIPE_FIELD,"Y", ("%", "?", ";", "?", "_;", "?")),)",
        R"(FieldDef("E", None, "", None, "", FOO_FIELD, "Y"),)",
        ")",
    });
    const FieldList& l = c.fieldDefs;
    ASSERT_EQ(l.rowCount(), 5);
    EXPECT_EQ(l.row(0), field("A", "START_CODE", "\"", "END_CODE", "\"", "TEXT_FIELD", ""));
    EXPECT_EQ(l.row(1), field("B", "START_POSITION", "12", "FIXED_LENGTH", "4", "SORVINA_PM_FIELD", ""));
    EXPECT_EQ(l.row(2).fieldTypeData, "script 1");
    EXPECT_EQ(l.row(3).fieldTypeData, R"("%", "?", ";", "?", "_;", "?")");
    EXPECT_EQ(l.row(4).fieldType, "FOO_FIELD");
}

TEST(ApplyLines, ACommentEndsTheBlockAndASecondBlockGoesFirst) {
    auto c = read({
        "fieldDefs = (",
        R"(FieldDef("A", None, "", None, "", TEXT_FIELD, "Y"),)",
        "# a comment",
        R"(FieldDef("Lost", None, "", None, "", TEXT_FIELD, "Y"),)",
        "fieldDefs = (",
        R"(FieldDef("B", None, "", None, "", TEXT_FIELD, "Y"),)",
    });
    ASSERT_EQ(c.fieldDefs.rowCount(), 2);
    EXPECT_EQ(c.fieldDefs.cell(0, 0), "B");
    EXPECT_EQ(c.fieldDefs.cell(1, 0), "A");
}

TEST(ApplyLines, LinesWithoutAFieldNameMakeNoRowAndDisturbNoOther) {
    auto c = read({
        "fieldDefs = (",
        R"(FieldDef("A", None, "", None, "", TEXT_FIELD, "Y"),)",
        ")",
        "fieldDefs = (",
        "FieldDef()",
        R"(FieldDef("unterminated, START_CODE)",
        R"(FieldDef("B", None, "", None, "", BINARY_FIELD, "Y"),)",
    });
    ASSERT_EQ(c.fieldDefs.rowCount(), 2);
    EXPECT_EQ(c.fieldDefs.row(0), field("B", "None", "", "None", "", "BINARY_FIELD"));
    EXPECT_EQ(c.fieldDefs.row(1), field("A", "None", "", "None", "", "TEXT_FIELD"));
}

TEST(ApplyLines, MagstripeLineWithoutGroupGivesEmptyTypeData) {
    auto c = read({"fieldDefs = (", R"(FieldDef("M", None, "", None, "", MAGSTRIPE_FIELD,"Y", 42),)"});
    ASSERT_EQ(c.fieldDefs.rowCount(), 1);
    EXPECT_EQ(c.fieldDefs.cell(0, 6), "");
}

TEST(RoundTrip, ASavedConfigurationReadsBackTheSame) {
    ParseConfiguration original;
    original.recordSeparator = "\\x0D\\x0A";
    original.processFir = true;
    original.firSeparator = "~ ^";
    original.fieldsInOrder = true;
    addRow(original, field("Name 1", "START_CODE", "\"", "END_CODE", "a\"b", "TEXT_FIELD"));
    addRow(original, field("Quote", "START_CODE", "\\\"x", "END_CODE", "x\\", "BINARY_FIELD"));
    addRow(original, field("Pos", "START_POSITION", "12", "FIXED_LENGTH", "4", "SORVINA_PM_FIELD"));
    addRow(original, field("App", "None", "", "EMBEDDED_LENGTH", "", "P3_FIELD", "it's \"ok\""));
    addRow(original, field("Ign", "None", "", "TESSELGRAM", "", "IGNORE_FIELD"));
    addRow(original, field("Mag", "None", "", "END_CODE", "|", "MAGSTRIPE_FIELD", R"("%","?",";","?","_;","?")"));

    std::string text = configurationText(original);
    ParseConfiguration back = read(splitLines(text));
    EXPECT_EQ(back.recordSeparator, original.recordSeparator);
    EXPECT_EQ(back.firSeparator, original.firSeparator);
    EXPECT_TRUE(back.processFir);
    EXPECT_TRUE(back.fieldsInOrder);
    ASSERT_EQ(back.fieldDefs.rowCount(), 6);
    for (int r = 0; r < 5; ++r) EXPECT_EQ(back.fieldDefs.row(r), original.fieldDefs.row(r)) << "row " << r;
    // A sentinel tuple comes back in its file form, which reads the same way.
    EXPECT_EQ(back.fieldDefs.cell(5, 6), R"("%", "?", ";", "?", "_;", "?")");
    // Saving again gives the same bytes: nothing grows with each save.
    EXPECT_EQ(configurationText(back), text);
}

TEST(RoundTrip, FixedLengthFileReadsBack) {
    ParseConfiguration original;
    original.fixedLength = "+5";
    addRow(original, field("PAN", "START_POSITION", "1", "FIXED_LENGTH", "19", "TEXT_FIELD"));
    ParseConfiguration back = read(splitLines(configurationText(original)));
    EXPECT_EQ(back.fixedLength, "+5");
    EXPECT_EQ(back.recordSeparator, "");
    EXPECT_FALSE(back.processFir);
    EXPECT_FALSE(back.fieldsInOrder);
    EXPECT_EQ(back.fieldDefs.row(0), original.fieldDefs.row(0));
}

// Every value shape the editor accepts opens back exactly as saved, even
// where the lenient rules would cut it (a quote before "," or ")"); a file
// the strict reader refuses still opens by the lenient rules.
TEST(RoundTrip, OpenTakesWhatTheEditorSavedExactly) {
    ParseConfiguration saved;
    saved.recordSeparator = " '=\"x\\";
    saved.processFir = true;
    saved.firSeparator = "a ,)'";
    saved.fieldsInOrder = true;
    addRow(saved, field("Pan", "START_CODE", "\"a,b", "END_CODE", "\")x", "TEXT_FIELD"));
    addRow(saved, field("PAN", "START_POSITION", "7", "FIXED_LENGTH", "12", "SORVINA_PM_FIELD"));
    addRow(saved, field("S", "None", "", "TESSELGRAM", "", "GP_FIELD", "say \"hi\", bye"));
    addRow(saved, field("A", "None", "", "EMBEDDED_LENGTH", "", "P3_FIELD", "x\"),"));
    addRow(saved,
           field("M", "START_CODE", "\\x", "END_CODE", "\\\"", "MAGSTRIPE_FIELD", R"x(" %","))","\","?","","")x"));
    const std::string text = configurationText(saved);

    ParseConfiguration opened;
    ReadEffects fx = openConfigurationLines(splitLines(text), opened);
    EXPECT_EQ(opened.recordSeparator, saved.recordSeparator);
    EXPECT_EQ(opened.firSeparator, saved.firSeparator);
    EXPECT_TRUE(opened.processFir && opened.fieldsInOrder);
    EXPECT_EQ(fx.recordChoice, RecordChoice::CharacterSequence);
    EXPECT_TRUE(fx.enableCharacterSequenceEdit && fx.enableFirSeparatorEdit && !fx.enableFixedLengthEdit);
    ASSERT_EQ(opened.fieldDefs.rowCount(), 5);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(opened.fieldDefs.row(r), saved.fieldDefs.row(r)) << "row " << r;
    EXPECT_EQ(opened.fieldDefs.cell(4, 6), R"x(" %", "))", "\", "?", "", "")x");
    EXPECT_EQ(configurationText(opened), text);

    ParseConfiguration lenient;
    openConfigurationLines({"fixedLength = 5", "fieldDefs = (", R"(FieldDef("A", None, "", None, "", FOO, "Y"),)"},
                           lenient);
    EXPECT_EQ(lenient.fixedLength, "5");
    EXPECT_EQ(lenient.fieldDefs.cell(0, 5), "FOO");
}

}  // namespace velmora::test
