// The "Preview" dialog on a sample data file; runs on both hosts.
#include "src/editor/preview_dialog.h"

#include "src/editor/preview_dialog_description.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/parse/registry_string.h"
#include "tests/scenarios/scenario_fixture.h"
#include "tests/support/configurations.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {
namespace {

// The operator's own key: a standard user may write it.
const char* const kSettings = "HKEY_CURRENT_USER\\Software\\Velmora\\VmTarnParser\\Settings";
const std::string kSample = "D:\\Issuers\\cards.dat";
// Three 20-byte records and a short last one.
const std::string kRecords =
    "JOHN SMITH12\x01\x02#Cab; "
    "ANNA LEE  9876#C;   "
    "MARK TWAIN5555      "
    "SHORT";

class PreviewScenario : public ScenarioTest {
protected:
    void open(const char* fixedLength = "20", const char* separator = "") {
        ParseConfiguration config;
        config.fixedLength = fixedLength;
        config.recordSeparator = separator;
        addRow(config, field("Name", "START_POSITION", "1", "FIXED_LENGTH", "10", "TEXT_FIELD"));
        addRow(config, field("PIN", "START_POSITION", "11", "FIXED_LENGTH", "4", "BINARY_FIELD"));
        addRow(config, field("Code", "START_CODE", "#C", "END_CODE", ";", "TEXT_FIELD"));
        open(config);
    }
    void open(const ParseConfiguration& config) {
        auto fresh = std::make_unique<PreviewDialog>(prompts, files, registry, audit, config);
        host->open(*fresh);
        dialog = std::move(fresh);
    }
    std::vector<std::string> row(int r, int columns = 6) const {
        std::vector<std::string> cells;
        for (int c = 0; c < columns; ++c) cells.push_back(host->listCell(kIdPreviewList, r, c));
        return cells;
    }
    std::string remembered() {
        return readRegistryString(registry, std::string(kSettings) + "\\" + kPreviewDataFileValue);
    }

