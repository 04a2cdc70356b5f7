// What the headless host does where real windows cannot be driven the same
// way by the scenario driver.
#include "src/headless/headless_window.h"

#include <gtest/gtest.h>

#include "src/headless/scripted_prompts.h"
#include "tests/scenarios/recording_dialog.h"

namespace velmora::test {
namespace {

// A focused push button takes Enter, as Windows users expect after tabbing
// to one. The Win32 driver's clicks (BM_CLICK) leave the dialog's default
// button where it was, so this is checked here rather than in the contract.
TEST(HeadlessWindowTest, EnterClicksTheFocusedPushButton) {
    ScriptedPrompts prompts;
    RecordingDialog dialog(prompts);
    dialog.keepOpen = true;
    HeadlessWindow window(dialog);
    window.open();
    window.click(kPush);
    dialog.events.clear();
    window.pressEnter();
    EXPECT_EQ(dialog.log(), "Clicked 601");
}

}  // namespace
}  // namespace velmora::test
