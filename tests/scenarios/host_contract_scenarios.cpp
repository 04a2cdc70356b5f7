// What both hosts promise a dialog: the DialogControls behind it, and what
// a user's keys and clicks deliver to it. Written once, run on the headless
// host and on real windows, so that the two cannot drift apart.
#include "tests/scenarios/recording_dialog.h"
#include "tests/scenarios/scenario_fixture.h"

namespace velmora::test {
namespace {

class HostContract : public ScenarioTest {
protected:
    void open(RecordingDialog& shown) {
        host->open(shown);
        shown.events.clear();
        shown.texts.clear();
    }
    void open() { open(dialog); }
    DialogControls& controls() { return dialog.controls(); }

    RecordingDialog dialog{prompts};
};

TEST_F(HostContract, FocusAfterInitIsTheDialogsOrTheFirstUsableTabStop) {
    open();
    EXPECT_EQ(host->focusedId(), kNameEdit);  // past the label
    dialog.init = [this] {
        controls().setFocus(kNoteEdit);
        return EventResult::FocusSet;
    };
    open();
    EXPECT_EQ(host->focusedId(), kNoteEdit);
    dialog.init = [this] {
        controls().enable(kNameEdit, false);
        controls().enable(kNoteEdit, false);
        return EventResult::Handled;
    };
    open();
    EXPECT_EQ(host->focusedId(), kRadioOne);
}

TEST_F(HostContract, TypingChangesTheTextOnceAKeystrokeWithinTheLimit) {
    open();
    controls().setText(kNameEdit, "old");
    dialog.texts.clear();
    host->type(kNameEdit, "abcdefg");  // the typing replaces the selected "old"
    EXPECT_EQ(host->text(kNameEdit), "abcde");
    EXPECT_EQ(dialog.texts, (std::vector<std::string>{"a", "ab", "abc", "abcd", "abcde"}));
    dialog.texts.clear();
    host->type(kNameEdit, "");
    host->type(kNameEdit, "");
    EXPECT_EQ(dialog.texts, (std::vector<std::string>{""}));

    // The limit binds typing only: the program may set more, and set the limit.
    controls().setText(kNameEdit, "longer text");
    EXPECT_EQ(host->text(kNameEdit), "longer text");
    controls().setTextLimit(kNoteEdit, 2);
    host->type(kNoteEdit, "abc");
    EXPECT_EQ(host->text(kNoteEdit), "ab");
    EXPECT_EQ(host->focusedId(), kNoteEdit);
    controls().setTextLimit(kNoteEdit, 0);  // the default again
    host->type(kNoteEdit, std::string(40, 'x'));
    EXPECT_EQ(host->text(kNoteEdit), std::string(40, 'x'));
}

TEST_F(HostContract, WhatTheProgramSetsRaisesOnlyWhatWin32Raises) {
    open();
    controls().setText(kNameEdit, "abc");
    EXPECT_EQ(dialog.log(), "EditChanged 101");
    dialog.events.clear();
    controls().addItem(kDropDown, "first");
    controls().addItem(kDropDown, "second");
    controls().setSelectedIndex(kDropDown, 1);
    controls().setChecked(kRadioTwo, true);
    controls().setChecked(kCheck, true);
    controls().setCaption("Renamed");
    controls().setProgress(kBar, 42);
    EXPECT_EQ(dialog.log(), "");
    EXPECT_EQ(host->selectedIndex(kDropDown), 1);
    EXPECT_EQ(controls().itemCount(kDropDown), 2);
    EXPECT_EQ(host->caption(), "Renamed");
    EXPECT_EQ(controls().progress(kBar), 42);
    controls().setSelectedIndex(kDropDown, 7);
    EXPECT_EQ(host->selectedIndex(kDropDown), -1);
    // A radio set by program leaves the others of its group alone.
    controls().setChecked(kRadioOne, true);
    EXPECT_TRUE(host->isChecked(kRadioTwo));

    // Transfers raise nothing the dialog sees.
    dialog.name = "xy";
    dialog.push();
    EXPECT_EQ(host->text(kNameEdit), "xy");
    EXPECT_TRUE(dialog.pull());
    EXPECT_EQ(dialog.log(), "");
}

TEST_F(HostContract, ClicksReachOnlyUsableControlsAndARadioClearsItsGroup) {
    open();
    host->click(kPush);
    EXPECT_EQ(host->focusedId(), kPush);
    host->click(kRadioTwo);
    host->click(kCheck);
    EXPECT_EQ(dialog.log(), "Clicked 601; Clicked 202; Clicked 301");
    EXPECT_TRUE(host->isChecked(kRadioTwo));
    EXPECT_TRUE(host->isChecked(kCheck));
    EXPECT_EQ(host->focusedId(), kCheck);
    host->click(kRadioOne);  // across the edit that stands between them
    host->click(kCheck);
    EXPECT_TRUE(host->isChecked(kRadioOne));
    EXPECT_FALSE(host->isChecked(kRadioTwo));
    EXPECT_FALSE(host->isChecked(kCheck));

    dialog.events.clear();
    controls().enable(kCheck, false);
    controls().show(kNameEdit, false);
    controls().enable(kIdOk, false);
    host->click(kCheck);
    host->type(kNameEdit, "x");
    host->click(kIdOk);
    EXPECT_EQ(dialog.log(), "");
    EXPECT_FALSE(host->isChecked(kCheck));
    EXPECT_EQ(host->text(kNameEdit), "");
    EXPECT_FALSE(host->isEnabled(kCheck));
    EXPECT_FALSE(host->isVisible(kNameEdit));
    EXPECT_FALSE(host->isVisible(kHiddenEdit));  // as described
    controls().show(kHiddenEdit, true);
    EXPECT_TRUE(host->isVisible(kHiddenEdit));
}

TEST_F(HostContract, ADropDownReportsAPickThenItsClosing) {
    open();
    controls().addItem(kDropDown, "first");
    controls().addItem(kDropDown, "second");
    host->choose(kDropDown, 1);
    EXPECT_EQ(dialog.log(), "SelectionChanged 401; DropDownClosed 401");
    EXPECT_EQ(host->selectedIndex(kDropDown), 1);
    EXPECT_EQ(host->focusedId(), kDropDown);
}

TEST_F(HostContract, AReportListsColumnsRowsAndCells) {
    open();
    controls().insertColumn(kList, 0, "Field Name", 70);
    controls().insertColumn(kList, 1, "Start Type", 90);
    EXPECT_EQ(controls().columnCount(kList), 2);
    EXPECT_EQ(host->listHeader(kList, 1), "Start Type");
    controls().setColumnWidth(kList, 1, 120);
    EXPECT_EQ(controls().columnWidth(kList, 1), 120);
    controls().setListStyles(kList, kListGridLines | kListFullRowSelect);
    EXPECT_EQ(controls().listStyles(kList), unsigned{kListGridLines | kListFullRowSelect});

    EXPECT_EQ(controls().insertRow(kList, 0, "B"), 0);
    EXPECT_EQ(controls().insertRow(kList, 0, "A"), 0);
    EXPECT_EQ(controls().insertRow(kList, 9, "C"), 2);
    const std::string longText(700, 'x');
    controls().setCell(kList, 1, 1, longText);
    controls().setCell(kList, 5, 1, "nowhere");
    controls().setCell(kList, 0, 4, "nowhere");
    EXPECT_EQ(host->listRowCount(kList), 3);
    EXPECT_EQ(host->listCell(kList, 0, 0), "A");
    EXPECT_EQ(host->listCell(kList, 1, 1), longText);
    EXPECT_EQ(host->listCell(kList, 2, 0), "C");
    EXPECT_EQ(host->listCell(kList, 3, 0), "");
    controls().deleteRow(kList, 0);
    EXPECT_EQ(host->listCell(kList, 0, 0), "B");

    // All rows at once: missing cells empty, cells past the columns dropped.
    controls().replaceRows(kList, {{"X", "x1"}, {}, {"Z", "z1", "past the columns"}});
    ASSERT_EQ(host->listRowCount(kList), 3);
    EXPECT_EQ(host->listCell(kList, 0, 1), "x1");
    EXPECT_EQ(host->listCell(kList, 1, 0), "");
    EXPECT_EQ(host->listCell(kList, 2, 1), "z1");
    controls().replaceRows(kList, {});
    EXPECT_EQ(host->listRowCount(kList), 0);
    EXPECT_EQ(dialog.log(), "");
}

TEST_F(HostContract, AListsColumnsAreReplacedAllAtOnce) {
    open();
    controls().insertColumn(kList, 0, "Field Name", 70);
    controls().insertColumn(kList, 1, "Start Type", 90);
    controls().replaceRows(kList, {{"A", "a1"}});
    const std::vector<ListColumn> three = {{"One", 50}, {"Two", 60}, {"Three", 70}};
    controls().replaceColumns(kList, three);
    ASSERT_EQ(controls().columnCount(kList), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(host->listHeader(kList, k), three[static_cast<std::size_t>(k)].header);
        EXPECT_EQ(controls().columnWidth(kList, k), three[static_cast<std::size_t>(k)].width);
    }
    EXPECT_EQ(host->listCell(kList, 0, 0), "A");  // the rows stay
    controls().replaceColumns(kList, {{"Only", 80}});
    ASSERT_EQ(controls().columnCount(kList), 1);
    EXPECT_EQ(host->listHeader(kList, 0), "Only");
    EXPECT_EQ(controls().columnWidth(kList, 0), 80);
    EXPECT_EQ(dialog.log(), "");
}

TEST_F(HostContract, AListClickCarriesThePointThatHitsTheRow) {
    open();
    controls().insertColumn(kList, 0, "Field Name", 70);
    controls().insertColumn(kList, 1, "Start Type", 90);
    controls().replaceRows(kList, {{"ONE"}, {"TWO"}, {"THREE"}});
    host->clickListRow(kList, 1);
    ASSERT_EQ(dialog.log(), "ListClicked 501");
    const ListPoint onRow = dialog.events[0].point;
    EXPECT_EQ(controls().hitTest(kList, onRow), 1);
    EXPECT_EQ(host->focusedId(), kList);

    // In the second column only full-row selection reaches the row.
    const ListPoint inSecondColumn{100, onRow.y};
    EXPECT_EQ(controls().hitTest(kList, inSecondColumn), -1);
    controls().setListStyles(kList, kListFullRowSelect);
    dialog.events.clear();
    host->clickListAt(kList, inSecondColumn);
    ASSERT_EQ(dialog.log(), "ListClicked 501");
    EXPECT_EQ(dialog.events[0].point.x, 100);
    EXPECT_EQ(controls().hitTest(kList, dialog.events[0].point), 1);
    EXPECT_EQ(controls().hitColumn(kList, dialog.events[0].point), 1);
    EXPECT_EQ(controls().hitColumn(kList, onRow), 0);

    // Keys move the selection; the dialog hears of each once it has moved.
    for (auto [key, row] : {std::pair{MapKey::Down, 2}, {MapKey::Up, 1}, {MapKey::Home, 0}, {MapKey::End, 2}}) {
        dialog.events.clear();
        host->pressListKey(kList, key);
        EXPECT_EQ(dialog.log(), "ListKeyed 501");
        EXPECT_EQ(controls().selectedRow(kList), row);
    }

    dialog.events.clear();
    host->clickListBelowRows(kList);
    ASSERT_EQ(dialog.log(), "ListClicked 501");
    EXPECT_EQ(controls().hitTest(kList, dialog.events[0].point), -1);
}

// Rows of a virtual list, made up as they are asked for.
class CountedRows : public VirtualRows {
public:
    int rowCount() override { return 100000; }
    std::string cell(int row, int column) override { return std::to_string(row) + "," + std::to_string(column); }
};

TEST_F(HostContract, TabsAVirtualListAndATreeShowWhatTheyAreGiven) {
    open();
    controls().addItem(kTabs, "One");
    controls().addItem(kTabs, "Two");
    controls().setSelectedIndex(kTabs, 0);
    host->choose(kTabs, 1);
    EXPECT_EQ(host->selectedIndex(kTabs), 1);
    controls().setItemText(kTabs, 0, "One (9)");
    controls().addItem(kDropDown, "first");
    controls().addItem(kDropDown, "second");
    controls().setSelectedIndex(kDropDown, 1);
    controls().setItemText(kDropDown, 1, "Second");
    EXPECT_EQ(host->selectedIndex(kDropDown), 1);
    EXPECT_EQ((std::vector<std::string>{host->itemText(kTabs, 0), host->itemText(kTabs, 1), host->itemText(kTabs, 2),
                                        host->itemText(kDropDown, 1)}),
              (std::vector<std::string>{"One (9)", "Two", "", "Second"}));

    CountedRows rows;
    controls().insertColumn(kVirtualList, 0, "A", 40);
    controls().insertColumn(kVirtualList, 1, "B", 40);
    controls().setVirtualRows(kVirtualList, &rows);
    EXPECT_EQ(host->listRowCount(kVirtualList), 100000);
    EXPECT_EQ(host->listCell(kVirtualList, 99999, 1), "99999,1");
    host->doubleClickListRow(kVirtualList, 2);
    EXPECT_EQ(host->selectedRow(kVirtualList), 2);
    controls().selectRow(kVirtualList, 70000);
    EXPECT_EQ(host->selectedRow(kVirtualList), 70000);
    controls().deleteColumn(kVirtualList, 1);
    EXPECT_EQ(controls().columnCount(kVirtualList), 1);

    const int a = controls().addTreeItem(kTree, 0, "A");
    controls().addTreeItem(kTree, 0, "B");
    controls().addTreeItem(kTree, controls().addTreeItem(kTree, a, "a1"), "a1x");
    EXPECT_EQ(controls().treeLines(kTree), (std::vector<TreeLine>{{0, "A"}, {1, "a1"}, {2, "a1x"}, {0, "B"}}));
    controls().clearTree(kTree);
    EXPECT_TRUE(controls().treeLines(kTree).empty());

    host->type(kNameEdit, "");
    host->pressFunctionKey(3);  // F3 wherever the focus is: the button it names
    host->pressFunctionKey(4);
    EXPECT_EQ(dialog.log(), "SelectionChanged 801; ListDoubleClicked 802; Clicked 601");
}

// Enter from an edit clicks the default button when it is enabled, and
// sends OK when there is none; Escape and the close box (while Cancel is
// enabled) send Cancel; F1 asks for help; nothing reaches an ended dialog.
TEST_F(HostContract, KeysReachTheDialogAsTheDialogManagerRoutesThem) {
    dialog.keepOpen = true;
    open();
    host->type(kNameEdit, "a");
    dialog.events.clear();
    host->pressEnter();
    controls().enable(kIdOk, false);
    host->pressEnter();
    controls().enable(kIdOk, true);
    host->pressEscape();
    host->closeBox();
    host->pressF1();
    controls().enable(kIdCancel, false);
    host->closeBox();
    EXPECT_EQ(dialog.log(), "Ok 1; Cancel 2; Cancel 2; Help");

    RecordingDialog withoutDefault(prompts, recordingDescription(ControlKind::PushButton));
    withoutDefault.keepOpen = true;
    open(withoutDefault);
    host->type(kNameEdit, "a");
    withoutDefault.events.clear();
    host->pressEnter();
    EXPECT_EQ(withoutDefault.log(), "Ok 1");

    // Unhandled, OK pulls and ends the dialog, Cancel ends it.
    open();
    dialog.keepOpen = false;
    host->type(kNameEdit, "xy");
    host->pressEnter();
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdOk);
    EXPECT_EQ(dialog.name, "xy");
    dialog.events.clear();
    host->click(kPush);
    host->pressEscape();
    EXPECT_EQ(dialog.log(), "");
    open();
    host->closeBox();
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdCancel);
}

}  // namespace
}  // namespace velmora::test
