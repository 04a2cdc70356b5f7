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

// A scratch folder with a copy of the built engine, which the program finds
// through the registry as it finds an installed one.
class OperatorJourney : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string engineFolder = work / "engine dir";
        CreateDirectoryA(engineFolder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(buildPath(PARSETARN_PATH).c_str(), (engineFolder + "\\ParseTarn.exe").c_str(), FALSE));
        engine.set(engineFolder + "\\");
    }

    ScratchFolder work{"velmora e2e"};
    EngineFolderValue engine;
};

TEST_F(OperatorJourney, ConfigureSaveAndParseWithTheRealProgram) {
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

// Four 44-byte card records, the last cut short, and a configuration that
// cuts them into a PAN, a name, an expiry date and a binary key.
const char kCardRecords[] =
    "4111111111111111JOHN SMITH          2512\x01\x02\xA0\xFF"
    "5500000000000004ANNA LEE            2611\x10\x20\x30\x40"
    "4000000000000002MARK TWAIN          2703\x7F\x41\x5C\x78"
    "4000000000";
const char kCardConfiguration[] =
    "fixedLength = 44\r\nrecordSeparator = ''\r\nfirSeparator = ''\r\nfieldsInOrder = 0\r\nfieldDefs = (\r\n"
    "FieldDef(\"PAN\", START_POSITION, 1, FIXED_LENGTH, 16, TEXT_FIELD, \"Y\"),\r\n"
    "FieldDef(\"Name\", START_POSITION, 17, FIXED_LENGTH, 20, TEXT_FIELD, \"Y\"),\r\n"
    "FieldDef(\"Expiry\", START_POSITION, 37, FIXED_LENGTH, 4, TEXT_FIELD, \"Y\"),\r\n"
    "FieldDef(\"Key\", START_POSITION, 41, FIXED_LENGTH, 4, BINARY_FIELD, \"Y\"),\r\n)\r\n";

// Polls what another process does in its own time; a guard against
// hanging, not a measure of speed.
template <typename Condition>
bool eventually(Condition condition) {
    for (int waited = 0; waited < 400 && !condition(); ++waited) Sleep(50);
    return condition();
}

TEST_F(OperatorJourney, PreviewAnOpenedConfigurationOnASampleAsTheEngineParsesIt) {
    const std::string data = work / "cards 2.dat", config = work / "cards 2.cfg";
    writeTextFile(data, std::string(kCardRecords, sizeof kCardRecords - 1));
    writeTextFile(config, kCardConfiguration);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\VmTarnParser");  // no sample remembered
    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    ASSERT_TRUE(app.started());
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);

    // "Configure...", "Open Existing..." with the configuration, "Preview...".
    HWND configure = nullptr;
    auto openPreview = [&]() -> HWND {
        clickAndLeave(main, 1095);
        configure = app.waitForDialog("Configure Data File");
        if (!configure || isEnabled(configure, 1041)) return nullptr;
        clickAndLeave(configure, 1040);
        HWND open = app.waitForDialog("Open");
        if (!open) return nullptr;
        chooseFile(open, config);
        if (!eventually([&] { return isEnabled(configure, 1041); })) return nullptr;
        clickAndLeave(configure, 1041);
        return app.waitForDialog("Preview");
    };
    auto closeBoth = [&](HWND preview) {
        press(preview, IDCANCEL);
        EXPECT_TRUE(app.waitUntilGone(preview));
        press(configure, IDCANCEL);
        EXPECT_TRUE(app.waitUntilGone(configure));
    };

    HWND preview = openPreview();
    ASSERT_TRUE(preview);
    clickAndLeave(preview, 1202);
    HWND open = app.waitForDialog("Open");
    ASSERT_TRUE(open);
    chooseFile(open, data);
    ASSERT_TRUE(eventually([&] { return listRowCount(preview, 1204) == 4; }));
    EXPECT_EQ(textOf(preview, 1203), "3 records, 1 rejected, in the first 142 bytes of 142 bytes");
    std::vector<std::string> headers;
    for (int c = 0; c < 7; ++c) headers.push_back(app.listText(preview, 1204, -1, c));
    EXPECT_EQ(headers, (std::vector<std::string>{"Record", "Offset", "PAN", "Name", "Expiry", "Key", "Rejected"}));
    auto row = [&](int r) {
        std::vector<std::string> cells;
        for (int c = 0; c < 7; ++c) cells.push_back(app.listText(preview, 1204, r, c));
        return cells;
    };
    EXPECT_EQ(row(0), (std::vector<std::string>{"1", "0", "4111111111111111", "JOHN SMITH          ", "2512",
                                                "\\x01\\x02\\xA0\xFF", ""}));
    EXPECT_EQ(row(2)[5], "\\x7FA\\x5Cx");
    EXPECT_EQ(row(3), (std::vector<std::string>{"4", "132", "", "", "", "", "short last record: 10 of 44 bytes"}));
    // A path that reads the same on every machine, for the README.
    typeInto(preview, 1201, "D:\\Issuers\\Bank A\\cards 2.dat");
    // The focus on the list, so no blinking caret makes each picture differ.
    PostMessageA(preview, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(preview, 1204)), TRUE);
    screenshot(preview, "preview.png");
    closeBoth(preview);

    // The engine counts the same records; the sample is offered next time.
    EXPECT_EQ(parse(app, main, data, config, false).rfind("3 records parsed, 1 rejected", 0), 0u);
    preview = openPreview();
    ASSERT_TRUE(preview);
    EXPECT_EQ(textOf(preview, 1201), data);
    EXPECT_TRUE(eventually([&] { return listRowCount(preview, 1204) == 4; }));
    closeBoth(preview);
    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));
}

}  // namespace
}  // namespace velmora::e2e
