// The "Results" dialog on a database the engine wrote; runs on both hosts.
#include "src/viewer/results_dialog.h"

#include <algorithm>
#include <filesystem>

#include "src/headless/headless_window.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/parse/remembered_values.h"
#include "tests/scenarios/scenario_fixture.h"
#include "tests/support/configurations.h"
#include "tests/support/parsed_database.h"
#include "src/results/record_detail.h"
#include "src/toolkit/progress_window.h"
#include "src/viewer/record_dialog.h"
#include "src/viewer/results_dialog_description.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {
namespace {

const char* const kCsvFilter = "CSV files (*.csv)|*.csv|All Files (*.*)|*.*||";

// Runs a progress window's ticks until it ends.
void runToTheEnd(HeadlessWindow& w) {
    for (int tick = 0; tick < 1000 && !w.ended(); ++tick) w.elapse(kIdProgressTimer);
}

class ResultsScenario : public ScenarioTest {
protected:
    void SetUp() override {
        std::string data = "#AJos\xC9#E#T\x70\x03\x5A\x01\x07\r\n#ABAD#E#T\x70\x05\x01";
        for (int n = 1; n <= 40; ++n) data += "\r\n#AR" + std::to_string(n) + "#E";
        database = parsedDatabase(folder, "cards",
                                  configText("", "\\x0D\\x0A",
                                             {field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"),
                                              field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")}),
                                  data);
        rememberValue(registry, kLastDatabaseValue, database);
    }
    // Limits that put Find and Export in their progress window at once.
    void open(ResultsLimits limits = {}) {
        // The host lets go of the old dialog's window before the dialog goes.
        auto fresh = std::make_unique<ResultsDialog>(prompts, files, registry, audit, limits);
        host->open(*fresh);
        dialog = std::move(fresh);
    }
    std::vector<std::string> row(int list, int r, int columns) const {
        std::vector<std::string> cells;
        for (int c = 0; c < columns; ++c) cells.push_back(host->listCell(list, r, c));
        return cells;
    }

    ScratchFolder folder{"velmora results"};
    std::string database;
    MemoryFileSystem files;
    MemoryRegistry registry;
    RecordedAudit audit;
    std::unique_ptr<ResultsDialog> dialog;
    std::unique_ptr<RecordDialog> record;
};

TEST_F(ResultsScenario, OpensOnTheLastParseFindsShowsARecordAndTheRejectionsAndExportsThem) {
    open();
    EXPECT_EQ(host->caption(), "Results");
    EXPECT_EQ(host->text(kIdResultsDatabase), database);
    EXPECT_EQ(host->text(kIdResultsSummary).rfind("41 records parsed, 1 rejected - ", 0), 0u);
    EXPECT_EQ(row(kIdResultsRecords, 0, 4), (std::vector<std::string>{"1", "0", "Jos\xC9", "70035A0107"}));
    EXPECT_EQ(host->listHeader(kIdResultsRecords, 3), "Chip");
    EXPECT_EQ(host->listRowCount(kIdResultsRecords), 41);

    host->type(kIdResultsFind, "r4");
    host->pressEnter();
    EXPECT_EQ(host->selectedRow(kIdResultsRecords), 4);  // R4
    host->pressFunctionKey(3);
    EXPECT_EQ(host->selectedRow(kIdResultsRecords), 40);  // R40

    std::vector<TreeLine> tree;
    prompts.expectDialog("Record 1", kIdCancel, [&](HeadlessWindow& w) {
        EXPECT_EQ(w.cell(kIdRecordFields, 0, 3), "Jos\xC9");
        tree = w.treeLines(kIdRecordDecoded);
        w.pressEscape();
    });
    host->doubleClickListRow(kIdResultsRecords, 0);
    EXPECT_EQ(tree, (std::vector<TreeLine>{{0, "Chip"},
                                           {1, "70 READ RECORD Response Message Template, 3 bytes"},
                                           {2, "5A Application Primary Account Number (PAN), 1 byte: 07"}}));
    prompts.expectDialog("Record 3", kIdCancel);  // record 2 was set aside
    host->clickListRow(kIdResultsRecords, 1);
    host->pressEnter();

    host->choose(kIdResultsTabs, 1);
    EXPECT_FALSE(host->isVisible(kIdResultsRecords));
    prompts.expectDialog("Record 2", kIdCancel);  // a rejected record's too
    host->doubleClickListRow(kIdResultsRejected, 0);
    EXPECT_EQ(row(kIdResultsRejected, 0, 4), (std::vector<std::string>{"2", "17", "12", "Chip"}));
    prompts.expectFileDialog(kCsvFilter, FileChoice{"E:\\out\\cards.csv", "cards.csv"});
    prompts.expectMessage("1 rows exported to E:\\out\\cards.csv, card numbers masked.", "Velmora Data Parser",
                          MessageIcon::Information);
    files.files["E:\\out\\cards.csv"] = "the operator's older export";
    host->click(kIdResultsExport);
    EXPECT_EQ(prompts.shown()[prompts.shown().size() - 2].file.title, "Export");
    ASSERT_EQ(files.files.size(), 1u);  // in place of the old one, nothing beside it
    EXPECT_EQ(
        files.files["E:\\out\\cards.csv"].rfind("\xEF\xBB\xBFRecord,Offset,Length,Field,Reason\r\n2,17,12,Chip,", 0),
        0u);
    host->choose(kIdResultsTabs, 2);  // no card data: nothing to find
    EXPECT_EQ(host->itemText(kIdResultsTabs, 2), "Checks (0)");
    EXPECT_EQ(row(kIdResultsChecks, 0, 2), (std::vector<std::string>{"No findings", ""}));
    host->closeBox();
    EXPECT_TRUE(host->ended());
}

// The record window's map: a click on a field's row highlights its bytes,
// a click on a byte selects its field's row.
TEST_F(ResultsScenario, TheRecordWindowsMapAndItsFieldRowsSelectEachOther) {
    holdRunFiles(files, folder, "cards");
    auto db = ResultsDatabase::open(database);
    ASSERT_TRUE(db.ok()) << db.failure();
    auto detail = readRecordDetail(**db, 0);
    ASSERT_TRUE(detail);
    record = std::make_unique<RecordDialog>(prompts, *detail, StoredRecordMap::read(files, **db, tables::kRecords, 1),
                                            false);
    host->open(*record);
    ASSERT_TRUE(host->isVisible(kIdRecordMap));
    const struct {
        int row, byte;  // a click on this row of the fields, or on this byte of the map
        const char *map, *status;
        int selected;
    } steps[] = {
        {1, 0, "Chip, offset 10, length 5", "Chip: start 11, length 5, end 15", 1},
        {-1, 3, "Name, offset 2, length 4", "Name: start 3, length 4, end 6", 0},
        {-1, 7, "No field", "Between fields: byte 8", -1},
    };
    for (const auto& step : steps) {
        step.row >= 0 ? host->clickListRow(kIdRecordFields, step.row) : host->clickMapByte(kIdRecordMap, step.byte);
        EXPECT_EQ(host->text(kIdRecordMap), step.map) << step.row << " " << step.byte;
        EXPECT_EQ(host->text(kIdRecordMapStatus), step.status) << step.row << " " << step.byte;
        EXPECT_EQ(host->selectedRow(kIdRecordFields), step.selected) << step.row << " " << step.byte;
    }

    // Without the run's data file the window says why in place of the map.
    files.files.erase(folder.path("cards.dat"));
    auto gone = std::make_unique<RecordDialog>(prompts, *detail,
                                               StoredRecordMap::read(files, **db, tables::kRecords, 1), false);
    host->open(*gone);
    record = std::move(gone);
    EXPECT_FALSE(host->isVisible(kIdRecordMap));
    EXPECT_EQ(host->text(kIdRecordMapStatus).rfind("No record map: ", 0), 0u) << host->text(kIdRecordMapStatus);
}

// The checks run when their tab is first shown; a finding opens its
// record, and the findings export as the list shows them.
TEST_F(ResultsScenario, TheChecksTabListsEachFaultOpensItsRecordAndExportsTheFindings) {
    database = parsedDatabase(folder, "batch",
                              configText("", "\\x0D\\x0A",
                                         {field("PAN", "START_CODE", "#P", "END_CODE", "#E", "TEXT_FIELD"),
                                          field("Exp", "START_CODE", "#X", "END_CODE", "#E", "TEXT_FIELD")}),
                              "#P4111111111111111#E#X2001#E\r\n#P4111111111111111#E#X4912#E\r\n");
    rememberValue(registry, kLastDatabaseValue, database);
    open();
    EXPECT_EQ(host->itemText(kIdResultsTabs, 2), "Checks");
    host->choose(kIdResultsTabs, 2);
    EXPECT_EQ(host->itemText(kIdResultsTabs, 2), "Checks (3)");
    EXPECT_FALSE(host->isEnabled(kIdResultsFindNext));
    using Cells = std::vector<std::string>;
    EXPECT_EQ((Cells{host->listHeader(kIdResultsChecks, 0), host->listHeader(kIdResultsChecks, 3)}),
              (Cells{"Check", "Value"}));
    EXPECT_EQ(row(kIdResultsChecks, 1, 4), (Cells{"Expired", "1", "Exp", "2001"}));
    EXPECT_EQ(row(kIdResultsChecks, 2, 4), (Cells{"Duplicate card number", "2", "PAN", "411111******1111"}));
    prompts.expectDialog("Record 2", kIdCancel);
    host->doubleClickListRow(kIdResultsChecks, 2);
    prompts.expectFileDialog(kCsvFilter, FileChoice{"E:\\batch checks.csv", "batch checks.csv"});
    prompts.expectMessage("3 rows exported to E:\\batch checks.csv, card numbers masked.", "Velmora Data Parser",
                          MessageIcon::Information);
    host->click(kIdResultsExport);
    EXPECT_EQ(prompts.shown()[prompts.shown().size() - 2].file.initialFileName, "batch checks.csv");
    EXPECT_EQ(files.files["E:\\batch checks.csv"],
              "\xEF\xBB\xBF"
              "Check,Record,Field,Value\r\nDuplicate card number,1,PAN,411111******1111\r\n"
              "Expired,1,Exp,2001\r\nDuplicate card number,2,PAN,411111******1111\r\n");
}

TEST_F(ResultsScenario, LongWorkShowsItsProgressAndCancelLeavesNothing) {
    open({5, 1});
    prompts.expectDialog("Finding", kIdCancel, runToTheEnd);
    prompts.expectMessage("Cannot find \"zzz\".", "Velmora Data Parser", MessageIcon::Information);
    host->type(kIdResultsFind, "zzz");
    host->click(kIdResultsFindNext);
    prompts.expectDialog("Finding", kIdCancel, [](HeadlessWindow& w) { w.pressEscape(); });
    host->click(kIdResultsFindNext);
    EXPECT_EQ(host->selectedRow(kIdResultsRecords), -1);

    prompts.expectFileDialog(kCsvFilter, FileChoice{"E:\\cards.csv", "cards.csv"});
    prompts.expectDialog("Exporting", kIdCancel, [](HeadlessWindow& w) { w.closeBox(); });
    files.files["E:\\cards.csv"] = "the operator's older export";
    host->click(kIdResultsExport);
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"E:\\cards.csv", "the operator's older export"}}));
    prompts.expectFileDialog(kCsvFilter, FileChoice{"E:\\cards.csv", "cards.csv"});
    prompts.expectDialog("Exporting", kIdCancel, runToTheEnd);
    prompts.expectMessage("41 rows exported to E:\\cards.csv, card numbers masked.", "Velmora Data Parser",
                          MessageIcon::Information);
    host->click(kIdResultsExport);
    EXPECT_EQ(std::count(files.files["E:\\cards.csv"].begin(), files.files["E:\\cards.csv"].end(), '\n'), 42);
}

