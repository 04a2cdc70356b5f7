// Committing, inserting, changing and deleting fields in the Configure
// dialog; runs on both hosts.
#include "editor/sentinels_dialog_description.h"
#include "headless/headless_window.h"
#include "scenarios/configure_scenario.h"

namespace velmora {
namespace {

TEST_F(ConfigureScenario, AppendWritesTheRowAndClearsTheEntry) {
    append({"PAN", 2, "1", 2, "19", 1});
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 0), "PAN");
    EXPECT_EQ(cell(0, 1), "START_POSITION");
    EXPECT_EQ(cell(0, 2), "1");
    EXPECT_EQ(cell(0, 3), "FIXED_LENGTH");
    EXPECT_EQ(cell(0, 4), "19");
    EXPECT_EQ(cell(0, 5), "TEXT_FIELD");
    EXPECT_EQ(dialog->selectedRow(), 0);
    EXPECT_EQ(host->text(kIdFieldName), "");
    EXPECT_TRUE(host->isChecked(kIdStartNone));
    EXPECT_TRUE(host->isChecked(kIdEndNone));
    EXPECT_EQ(host->selectedIndex(kIdFieldType), 0);
    EXPECT_EQ(host->focusedId(), kIdFieldName);
    EXPECT_FALSE(host->isEnabled(kIdAppendField));
    EXPECT_TRUE(host->isEnabled(kIdOk));
}

TEST_F(ConfigureScenario, EntryRefusalsKeepWhatWasTyped) {
    host->type(kIdFieldName, "Card-No");
    expectRefusal("Field Name shoud be alpha numeric characters.", "Velmora Data parser");
    host->click(kIdAppendField);
    EXPECT_EQ(host->focusedId(), kIdFieldName);
    EXPECT_EQ(host->text(kIdFieldName), "Card-No");

    enter({"Card", 1, "", 1, ""});
    expectRefusal("Enter a valid Start code", "Velmora Tarn Parser");
    host->click(kIdAppendField);
    EXPECT_EQ(host->focusedId(), kIdStartCode);

    enter({"Card", 2, "65535", 0, ""});
    expectRefusal("Enter a valid START_POSITION", "Velmora Tarn Parser");
    host->click(kIdAppendField);

    enter({"Card", 0, "", 2, "0"});
    expectRefusal("Enter a valid Fixed Len");
    host->click(kIdAppendField);
    EXPECT_EQ(host->focusedId(), kIdEndFixedLength);

    enter({"Card", 0, "", 1, ""});
    expectRefusal("Enter a valid End code", "Velmora Tarn Parser");
    host->click(kIdAppendField);

    // A script ending in a backslash would read back otherwise from the file.
    enter({"Card", 0, "", 0, "", 5, "run \\"});
    expectRefusal("Enter valid Script Data: it can not end with a backslash");
    host->click(kIdAppendField);
    EXPECT_EQ(rows(), 0);
}

TEST_F(ConfigureScenario, StartPositionThatIsNoNumberFailsThePullOnly) {
    enter({"Card", 2, "abc", 0, ""});
    prompts.expectAppMessage("Please enter an integer.");
    host->click(kIdAppendField);
    EXPECT_EQ(host->focusedId(), kIdStartPosition);
    EXPECT_EQ(rows(), 0);
}

TEST_F(ConfigureScenario, InOrderPositionsAndNoneRules) {
    append({"A", 2, "10", 2, "5"});
    append({"B", 2, "20", 0, ""});
    enter({"C", 2, "15", 2, "5"});
    expectRefusal("Can not have a Start Position which is lesser than the previous Start Postions");
    host->click(kIdAppendField);
    EXPECT_EQ(host->focusedId(), kIdStartPosition);
    enter({"C", 0, "", 2, "5"});
    expectRefusal(
        "Previous Field's End Method and Current Field's Start Method Together Can Not Have The Value "
        "\"None\"");
    host->click(kIdAppendField);
    append({"C", 2, "25", 2, "5"});
    EXPECT_EQ(rows(), 3);
}

TEST_F(ConfigureScenario, NotInOrderUniquenessRunsTheRadioStep) {
    host->click(kIdFieldsInOrder);
    EXPECT_EQ(dialog->fieldsInOrder(), 0);
    append({"A", 1, "#A", 1, "#Z"});
    enter({"B", 1, "#B", 1, "#A"});
    expectRefusal("Start Method Should Be Unique. Enter a Different End Code");
    host->click(kIdAppendField);
    EXPECT_TRUE(host->isEnabled(kIdEndCode));  // the End Code radio step ran
    enter({"A", 1, "#C", 1, "#D"});
    expectRefusal("There is already a field with this name.  Please enter a new field name");
    host->click(kIdAppendField);
    EXPECT_EQ(rows(), 1);
}

TEST_F(ConfigureScenario, InsertAboveTheClickedRow) {
    append({"A", 2, "10", 2, "5"});
    append({"B", 2, "20", 2, "5"});
    host->clickListRow(kIdFieldList, 1);
    EXPECT_TRUE(host->isEnabled(kIdInsertAbove));
    host->click(kIdInsertAbove);
    EXPECT_EQ(host->text(kIdAppendField), "OK");
    EXPECT_FALSE(host->isEnabled(kIdAppendField));
    EXPECT_FALSE(host->isEnabled(kIdOk));
    EXPECT_EQ(dialog->insertMode(), 1);

    enter({"N", 2, "20", 2, "5"});
    expectRefusal("Can not have a Start Position which is greater than the next Start Postions");
    host->click(kIdAppendField);
    EXPECT_EQ(host->text(kIdAppendField), "OK");  // still inserting above the same row
    enter({"N", 2, "15", 2, "5"});
    host->click(kIdAppendField);
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(1, 0), "N");
    EXPECT_EQ(cell(2, 0), "B");
    EXPECT_EQ(host->text(kIdAppendField), "&Append Field");
    EXPECT_EQ(dialog->insertMode(), 0);
}

