// The headless host's user side: what a user's keys and clicks deliver to a
// dialog, and the scripted prompts' bookkeeping.
#include <gtest/gtest.h>

#include "headless/headless_window.h"
#include "headless/scripted_prompts.h"
#include "toolkit/dialog.h"

namespace velmora {
namespace {

enum { kEdit = 10, kOther = 11, kCheck = 12, kList = 13 };

class RecordingDialog : public Dialog {
public:
    RecordingDialog(Prompts& prompts, DialogDescription description, EventResult initResult = EventResult::Unhandled)
        : Dialog(std::move(description), prompts), initResult_(initResult) {}
    std::vector<DialogEvent> seen;
    std::vector<std::string> textsSeen;  // kEdit's text at each of its changes

protected:
    EventResult onEvent(const DialogEvent& event) override {
        seen.push_back(event);
        if (event.kind == DialogEvent::EditChanged) textsSeen.push_back(controls().text(kEdit));
        if (event.kind == DialogEvent::Init) return initResult_;
        if (event.kind == DialogEvent::Ok || event.kind == DialogEvent::Cancel)
            return EventResult::Handled;  // stay open, so that routing can be watched
        return EventResult::Unhandled;
    }

private:
    EventResult initResult_;
};

DialogDescription description(ControlKind okKind = ControlKind::DefaultPushButton) {
    DialogDescription d;
    d.caption = "Routing";
    d.cx = 200;
    d.cy = 120;
    using K = ControlKind;
    d.controls = {
        {kIdStatic, K::Label, "Name:", 5, 5, 40, 8},
        {kEdit, K::Edit, "", 50, 5, 60, 14, 4},
        {kIdOk, okKind, "OK", 10, 100, 50, 14},
        {kIdCancel, K::PushButton, "Cancel", 70, 100, 50, 14},
        {kOther, K::PushButton, "Other", 130, 100, 50, 14},
        {kCheck, K::CheckBox, "Check", 5, 25, 60, 10},
        {kList, K::ReportList, "", 5, 40, 190, 50},
    };
    return d;
}

std::vector<DialogEvent::Kind> kinds(const std::vector<DialogEvent>& events) {
    std::vector<DialogEvent::Kind> out;
    for (const auto& e : events) out.push_back(e.kind);
    return out;
}

class HeadlessWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& f : prompts.failures()) ADD_FAILURE() << f;
    }
    ScriptedPrompts prompts;
};

TEST_F(HeadlessWindowTest, FocusGoesToTheFirstUsableTabStopUnlessTheDialogPlacedIt) {
    RecordingDialog dialog(prompts, description());
    HeadlessWindow window(dialog);
    window.enable(kEdit, false);
    window.open();
    EXPECT_EQ(window.focusedId(), kIdOk);

    RecordingDialog placing(prompts, description(), EventResult::FocusSet);
    HeadlessWindow other(placing);
    other.open();
    EXPECT_EQ(other.focusedId(), 0);
}

TEST_F(HeadlessWindowTest, TypingRaisesOneChangePerKeystrokeWithinTheLimit) {
    RecordingDialog dialog(prompts, description());
    HeadlessWindow window(dialog);
    window.open();
    window.setText(kEdit, "old");
    dialog.textsSeen.clear();
    window.type(kEdit, "abcdef");
    EXPECT_EQ(window.text(kEdit), "abcd");
    EXPECT_EQ(dialog.textsSeen, (std::vector<std::string>{"a", "ab", "abc", "abcd"}));
    EXPECT_EQ(window.focusedId(), kEdit);

    dialog.textsSeen.clear();
    window.type(kEdit, "");
    window.type(kEdit, "");
    EXPECT_EQ(dialog.textsSeen, (std::vector<std::string>{""}));

    // A program may exceed the limit; only typing is held to it.
    window.setText(kEdit, "longer than four");
    EXPECT_EQ(window.text(kEdit), "longer than four");
}

TEST_F(HeadlessWindowTest, DisabledOrHiddenControlsIgnoreTheUser) {
    RecordingDialog dialog(prompts, description());
    HeadlessWindow window(dialog);
    window.open();
    dialog.seen.clear();
    window.enable(kCheck, false);
    window.show(kEdit, false);
    window.click(kCheck);
    window.type(kEdit, "x");
    window.enable(kIdOk, false);
    window.click(kIdOk);
    EXPECT_TRUE(dialog.seen.empty());
    EXPECT_FALSE(window.isChecked(kCheck));
    EXPECT_EQ(window.text(kEdit), "");
}

