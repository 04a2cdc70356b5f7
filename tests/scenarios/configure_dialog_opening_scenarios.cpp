// The Configure dialog's opening state and its entry controls; runs on both hosts.
#include <utility>
#include <vector>

#include "tests/scenarios/configure_scenario.h"

namespace velmora::test {
namespace {

TEST_F(ConfigureScenario, OpensReadyForARecordSeparator) {
    EXPECT_EQ(host->caption(), "Configure Data File");
    EXPECT_TRUE(host->isChecked(kIdCharacterSequenceRadio));
    EXPECT_FALSE(host->isChecked(kIdRecordFixedLengthRadio));
    EXPECT_EQ(host->focusedId(), kIdCharacterSequenceEdit);
    EXPECT_TRUE(host->isChecked(kIdFieldsInOrder));
    EXPECT_FALSE(host->isChecked(kIdProcessFir));
    EXPECT_TRUE(host->isChecked(kIdStartNone));
    EXPECT_TRUE(host->isChecked(kIdEndNone));
    EXPECT_EQ(host->selectedIndex(kIdFieldType), 0);
    EXPECT_EQ(host->text(kIdStartPosition), "0");
    EXPECT_EQ(host->text(kIdEndFixedLength), "0");
    EXPECT_EQ(host->text(kIdAppendField), "&Append Field");
    for (int id : {kIdAppendField, kIdChangeField, kIdDeleteField, kIdInsertAbove, kIdOk, kIdFieldType, kIdStartCode,
                   kIdStartPosition, kIdEndCode, kIdEndFixedLength, kIdRecordFixedLengthEdit, kIdFirSeparatorEdit})
        EXPECT_FALSE(host->isEnabled(id)) << id;
    for (int id : {kIdCharacterSequenceEdit, kIdFieldName, kIdOpenExisting, kIdCancel, kIdProcessFir})
        EXPECT_TRUE(host->isEnabled(id)) << id;
    for (int id : {kIdApplicationName, kIdScriptData, kIdConfigureSentinels, kIdConfigureSentinelsLabel})
        EXPECT_FALSE(host->isVisible(id)) << id;
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(host->listCell(kIdFieldList, 0, 0), "");
}

TEST_F(ConfigureScenario, FieldNameEnablesTheEntryAndItsClearingDisablesIt) {
    host->type(kIdFieldName, "PAN");
    EXPECT_TRUE(host->isEnabled(kIdAppendField));
    EXPECT_TRUE(host->isEnabled(kIdFieldType));
    EXPECT_FALSE(host->isEnabled(kIdStartCode));
    host->click(kIdAppendField);
    host->clickListRow(kIdFieldList, 0);  // Change, Delete and Insert Above usable
    // For each method with an edit: emptying the name disables every field
    // button and method edit, but not the radios; a name enables the type
    // list and the selected methods' edits again, and only those.
    const std::vector<std::pair<int, int>> methods = {{kIdStartCodeRadio, kIdStartCode},
                                                      {kIdStartPositionRadio, kIdStartPosition},
                                                      {kIdEndCodeRadio, kIdEndCode},
                                                      {kIdEndFixedLengthRadio, kIdEndFixedLength}};
    for (const auto& [radio, edit] : methods) {
        host->click(kStartRadioIds[0]);
        host->click(kEndRadioIds[0]);
        host->type(kIdFieldName, "P");
        host->click(radio);
        EXPECT_TRUE(host->isEnabled(edit)) << edit;
        host->type(kIdFieldName, "");
        for (int id : {kIdAppendField, kIdChangeField, kIdDeleteField, kIdInsertAbove, kIdFieldType, kIdStartCode,
                       kIdStartPosition, kIdEndCode, kIdEndFixedLength})
            EXPECT_FALSE(host->isEnabled(id)) << id;
        EXPECT_TRUE(host->isEnabled(radio));
        host->type(kIdFieldName, "Q");
        EXPECT_TRUE(host->isEnabled(kIdFieldType));
        for (const auto& other : methods) EXPECT_EQ(host->isEnabled(other.second), other.second == edit) << edit;
    }
}

// Typed text reaches the model only through a pull or a method radio's
// step; a push before that shows the model's older value again.
TEST_F(ConfigureScenario, TypedEntriesReachTheModelThroughPullsAndMethodRadios) {
    host->type(kIdFieldName, "F");
    host->click(kIdStartCodeRadio);
    host->type(kIdStartCode, "#A");
    host->click(kIdEndCodeRadio);  // reads the start edits
    host->type(kIdEndCode, "#E");
    host->click(kIdStartCodeRadio);  // reads the end edits
    host->type(kIdStartCode, "#B");
    host->click(kIdRecordFixedLengthRadio);  // a push
    EXPECT_EQ(host->text(kIdStartCode), "#A");
    EXPECT_EQ(host->text(kIdEndCode), "#E");
    host->type(kIdStartCode, "#B");
    host->type(kIdRecordFixedLengthEdit, "8");  // its change pulls
    host->click(kIdCharacterSequenceRadio);
    EXPECT_EQ(host->text(kIdStartCode), "#B");

    host->click(kIdStartPositionRadio);
    EXPECT_EQ(dialog->entry().startCode, "");
    host->type(kIdStartPosition, "12");
    host->click(kIdEndNone);
    EXPECT_EQ(dialog->entry().startPosition, 12);
}

TEST_F(ConfigureScenario, RecordChoicesAndSaveButton) {
    // One group, although each radio's edit stands between them.
    host->click(kIdRecordFixedLengthRadio);
    EXPECT_FALSE(host->isChecked(kIdCharacterSequenceRadio));
    EXPECT_TRUE(host->isChecked(kIdStartNone));  // its push shows the methods chosen at opening
    EXPECT_TRUE(host->isChecked(kIdEndNone));
    host->click(kIdCharacterSequenceRadio);
    EXPECT_FALSE(host->isChecked(kIdRecordFixedLengthRadio));
    EXPECT_EQ(host->focusedId(), kIdCharacterSequenceEdit);
    host->type(kIdCharacterSequenceEdit, "|");
    EXPECT_TRUE(host->isEnabled(kIdOk));
    host->click(kIdRecordFixedLengthRadio);
    EXPECT_TRUE(host->isEnabled(kIdRecordFixedLengthEdit));
    EXPECT_FALSE(host->isEnabled(kIdCharacterSequenceEdit));
    EXPECT_EQ(host->text(kIdCharacterSequenceEdit), "");
    EXPECT_EQ(host->focusedId(), kIdRecordFixedLengthEdit);
    host->type(kIdRecordFixedLengthEdit, "80");
    EXPECT_TRUE(host->isChecked(kIdRecordFixedLengthRadio));
    host->type(kIdRecordFixedLengthEdit, "");
    EXPECT_FALSE(host->isEnabled(kIdOk));
}

TEST_F(ConfigureScenario, FirBoxEnablesAndEmptiesItsEdit) {
    host->click(kIdProcessFir);
    EXPECT_TRUE(host->isEnabled(kIdFirSeparatorEdit));
    EXPECT_EQ(host->focusedId(), kIdFirSeparatorEdit);
    host->type(kIdFirSeparatorEdit, "~");
    EXPECT_TRUE(host->isEnabled(kIdOk));
    host->click(kIdProcessFir);
    EXPECT_FALSE(host->isEnabled(kIdFirSeparatorEdit));
    EXPECT_EQ(host->text(kIdFirSeparatorEdit), "");
    EXPECT_EQ(dialog->processFir(), 0);
}

TEST_F(ConfigureScenario, FieldTypeShowsItsOwnPair) {
    host->type(kIdFieldName, "F");
    host->choose(kIdFieldType, 5);  // GP_FIELD
    EXPECT_TRUE(host->isVisible(kIdScriptData));
    EXPECT_FALSE(host->isVisible(kIdApplicationName));
    host->choose(kIdFieldType, 4);  // P3_FIELD
    EXPECT_TRUE(host->isVisible(kIdApplicationName));
    EXPECT_FALSE(host->isVisible(kIdScriptData));
    host->choose(kIdFieldType, 7);  // MAGSTRIPE_FIELD
    EXPECT_TRUE(host->isVisible(kIdConfigureSentinels));
    EXPECT_TRUE(host->isVisible(kIdConfigureSentinelsLabel));
    host->choose(kIdFieldType, 8);  // IGNORE
    for (int id : {kIdApplicationName, kIdScriptData, kIdConfigureSentinels}) EXPECT_FALSE(host->isVisible(id));
}

TEST_F(ConfigureScenario, EndRadiosKeepTheLengthOnlyForFixedLength) {
    host->type(kIdFieldName, "F");
    host->click(kIdEndFixedLengthRadio);
    host->type(kIdEndFixedLength, "12");
    host->click(kIdStartCodeRadio);  // a start radio reads the end edits
    EXPECT_EQ(dialog->entry().endLength, 12);
    host->click(kIdEndFixedLengthRadio);
    EXPECT_EQ(dialog->entry().endLength, 12);
    host->click(kIdEmbeddedLengthRadio);
    EXPECT_EQ(dialog->entry().endLength, 0);
    EXPECT_FALSE(host->isEnabled(kIdEndFixedLength));
}

TEST_F(ConfigureScenario, HelpAndCancel) {
    host->pressF1();
    EXPECT_FALSE(host->ended());
    host->pressEscape();
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdCancel);
}

}  // namespace
}  // namespace velmora::test