TEST_F(ConfigureScenario, ChangeLoadsTheRowAndReplacesIt) {
    append({"A", 2, "10", 2, "5", 1});
    append({"B", 2, "20", 2, "7", 4, "App1"});
    host->clickListRow(kIdFieldList, 1);
    host->click(kIdChangeField);
    EXPECT_EQ(host->text(kIdFieldName), "B");
    EXPECT_TRUE(host->isChecked(kIdStartPositionRadio));
    EXPECT_EQ(host->text(kIdStartPosition), "20");
    EXPECT_EQ(host->text(kIdEndFixedLength), "7");
    EXPECT_EQ(host->text(kIdEndCode), "None");
    EXPECT_EQ(host->selectedIndex(kIdFieldType), 4);
    EXPECT_TRUE(host->isVisible(kIdApplicationName));
    EXPECT_EQ(host->text(kIdApplicationName), "App1");
    EXPECT_EQ(host->text(kIdAppendField), "OK");
    EXPECT_FALSE(host->isEnabled(kIdAppendField));
    EXPECT_FALSE(host->isEnabled(kIdOk));
    EXPECT_EQ(dialog->changeMode(), 1);

    host->type(kIdStartPosition, "5");  // editing makes OK usable
    EXPECT_TRUE(host->isEnabled(kIdAppendField));
    expectRefusal("START_POSITION must be less than previous Start Postions");
    host->click(kIdAppendField);
    EXPECT_FALSE(host->isVisible(kIdApplicationName));  // hidden by the refused commit
    host->choose(kIdFieldType, 4);
    host->type(kIdStartPosition, "30");
    host->type(kIdApplicationName, "App2");
    host->click(kIdAppendField);
    EXPECT_EQ(cell(1, 2), "30");
    EXPECT_EQ(cell(1, 6), "App2");
    EXPECT_EQ(dialog->changeMode(), 0);
    EXPECT_EQ(host->text(kIdAppendField), "&Append Field");
}

TEST_F(ConfigureScenario, ListClickAbandonsAPendingChange) {
    append({"A", 2, "10", 2, "5"});
    host->clickListBelowRows(kIdFieldList);
    EXPECT_FALSE(host->isEnabled(kIdChangeField));
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdChangeField);
    host->clickListRow(kIdFieldList, 0);
    EXPECT_EQ(host->text(kIdAppendField), "Append Field");
    EXPECT_EQ(dialog->changeMode(), 0);
    EXPECT_EQ(host->text(kIdFieldName), "A");  // the loaded values stay
}

TEST_F(ConfigureScenario, DeleteFieldAndTheSaveButton) {
    append({"A", 2, "10", 2, "5"});
    append({"B", 2, "20", 2, "5"});
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdDeleteField);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 0), "B");
    EXPECT_TRUE(host->isEnabled(kIdOk));
    for (int id : {kIdDeleteField, kIdChangeField, kIdInsertAbove, kIdAppendField})
        EXPECT_FALSE(host->isEnabled(id)) << id;
    EXPECT_EQ(dialog->entry().fieldName, "A");
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdDeleteField);
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(host->isEnabled(kIdOk));
    // A later push shows the deleted field's name.
    host->click(kIdRecordFixedLengthRadio);
    EXPECT_EQ(host->text(kIdFieldName), "B");
}

TEST_F(ConfigureScenario, MagstripeSentinelsFromTheSentinelsDialog) {
    host->type(kIdFieldName, "Mag");
    host->choose(kIdFieldType, 7);
    prompts.expectDialog("Sentinels", kIdOk, [](HeadlessWindow& sentinels) {
        sentinels.type(kIdTrack3Start, "");
        sentinels.type(kIdTrack3End, "");
        sentinels.pressEnter();
    });
    host->click(kIdConfigureSentinels);
    EXPECT_EQ(dialog->entry().sentinels.track1Start, "%");
    EXPECT_EQ(dialog->entry().sentinels.track3Start, "");
    host->click(kIdAppendField);
    // A new row puts the ISO defaults into the empty places.
    EXPECT_EQ(cell(0, 6), R"("%","?",";","?","_;","?")");

    // A change writes what the field holds: four values.
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdChangeField);
    EXPECT_TRUE(host->isVisible(kIdConfigureSentinels));
    prompts.expectDialog("Sentinels", kIdOk, [](HeadlessWindow& sentinels) {
        sentinels.type(kIdTrack3Start, "");
        sentinels.type(kIdTrack3End, "");
        sentinels.pressEnter();
    });
    host->click(kIdConfigureSentinels);
    EXPECT_TRUE(host->isEnabled(kIdAppendField));
    host->click(kIdAppendField);
    EXPECT_EQ(cell(0, 6), R"("%","?",";","?")");
}

}  // namespace
}  // namespace velmora
