#pragma once
// Common ground of the dialog scenarios: a host, scripted prompts that
// must all be shown and nothing else, and the host gone before the dialog.
#include <gtest/gtest.h>

#include "src/headless/scripted_prompts.h"
#include "tests/scenarios/scenario_host.h"

namespace velmora::test {

class ScenarioTest : public ::testing::Test {
protected:
    void TearDown() override {
        host.reset();
        for (const auto& failure : prompts.failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(prompts.pending(), 0u) << "expected prompts were not shown";
    }

    ScriptedPrompts prompts;
    std::unique_ptr<ScenarioHost> host = makeScenarioHost();
};

}  // namespace velmora::test
