// The real VelmoraDataParser.exe, driven from outside as an operator uses
// it: configure a few fields, save, parse with the real engine found
// through the registry, parse again over the database. The screenshots of
// the README are taken on the way, so they show the program as it is.
#include <gtest/gtest.h>

#include "e2e/operator_driver.h"
#include "e2e/window_picture.h"
#include "win32/win32_test_support.h"

namespace velmora::e2e {
namespace {

using velmora::testing::ScratchFolder;
using velmora::testing::readTextFile;
using velmora::testing::writeTextFile;

const char* const kEngineKey = "Software\\Velmora\\TarnParser";

// Points the utility at an engine folder for the test's life.
class EngineFolderValue {
public:
    explicit EngineFolderValue(const std::string& folder) {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kEngineKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        RegSetValueExA(key_, "InstallDirectory", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
    }
    ~EngineFolderValue() {
        RegDeleteValueA(key_, "InstallDirectory");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
};

void screenshot(HWND window, const std::string& name) {
    std::string path = buildPath(SCREENSHOT_DIR) + "\\" + name;
    Picture picture = pictureOf(window);
    ASSERT_GT(picture.width, 0) << name;
    writeTextFile(path, pngBytes(picture));
}

struct FieldInput {
    const char* name;
    const char* startCode;
    const char* endCode;  // nullptr: end None
    int type;
};

void appendField(HWND configure, const FieldInput& field) {
    typeInto(configure, 1002, field.name);
    click(configure, 1017);
    typeInto(configure, 1019, field.startCode);
    click(configure, field.endCode ? 1022 : 1021);
    if (field.endCode) typeInto(configure, 1026, field.endCode);
    choose(configure, 1004, field.type);
    click(configure, 1009);
}

// A parse from the main window; returns the text of the outcome box.
std::string parse(const RunningProgram& app, HWND main, const std::string& data, const std::string& config,
                  bool overwrite, const char* picture = nullptr) {
    clickAndLeave(main, 1094);
    HWND dialog = app.waitForDialog("Parse");
    if (!dialog) return "no Parse dialog";
    if (picture) {
        // Paths that read the same on every machine, for the README.
        typeInto(dialog, 1007, "D:\\Issuers\\Bank A\\cards 1.dat");
        typeInto(dialog, 1008, "D:\\Issuers\\Bank A\\cards.cfg");
        screenshot(dialog, picture);
    }
    typeInto(dialog, 1007, data);
    typeInto(dialog, 1008, config);
    if (!isEnabled(dialog, IDOK)) return "Parse... stayed disabled";
    clickAndLeave(dialog, IDOK);
    if (overwrite) {
        HWND prompt = app.waitForDialog("Database Exists");
        if (!prompt) return "no Database Exists prompt";
        press(prompt, 1093);
    }
    HWND box = app.waitForDialog("Velmora Data Parser", true);
    if (!box) return "no outcome box";
    std::string text = messageText(box);
    press(box, IDOK);
    app.waitUntilGone(dialog);
    return text;
}

TEST(OperatorJourney, ConfigureSaveAndParseWithTheRealProgram) {
    ScratchFolder work("velmora e2e");
    const std::string engineFolder = work / "engine dir";
    CreateDirectoryA(engineFolder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(buildPath(PARSETARN_PATH).c_str(), (engineFolder + "\\ParseTarn.exe").c_str(), FALSE));
    EngineFolderValue engine(engineFolder + "\\");
    const std::string data = work / "cards 1.dat";
    std::string records;
    for (const char* name : {"JOHN SMITH", "ANNA LEE", "MARK TWAIN"})
        records += std::string("#A") + name + "#E1#P1234#E2#M%B4111^SMITH/JOHN?;4111=2512?\r\n";
    writeTextFile(data, records);
    const std::string config = work / "cards.cfg";

    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    ASSERT_TRUE(app.started());
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);
    screenshot(main, "main-window.png");

    clickAndLeave(main, 1095);
    HWND configure = app.waitForDialog("Configure Data File");
    ASSERT_TRUE(configure);
    typeInto(configure, 1013, "\\x0D\\x0A");
    appendField(configure, {"Name", "#A", "#E1", 1});
    appendField(configure, {"PIN", "#P", "#E2", 0});
    typeInto(configure, 1002, "Mag");
    click(configure, 1017);
    typeInto(configure, 1019, "#M");
    choose(configure, 1004, 7);
    clickAndLeave(configure, 1089);
    HWND sentinels = app.waitForDialog("Sentinels");
    ASSERT_TRUE(sentinels);
    screenshot(sentinels, "sentinels.png");
    press(sentinels, IDOK);  // the ISO sentinels it shows
    ASSERT_TRUE(app.waitUntilGone(sentinels));
    click(configure, 1009);
    screenshot(configure, "configure.png");

    clickAndLeave(configure, IDOK);
    HWND save = app.waitForDialog("Save As");
    ASSERT_TRUE(save);
    chooseFile(save, config);
    ASSERT_TRUE(app.waitUntilGone(configure));
    EXPECT_EQ(readTextFile(config),
              "fixedLength = 0\r\n"
              "recordSeparator = '\\x0D\\x0A'\r\n"
              "firSeparator = ''\r\n"
              "fieldsInOrder = 1\r\n"
              "fieldDefs = (\r\n"
              "FieldDef(\"Name\", START_CODE, \"#A\", END_CODE, \"#E1\", TEXT_FIELD, \"Y\"),\r\n"
              "FieldDef(\"PIN\", START_CODE, \"#P\", END_CODE, \"#E2\", BINARY_FIELD, \"Y\"),\r\n"
              "FieldDef(\"Mag\", START_CODE, \"#M\", None, \"\", MAGSTRIPE_FIELD,\"Y\", "
              "(\"%\", \"?\", \";\", \"?\", \"_;\", \"?\")),\r\n"
              ")\r\n");

    EXPECT_EQ(parse(app, main, data, config, false, "parse.png").rfind("3 records parsed", 0), 0u);
    EXPECT_FALSE(readTextFile(work / "cards 1.mdb").empty());
    EXPECT_EQ(parse(app, main, data, config, true).rfind("3 records parsed", 0), 0u);

    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));
}

}  // namespace
}  // namespace velmora::e2e
