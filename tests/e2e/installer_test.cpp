// The setup program under Wine as a new operator meets it: a silent
// install into a folder whose name holds blanks, the utility started from
// the Start menu entry's target, a parse with the installed engine found
// through the registry, then the uninstaller, which leaves the operator's
// files. And the .msi as an administrator meets it: an earlier version
// installed into the folder he names, this one over it without naming one,
// the installed engine, then its removal, which leaves the operator's files.
#include <windows.h>
#include <msi.h>
#include <sddl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include <vector>

#include "src/toolkit/audit.h"
#include "tests/e2e/operator_steps.h"
#include "tests/support/test_files.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

const std::string kInstallFolder = "C:\\Program Files\\Velmora Setup Test";
const std::string kConfigFolder = "C:\\Velmora\\VmTarnParser";
const char* const kUserSettings = "Software\\Velmora\\VmTarnParser\\Settings";
const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VelmoraDataParser";
const char* const kEngineKey = "Software\\Velmora\\TarnParser";
const char* const kProgramKey = "SOFTWARE\\Velmora\\VmTarnParser";
const char* const kEventSourceKey = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Velmora Data Parser";
const char* const kInstalledFiles[] = {"VelmoraDataParser.exe", "ParseTarn.exe",
                                       "PolicyDefinitions\\VelmoraDataParser.admx",
                                       "PolicyDefinitions\\en-US\\VelmoraDataParser.adml"};

// A text value of HKLM in the 64-bit view; nothing when absent.
bool machineKeyExists(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// Among every user's programs, or (CSIDL_PROGRAMS) the installing user's.
std::string startMenuEntry(int programsFolder = CSIDL_COMMON_PROGRAMS) {
    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, programsFolder, nullptr, SHGFP_TYPE_CURRENT, programs);
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

// An HKLM key's access list in SDDL: "(A;CI;KA;;;BU)" allows the Users
// group everything on the key, handed down to the keys below it.
std::string accessList(const char* key) {
    std::string list;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, READ_CONTROL | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
        return list;
    DWORD size = 0;
    RegGetKeySecurity(opened, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> descriptor(size);
    char* text = nullptr;
    if (RegGetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor.data(), &size) == ERROR_SUCCESS &&
        ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1,
                                                             DACL_SECURITY_INFORMATION, &text, nullptr))
        list = text;
    LocalFree(text);
    RegCloseKey(opened);
    return list;
}

// What both setup programs leave in `folder`: the programs and the policy
// template, the engine's folder recorded, the Start menu entry, the program's
// keys open to the Users group (and nothing above them), the event source.
void expectInstalledIn(const std::string& folder, const std::string& entry) {
    for (const char* file : kInstalledFiles) EXPECT_TRUE(pathExists(folder + "\\" + file)) << file;
    EXPECT_EQ(machineValue(kEngineKey, "InstallDirectory"), folder + "\\");
    EXPECT_EQ(shortcutTarget(entry), folder + "\\VelmoraDataParser.exe");
    EXPECT_TRUE(pathExists(kConfigFolder));
    for (const std::string key : {kProgramKey, "SOFTWARE\\Velmora\\VmTarnParser\\Settings"})
        EXPECT_NE(accessList(key.c_str()).find("(A;CI;KA;;;BU)"), std::string::npos) << key;
    for (const char* key : {"SOFTWARE\\Velmora", kEngineKey})
        EXPECT_EQ(accessList(key).find(";KA;;;BU)"), std::string::npos) << key << ": " << accessList(key);
    char stored[MAX_PATH] = {};
    DWORD type = REG_NONE, size = sizeof stored;
    RegGetValueA(HKEY_LOCAL_MACHINE, kEventSourceKey, "EventMessageFile", RRF_RT_ANY | RRF_NOEXPAND, &type, stored,
                 &size);
    EXPECT_EQ(stored, folder + "\\VelmoraDataParser.exe");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    // The event viewer finds each event's text through that file's table.
    HMODULE messages = LoadLibraryExA(stored, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(messages, nullptr);
    for (AuditEvent event : {AuditEvent::FullCardNumbersShown, AuditEvent::FullCardNumbersExported}) {
        const char* text = "Shown to CARDS\\operator.";
        DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(text)};
        char shown[256] = {};
        EXPECT_NE(
            FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, messages,
                           static_cast<DWORD>(event), 0, shown, sizeof shown, reinterpret_cast<va_list*>(inserts)),
            0u)
            << static_cast<unsigned>(event);
        EXPECT_EQ(std::string(shown), std::string(text) + "\r\n");
    }
    FreeLibrary(messages);
}

// And what goes with them, in either Start menu.
void expectRemovedFrom(const std::string& folder) {
    for (const char* file : kInstalledFiles) EXPECT_FALSE(pathExists(folder + "\\" + file)) << file;
    EXPECT_FALSE(pathExists(folder + "\\PolicyDefinitions"));
    EXPECT_FALSE(pathExists(startMenuEntry()));
    EXPECT_FALSE(pathExists(startMenuEntry(CSIDL_PROGRAMS)));
    EXPECT_FALSE(machineValue(kEngineKey, "InstallDirectory"));
    EXPECT_FALSE(machineKeyExists(kProgramKey));
    EXPECT_FALSE(machineKeyExists(kEventSourceKey));
}

