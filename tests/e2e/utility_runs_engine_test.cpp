// Under Wine: the utility's runParse starts the real ParseTarn.exe through
// the registry's install folder, shows the first line of its results file,
// and a second run is asked about with "Database Exists".
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/support/database_query.h"
#include "src/parse/database_exists_dialog.h"
#include "tests/src/parse/fake_parse_form.h"
#include "src/parse/run_parse.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"
#include "src/win32/win32_prompts.h"
#include "src/win32/os/win32_services.h"
#include "src/win32/win32_string_table.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

// The folder of ParseTarn.exe as Wine names it, with its final backslash.
std::string engineFolder() {
    std::string path = buildPath(PARSETARN_PATH);
    return path.substr(0, path.rfind('\\') + 1);
}

class UtilityRunsEngineTest : public ::testing::Test {
protected:
    EngineFolderValue engine{engineFolder()};
    ScratchFolder folder{"velmora engine run"};
    Win32Services win32;
    Win32StringTable strings;
    Win32Prompts prompts{strings};
};

TEST_F(UtilityRunsEngineTest, ShowsTheEnginesFirstLineAndAsksBeforeASecondRun) {
    folder.write("batch one.dat", "#NAMY|#NBEN|#NCY|");
    folder.write("bank.cfg", configText("", "|", {field("Name", "START_CODE", "#N", "None", "", "TEXT_FIELD")}));
    FakeForm form({folder.path("batch one.dat"), folder.path("bank.cfg"), ""});
    DeleteFileA((folder.path("batch one.mdb")).c_str());  // a scratch folder of a killed run may hold one
    Services services = win32.services();
    {
        BoxAnswerer boxes;
        boxes.press(IDOK);
        runParse(form, prompts, services);
        ASSERT_EQ(boxes.seen().size(), 1u);
        EXPECT_EQ(boxes.seen()[0].text.substr(0, 16), "3 records parsed");
        EXPECT_EQ(boxes.seen()[0].icon, MessageIcon::Warning);  // fresh database
        EXPECT_TRUE(boxes.unexpected().empty());
    }
    EXPECT_EQ(form.closed, 1);
    EXPECT_EQ(readFile("c:\\temp\\parseResults.txt").substr(0, 18), "3 records parsed\r\n");
    EXPECT_EQ(query(folder.path("batch one.mdb"), "SELECT Name FROM records"),
              (std::vector<std::string>{"AMY", "BEN", "CY"}));

    {
        BoxAnswerer boxes;
        boxes.press(kIdOverwrite).press(IDOK);  // the prompt, then the outcome
        runParse(form, prompts, services);
        ASSERT_EQ(boxes.seen().size(), 2u);
        EXPECT_EQ(boxes.seen()[0].caption, "Database Exists");
        EXPECT_EQ(boxes.seen()[1].text.substr(0, 16), "3 records parsed");
        EXPECT_EQ(boxes.seen()[1].icon, MessageIcon::None);  // after an overwrite
    }
    EXPECT_EQ(form.closed, 2);
    EXPECT_TRUE(folder.exists("batch one.mdb"));
    // The old database was set aside for the run and let go for the new one.
    EXPECT_FALSE(folder.exists("batch one.mdb.previous"));
}

TEST_F(UtilityRunsEngineTest, AFailedRunShowsTheErrorTextAndLeavesNoDatabase) {
    folder.write("batch.dat", "#NAMY|");
    folder.write("broken.cfg", "fixedLength = 0\r\n");
    FakeForm form({folder.path("batch.dat"), folder.path("broken.cfg"), ""});
    Services services = win32.services();
    BoxAnswerer boxes;
    boxes.press(IDOK);
    runParse(form, prompts, services);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, "Error- For more info see c:\\temp\\parseResults.txt");
    EXPECT_EQ(readFile("c:\\temp\\parseResults.txt").rfind("Parse failed: configuration line 2", 0), 0u);
    EXPECT_FALSE(folder.exists("batch.mdb"));
}

}  // namespace
}  // namespace velmora::test
