// The real VelmoraDataParser.exe, driven from outside as an operator uses
// it: configure a few fields, save, parse with the real engine found
// through the registry, parse again over the database. The screenshots of
// the README are taken on the way, so they show the program as it is.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

#include "tests/e2e/operator_steps.h"
#include "src/results/csv_export.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

std::vector<DWORD> processesNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

// Holds every thread of the processes named so while it lives.
class HeldProcesses {
public:
    explicit HeldProcesses(const std::string& exeName) : ids_(processesNamed(exeName)) { forEachThread(SuspendThread); }
    ~HeldProcesses() { forEachThread(ResumeThread); }
    HeldProcesses(const HeldProcesses&) = delete;
    HeldProcesses& operator=(const HeldProcesses&) = delete;

private:
    void forEachThread(DWORD(WINAPI* action)(HANDLE)) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return;
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
            if (std::find(ids_.begin(), ids_.end(), entry.th32OwnerProcessID) == ids_.end()) continue;
            if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
                action(thread);
                CloseHandle(thread);
            }
        }
        CloseHandle(snapshot);
    }

    std::vector<DWORD> ids_;
};

// Whether `condition` came true within a time; a guard against hanging.
bool eventually(const std::function<bool()>& condition) {
    for (int waited = 0; waited < 20000; waited += 50) {
        if (condition()) return true;
        Sleep(50);
    }
    return false;
}

// From the main window: the Configure dialog, `button` pressed in it and
// `path` chosen in the "Open" dialog that follows; nullptr when a window
// did not come.
HWND configureChoosing(const RunningProgram& app, HWND main, int button, const std::string& path) {
    clickAndLeave(main, 1095);
    HWND configure = app.waitForDialog("Configure Data File");
    if (!configure) return nullptr;
    clickAndLeave(configure, button);
    HWND open = app.waitForDialog("Open");
    if (!open) return nullptr;
    chooseFile(open, path);
    return configure;
}

// After "Open Existing..." or "&Use", "&Save..." waits for an edit: the
// separator is typed again and the configuration saved to `path`, where it
// must read as `saved`; the engine parses `data` by it to `parsed`, and the
// program ends.
void saveParseAndEnd(RunningProgram& app, HWND main, HWND configure, const std::string& separator,
                     const std::string& path, const std::string& saved, const std::string& data,
                     const std::string& parsed) {
    typeInto(configure, 1013, separator);
    clickAndLeave(configure, IDOK);
    HWND save = app.waitForDialog("Save As");
    ASSERT_TRUE(save);
    chooseFile(save, path);
    ASSERT_TRUE(app.waitUntilGone(configure));
    EXPECT_EQ(readFile(path), saved);
    EXPECT_EQ(parse(app, main, data, path, false).rfind(parsed, 0), 0u);
    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));
}

// The program as built tells Windows it draws itself at each monitor's
// scale and needs no administrator.
TEST(BuiltProgram, DeclaresPerMonitorV2AndRunsAsTheOperator) {
    HMODULE program = LoadLibraryExA(buildPath(APP_EXE_PATH).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                               SizeofResource(program, found));
    FreeLibrary(program);
    for (const char* part : {">PerMonitorV2, PerMonitor<", ">true/pm<", "level=\"asInvoker\"", "Common-Controls"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

// A scratch folder with a copy of the built engine, which the program finds
// through the registry as it finds an installed one. Each journey is made
// at 100% and at 150% display scale (96 and 144 DPI).
class OperatorJourney : public ::testing::TestWithParam<DWORD> {
protected:
    void SetUp() override {
        const std::string engineFolder = work.path("engine dir");
        CreateDirectoryA(engineFolder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(buildPath(PARSETARN_PATH).c_str(), (engineFolder + "\\ParseTarn.exe").c_str(), FALSE));
        engine.set(engineFolder + "\\");
        if (GetParam() != 96) scale.emplace(GetParam());
    }
    // The README's pictures at 150% are named "NAME-150.png".
    std::string suffix() const { return GetParam() == 96 ? "" : "-" + std::to_string(GetParam() * 100 / 96); }
    std::string picture(const char* name) const { return name + suffix() + ".png"; }

    ScratchFolder work{"velmora e2e"};
    EngineFolderValue engine;
    std::optional<DisplayScale> scale;
};

// The policy naming the group whose members may see full card numbers.
struct FullCardNumbersGroup {
    explicit FullCardNumbersGroup(const std::string& group) {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Policies\\Velmora\\VmTarnParser", "FullCardNumbersGroup", REG_SZ,
                        group.c_str(), static_cast<DWORD>(group.size() + 1));
    }
    ~FullCardNumbersGroup() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Policies\\Velmora"); }
};

std::string scaleName(const ::testing::TestParamInfo<DWORD>& scale) { return "Dpi" + std::to_string(scale.param); }
INSTANTIATE_TEST_SUITE_P(AtScale, OperatorJourney, ::testing::Values(96, 144), scaleName);

TEST_P(OperatorJourney, ConfigureSaveAndParseWithTheRealProgram) {
    const std::string data = work.path("cards 1.dat");
    writeFile(data, exampleFile("cards.dat"));
    const std::string config = work.path("cards.cfg");

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
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_NEAR(client.right, MulDiv(198, static_cast<int>(GetParam()), 96), 6);  // laid out at its scale
    screenshot(main, picture("main-window"));

    ASSERT_EQ(configureAndSave(app, main, config, suffix().c_str()), "");
    EXPECT_EQ(readFile(config), exampleFile("cards.cfg"));

    EXPECT_EQ(parse(app, main, data, config, false, picture("parse").c_str()).rfind("3 records parsed", 0), 0u);
    EXPECT_FALSE(work.read("cards 1.mdb").empty());
    EXPECT_EQ(parse(app, main, data, config, true).rfind("3 records parsed", 0), 0u);

    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));
}

