// Committing, inserting, changing and deleting fields in the Configure
// dialog; runs on both hosts.
#include <functional>
#include <vector>

#include "src/editor/sentinels_dialog_description.h"
#include "src/headless/headless_window.h"
#include "tests/scenarios/configure_scenario.h"

namespace velmora::test {
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
    EXPECT_FALSE(host->isEnabled(kIdFieldType));
    EXPECT_TRUE(host->isEnabled(kIdOk));
    host->clickListRow(kIdFieldList, 0);
    append({"CVV", 2, "20", 2, "3"});
    for (int id : {kIdChangeField, kIdInsertAbove, kIdDeleteField}) EXPECT_FALSE(host->isEnabled(id)) << id;
    EXPECT_EQ(dialog->selectedRow(), 1);
}

TEST_F(ConfigureScenario, NumberEditsOfUnchosenMethodsCountAsZeroAtACommit) {
    host->type(kIdFieldName, "A-");
    host->click(kIdStartPositionRadio);
    host->type(kIdStartPosition, "abc");
    host->click(kIdStartNone);
    host->click(kIdEndFixedLengthRadio);
    host->type(kIdEndFixedLength, "x");
    host->click(kIdEndCodeRadio);
    host->type(kIdEndCode, "#");
    expectRefusal("Field Name shoud be alpha numeric characters.", "Velmora Data parser");
    host->click(kIdAppendField);
    EXPECT_EQ(host->text(kIdStartPosition) + host->text(kIdEndFixedLength), "abcx");  // only a good name zeroes them
    host->type(kIdFieldName, "A");
    host->click(kIdAppendField);  // no message: both edits read 0
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 1), "None");
    EXPECT_EQ(cell(0, 3), "END_CODE");
    EXPECT_EQ(host->text(kIdStartPosition), "0");
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
    EXPECT_EQ(host->focusedId(), kIdEndCode);

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
    host->type(kIdFieldName, "X");
    host->choose(kIdFieldType, 4);
    host->click(kIdInsertAbove);
    EXPECT_EQ(host->focusedId(), kIdFieldName);
    EXPECT_FALSE(host->isVisible(kIdApplicationName));
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
    for (int id : {kIdChangeField, kIdInsertAbove, kIdDeleteField}) EXPECT_FALSE(host->isEnabled(id)) << id;

    // Emptying the entries enables "Save..." only with both a separator and FIR characters.
    host->click(kIdProcessFir);
    const std::pair<const char*, const char*> settings[] = {{"|", ""}, {"", "~"}, {"|", "~"}};
    for (const auto& [separator, fir] : settings) {
        host->type(kIdCharacterSequenceEdit, separator);
        host->type(kIdFirSeparatorEdit, fir);
        host->clickListRow(kIdFieldList, 0);
        host->click(kIdInsertAbove);
        EXPECT_EQ(host->isEnabled(kIdOk), *separator && *fir) << separator << fir;
    }
}

TEST_F(ConfigureScenario, AChangeWhileAnInsertionIsPendingIsCommittedFirst) {
    append({"A", 2, "10", 2, "5"});
    append({"B", 2, "20", 2, "5"});
    host->clickListRow(kIdFieldList, 1);
    host->click(kIdInsertAbove);
    host->clickListRow(kIdFieldList, 0);
    EXPECT_EQ(host->text(kIdAppendField), "Append Field");
    host->click(kIdChangeField);
    host->type(kIdEndFixedLength, "6");
    host->click(kIdAppendField);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, 4), "6");
    EXPECT_EQ(host->text(kIdAppendField), "OK");  // the caption the row click found
    EXPECT_EQ(dialog->insertMode(), 1);
    append({"N", 2, "5", 2, "5"});  // the insertion, above the clicked row
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(0, 0), "N");
    EXPECT_EQ(host->text(kIdAppendField), "&Append Field");
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
    EXPECT_FALSE(host->isEnabled(kIdAppendField));
    EXPECT_NE(host->focusedId(), kIdFieldName);  // a change leaves the focus alone

    // "None" loaded for an end method without a code is the code "&End Code" then takes.
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdChangeField);
    host->click(kIdEndCodeRadio);
    host->click(kIdAppendField);
    EXPECT_EQ(cell(0, 3) + " " + cell(0, 4), "END_CODE None");
}