    MemoryFileSystem files;
    MemoryRegistry registry;
    RecordedAudit audit;
    std::unique_ptr<PreviewDialog> dialog;
};

TEST_F(PreviewScenario, OpensOnTheRememberedSampleWithTheEnginesRecordsAndFields) {
    registry.setString(kSettings, kPreviewDataFileValue, kSample);
    registry.refuseCreate.insert(kSettings);  // a profile that cannot be written: nothing to report
    files.files[kSample] = kRecords;
    open();
    EXPECT_EQ(host->caption(), "Preview");
    EXPECT_EQ(host->text(kIdPreviewDataFile), kSample);
    std::vector<std::string> headers;
    for (int c = 0; c < 6; ++c) headers.push_back(host->listHeader(kIdPreviewList, c));
    EXPECT_EQ(headers, (std::vector<std::string>{"Record", "Offset", "Name", "PIN", "Code", "Rejected"}));
    EXPECT_EQ(host->text(kIdPreviewSummary), "3 records, 1 rejected, in the first 65 bytes of 65 bytes");
    ASSERT_EQ(host->listRowCount(kIdPreviewList), 4);
    EXPECT_EQ(row(0), (std::vector<std::string>{"1", "0", "JOHN SMITH", "12\\x01\\x02", "ab", ""}));
    EXPECT_EQ(row(1), (std::vector<std::string>{"2", "20", "ANNA LEE  ", "9876", "''", ""}));  // found empty
    EXPECT_EQ(row(2), (std::vector<std::string>{"3", "40", "MARK TWAIN", "5555", "", ""}));    // not found
    EXPECT_EQ(row(3), (std::vector<std::string>{"4", "60", "", "", "", "short last record: 5 of 20 bytes"}));
    host->pressEscape();
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(files.files.size(), 1u);  // nothing written
}

TEST_F(PreviewScenario, EnterShowsATypedPathBrowseAChosenOneAndOnlyAReadableSampleIsRemembered) {
    files.files[kSample] = kRecords;
    open();
    EXPECT_EQ(host->listRowCount(kIdPreviewList), 0);
    EXPECT_EQ(host->text(kIdPreviewSummary),
              "Choose a data file with \"Browse...\", or type its path and press Enter.");

    host->type(kIdPreviewDataFile, "D:\\missing.dat");
    host->pressEnter();
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(host->text(kIdPreviewSummary),
              "The data file D:\\missing.dat cannot be read: The system cannot find the file specified.");
    EXPECT_EQ(remembered(), "");

    host->type(kIdPreviewDataFile, kSample);
    host->pressEnter();
    EXPECT_EQ(host->listRowCount(kIdPreviewList), 4);
    EXPECT_EQ(remembered(), kSample);
    EXPECT_FALSE(registry.hasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora"));  // nothing the machine's

    files.files["E:\\b.dat"] = "ANNA LEE  9876#C;   ";
    prompts.expectFileDialog("Data files (*.dat)|*.dat|All Files (*.*)|*.*||", FileChoice{"E:\\b.dat", "b.dat"});
    host->click(kIdPreviewBrowse);
    EXPECT_EQ(prompts.shown().back().file.kind, FileDialogRequest::Open);
    EXPECT_EQ(host->text(kIdPreviewDataFile), "E:\\b.dat");
    EXPECT_EQ(host->listRowCount(kIdPreviewList), 1);
    EXPECT_EQ(remembered(), "E:\\b.dat");
}

// The first 200 records, of those that end within the first 4 MiB: the
// fifth here ends the file one byte later.
TEST_F(PreviewScenario, ShowsTheFirst200RecordsEndingInTheFirst4MiB) {
    registry.setString(kSettings, kPreviewDataFileValue, kSample);
    files.files[kSample] = std::string(201 * 20, 'x');
    open();
    EXPECT_EQ(host->listRowCount(kIdPreviewList), 200);
    const std::string mebibyte = std::string((1u << 20) - 1, 'x') + "|";
    files.files[kSample] = mebibyte + mebibyte + mebibyte + mebibyte + "B";
    open("", "|");
    EXPECT_EQ(host->listRowCount(kIdPreviewList), 4);
}

// Full numbers only for the policy's group, each sample shown so logged.
// The record map under the list: a field's cell selects its bytes, a byte
// its field, by mouse and by keyboard; a rejected record tells its fault.
TEST_F(PreviewScenario, TheRecordMapLinksEachFieldAndItsBytesBothWays) {
    registry.setString(kSettings, kPreviewDataFileValue, kSample);
    files.files[kSample] = kRecords;
    open();
    EXPECT_EQ(host->text(kIdPreviewMap), "No field");  // the first record, nothing chosen yet
    const struct {
        int row, column;
        const char* map;
        const char* status;
    } cells[] = {
        {0, 4, "Code, offset 16, length 2", "Code: start 17, length 2, end 18"},
        {1, 3, "PIN, offset 10, length 4", "PIN: start 11, length 4, end 14"},
        {2, 4, "Code, not found", "Code: not found"},
        {3, 5, "No field", "The engine stopped here: short last record: 5 of 20 bytes"},
        {0, 0, "No field", "Name: start 1, length 10, end 10"},  // the caret's byte
    };
    for (const auto& c : cells) {
        host->clickListCell(kIdPreviewList, c.row, c.column);
        EXPECT_EQ(host->text(kIdPreviewMap), c.map) << c.row << " " << c.column;
        EXPECT_EQ(host->text(kIdPreviewMapStatus), c.status) << c.row << " " << c.column;
    }
    host->clickMapByte(kIdPreviewMap, 12);
    EXPECT_EQ(host->focusedId(), kIdPreviewMap);
    EXPECT_EQ(host->text(kIdPreviewMap), "PIN, offset 10, length 4");
    EXPECT_EQ(host->text(kIdPreviewMapStatus), "PIN: start 11, length 4, end 14");
    host->clickMapByte(kIdPreviewMap, 15);  // the start code, between two fields
    EXPECT_EQ(host->text(kIdPreviewMapStatus), "Between fields: byte 16");
    host->pressMapKey(kIdPreviewMap, MapKey::Right);
    EXPECT_EQ(host->text(kIdPreviewMapStatus), "Code: start 17, length 2, end 18");
    host->pressMapKey(kIdPreviewMap, MapKey::End);
    EXPECT_EQ(host->text(kIdPreviewMapStatus), "No field: byte 20");
    // The keys move to another record, its map keeping the field chosen.
    host->clickListCell(kIdPreviewList, 0, 4);
    host->pressListKey(kIdPreviewList, MapKey::Down);
    host->pressListKey(kIdPreviewList, MapKey::Down);
    EXPECT_EQ(host->text(kIdPreviewMap), "Code, not found");
    EXPECT_EQ(host->text(kIdPreviewMapStatus), "Code: not found");
}

TEST_F(PreviewScenario, CardNumbersShowMaskedAndInFullOnlyToThePolicysGroupEachSampleLogged) {
    registry.setString(kSettings, kPreviewDataFileValue, kSample);
    registry.setString("HKEY_LOCAL_MACHINE\\Software\\Policies\\Velmora\\VmTarnParser", "FullCardNumbersGroup",
                       "S-1-5-32-545");
    audit.groups = {"S-1-5-32-545"};
    files.files[kSample] = "4111111111111112JOHN";
    files.files["D:\\b.dat"] = "5105000000000003ANNA";
    ParseConfiguration config;
    config.fixedLength = "20";
    addRow(config, field("PAN", "START_POSITION", "1", "FIXED_LENGTH", "16", "TEXT_FIELD"));
    open(config);
    EXPECT_EQ(host->listCell(kIdPreviewList, 0, 2), "411111******1112");  // by its name, whatever it holds
    host->click(kIdPreviewFullNumbers);
    EXPECT_EQ(host->listCell(kIdPreviewList, 0, 2), "4111111111111112");
    host->type(kIdPreviewDataFile, "D:\\b.dat");
    host->pressEnter();
    EXPECT_EQ(host->listCell(kIdPreviewList, 0, 2), "5105000000000003");
    ASSERT_EQ(audit.events.size(), 2u);
    EXPECT_EQ(audit.events[0].text, "Full card numbers shown.\r\nUser: VELMORA\\operator\r\nSample file: " + kSample);
    EXPECT_EQ(audit.events[1].text.substr(audit.events[1].text.rfind('\n')), "\nSample file: D:\\b.dat");
    host->click(kIdPreviewFullNumbers);
    EXPECT_EQ(host->listCell(kIdPreviewList, 0, 2), "510500******0003");
}

TEST_F(PreviewScenario, AConfigurationTheEngineRefusesShowsItsMessageInsteadOfTheList) {
    registry.setString(kSettings, kPreviewDataFileValue, kSample);
    files.files[kSample] = kRecords;
    open("abc");
    EXPECT_EQ(host->text(kIdPreviewSummary).rfind("configuration line 1: ", 0), 0u) << host->text(kIdPreviewSummary);
    EXPECT_FALSE(host->isVisible(kIdPreviewList));
    EXPECT_FALSE(host->isEnabled(kIdPreviewBrowse));
    host->click(kIdCancel);
    EXPECT_EQ(host->result(), kIdCancel);
}

}  // namespace
}  // namespace velmora::test