// A data file large enough to take the engine seconds: the "Parsing" window
// shows how far it got, and Cancel stops it and leaves nothing behind.
TEST_P(OperatorJourney, ALongParseShowsItsProgressAndCanBeCancelled) {
    const std::string data = work.path("cards 2.dat");
    {
        const std::string cards = exampleFile("cards.dat");
        std::string chunk;
        while (chunk.size() < (1u << 20)) chunk += cards;
        std::ofstream out(data, std::ios::binary);
        for (int i = 0; i < 300; ++i) out << chunk;
        ASSERT_TRUE(out);
    }
    const std::string config = work.path("cards.cfg");
    writeFile(config, exampleFile("cards.cfg"));
    const std::vector<std::string> before = work.names();

    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);
    clickAndLeave(main, 1094);
    HWND dialog = app.waitForDialog("Parse");
    ASSERT_TRUE(dialog);
    typeInto(dialog, 1007, data);
    typeInto(dialog, 1008, config);
    clickAndLeave(dialog, IDOK);

    HWND parsing = app.waitForDialog("Parsing");
    ASSERT_TRUE(parsing);
    HWND bar = GetDlgItem(parsing, 1102);
    EXPECT_TRUE(eventually([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 0; })) << "the bar never moved";
    EXPECT_NE(textOf(parsing, 1103), "0");
    EXPECT_EQ(textOf(parsing, 1101), "cards 2.dat");
    EXPECT_EQ(processesNamed("ParseTarn.exe").size(), 1u);
    {
        // Figures that read the same on every run, for the README, while the
        // engine is held still and a progress line on its way has arrived.
        HeldProcesses held("ParseTarn.exe");
        Sleep(500);
        SendMessageA(bar, PBM_SETPOS, 40, 0);
        typeInto(parsing, 1103, "1797558");
        screenshot(parsing, picture("parsing"));
    }

    press(parsing, IDCANCEL);
    HWND box = app.waitForDialog("Velmora Data Parser", true);
    ASSERT_TRUE(box);
    EXPECT_EQ(messageText(box), "The parse was cancelled. No database was written.");
    EXPECT_TRUE(processesNamed("ParseTarn.exe").empty());
    EXPECT_EQ(work.names(), before);  // no database, no temporary file
    press(box, IDOK);
    ASSERT_TRUE(app.waitUntilGone(box));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(textOf(dialog, 1007), data);
    EXPECT_EQ(textOf(dialog, 1008), config);

    press(dialog, IDCANCEL);
    EXPECT_TRUE(app.waitUntilGone(dialog));
    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));
}

