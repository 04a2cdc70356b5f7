#include "src/app/parser_app.h"

#include <gtest/gtest.h>

#include "src/app/about_dialog.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/headless/memory_string_table.h"
#include "src/headless/scripted_processes.h"
#include "src/headless/scripted_prompts.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {

namespace {

class StartUp : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& failure : prompts.failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(prompts.pending(), 0u);
    }
    ParserApp app() { return ParserApp(prompts, services, strings); }

    ScriptedPrompts prompts;
    MemoryFileSystem files;
    MemoryRegistry registry;
    ScriptedProcesses processes;
    RecordedAudit audit;
    Services services{files, registry, processes, audit};
    MemoryStringTable strings;
};

}  // namespace

TEST_F(StartUp, MakesSureOfBothKeysAndRunsTheMainWindow) {
    prompts.expectDialog("Velmora Data Parser", kIdCancel);
    EXPECT_FALSE(app().initInstance());
    EXPECT_TRUE(registry.hasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\VmTarnParser\\Settings"));
    EXPECT_EQ(registry.openKeyCount(), 0u);
    for (const auto& call : registry.calls) {
        if (call.what == "create") {
            EXPECT_EQ(call.access, RegistryAccess::AllAccess);
        }
    }
    EXPECT_TRUE(app().openSettingsKeys());  // both present: no message
}

TEST_F(StartUp, MainKeyFailureIsReportedAndTheWindowOpensAllTheSame) {
    registry.refuseCreate.insert("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\VmTarnParser");
    prompts.expectAppMessage("Unable to open or Create Registry entry SOFTWARE\\Velmora\\VmTarnParser");
    prompts.expectDialog("Velmora Data Parser", kIdCancel);
    EXPECT_FALSE(app().initInstance());
}

TEST_F(StartUp, SettingsKeyFailureHasNoKeyPath) {
    registry.refuseCreate.insert("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\VmTarnParser\\Settings");
    prompts.expectAppMessage("Unable to open or Create Registry entry");
    EXPECT_FALSE(app().openSettingsKeys());
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST(AboutText, CommasBecomeFullStopsAndBlanksStay) {
    EXPECT_EQ(versionLine("2, 0, 0, 24"), "Velmora Data Parser Version 2. 0. 0. 24");
}

}  // namespace velmora::test