TEST(Installer, SilentInstallParseAndUninstallThatKeepsTheOperatorsFiles) {
    // A sample an older version remembered for every operator at once goes.
    const char old[] = "D:\\old.dat";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile", REG_SZ, old,
                    sizeof old);
    // /D= comes last and unquoted, blanks and all.
    ASSERT_EQ(runToEnd("\"" + buildPath(SETUP_EXE_PATH) + "\" /S /D=" + kInstallFolder, false), 0);
    expectInstalledIn(kInstallFolder, startMenuEntry());
    EXPECT_TRUE(pathExists(kInstallFolder + "\\Uninstall.exe"));
    EXPECT_FALSE(machineValue("SOFTWARE\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile"));
    EXPECT_EQ(machineValue(kUninstallKey, "DisplayVersion"), VELMORA_VERSION);
    EXPECT_EQ(machineValue(kUninstallKey, "DisplayName"), "Velmora Data Parser");
    const std::string target = shortcutTarget(startMenuEntry());

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

    EXPECT_EQ(runToEnd("\"" + kInstallFolder + "\\Uninstall.exe\" /S _?=" + kInstallFolder, false), 0);
    // Run in place, the uninstaller leaves itself; the rest is gone.
    DeleteFileA((kInstallFolder + "\\Uninstall.exe").c_str());
    RemoveDirectoryA(kInstallFolder.c_str());
    expectRemovedFrom(kInstallFolder);
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

// msiexec with `arguments`, quietly, its log beside this program.
int msiexec(const std::string& arguments) {
    return runToEnd("msiexec " + arguments + " /qn /l*v \"" + programFolder() + "installer_msi.log\"", false);
}

// The installed versions of the .msi's product, each as its product code
// (`codes`) or its version; removing them all, so that a test stopped half
// way leaves none to the next.
std::vector<std::string> installed(bool codes = false) {
    std::vector<std::string> found;
    char product[39] = {}, version[64] = {};
    for (DWORD i = 0; MsiEnumRelatedProductsA(MSI_UPGRADE_CODE, 0, i, product) == ERROR_SUCCESS; ++i) {
        DWORD size = sizeof version;
        MsiGetProductInfoA(product, INSTALLPROPERTY_VERSIONSTRING, version, &size);
        found.push_back(codes ? product : version);
    }
    return found;
}
struct NoPackageInstalled {
    NoPackageInstalled() { removeAll(); }
    ~NoPackageInstalled() { removeAll(); }
    static void removeAll() {
        for (const std::string& product : installed(true)) msiexec("/x " + product);
    }
};

TEST(Installer, MsiInstallsWhereToldUpgradesInPlaceAndIsRemovedLeavingTheOperatorsFiles) {
    NoPackageInstalled none;

    const std::string folder = "C:\\Program Files\\Velmora MSI Test";
    // The folder an administrator names wins over one recorded before.
    const char elsewhere[] = "C:\\Elsewhere\\";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kEngineKey, "InstallDirectory", REG_SZ, elsewhere, sizeof elsewhere);
    // As an administrator names it: in quotes, with its final backslash.
    ASSERT_EQ(msiexec("/i \"" + buildPath(OLDER_MSI_PATH) + "\" \"INSTALLFOLDER=" + folder + "\\\""), 0)
        << "see installer_msi.log";
    EXPECT_EQ(installed(), std::vector<std::string>{OLDER_VERSION});
    EXPECT_EQ(machineValue(kEngineKey, "InstallDirectory"), folder + "\\");

    // Windows Installer puts a per-machine package's Start menu entry among
    // every user's programs; Wine's puts it among the installing user's.
    const std::string entry = pathExists(startMenuEntry()) ? startMenuEntry() : startMenuEntry(CSIDL_PROGRAMS);
    ASSERT_EQ(msiexec("/i \"" + buildPath(MSI_PATH) + "\""), 0) << "see installer_msi.log";
    EXPECT_EQ(installed(), std::vector<std::string>{VELMORA_VERSION});
    expectInstalledIn(folder, entry);

    const std::string data = kConfigFolder + "\\cards 2.dat";
    const std::string config = kConfigFolder + "\\cards 2.cfg";
    const std::string results = kConfigFolder + "\\results.txt";
    writeFile(data, exampleFile("cards.dat"));
    writeFile(config, exampleFile("cards.cfg"));
    EXPECT_EQ(runToEnd("\"" + folder + "\\ParseTarn.exe\" -o \"" + results + "\" \"" + data + "\" \"" + config + "\""),
              0);
    EXPECT_EQ(readFile(results).rfind("3 records parsed\r\n", 0), 0u);

    ASSERT_EQ(msiexec("/x \"" + buildPath(MSI_PATH) + "\""), 0) << "see installer_msi.log";
    EXPECT_TRUE(installed().empty());
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