// Replacing a link would lose the file it leads to (or write through it),
// and replacing a folder would move it away: neither is replaced, and
// nothing is written beside it.
TEST_F(ResultsScenario, AnExportOntoALinkOrAFolderIsRefusedBeforeAnythingIsWritten) {
    open();
    files.files["E:\\out\\link.csv"] = "another program's file, through the link";
    files.links.insert("E:\\out\\link.csv");
    files.directories.insert("E:\\out\\cards.csv");
    const std::map<std::string, std::string> before = files.files;
    const struct {
        const char* target;
        const char* says;
    } cases[] = {{"E:\\out\\link.csv", ": it is a link, not a file."},
                 {"E:\\out\\cards.csv", ": it is a folder, not a file."}};
    for (const auto& c : cases) {
        prompts.expectFileDialog(kCsvFilter, FileChoice{c.target, "cards.csv"});
        prompts.expectMessage(std::string("Cannot export to ") + c.target + c.says, "Velmora Data Parser",
                              MessageIcon::Error);
        host->click(kIdResultsExport);
    }
    EXPECT_EQ(files.files, before);
    EXPECT_EQ(files.directories, (std::set<std::string>{"E:\\out\\cards.csv"}));
}

// The rejected records go back to the issuer as the data file holds them,
// each with what follows it up to the next record, so that they cut again
// alike; only for the policy's group, logged, and only from the data file
// the run read.
TEST_F(ResultsScenario, RejectedRecordsAreSavedAsTheDataFileHoldsThemAndCutAgainAlike) {
    const std::string bad1 = "#ABAD#E#T\x70\x05\x01", bad2 = "#AB2#E#T\x70\x09", bad3 = "#AB3#E#T\x70";
    const std::string data = "#AR1#E\r\n" + bad1 + "\r\n" + bad2 + "\r\n\r\n#AR2#E\r\n" + bad3;
    const std::string config = configText("", "\\x0D\\x0A",
                                          {field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"),
                                           field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")});
    database = parsedDatabase(folder, "issuer", config, data);
    rememberValue(registry, kLastDatabaseValue, database);
    auto opened = ResultsDatabase::open(database, database);
    ASSERT_TRUE(opened.ok());
    const std::optional<ResultsDatabase::RunData> run = (*opened)->runData();
    ASSERT_TRUE(run);
    const std::string dataPath = run->path;
    const FileStamp stamp = run->stamp;
    EXPECT_EQ(stamp.size, data.size());
    registry.setString("HKEY_LOCAL_MACHINE\\Software\\Policies\\Velmora\\VmTarnParser", "FullCardNumbersGroup",
                       "Card Officers");
    const char* const kAll = "All Files (*.*)|*.*||";
    const std::string& shownPath = dataPath;  // ASCII: the same in the code page
    const struct {
        const char* what;
        std::function<void()> before;
        const char* target;  // chosen in the Save dialog, when it shows
        std::string says;
    } refusals[] = {
        {"not the policy's group", [] {}, nullptr,
         "The rejected records hold card numbers in full, as the issuer sent them: only the group the policy names "
         "may save them."},
        {"gone", [&] { audit.groups = {"Card Officers"}; }, nullptr,
         "The data file " + shownPath + " is gone or cannot be opened."},
        {"changed", [&] { files.files[dataPath] = data + "more"; }, nullptr,
         "The data file " + shownPath +
             " has changed since the run (its size or last-write time differ), so its records are no longer the "
             "run's."},
        {"the data file itself",
         [&] {
             files.files[dataPath] = data;
             files.stamps[dataPath] = stamp;
         },
         dataPath.c_str(), "Cannot save to " + dataPath + ": it is the run's data file."},
        {"a full disk", [&] { files.writeLimit = 5; }, "E:\\back\\issuer.rejected.dat",
         "Cannot save to E:\\back\\issuer.rejected.dat: the file cannot be written."},
    };
    open();
    host->choose(kIdResultsTabs, 1);
    EXPECT_TRUE(host->isVisible(kIdResultsSaveRejected));
    for (const auto& r : refusals) {
        r.before();
        if (r.target) prompts.expectFileDialog(kAll, FileChoice{r.target, "x"});
        prompts.expectMessage(r.says, "Velmora Data Parser", MessageIcon::Error);
        const std::map<std::string, std::string> before = files.files;
        host->click(kIdResultsSaveRejected);
        EXPECT_EQ(files.files, before) << r.what;
    }
    files.writeLimit = -1;
    prompts.expectFileDialog(kAll, FileChoice{"E:\\back\\issuer.rejected.dat", "issuer.rejected.dat"});
    prompts.expectMessage("3 rejected records saved to E:\\back\\issuer.rejected.dat.", "Velmora Data Parser",
                          MessageIcon::Information);
    host->click(kIdResultsSaveRejected);
    const FileDialogRequest& asked = prompts.shown()[prompts.shown().size() - 2].file;
    EXPECT_EQ(asked.title, "Save Rejected Records");
    EXPECT_EQ(asked.initialFileName, "issuer.rejected.dat");
    const std::string saved = files.files["E:\\back\\issuer.rejected.dat"];
    EXPECT_EQ(saved, bad1 + "\r\n" + bad2 + "\r\n\r\n" + bad3);
    ASSERT_FALSE(audit.events.empty());
    EXPECT_EQ(audit.events.back().id, AuditEvent::FullCardNumbersExported);
    const std::string again = parsedDatabase(folder, "again", config, saved);
    opened = ResultsDatabase::open(again, again);
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ((*opened)->rowCount(ResultsTab::Records), 0u);
    EXPECT_EQ((*opened)->rowCount(ResultsTab::Rejected), 3u);
}

// Card numbers masked in the lists, a record's window and the export; in
// full only for the policy's group, each full view and export logged first.
TEST_F(ResultsScenario, CardNumbersShowMaskedAndInFullOnlyToThePolicysGroupEachTimeLogged) {
    const std::string chip("\x70\x0A\x5A\x08\x51\x05\x00\x00\x00\x00\x00\x03", 12);
    database = parsedDatabase(
        folder, "pans",
        configText("", "\\x0D\\x0A",
                   {field("Card", "START_CODE", "#C", "END_CODE", "#E", "TEXT_FIELD"),
                    field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")}),
        "#C4111111111111111#E#T" + chip + "\r\n#C4111111111111112#E#T" + chip + "\r\n#C5105000000000003#E");
    rememberValue(registry, kLastDatabaseValue, database);
    using Cells = std::vector<std::string>;
    const Cells masked{"411111******1111", "700A5A08510500******0003", "411111******1112"};
    const Cells full{"4111111111111111", "700A5A085105000000000003", "4111111111111112"};
    auto shown = [&] {
        return Cells{host->listCell(kIdResultsRecords, 0, 2), host->listCell(kIdResultsRecords, 0, 3),
                     host->listCell(kIdResultsRecords, 1, 2)};
    };
    auto exported = [&](const std::string& how) {
        prompts.expectFileDialog(kCsvFilter, FileChoice{"E:\\pans.csv", "pans.csv"});
        prompts.expectMessage("3 rows exported to E:\\pans.csv, card numbers " + how, "Velmora Data Parser",
                              MessageIcon::Information);
        host->click(kIdResultsExport);
        return files.files["E:\\pans.csv"];
    };
    for (const char* group : {"", "Card Officers"}) {
        registry.setString("HKEY_LOCAL_MACHINE\\Software\\Policies\\Velmora\\VmTarnParser", "FullCardNumbersGroup",
                           group);
        open();
        EXPECT_FALSE(host->isEnabled(kIdResultsFullNumbers)) << group;  // nobody, or not this user
    }
    EXPECT_EQ(shown(), masked);
    host->type(kIdResultsFind, "4111111111111112");  // a card is looked up by its number
    host->pressEnter();
    ASSERT_EQ(host->selectedRow(kIdResultsRecords), 1);
    prompts.expectMessage("Cannot find \"601100*********0001\".", "Velmora Data Parser", MessageIcon::Information);
    host->type(kIdResultsFind, "6011000000000000001");
    host->pressEnter();
    std::vector<TreeLine> tree;
    prompts.expectDialog("Record 2", kIdCancel, [&](HeadlessWindow& w) {
        EXPECT_EQ(w.cell(kIdRecordFields, 0, 3), masked[2]);
        tree = w.treeLines(kIdRecordDecoded);
    });
    host->doubleClickListRow(kIdResultsRecords, 1);
    EXPECT_EQ(tree,
              (std::vector<TreeLine>{{0, "Chip"},
                                     {1, "70 READ RECORD Response Message Template, 10 bytes"},
                                     {2, "5A Application Primary Account Number (PAN), 8 bytes: 510500******0003"}}));
    const std::string csv = exported("masked.");
    for (const std::string& number : full) EXPECT_EQ(csv.find(number), std::string::npos);
    audit.groups = {"Card Officers"};
    open();
    EXPECT_FALSE(host->isChecked(kIdResultsFullNumbers));
    host->click(kIdResultsFullNumbers);
    EXPECT_EQ(shown(), full);
    prompts.expectDialog("Record 1", kIdCancel,
                         [&](HeadlessWindow& w) { EXPECT_EQ(w.cell(kIdRecordFields, 0, 3), full[0]); });
    host->doubleClickListRow(kIdResultsRecords, 0);
    const std::string inFull = exported("in full.");
    for (const std::string& number : full) EXPECT_NE(inFull.find(number), std::string::npos);
    const std::string who = "\r\nUser: VELMORA\\operator\r\nDatabase: " + database;
    ASSERT_EQ(audit.events.size(), 2u);
    EXPECT_EQ(audit.events[0].text, "Full card numbers shown." + who);
    EXPECT_EQ(audit.events[1].text, "Card numbers exported in full to E:\\pans.csv." + who);
    EXPECT_EQ(audit.events[1].id, AuditEvent::FullCardNumbersExported);
    host->click(kIdResultsFullNumbers);
    EXPECT_EQ(shown(), masked);
    // Where the event cannot be written, nothing shows in full.
    audit.refusal = "The event log file is full.";
    prompts.expectMessage(
        "Card numbers cannot be shown in full: the event log cannot record it. The event log file is full.",
        "Velmora Data Parser", MessageIcon::Error);
    host->click(kIdResultsFullNumbers);
    EXPECT_FALSE(host->isChecked(kIdResultsFullNumbers));
    EXPECT_EQ(shown(), masked);
}

TEST_F(ResultsScenario, AFileThatIsNoParsesDatabaseSaysSoAndTheDialogStaysUsable) {
    folder.write("notes.mdb", "Name,PAN\r\n");
    registry = MemoryRegistry();
    open();
    EXPECT_EQ(host->text(kIdResultsSummary), "Choose a database with \"Browse...\", or type its path and press Enter.");
    host->type(kIdResultsDatabase, folder.path("notes.mdb"));
    host->pressEnter();
    EXPECT_EQ(host->text(kIdResultsSummary), folder.path("notes.mdb") + " is not a database.");
    EXPECT_EQ(host->listRowCount(kIdResultsRecords), 0);
    EXPECT_FALSE(host->isEnabled(kIdResultsExport));
    EXPECT_EQ(rememberedValue(registry, kLastDatabaseValue), "");

    prompts.expectFileDialog("Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||", FileChoice{database, "cards.mdb"});
    host->click(kIdResultsBrowse);
    EXPECT_EQ(host->listRowCount(kIdResultsRecords), 41);
    EXPECT_TRUE(host->isEnabled(kIdResultsFindNext));
    EXPECT_EQ(rememberedValue(registry, kLastDatabaseValue), database);
}

// On a PC whose code page is not Windows-1252 a path with a local letter
// names the file the engine wrote under it: here "\xCA\xE0\xF0\xF2\xFB" in
// Windows-1251, a Cyrillic word, which Windows-1252 would read as Latin.
TEST_F(ResultsScenario, APathInThePCsCodePageNamesTheDatabaseAsTheEngineNamedIt) {
    for (int byte = 0; byte < 256; ++byte)  // its letters; the rest, unused here, as Latin-1
        files.codePage += static_cast<char16_t>(byte < 0xC0 ? byte : 0x0410 + byte - 0xC0);
    std::filesystem::rename(database, std::filesystem::path(folder.path()) /
                                          std::filesystem::u8path("\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD1\x8B.mdb"));
    open();
    host->type(kIdResultsDatabase, folder.path("") + "\xCA\xE0\xF0\xF2\xFB.mdb");
    host->pressEnter();
    EXPECT_EQ(host->text(kIdResultsSummary).rfind("41 records parsed, 1 rejected - ", 0), 0u)
        << host->text(kIdResultsSummary);
}

}  // namespace
}  // namespace velmora::test
