#include "format/fields/entry_checks.h"

#include <gtest/gtest.h>

#include "format/fields/keywords.h"

namespace velmora::test {

namespace {
std::string refusalOf(const FieldEntry& e) {
    auto r = checkFieldEntry(e);
    return std::holds_alternative<Refusal>(r) ? std::get<Refusal>(r).message : "";
}
FieldDef defOf(const FieldEntry& e) { return std::get<FieldDef>(checkFieldEntry(e)); }
FieldEntry named(const char* name) {
    FieldEntry e;
    e.fieldName = name;
    return e;
}
}  // namespace

TEST(FieldName, LettersDigitsWhiteSpaceAndUnderscoreOnly) {
    for (const char* ok : {"Card_No 1", "   ", "", "a\tb"}) EXPECT_TRUE(isValidFieldName(ok)) << ok;
    for (const char* bad : {"a-b", "a!", "caf\xe9", "x.y"}) EXPECT_FALSE(isValidFieldName(bad)) << bad;
    auto r = std::get<Refusal>(checkFieldEntry(named("a-b")));
    EXPECT_EQ(r.message, "Field Name shoud be alpha numeric characters.");
    EXPECT_EQ(r.caption, "Velmora Data parser");
    EXPECT_EQ(r.followUp, FollowUp::FocusFieldName);
}

TEST(BuildFieldDef, StartPositionRangeAndPlainDecimal) {
    FieldEntry e = named("F");
    e.startMethod = StartMethod::ByPosition;
    for (int bad : {0, 65535, -3}) {
        e.startPosition = bad;
        auto r = std::get<Refusal>(checkFieldEntry(e));
        EXPECT_EQ(r.message, "Enter a valid START_POSITION");
        EXPECT_EQ(r.caption, "Velmora Tarn Parser");
        EXPECT_EQ(r.followUp, FollowUp::FocusStartPosition);
    }
    e.startPosition = 7;
    EXPECT_EQ(defOf(e).startData, "7");
    e.startPosition = 65534;
    EXPECT_EQ(defOf(e).startType, "START_POSITION");
}

TEST(BuildFieldDef, EndLengthAndCodes) {
    FieldEntry e = named("F");
    e.endMethod = EndMethod::FixedLength;
    e.endLength = 0;
    auto r = std::get<Refusal>(checkFieldEntry(e));
    EXPECT_EQ(r.message, "Enter a valid Fixed Len");
    EXPECT_EQ(r.caption, "Velmora Data Parser");
    e.endLength = 100000;
    EXPECT_EQ(defOf(e).endData, "100000");

    e.endMethod = EndMethod::ByCode;
    EXPECT_EQ(refusalOf(e), "Enter a valid End code");
    e.endingCode = "#E";
    EXPECT_EQ(defOf(e).endData, "#E");
    e.endMethod = EndMethod::Tesselgram;
    EXPECT_EQ(defOf(e).endType, "TESSELGRAM");
    EXPECT_EQ(defOf(e).endData, "");
}

TEST(BuildFieldDef, StartIsCheckedBeforeEnd) {
    FieldEntry e = named("F");
    e.startMethod = StartMethod::ByCode;
    e.endMethod = EndMethod::ByCode;
    EXPECT_EQ(refusalOf(e), "Enter a valid Start code");
    e.startCode = " ";  // a blank is a code
    EXPECT_EQ(refusalOf(e), "Enter a valid End code");
    e.endingCode = "x";
    EXPECT_EQ(defOf(e).startData, " ");
}

TEST(BuildFieldDef, IgnoreEntryGivesIgnoreField) {
    FieldEntry e = named("F");
    e.fieldTypeIndex = 8;
    EXPECT_EQ(defOf(e).fieldType, "IGNORE_FIELD");
}

TEST(ComposeFieldTypeData, ByTypeAndOperation) {
    FieldEntry e = named("F");
    e.scriptData = "script";
    e.applicationName = "";
    e.fieldTypeIndex = 5;  // GP_FIELD
    EXPECT_EQ(composeFieldTypeData(e, RowKind::NewRow), "script");
    e.fieldTypeIndex = 4;  // P3_FIELD with no application name
    EXPECT_EQ(composeFieldTypeData(e, RowKind::NewRow), "");
    e.fieldTypeIndex = 1;
    EXPECT_EQ(composeFieldTypeData(e, RowKind::NewRow), "");

    e.fieldTypeIndex = 7;  // MAGSTRIPE_FIELD, no sentinels entered
    EXPECT_EQ(composeFieldTypeData(e, RowKind::NewRow), R"("%","?",";","?","_;","?")");
    EXPECT_EQ(composeFieldTypeData(e, RowKind::ChangedRow), R"("","","","")");
    e.sentinels = {"%", "?", ";", "?", "", "?"};
    EXPECT_EQ(composeFieldTypeData(e, RowKind::ChangedRow), R"("%","?",";","?","?")");
    EXPECT_EQ(composeFieldTypeData(e, RowKind::NewRow), R"("%","?",";","?","_;","?")");
}

// Only what a configuration file cannot carry is refused: a value ending in
// a backslash in a slot the field writes, a sentinel with a comma or quote.
TEST(EntryChecks, RefuseOnlyWhatTheFileCannotCarry) {
    FieldEntry e = named("F");
    e.startMethod = StartMethod::ByCode;
    e.endMethod = EndMethod::ByCode;
    e.startCode = "a\\";
    e.endingCode = "b\\";
    EXPECT_EQ(refusalOf(e), "Enter a valid Start code: it can not end with a backslash");
    e.startCode = "\\a\"\\x";
    EXPECT_EQ(refusalOf(e), "Enter a valid End code: it can not end with a backslash");
    e.endingCode = "\\\"";
    EXPECT_EQ(refusalOf(e), "");

    e.scriptData = "say \\";
    e.applicationName = "app\\";
    struct {
        int typeIndex;
        const char* message;
    } cases[] = {{5, "Enter valid Script Data: it can not end with a backslash"},
                 {4, "Enter a valid Application Name: it can not end with a backslash"},
                 {1, ""}};
    for (const auto& c : cases) {
        e.fieldTypeIndex = c.typeIndex;
        auto refusal = checkFieldTypeData(e);
        EXPECT_EQ(refusal ? refusal->message : "", c.message) << c.typeIndex;
    }
    for (const char* ok : {"%", "_;", "\\", "))", "'"}) EXPECT_TRUE(sentinelCarried(ok)) << ok;
    for (const char* bad : {",", "a\"b"}) EXPECT_FALSE(sentinelCarried(bad)) << bad;
}

}  // namespace velmora::test
