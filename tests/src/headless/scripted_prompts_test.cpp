// The scripted prompts' bookkeeping, which every headless test relies on.
#include "src/headless/scripted_prompts.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

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
}  // namespace velmora::test
