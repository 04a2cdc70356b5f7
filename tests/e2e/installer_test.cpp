// The setup program under Wine as a new operator meets it: a silent
// install into a folder whose name holds blanks, the utility started from
// the Start menu entry's target, a parse with the installed engine found
// through the registry, then the uninstaller, which leaves the operator's
// files.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include "tests/e2e/operator_steps.h"
#include "tests/support/test_files.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

const std::string kInstallFolder = "C:\\Program Files\\Velmora Setup Test";
const std::string kConfigFolder = "C:\\Velmora\\VmTarnParser";
const char* const kUserSettings = "Software\\Velmora\\VmTarnParser\\Settings";
const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VelmoraDataParser";

// A text value of HKLM in the 64-bit view; nothing when absent.
bool machineKeyExists(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::string startMenuEntry() {
    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\Velmora Data Parser.lnk";
}

// The program a shortcut starts, as the shell reads it.
std::string shortcutTarget(const std::string& link) {
    std::string target;
    CoInitialize(nullptr);
    IShellLinkA* shell = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shell)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring wide(link.begin(), link.end());
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
                char path[MAX_PATH] = {};
                if (SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
            }
            file->Release();
        }
        shell->Release();
    }
    CoUninitialize();
    return target;
}

TEST(Installer, SilentInstallParseAndUninstallThatKeepsTheOperatorsFiles) {
    // A sample an older version remembered for every operator at once goes.
    const char old[] = "D:\\old.dat";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile", REG_SZ, old,
                    sizeof old);
    // /D= comes last and unquoted, blanks and all.
    ASSERT_EQ(runToEnd("\"" + buildPath(SETUP_EXE_PATH) + "\" /S /D=" + kInstallFolder), 0);
    for (const char* file : {"VelmoraDataParser.exe", "ParseTarn.exe", "Uninstall.exe"})
        EXPECT_TRUE(pathExists(kInstallFolder + "\\" + file)) << file;
    EXPECT_EQ(machineValue("Software\\Velmora\\TarnParser", "InstallDirectory"), kInstallFolder + "\\");
    EXPECT_TRUE(machineKeyExists("SOFTWARE\\Velmora\\VmTarnParser\\Settings"));
    EXPECT_FALSE(machineValue("SOFTWARE\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile"));
    EXPECT_EQ(machineValue(kUninstallKey, "DisplayVersion"), "2.0.0.24");
    EXPECT_EQ(machineValue(kUninstallKey, "DisplayName"), "Velmora Data Parser");
    EXPECT_TRUE(pathExists(kConfigFolder));
    const std::string target = shortcutTarget(startMenuEntry());
    EXPECT_EQ(target, kInstallFolder + "\\VelmoraDataParser.exe");

    // The operator's work, with the installed engine.
    const std::string data = kConfigFolder + "\\cards 1.dat";
    const std::string config = kConfigFolder + "\\cards.cfg";
    writeFile(data, exampleFile("cards.dat"));
    {
        RunningProgram app("\"" + target + "\"");
        ASSERT_TRUE(app.started());
        HWND main = app.waitForDialog("Velmora Data Parser");
        ASSERT_TRUE(main);
        ASSERT_EQ(configureAndSave(app, main, config), "");
        EXPECT_EQ(parse(app, main, data, config, false).rfind("3 records parsed", 0), 0u);
        EXPECT_TRUE(userValue(kUserSettings, "LastDatabase"));
        press(main, IDCANCEL);
        EXPECT_TRUE(app.waitForExit(20000));
    }
    // The sample a preview remembers, and the database the parse above left
    // for the Results, go with the program.
    const char sample[] = "D:\\cards.dat";
    RegSetKeyValueA(HKEY_CURRENT_USER, kUserSettings, "PreviewDataFile", REG_SZ, sample, sizeof sample);

    EXPECT_EQ(runToEnd("\"" + kInstallFolder + "\\Uninstall.exe\" /S _?=" + kInstallFolder), 0);
    // Run in place, the uninstaller leaves itself; the rest is gone.
    DeleteFileA((kInstallFolder + "\\Uninstall.exe").c_str());
    RemoveDirectoryA(kInstallFolder.c_str());
    for (const char* file : {"VelmoraDataParser.exe", "ParseTarn.exe"})
        EXPECT_FALSE(pathExists(kInstallFolder + "\\" + file)) << file;
    EXPECT_FALSE(pathExists(startMenuEntry()));
    EXPECT_FALSE(machineValue("Software\\Velmora\\TarnParser", "InstallDirectory"));
    EXPECT_FALSE(machineKeyExists("SOFTWARE\\Velmora\\VmTarnParser"));
    HKEY user = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Velmora", 0, KEY_READ, &user), ERROR_SUCCESS);
    if (user) RegCloseKey(user);
    EXPECT_FALSE(machineKeyExists(kUninstallKey));
    EXPECT_EQ(readFile(config), exampleFile("cards.cfg"));
    EXPECT_TRUE(pathExists(kConfigFolder + "\\cards 1.mdb"));

    for (const char* file : {"cards 1.dat", "cards.cfg", "cards 1.mdb"})
        DeleteFileA((kConfigFolder + "\\" + file).c_str());
    RemoveDirectoryA(kConfigFolder.c_str());
    RemoveDirectoryA("C:\\Velmora");
}

}  // namespace
}  // namespace velmora::test
