// Push, pull and event dispatch of the Dialog base, on the headless host.
#include <gtest/gtest.h>

#include "src/headless/headless_window.h"
#include "src/headless/scripted_prompts.h"
#include "src/toolkit/dialog.h"

namespace velmora::test {
namespace {

enum {
    kName = 10,
    kCount = 11,
    kLimited = 12,
    kFlag = 13,
    kRadioA = 14,
    kRadioB = 15,
    kRadioC = 16,
    kCombo = 17,
    kButton = 18
};

DialogDescription sampleDescription() {
    DialogDescription d;
    d.caption = "Sample";
    d.cx = 200;
    d.cy = 100;
    using K = ControlKind;
    d.controls = {
        {kIdOk, K::DefaultPushButton, "OK", 10, 80, 50, 14},
        {kIdCancel, K::PushButton, "Cancel", 70, 80, 50, 14},
        {kName, K::Edit, "", 10, 10, 60, 14},
        {kCount, K::Edit, "", 10, 30, 60, 14},
        {kLimited, K::Edit, "", 10, 50, 60, 14},
        {kFlag, K::CheckBox, "Flag", 80, 10, 60, 10},
        {kRadioA, K::RadioButton, "A", 80, 25, 30, 10},
        {kRadioB, K::RadioButton, "B", 80, 35, 30, 10},
        {kRadioC, K::RadioButton, "C", 80, 45, 30, 10},
        {kCombo, K::DropDownList, "", 130, 10, 60, 60},
        {kButton, K::PushButton, "Other", 130, 80, 50, 14},
    };
    d.radioGroups = {{kRadioA, kRadioB, kRadioC}};
    return d;
}

class SampleDialog : public Dialog {
public:
    explicit SampleDialog(Prompts& prompts) : Dialog(sampleDescription(), prompts) {
        bindText(kName, name);
        bindInteger(kCount, count);
        bindText(kLimited, limited, 5);
        bindCheck(kFlag, flag);
        bindRadioGroup({kRadioA, kRadioB, kRadioC}, choice);
        bindComboIndex(kCombo, comboIndex);
    }
    std::string name = "first";
    int count = 7;
    std::string limited;
    int flag = 1;
    int choice = 1;
    int comboIndex = -1;
    std::vector<DialogEvent> seen;

    using Dialog::selectRadio;

protected:
    EventResult onEvent(const DialogEvent& event) override {
        seen.push_back(event);
        if (event.kind == DialogEvent::Init) {
            controls().addItem(kCombo, "x");
            controls().addItem(kCombo, "y");
        }
        return EventResult::Unhandled;
    }
};

class DialogTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.open();
        dialog.seen.clear();
    }
    void TearDown() override {
        for (const auto& f : prompts.failures()) ADD_FAILURE() << f;
        EXPECT_EQ(prompts.pending(), 0u);
    }
    ScriptedPrompts prompts;
    SampleDialog dialog{prompts};
    HeadlessWindow window{dialog};
};

TEST_F(DialogTransferTest, OpeningPushesEveryMemberWithoutTheDialogSeeingChanges) {
    EXPECT_EQ(window.text(kName), "first");
    EXPECT_EQ(window.text(kCount), "7");
    EXPECT_TRUE(window.isChecked(kFlag));
    EXPECT_FALSE(window.isChecked(kRadioA));
    EXPECT_TRUE(window.isChecked(kRadioB));
    EXPECT_EQ(window.selectedIndex(kCombo), -1);
    EXPECT_EQ(window.textLimit(kLimited), 5);
    dialog.name = "second";
    dialog.push();
    EXPECT_TRUE(dialog.seen.empty());
    EXPECT_EQ(window.text(kName), "second");
}

TEST_F(DialogTransferTest, PullReadsEveryKindOfBinding) {
    window.type(kName, "typed");
    window.type(kCount, " \t-12 \t");
    window.click(kFlag);
    window.click(kRadioC);
    window.choose(kCombo, 1);
    ASSERT_TRUE(dialog.pull());
    EXPECT_EQ(dialog.name, "typed");
    EXPECT_EQ(dialog.count, -12);
    EXPECT_EQ(dialog.flag, 0);
    EXPECT_EQ(dialog.choice, 2);
    EXPECT_EQ(dialog.comboIndex, 1);
}

TEST_F(DialogTransferTest, NoRadioSelectedPullsMinusOneAndPushesNone) {
    window.setChecked(kRadioB, false);
    ASSERT_TRUE(dialog.pull());
    EXPECT_EQ(dialog.choice, -1);
    dialog.choice = 0;
    dialog.push();
    EXPECT_TRUE(window.isChecked(kRadioA));
    dialog.choice = -1;
    dialog.push();
    EXPECT_FALSE(window.isChecked(kRadioA) || window.isChecked(kRadioB) || window.isChecked(kRadioC));
}

