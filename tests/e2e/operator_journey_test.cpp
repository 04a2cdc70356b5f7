// The real VelmoraDataParser.exe, driven from outside as an operator uses
// it: configure a few fields, save, parse with the real engine found
// through the registry, parse again over the database. The screenshots of
// the README are taken on the way, so they show the program as it is.
#include <gtest/gtest.h>

#include "e2e/operator_steps.h"
#include "win32/win32_test_support.h"

namespace velmora::e2e {
namespace {

using velmora::testing::EngineFolderValue;
using velmora::testing::readTextFile;
using velmora::testing::ScratchFolder;
using velmora::testing::writeTextFile;

TEST(OperatorJourney, ConfigureSaveAndParseWithTheRealProgram) {
    ScratchFolder work("velmora e2e");
    const std::string engineFolder = work / "engine dir";
    CreateDirectoryA(engineFolder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(buildPath(PARSETARN_PATH).c_str(), (engineFolder + "\\ParseTarn.exe").c_str(), FALSE));
    EngineFolderValue engine(engineFolder + "\\");
    const std::string data = work / "cards 1.dat";
    writeTextFile(data, sampleCardRecords());
    const std::string config = work / "cards.cfg";

    // Start-up makes the program's keys when they are missing.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\VmTarnParser");
    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    ASSERT_TRUE(app.started());
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);
    HKEY settings = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\VmTarnParser\\Settings", 0, KEY_READ, &settings),
              ERROR_SUCCESS);
    if (settings) RegCloseKey(settings);
    screenshot(main, "main-window.png");

    ASSERT_EQ(configureAndSave(app, main, config, true), "");
    EXPECT_EQ(readTextFile(config), sampleConfigurationText());

    EXPECT_EQ(parse(app, main, data, config, false, "parse.png").rfind("3 records parsed", 0), 0u);
    EXPECT_FALSE(readTextFile(work / "cards 1.mdb").empty());
    EXPECT_EQ(parse(app, main, data, config, true).rfind("3 records parsed", 0), 0u);

    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));
}

}  // namespace
}  // namespace velmora::e2e