TEST_F(HeadlessWindowTest, EnterClicksTheFocusedButtonElseAnEnabledDefault) {
    RecordingDialog dialog(prompts, description());
    HeadlessWindow window(dialog);
    window.open();
    window.type(kEdit, "a");
    dialog.seen.clear();

    window.pressEnter();  // focus in the edit: the default button
    window.enable(kIdOk, false);
    window.pressEnter();  // disabled default: nothing
    window.click(kOther);
    window.pressEnter();  // focused push button
    EXPECT_EQ(kinds(dialog.seen),
              (std::vector<DialogEvent::Kind>{DialogEvent::Ok, DialogEvent::Clicked, DialogEvent::Clicked}));
    EXPECT_EQ(dialog.seen[2].id, kOther);
}

TEST_F(HeadlessWindowTest, EnterWithoutADefaultButtonSendsOk) {
    RecordingDialog dialog(prompts, description(ControlKind::PushButton));
    HeadlessWindow window(dialog);
    window.open();
    window.type(kEdit, "a");
    dialog.seen.clear();
    window.pressEnter();
    EXPECT_EQ(kinds(dialog.seen), std::vector<DialogEvent::Kind>{DialogEvent::Ok});
}

TEST_F(HeadlessWindowTest, EscapeAndTheCloseBoxSendCancelAndF1AsksForHelp) {
    RecordingDialog dialog(prompts, description());
    HeadlessWindow window(dialog);
    window.open();
    dialog.seen.clear();
    window.pressEscape();
    window.closeBox();
    window.pressF1();
    EXPECT_EQ(kinds(dialog.seen),
              (std::vector<DialogEvent::Kind>{DialogEvent::Cancel, DialogEvent::Cancel, DialogEvent::Help}));
    window.enable(kIdCancel, false);
    dialog.seen.clear();
    window.closeBox();
    EXPECT_TRUE(dialog.seen.empty());
}

TEST_F(HeadlessWindowTest, ListHitTestFollowsFullRowSelection) {
    RecordingDialog dialog(prompts, description());
    HeadlessWindow window(dialog);
    window.open();
    window.insertColumn(kList, 0, "A", 50);
    window.insertColumn(kList, 1, "B", 60);
    EXPECT_EQ(window.insertRow(kList, 5, "r0"), 0);
    EXPECT_EQ(window.insertRow(kList, 0, "r1"), 0);
    EXPECT_EQ(window.cell(kList, 1, 0), "r0");
    // All rows at once, as on real windows: missing cells empty, cells past
    // the columns dropped.
    window.replaceRows(kList, {{"X", "x1"}, {}, {"Z", "z1", "past the columns"}});
    ASSERT_EQ(window.rowCount(kList), 3);
    EXPECT_EQ(window.cell(kList, 0, 1), "x1");
    EXPECT_EQ(window.cell(kList, 1, 0), "");
    EXPECT_EQ(window.cell(kList, 2, 1), "z1");
    window.replaceRows(kList, {{"r1"}, {"r0"}});
    EXPECT_EQ(window.hitTest(kList, window.rowCentre(kList, 1)), 1);
    EXPECT_EQ(window.hitTest(kList, window.belowRows(kList)), -1);
    ListPoint inSecondColumn = window.rowCentre(kList, 0);
    inSecondColumn.x = 70;
    EXPECT_EQ(window.hitTest(kList, inSecondColumn), -1);
    window.setListStyles(kList, kListFullRowSelect);
    EXPECT_EQ(window.hitTest(kList, inSecondColumn), 0);

    dialog.seen.clear();
    window.clickList(kList, inSecondColumn);
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0].kind, DialogEvent::ListClicked);
    EXPECT_EQ(dialog.seen[0].point.x, 70);
}

TEST(ScriptedPromptsTest, RecordsMismatchesAndAnswersThemSafely) {
    ScriptedPrompts prompts;
    prompts.expectMessage("Proceed?", "Caption", MessageIcon::Error, MessageButtons::OkCancel, MessageAnswer::Ok);
    EXPECT_EQ(prompts.messageBox("Proceed?", "Caption", MessageIcon::Warning, MessageButtons::OkCancel),
              MessageAnswer::Cancel);
    prompts.appMessage("surprise");
    EXPECT_EQ(prompts.failures().size(), 2u);
    EXPECT_EQ(prompts.shown().size(), 2u);
    EXPECT_EQ(prompts.pending(), 0u);
}

}  // namespace
}  // namespace velmora