// What "OK" needs before it commits: while a change is pending, any edit
// of the entries; while only an insertion is, a field name.
TEST_F(ConfigureScenario, OkBecomesUsableByAnyEditInAChangeAndByANameInAnInsertion) {
    append({"A", 1, "#A", 1, "#Z"});
    const std::vector<std::function<void()>> edits = {
        [&] { host->type(kIdFieldName, "B"); },       [&] { host->click(kIdStartPositionRadio); },
        [&] { host->click(kIdEmbeddedLengthRadio); }, [&] { host->type(kIdStartCode, "#Q"); },
        [&] { host->choose(kIdFieldType, 1); },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        host->clickListRow(kIdFieldList, 0);
        host->click(kIdChangeField);
        ASSERT_FALSE(host->isEnabled(kIdAppendField));
        edits[i]();
        EXPECT_TRUE(host->isEnabled(kIdAppendField)) << i;
    }
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdInsertAbove);
    host->click(kIdStartCodeRadio);
    host->click(kIdEndCodeRadio);
    EXPECT_FALSE(host->isEnabled(kIdAppendField));
    host->type(kIdFieldName, "N");
    EXPECT_TRUE(host->isEnabled(kIdAppendField));
}

// Loading a row enables the edits of its own methods and disables the rest.
TEST_F(ConfigureScenario, ALoadedRowEnablesTheEditsOfItsMethodsOnly) {
    append({"A", 1, "#A", 0, ""});
    append({"B", 2, "5", 2, "3"});
    append({"C", 0, "", 1, "#Z"});
    append({"D", 1, "#B", 3, ""});
    const std::vector<int> edits = {kIdStartCode, kIdStartPosition, kIdEndCode, kIdEndFixedLength};
    const std::vector<std::vector<bool>> enabled = {{true, false, false, false},
                                                    {false, true, false, true},
                                                    {false, false, true, false},
                                                    {true, false, false, false}};
    for (int row = 0; row < 4; ++row) {
        host->clickListRow(kIdFieldList, row);
        host->click(kIdChangeField);
        for (std::size_t e = 0; e < edits.size(); ++e)
            EXPECT_EQ(host->isEnabled(edits[e]), enabled[row][e]) << "row " << row << ", edit " << edits[e];
    }
}

TEST_F(ConfigureScenario, ListClickAbandonsAPendingChange) {
    append({"A", 2, "10", 2, "5", 4, "App1"});
    append({"B", 2, "20", 2, "5"});
    host->clickListBelowRows(kIdFieldList);
    EXPECT_FALSE(host->isEnabled(kIdChangeField));
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdChangeField);
    EXPECT_TRUE(host->isVisible(kIdApplicationName));
    host->clickListRow(kIdFieldList, 0);
    EXPECT_EQ(host->text(kIdAppendField), "Append Field");
    EXPECT_EQ(dialog->changeMode(), 0);
    EXPECT_EQ(host->text(kIdFieldName), "A");  // the loaded values stay
    EXPECT_FALSE(host->isVisible(kIdApplicationName));
    // Loading a row of a type without data empties what the last one held.
    host->clickListRow(kIdFieldList, 1);
    host->click(kIdChangeField);
    EXPECT_EQ(dialog->entry().applicationName, "");
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
    // An emptied separator disables "Save..."; "Fields in Order" with rows enables it.
    host->type(kIdCharacterSequenceEdit, "|");
    host->type(kIdCharacterSequenceEdit, "");
    EXPECT_FALSE(host->isEnabled(kIdOk));
    host->click(kIdFieldsInOrder);
    EXPECT_TRUE(host->isEnabled(kIdOk));
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

    // A change writes what the field holds: four values, empty ones too.
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdChangeField);
    EXPECT_TRUE(host->isVisible(kIdConfigureSentinels));
    prompts.expectDialog("Sentinels", kIdOk, [](HeadlessWindow& sentinels) {
        for (int id : {kIdTrack1Start, kIdTrack1End, kIdTrack3Start, kIdTrack3End}) sentinels.type(id, "");
        sentinels.pressEnter();
    });
    prompts.expectMessage("Sentinels do not follow ISO standards.  Press OK to keep, cancel to restore to standards",
                          "Velmora Data Parser", MessageIcon::Error, MessageButtons::OkCancel);
    host->click(kIdConfigureSentinels);
    EXPECT_TRUE(host->isEnabled(kIdAppendField));
    host->click(kIdAppendField);
    EXPECT_EQ(cell(0, 6), R"("","",";","?")");

    // Loading that row leaves the sentinels of its empty and missing places
    // as they were.
    host->type(kIdFieldName, "Mag2");
    host->choose(kIdFieldType, 7);
    prompts.expectDialog("Sentinels", kIdOk, [](HeadlessWindow& sentinels) {
        sentinels.type(kIdTrack1Start, "%");
        sentinels.type(kIdTrack1End, "?");
        sentinels.type(kIdTrack3Start, "_;");
        sentinels.type(kIdTrack3End, "?");
        sentinels.pressEnter();
    });
    host->click(kIdConfigureSentinels);
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdChangeField);
    EXPECT_EQ(dialog->entry().sentinels, isoSentinels());
}

}  // namespace
}  // namespace velmora::test
