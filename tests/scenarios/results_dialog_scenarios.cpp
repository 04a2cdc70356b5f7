// The "Results" dialog on a database the engine wrote; runs on both hosts.
#include "viewer/results_dialog.h"

#include <algorithm>

#include "headless/headless_window.h"
#include "headless/memory_file_system.h"
#include "headless/memory_registry.h"
#include "parse/remembered_values.h"
#include "scenarios/scenario_fixture.h"
#include "support/configurations.h"
#include "support/parsed_database.h"
#include "toolkit/progress_window.h"
#include "viewer/results_dialog_description.h"

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
        dialog = std::make_unique<ResultsDialog>(prompts, files, registry, limits);
        host->open(*dialog);
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
    std::unique_ptr<ResultsDialog> dialog;
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
    EXPECT_EQ(tree, (std::vector<TreeLine>{{0, "Chip"}, {1, "70, 3 bytes"}, {2, "5A, 1 byte: 07"}}));
    prompts.expectDialog("Record 3", kIdCancel);  // record 2 was set aside
    host->clickListRow(kIdResultsRecords, 1);
    host->pressEnter();

    host->choose(kIdResultsTabs, 1);
    EXPECT_FALSE(host->isVisible(kIdResultsRecords));
    EXPECT_EQ(row(kIdResultsRejected, 0, 4), (std::vector<std::string>{"2", "17", "12", "Chip"}));
    prompts.expectFileDialog(kCsvFilter, FileChoice{"E:\\out\\cards.csv", "cards.csv"});
    prompts.expectMessage("1 rows exported to E:\\out\\cards.csv.", "Velmora Data Parser", MessageIcon::Information);
    files.files["E:\\out\\cards.csv"] = "the operator's older export";
    host->click(kIdResultsExport);
    EXPECT_EQ(prompts.shown()[prompts.shown().size() - 2].file.title, "Export");
    ASSERT_EQ(files.files.size(), 1u);  // in place of the old one, nothing beside it
    EXPECT_EQ(
        files.files["E:\\out\\cards.csv"].rfind("\xEF\xBB\xBFRecord,Offset,Length,Field,Reason\r\n2,17,12,Chip,", 0),
        0u);
    host->closeBox();
    EXPECT_TRUE(host->ended());
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
    prompts.expectMessage("41 rows exported to E:\\cards.csv.", "Velmora Data Parser", MessageIcon::Information);
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

}  // namespace
}  // namespace velmora::test
