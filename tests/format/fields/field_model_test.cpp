#include <gtest/gtest.h>

#include "format/fields/field_entry.h"
#include "format/fields/field_list.h"
#include "format/fields/keywords.h"
#include "format/fields/sentinels.h"

namespace velmora::test {

TEST(FieldTypes, IgnoreEntryStoresIgnoreFieldAndUnknownTypesLoadAsIgnore) {
    EXPECT_STREQ(fieldTypeEntry(8), "IGNORE");
    EXPECT_STREQ(fieldTypeFromIndex(8), "IGNORE_FIELD");
    EXPECT_EQ(indexFromFieldType("IGNORE_FIELD"), 8);
    EXPECT_EQ(indexFromFieldType("FOO_FIELD"), 8);
    EXPECT_EQ(indexFromFieldType("text_field"), 8);  // case-sensitive
    for (int i = 0; i < 8; ++i) EXPECT_EQ(indexFromFieldType(fieldTypeFromIndex(i)), i);
    EXPECT_TRUE(isScriptType("GP_FIELD"));
    EXPECT_FALSE(isScriptType("P3_FIELD"));
}

TEST(FieldList, SetCellOnColumnZeroInsertsAndOtherColumnsSetExistingRows) {
    FieldList list;
    list.setCell(0, 0, "B");
    list.setCell(0, 0, "A");  // inserted above B
    list.setCell(2, 0, "C");  // at the end
    list.setCell(1, 5, "TEXT_FIELD");
    list.setCell(7, 5, "ignored");  // no such row
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.cell(0, 0), "A");
    EXPECT_EQ(list.cell(1, 0), "B");
    EXPECT_EQ(list.cell(1, 5), "TEXT_FIELD");
    EXPECT_EQ(list.cell(2, 0), "C");
    EXPECT_EQ(list.cell(9, 0), "");
    list.deleteRow(0);
    EXPECT_EQ(list.cell(0, 0), "B");
    list.deleteAll();
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(SentinelText, DefaultsComposeAndParseBack) {
    const Sentinels& iso = isoSentinels();
    std::vector<std::string> values;
    for (int i = 0; i < kSentinelCount; ++i) values.push_back(iso.at(i));
    std::string text = sentinelText(values);
    EXPECT_EQ(text, R"("%","?",";","?","_;","?")");
    EXPECT_EQ(sentinelsFromText(text), iso);
    // The form read back from a file, with blanks after the commas.
    EXPECT_EQ(sentinelsFromText(R"("%", "?", ";", "?", "_;", "?")"), iso);
}

TEST(SentinelText, MissingPiecesAreEmptyAndExtraPiecesIgnored) {
    Sentinels four = sentinelsFromText(R"("%","?",";","?")");
    EXPECT_EQ(four.track2End, "?");
    EXPECT_EQ(four.track3Start, "");
    EXPECT_EQ(splitSentinelText(R"("%","?",";","?")").size(), 4u);
    EXPECT_EQ(splitSentinelText(R"("1","2","3","4","5","6","7")").size(), 6u);
    EXPECT_TRUE(sentinelsFromText("").allEmpty());
    // Blanks are kept in the first value only.
    EXPECT_EQ(sentinelsFromText(R"(" %"," ?")").track1Start, " %");
    EXPECT_EQ(sentinelsFromText(R"(" %"," ?")").track1End, "?");
}

TEST(FieldEntry, ClearKeepsSentinels) {
    FieldEntry e;
    e.fieldName = "PAN";
    e.startMethod = StartMethod::ByPosition;
    e.startPosition = 7;
    e.fieldTypeIndex = 7;
    e.sentinels = isoSentinels();
    e.clear();
    EXPECT_EQ(e.fieldName, "");
    EXPECT_EQ(e.startMethod, StartMethod::None);
    EXPECT_EQ(e.startPosition, 0);
    EXPECT_EQ(e.fieldTypeIndex, 0);
    EXPECT_EQ(e.sentinels, isoSentinels());
}

}  // namespace velmora::test