TEST_P(OperatorJourney, PreviewAnOpenedConfigurationOnASampleAsTheEngineParsesIt) {
    const std::string data = work.path("cards 2.dat"), config = work.path("cards 2.cfg");
    writeFile(data, exampleFile("fixed_cards.dat"));
    writeFile(config, exampleFile("fixed_cards.cfg"));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Velmora\\VmTarnParser");  // no sample remembered
    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    ASSERT_TRUE(app.started());
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);

    // "Configure...", "Open Existing..." with the configuration, "Preview...",
    // "Browse..." for the sample.
    clickAndLeave(main, 1095);
    HWND configure = app.waitForDialog("Configure Data File");
    ASSERT_TRUE(configure);
    EXPECT_FALSE(isEnabled(configure, 1041));
    clickAndLeave(configure, 1040);
    HWND open = app.waitForDialog("Open");
    ASSERT_TRUE(open);
    chooseFile(open, config);
    ASSERT_TRUE(eventually([&] { return isEnabled(configure, 1041); }));
    clickAndLeave(configure, 1041);
    HWND preview = app.waitForDialog("Preview");
    ASSERT_TRUE(preview);
    clickAndLeave(preview, 1202);
    open = app.waitForDialog("Open");
    ASSERT_TRUE(open);
    chooseFile(open, data);
    ASSERT_TRUE(eventually([&] { return listRowCount(preview, 1204) == 4; }));

    EXPECT_EQ(textOf(preview, 1203), "3 records, 1 rejected, in the first 142 bytes of 142 bytes");
    auto row = [&](int r) {  // -1: the headers
        std::vector<std::string> cells;
        for (int c = 0; c < 7; ++c) cells.push_back(app.listText(preview, 1204, r, c));
        return cells;
    };
    using Cells = std::vector<std::string>;
    EXPECT_EQ(row(-1), (Cells{"Record", "Offset", "PAN", "Name", "Expiry", "Key", "Rejected"}));
    EXPECT_EQ(row(0), (Cells{"1", "0", "411111******1111", "JOHN SMITH          ", "2512", "\\x01\\x02\\xA0\xFF", ""}));
    EXPECT_EQ(row(3), (Cells{"4", "132", "", "", "", "", "short last record: 10 of 44 bytes"}));
    // A path that reads the same on every machine, and the focus on the list
    // so that no blinking caret makes each picture differ, for the README.
    typeInto(preview, 1201, "D:\\Issuers\\Bank A\\cards 2.dat");
    PostMessageA(preview, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(preview, 1204)), TRUE);
    screenshot(preview, picture("preview"));
    press(preview, IDCANCEL);
    ASSERT_TRUE(app.waitUntilGone(preview));
    press(configure, IDCANCEL);
    ASSERT_TRUE(app.waitUntilGone(configure));

    // The engine counts the same records.
    EXPECT_EQ(parse(app, main, data, config, false).rfind("3 records parsed, 1 rejected", 0), 0u);
    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));

    // Where a standard user may write it; nothing of it is the machine's.
    EXPECT_EQ(userValue("Software\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile"), data);
    EXPECT_FALSE(machineValue("SOFTWARE\\Velmora\\VmTarnParser\\Settings", "PreviewDataFile"));
}

// From a sample alone: the real program suggests a configuration, previews
// the sample cut by it, takes it into the Configure dialog and saves it,
// and the engine parses the sample by it. The README's picture of the
// suggestion is taken on the way.
TEST_P(OperatorJourney, SuggestPreviewUseAndSaveAConfigurationFromASample) {
    const std::string data = work.path("bank b.dat"), config = work.path("bank b.cfg");
    writeFile(data, exampleFile("suggest/comma_crlf.dat"));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Velmora\\VmTarnParser");  // no sample remembered
    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);
    HWND configure = configureChoosing(app, main, 1042, data);
    ASSERT_TRUE(configure);
    HWND suggestion = app.waitForDialog("Suggested Configuration");
    ASSERT_TRUE(suggestion);
    ASSERT_TRUE(eventually([&] { return listRowCount(suggestion, 1204) == 6; }));
    EXPECT_EQ(app.listText(suggestion, 1204, -1, 2), "PAN");
    EXPECT_EQ(app.listText(suggestion, 1204, 0, 2), "411111******1111");
    typeInto(suggestion, 1201, "D:\\Issuers\\Bank B\\cards.dat");
    PostMessageA(suggestion, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(suggestion, 1204)), TRUE);
    screenshot(suggestion, picture("suggest"));
    press(suggestion, 1205);
    ASSERT_TRUE(app.waitUntilGone(suggestion));
    ASSERT_TRUE(eventually([&] { return listRowCount(configure, 1030) == 5; }));
    EXPECT_EQ(app.listText(configure, 1030, 0, 0), "PAN");
    saveParseAndEnd(app, main, configure, "\\x0D\\x0A", config, exampleFile("suggest/comma_crlf.cfg"), data,
                    "6 records parsed");
}

