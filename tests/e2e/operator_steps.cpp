#include "tests/e2e/operator_steps.h"

#include "tests/e2e/window_picture.h"
#include "tests/support/test_files.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {

namespace {

struct FieldInput {
    const char* name;
    const char* startCode;
    const char* endCode;  // nullptr: end None
    int type;
};

void enterField(HWND configure, const FieldInput& field) {
    typeInto(configure, 1002, field.name);
    click(configure, 1017);
    typeInto(configure, 1019, field.startCode);
    click(configure, field.endCode ? 1022 : 1021);
    if (field.endCode) typeInto(configure, 1026, field.endCode);
    choose(configure, 1004, field.type);
}

}  // namespace

void screenshot(HWND window, const std::string& name) {
    Picture picture = pictureOf(window);
    if (picture.width > 0) writeFile(buildPath(SCREENSHOT_DIR) + "\\" + name, pngBytes(picture));
}

std::string configureAndSave(const RunningProgram& app, HWND main, const std::string& path, const char* pictureSuffix) {
    clickAndLeave(main, 1095);
    HWND configure = app.waitForDialog("Configure Data File");
    if (!configure) return "no Configure dialog";
    typeInto(configure, 1013, "\\x0D\\x0A");
    enterField(configure, {"Name", "#A", "#E1", 1});
    click(configure, 1009);
    enterField(configure, {"PIN", "#P", "#E2", 0});
    click(configure, 1009);
    enterField(configure, {"Mag", "#M", nullptr, 7});
    clickAndLeave(configure, 1089);
    HWND sentinels = app.waitForDialog("Sentinels");
    if (!sentinels) return "no Sentinels dialog";
    if (pictureSuffix) screenshot(sentinels, std::string("sentinels") + pictureSuffix + ".png");
    press(sentinels, IDOK);  // the ISO sentinels it shows
    if (!app.waitUntilGone(sentinels)) return "the Sentinels dialog stayed";
    click(configure, 1009);
    if (pictureSuffix) screenshot(configure, std::string("configure") + pictureSuffix + ".png");

    clickAndLeave(configure, IDOK);
    HWND save = app.waitForDialog("Save As");
    if (!save) return "no Save As dialog";
    chooseFile(save, path);
    if (!app.waitUntilGone(configure)) return "the Configure dialog stayed";
    return "";
}

std::string parse(const RunningProgram& app, HWND main, const std::string& data, const std::string& config,
                  bool overwrite, const char* picture) {
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

}  // namespace velmora::test
