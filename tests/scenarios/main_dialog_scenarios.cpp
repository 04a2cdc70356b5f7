// The main window and the About box as the operator meets them; runs on both hosts.
#include "src/app/about_dialog.h"
#include "src/app/main_dialog.h"
#include "src/app/main_dialog_description.h"
#include "src/headless/headless_window.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/headless/memory_string_table.h"
#include "src/headless/scripted_processes.h"
#include "tests/scenarios/scenario_fixture.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {
namespace {

class MainScenario : public ScenarioTest {
protected:
    void SetUp() override { strings.strings[kStringAboutCommand] = "&About Velmora Data Parser"; }
    void open() {
        auto fresh = std::make_unique<MainDialog>(prompts, services, strings);
        host->open(*fresh);
        dialog = std::move(fresh);
    }

    MemoryFileSystem files;
    MemoryRegistry registry;
    ScriptedProcesses processes;
    RecordedAudit audit;
    Services services{files, registry, processes, audit};
    MemoryStringTable strings;
    std::unique_ptr<MainDialog> dialog;
};

TEST_F(MainScenario, OpensWithFourButtonsAndTheAboutEntry) {
    open();
    EXPECT_EQ(host->caption(), "Velmora Data Parser");
    EXPECT_EQ(host->text(kIdMainParse), "Parse...");
    EXPECT_EQ(host->text(kIdMainConfigure), "Configure...");
    EXPECT_EQ(host->text(kIdMainResults), "&Results...");
    EXPECT_EQ(host->text(kIdCancel), "Exit");
    EXPECT_EQ(host->focusedId(), kIdMainConfigure);
    EXPECT_EQ(host->systemMenuEntry(kIdAboutCommand), "&About Velmora Data Parser");
}

TEST_F(MainScenario, NoAboutEntryWhenItsStringIsEmpty) {
    strings.strings.clear();
    open();
    EXPECT_EQ(host->systemMenuEntry(kIdAboutCommand), "");
}

TEST_F(MainScenario, EnterOpensTheConfigureDialogAndEachDialogLeavesTheWindow) {
    open();
    prompts.expectDialog("Configure Data File", kIdCancel, [](HeadlessWindow& configure) { configure.pressEscape(); });
    host->pressEnter();
    EXPECT_FALSE(host->ended());
    prompts.expectDialog("Parse", kIdCancel);
    host->click(kIdMainParse);
    prompts.expectDialog("Results", kIdCancel);
    host->click(kIdMainResults);
    EXPECT_FALSE(host->ended());
}

TEST_F(MainScenario, AboutBoxFromTheSystemMenu) {
    open();
    std::string version;
    prompts.expectDialog("About Velmora Data Parser", kIdOk, [&](HeadlessWindow& about) {
        version = about.text(kIdAboutVersion);
        about.pressEnter();
    });
    host->chooseSystemCommand(kIdAboutCommand);
    EXPECT_EQ(version, "Velmora Data Parser Version 2. 0. 0. 24");
    // The system keeps the low four bits of a command for itself.
    prompts.expectDialog("About Velmora Data Parser", kIdOk);
    host->chooseSystemCommand(kIdAboutCommand | 0x7);
    host->chooseSystemCommand(0xF010);  // Move: the platform's own
    EXPECT_FALSE(host->ended());
}

TEST_F(MainScenario, HelpIsConsumedAndEscapeEnds) {
    open();
    host->pressF1();
    EXPECT_FALSE(host->ended());
    host->pressEscape();
    EXPECT_TRUE(host->ended());
}

TEST_F(MainScenario, ExitEnds) {
    open();
    host->click(kIdCancel);
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdCancel);
}

}  // namespace
}  // namespace velmora::test