// A configuration holding every value shape the editor takes (quotes
// before "," and ")", separators with blanks, single quotes and "=", every
// field type, sentinels): the real program opens it as saved and saves it
// again to the same bytes, and the engine parses by it.
TEST_P(OperatorJourney, EveryValueShapeOpensAsSavedSavesToTheSameBytesAndParses) {
    const std::string config = work.path("shapes.cfg"), again = work.path("shapes again.cfg");
    const std::string data = work.path("shapes.dat");
    writeFile(config, exampleFile("value_shapes.cfg"));
    writeFile(data, exampleFile("value_shapes.dat"));
    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);
    HWND configure = configureChoosing(app, main, 1040, config);
    ASSERT_TRUE(configure);
    ASSERT_TRUE(eventually([&] { return listRowCount(configure, 1030) == 9; }));
    EXPECT_EQ(textOf(configure, 1013), "' a=\"");
    EXPECT_EQ(textOf(configure, 1035), "~ ,)'");
    EXPECT_EQ(app.listText(configure, 1030, 0, 2), "\"a,b");
    EXPECT_EQ(app.listText(configure, 1030, 1, 2), "x\"),");
    EXPECT_EQ(app.listText(configure, 1030, 3, 6), "say \"hi\", bye");
    EXPECT_EQ(app.listText(configure, 1030, 5, 4), "\\\"");
    saveParseAndEnd(app, main, configure, "' a=\"", again, exampleFile("value_shapes.cfg"), data, "1 records parsed");
}