TEST_F(DialogTransferTest, RefusedIntegerStopsThePullAtThatEdit) {
    for (const char* bad : {"", "12a", "1 2", "+", "99999999999", " - 3"}) {
        SCOPED_TRACE(bad);
        dialog.name = "old";
        dialog.flag = 1;
        window.setText(kName, "new");
        window.setText(kCount, bad);
        window.setChecked(kFlag, false);
        window.setFocus(kName);
        prompts.expectAppMessage("Please enter an integer.");
        EXPECT_FALSE(dialog.pull());
        EXPECT_EQ(dialog.name, "new");  // read before the bad edit
        EXPECT_EQ(dialog.count, 7);     // unchanged
        EXPECT_EQ(dialog.flag, 1);      // after it: unchanged
        EXPECT_EQ(window.focusedId(), kCount);
    }
}

TEST_F(DialogTransferTest, IntegerLimitsAreAccepted) {
    window.setText(kCount, "-2147483648");
    ASSERT_TRUE(dialog.pull());
    EXPECT_EQ(dialog.count, -2147483647 - 1);
    window.setText(kCount, "+2147483647");
    ASSERT_TRUE(dialog.pull());
    EXPECT_EQ(dialog.count, 2147483647);
}

TEST_F(DialogTransferTest, TextOverItsLimitIsRefusedWithTheToolkitMessage) {
    window.setText(kLimited, "123456");
    prompts.expectAppMessage("Please enter no more than 5 characters.");
    EXPECT_FALSE(dialog.pull());
    EXPECT_EQ(dialog.limited, "");
    EXPECT_EQ(window.focusedId(), kLimited);
    window.setText(kLimited, "12345");
    EXPECT_TRUE(dialog.pull());
    EXPECT_EQ(dialog.limited, "12345");
}

TEST_F(DialogTransferTest, ProgramTextRaisesAChangeOutsideTransfersOnly) {
    window.setText(kName, "x");
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0].kind, DialogEvent::EditChanged);
    EXPECT_EQ(dialog.seen[0].id, kName);
    dialog.seen.clear();
    window.setChecked(kFlag, true);
    window.setSelectedIndex(kCombo, 0);
    dialog.selectRadio(kRadioA);
    EXPECT_TRUE(dialog.seen.empty());
    EXPECT_TRUE(window.isChecked(kRadioA));
    EXPECT_FALSE(window.isChecked(kRadioB));
}

TEST_F(DialogTransferTest, OkPullsAndEndsOnlyWhenThePullSucceeds) {
    window.setText(kCount, "oops");
    prompts.expectAppMessage("Please enter an integer.");
    window.click(kIdOk);
    EXPECT_FALSE(window.ended());
    ASSERT_FALSE(dialog.seen.empty());
    EXPECT_EQ(dialog.seen.back().kind, DialogEvent::Ok);  // a click on IDOK arrives as Ok
    window.type(kCount, "3");
    window.click(kIdOk);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(window.result(), kIdOk);
    EXPECT_EQ(dialog.count, 3);
}

TEST_F(DialogTransferTest, CancelEndsWithoutPulling) {
    window.type(kName, "typed");
    window.click(kIdCancel);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(window.result(), kIdCancel);
    EXPECT_EQ(dialog.name, "first");
}

TEST(RadioGroupTest, TheDescriptionSaysWhichRadiosAreOneGroup) {
    DialogDescription d = sampleDescription();
    using K = ControlKind;
    // D and E are one group with an edit between them; F is in none.
    d.controls.push_back({30, K::RadioButton, "D", 0, 0, 1, 1});
    d.controls.push_back({33, K::Edit, "", 0, 0, 1, 1});
    d.controls.push_back({31, K::RadioButton, "E", 0, 0, 1, 1});
    d.controls.push_back({32, K::RadioButton, "F", 0, 0, 1, 1});
    d.radioGroups.push_back({31, 30});
    EXPECT_EQ(radioGroupOf(d, kRadioB), (std::vector<int>{kRadioA, kRadioB, kRadioC}));
    EXPECT_EQ(radioGroupOf(d, 30), (std::vector<int>{31, 30}));
    EXPECT_EQ(radioGroupOf(d, 32), (std::vector<int>{32}));
    EXPECT_TRUE(radioGroupOf(d, kName).empty());
    // A group is one tab stop, its first radio in the template, and its
    // radios follow one another there.
    for (int id : {int{kRadioA}, 30, 32}) EXPECT_TRUE(isTabStop(d, *d.find(id))) << id;
    for (int id : {int{kRadioB}, 31}) EXPECT_FALSE(isTabStop(d, *d.find(id))) << id;
    std::vector<int> order;
    for (const auto& c : inTemplateOrder(d)) order.push_back(c.id);
    EXPECT_EQ(std::vector<int>(order.end() - 4, order.end()), (std::vector<int>{30, 31, 33, 32}));
    EXPECT_EQ(order.size(), d.controls.size());
}

}  // namespace
}  // namespace velmora::test
