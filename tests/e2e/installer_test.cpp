// Both setup programs under Wine as an operator and an administrator meet
// them. The NSIS setup program: a silent install into a folder whose name
// holds blanks, the utility started from the Start menu entry's target, a
// parse with the installed engine found through the registry, then the
// uninstaller, which leaves the operator's files. The .msi: an earlier
// version installed silently into the folder the administrator names, this
// version over it without naming one (a major upgrade, in that folder), the
// installed engine, then its removal, which leaves the operator's files.
#include <windows.h>
#include <msi.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/installation_checks.h"
#include "tests/e2e/operator_steps.h"
#include "tests/support/test_files.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

const char* const kUserSettings = "Software\\Velmora\\VmTarnParser\\Settings";
const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VelmoraDataParser";

TEST(Installer, SilentInstallParseAndUninstallThatKeepsTheOperatorsFiles) {
    const std::string folder = "C:\\Program Files\\Velmora Setup Test";
    // A sample an older version remembered for every operator at once goes.
    const char old[] = "D:\\old.dat";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile", REG_SZ, old,
                    sizeof old);
    // /D= comes last and unquoted, blanks and all.
    ASSERT_EQ(runToEnd("\"" + buildPath(SETUP_EXE_PATH) + "\" /S /D=" + folder), 0);
    expectInstalledIn(folder, commonStartMenuEntry());
    EXPECT_TRUE(pathExists(folder + "\\Uninstall.exe"));
    EXPECT_TRUE(machineKeyExists("SOFTWARE\\Velmora\\VmTarnParser\\Settings"));
    EXPECT_FALSE(machineValue("SOFTWARE\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile"));
    EXPECT_EQ(machineValue(kUninstallKey, "DisplayVersion"), VELMORA_VERSION);
    EXPECT_EQ(machineValue(kUninstallKey, "DisplayName"), "Velmora Data Parser");

    // The operator's work, with the installed engine.
    const std::string data = kConfigFolder + "\\cards 1.dat";
    const std::string config = kConfigFolder + "\\cards.cfg";
    writeFile(data, exampleFile("cards.dat"));
    {
        RunningProgram app("\"" + shortcutTarget(commonStartMenuEntry()) + "\"");
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

    EXPECT_EQ(runToEnd("\"" + folder + "\\Uninstall.exe\" /S _?=" + folder), 0);
    // Run in place, the uninstaller leaves itself; the rest is gone.
    DeleteFileA((folder + "\\Uninstall.exe").c_str());
    RemoveDirectoryA(folder.c_str());
    expectRemovedFrom(folder);
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

// The versions of the installed products of the .msi's upgrade code.
std::vector<std::string> installedVersions() {
    std::vector<std::string> versions;
    char product[39] = {};
    for (DWORD i = 0; MsiEnumRelatedProductsA(MSI_UPGRADE_CODE, 0, i, product) == ERROR_SUCCESS; ++i) {
        char version[64] = {};
        DWORD size = sizeof version;
        MsiGetProductInfoA(product, INSTALLPROPERTY_VERSIONSTRING, version, &size);
        versions.push_back(version);
    }
    return versions;
}

// msiexec with `arguments`, quietly, its log in the build tree.
int msiexec(const std::string& arguments) {
    return runToEnd("msiexec " + arguments + " /qn /l*v \"" + buildPath(MSI_LOG) + "\"", false);
}

// Removes every installed version of the .msi when made and when gone, so
// that a test stopped half way leaves none to the next.
struct NoPackageInstalled {
    NoPackageInstalled() { removeAll(); }
    ~NoPackageInstalled() { removeAll(); }
    static void removeAll() {
        char product[39] = {};
        for (int left = 4; left > 0 && MsiEnumRelatedProductsA(MSI_UPGRADE_CODE, 0, 0, product) == ERROR_SUCCESS;
             --left)
            msiexec("/x " + std::string(product));
    }
};

TEST(Installer, MsiInstallsWhereToldUpgradesInPlaceAndIsRemovedLeavingTheOperatorsFiles) {
    NoPackageInstalled none;

    const std::string folder = "C:\\Program Files\\Velmora MSI Test";
    // The folder an administrator names wins over one recorded before.
    const char elsewhere[] = "C:\\Elsewhere\\";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Velmora\\TarnParser", "InstallDirectory", REG_SZ, elsewhere,
                    sizeof elsewhere);
    // As an administrator names it: in quotes, with its final backslash.
    ASSERT_EQ(msiexec("/i \"" + buildPath(OLDER_MSI_PATH) + "\" \"INSTALLFOLDER=" + folder + "\\\""), 0)
        << "see " << MSI_LOG;
    EXPECT_EQ(installedVersions(), std::vector<std::string>{OLDER_VERSION});
    EXPECT_EQ(machineValue("Software\\Velmora\\TarnParser", "InstallDirectory"), folder + "\\");

    // Windows Installer puts a per-machine package's Start menu entry among
    // every user's programs; Wine's puts it among the installing user's.
    const std::string entry = pathExists(commonStartMenuEntry()) ? commonStartMenuEntry() : userStartMenuEntry();
    ASSERT_EQ(msiexec("/i \"" + buildPath(MSI_PATH) + "\""), 0) << "see " << MSI_LOG;
    EXPECT_EQ(installedVersions(), std::vector<std::string>{VELMORA_VERSION});
    expectInstalledIn(folder, entry);

    const std::string data = kConfigFolder + "\\cards 2.dat";
    const std::string config = kConfigFolder + "\\cards 2.cfg";
    const std::string results = kConfigFolder + "\\results.txt";
    writeFile(data, exampleFile("cards.dat"));
    writeFile(config, exampleFile("cards.cfg"));
    EXPECT_EQ(runToEnd("\"" + folder + "\\ParseTarn.exe\" -o \"" + results + "\" \"" + data + "\" \"" + config + "\""),
              0);
    EXPECT_EQ(readFile(results).rfind("3 records parsed\r\n", 0), 0u);

    ASSERT_EQ(msiexec("/x \"" + buildPath(MSI_PATH) + "\""), 0) << "see " << MSI_LOG;
    EXPECT_TRUE(installedVersions().empty());
    expectRemovedFrom(folder);
    for (const std::string& file : {data, config, results, kConfigFolder + "\\cards 2.mdb"}) {
        EXPECT_TRUE(pathExists(file)) << file;
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(kConfigFolder.c_str());
    RemoveDirectoryA("C:\\Velmora");
}

}  // namespace
}  // namespace velmora::test