// What a parse stored, read in the real program: the Results open on the
// database the parse just wrote, find a card, show a record with its
// decoded chip data, export the records, and say what a file that is no
// database is. Card numbers show masked until a member of the policy's
// group (here Everyone) asks for them in full.
TEST_P(OperatorJourney, TheResultsShowWhatTheParseStoredFindExportAndRefuseAText) {
    const std::string data = work.path("chip cards.dat"), config = work.path("chip cards.cfg");
    std::string cards;
    const char* const names[] = {"JOHN SMITH", "ANNA LEE", "MARK TWAIN", "MARIA GARCIA", "LI WEI"};
    for (int n = 0; n < 40; ++n) {
        const std::string pan = "41111111111" + std::to_string(10000 + n);
        cards += "P=" + pan + ";N=" + names[n % 5] + ";X=2" + std::to_string(501 + n % 12) +
                 ";T=" + std::string("\x70\x0B\x5A\x03\x41\x11\x11\x5F\x24\x03\x25\x12\x31") + "\r\n";
    }
    cards += "P=4999;N=BROKEN CHIP;X=2512;T=\x70\x09\x5A";
    writeFile(data, cards);
    writeFile(config, configText("", "\\x0D\\x0A",
                                 {field("PAN", "START_CODE", "P=", "END_CODE", ";", "TEXT_FIELD"),
                                  field("Name", "START_CODE", "N=", "END_CODE", ";", "TEXT_FIELD"),
                                  field("Expiry", "START_CODE", "X=", "END_CODE", ";", "TEXT_FIELD"),
                                  field("Chip", "START_CODE", "T=", "TESSELGRAM", "", "GP_FIELD", "Payment")}));
    const FullCardNumbersGroup everyone("S-1-1-0");
    RunningProgram app("\"" + buildPath(APP_EXE_PATH) + "\"");
    HWND main = app.waitForDialog("Velmora Data Parser");
    ASSERT_TRUE(main);
    ASSERT_EQ(parse(app, main, data, config, false).rfind("40 records parsed, 1 rejected", 0), 0u);

    clickAndLeave(main, 1096);
    HWND results = app.waitForDialog("Results");
    ASSERT_TRUE(results);
    const std::string database = work.path("chip cards.mdb");
    EXPECT_EQ(textOf(results, 1301), database);
    EXPECT_EQ(textOf(results, 1303).rfind("40 records parsed, 1 rejected - " + data + " with " + config + ", ", 0), 0u);
    EXPECT_EQ(listRowCount(results, 1305), 40);
    EXPECT_EQ(app.listText(results, 1305, -1, 5), "Chip");
    EXPECT_EQ(app.listText(results, 1305, 39, 3), "LI WEI");
    EXPECT_EQ(app.listText(results, 1305, 0, 5), "700B5A034111115F2403251231");
    EXPECT_EQ(app.listText(results, 1305, 0, 2), "411111******0000");

    typeInto(results, 1307, "maria");
    clickAndLeave(results, 1308);
    HWND list = GetDlgItem(results, 1305);
    EXPECT_TRUE(eventually([&] { return SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 3; }));
    PostMessageA(results, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    press(results, IDOK);  // Enter on the record found
    HWND record = app.waitForDialog("Record 4");
    ASSERT_TRUE(record);
    EXPECT_EQ(app.listText(record, 1321, 3, 3), "700B5A034111115F2403251231");
    EXPECT_EQ(SendMessageA(GetDlgItem(record, 1322), TVM_GETCOUNT, 0, 0), 4);  // Chip, 70, 5A, 5F24
    // The record's bytes on its map, read again from the data file; the chip
    // field's chosen with the keyboard, for the README.
    PostMessageA(record, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(record, 1321)), TRUE);
    PostMessageA(GetDlgItem(record, 1321), WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(eventually([&] { return textOf(record, 1323) == "Chip, offset 43, length 13"; }));
    screenshot(record, picture("record"));
    press(record, IDCANCEL);
    ASSERT_TRUE(app.waitUntilGone(record));

    const std::string exported = work.path("chip cards.csv");
    clickAndLeave(results, 1309);
    HWND save = app.waitForDialog("Export");
    ASSERT_TRUE(save);
    chooseFile(save, exported);
    HWND box = app.waitForDialog("Velmora Data Parser", true);
    ASSERT_TRUE(box);
    EXPECT_EQ(messageText(box), "40 rows exported to " + exported + ", card numbers masked.");
    press(box, IDOK);
    ASSERT_TRUE(app.waitUntilGone(box));
    {
        auto opened = ResultsDatabase::open(database);
        ASSERT_TRUE(opened) << opened.failure();
        auto reader = std::move(*opened);
        CsvExport csv(*reader, ResultsTab::Records);
        std::string text;
        while (!csv.step(1000, text)) {
        }
        EXPECT_EQ(readFile(exported), text);
    }

    // Paths and a summary that read the same on every machine, and the focus
    // on the list, for the README.
    typeInto(results, 1301, "D:\\Issuers\\Bank A\\chip cards.mdb");
    typeInto(results, 1303,
             "40 records parsed, 1 rejected - D:\\Issuers\\Bank A\\chip cards.dat with D:\\Issuers\\Bank A\\chip "
             "cards.cfg, 2026-12-07 14:03");
    screenshot(results, picture("results"));
    // The Checks tab, reached with the keyboard; then back to the records.
    auto toTab = [&](WPARAM key) {
        PostMessageA(results, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(results, 1304)), TRUE);
        for (int n = 0; n < 2; ++n) PostMessageA(GetDlgItem(results, 1304), WM_KEYDOWN, key, 0);
    };
    toTab(VK_RIGHT);
    EXPECT_TRUE(
        eventually([&] { return IsWindowVisible(GetDlgItem(results, 1311)) && listRowCount(results, 1311) > 0; }));
    screenshot(results, picture("results-checks"));
    toTab(VK_LEFT);
    EXPECT_TRUE(eventually([&] { return IsWindowVisible(GetDlgItem(results, 1305)) != FALSE; }));

    PostMessageA(GetDlgItem(results, 1310), BM_CLICK, 0, 0);  // the box checks itself
    EXPECT_TRUE(eventually([&] { return app.listText(results, 1305, 0, 2) == "4111111111110000"; }));
    const std::string inFull = work.path("chip cards full.csv");
    clickAndLeave(results, 1309);
    save = app.waitForDialog("Export");
    ASSERT_TRUE(save);
    chooseFile(save, inFull);
    box = app.waitForDialog("Velmora Data Parser", true);
    ASSERT_TRUE(box);
    EXPECT_EQ(messageText(box), "40 rows exported to " + inFull + ", card numbers in full.");
    press(box, IDOK);
    ASSERT_TRUE(app.waitUntilGone(box));
    EXPECT_NE(readFile(inFull).find("\r\n1,0,4111111111110000,"), std::string::npos);

    const std::string text = work.path("notes.mdb");
    writeFile(text, "PAN,Name\r\n4111,JOHN\r\n");
    typeInto(results, 1301, text);
    PostMessageA(results, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(results, 1301)), TRUE);
    press(results, IDOK);  // Enter in the path
    EXPECT_TRUE(eventually([&] { return textOf(results, 1303) == text + " is not a database."; }));
    EXPECT_EQ(listRowCount(results, 1305), 0);
    press(results, IDCANCEL);
    ASSERT_TRUE(app.waitUntilGone(results));
    press(main, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(20000));
}

}  // namespace
}  // namespace velmora::test
