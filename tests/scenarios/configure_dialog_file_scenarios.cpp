// Saving and opening configurations from the Configure dialog; runs on both hosts.
#include <functional>
#include <vector>

#include "format/config/strict_config_reader.h"
#include "src/editor/preview_dialog.h"
#include "src/editor/preview_dialog_description.h"
#include "src/headless/headless_window.h"
#include "src/parse/registry_string.h"
#include "tests/scenarios/configure_scenario.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

const std::string kPath = "c:\\Velmora\\VmTarnParser\\bank.cfg";

TEST_F(ConfigureScenario, TypicalJobFromAnEmptyDialogToASavedFile) {
    host->type(kIdCharacterSequenceEdit, "\\x0D\\x0A");
    host->click(kIdProcessFir);
    host->type(kIdFirSeparatorEdit, "~");
    append({"Name", 1, "\"", 1, "#E1", 1});
    append({"PM", 1, "#P", 1, "#E2", 2});
    append({"Script", 1, "#S", 4, "", 5, "Issuer"});
    saveAs(kPath);
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdOk);
    EXPECT_EQ(dialog->configurationFileName(), "bank.cfg");
    // The separator example but for its magnetic stripe, whose sentinels
    // the Sentinels scenarios enter.
    std::string example = exampleFile("separator.cfg");
    const std::size_t mag = example.find("FieldDef(\"Mag\"");
    EXPECT_EQ(files.files[kPath], example.erase(mag, example.find('\n', mag) + 1 - mag));
    const FileDialogRequest& request = prompts.shown().back().file;
    EXPECT_EQ(request.kind, FileDialogRequest::Save);
    EXPECT_EQ(request.defaultExtension, "cfg");
    EXPECT_TRUE(request.flags & kFileOverwritePrompt);
    EXPECT_EQ(request.initialFolder, "");
}

TEST_F(ConfigureScenario, SaveChecksComeInOrderWithTheirFocus) {
    host->click(kIdRecordFixedLengthRadio);
    host->type(kIdRecordFixedLengthEdit, "1.5");
    prompts.expectMessage("Fixed length should be positive/integer.", "Velmora Data Parser", MessageIcon::Information);
    host->click(kIdOk);
    EXPECT_EQ(host->focusedId(), kIdRecordFixedLengthEdit);
    host->type(kIdRecordFixedLengthEdit, "0");
    prompts.expectMessage("Please enter a fixed length greater than 0", "Velmora Data Parser", MessageIcon::Warning);
    host->click(kIdOk);
    host->type(kIdRecordFixedLengthEdit, "80");
    prompts.expectMessage("Please enter the field details", "Velmora Data Parser", MessageIcon::Warning);
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
}

TEST_F(ConfigureScenario, SaveWithFirOnButNoSeparator) {
    append({"A", 0, "", 2, "4"});
    host->type(kIdCharacterSequenceEdit, "12345678");
    prompts.expectMessage("A Record Separator should have only 7 chars.", "Velmora Data Parser",
                          MessageIcon::Information);
    host->click(kIdOk);
    EXPECT_EQ(host->focusedId(), kIdCharacterSequenceEdit);
    host->type(kIdCharacterSequenceEdit, "|");
    host->click(kIdProcessFir);  // with rows in the list this enables "Save..."
    prompts.expectMessage("You must enter FIR separation characters in order to process FIR", "Velmora Data Parser",
                          MessageIcon::Warning);
    host->click(kIdOk);
    EXPECT_EQ(host->focusedId(), kIdFirSeparatorEdit);
}

TEST_F(ConfigureScenario, CancelledSaveDialogWritesNothing) {
    host->type(kIdCharacterSequenceEdit, "|");
    append({"A", 0, "", 2, "4"});
    prompts.expectFileDialog(kCfgFilter, std::nullopt);
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
    EXPECT_TRUE(files.files.empty());
}

TEST_F(ConfigureScenario, AFailedSaveIsReportedAndKeepsTheOldFile) {
    files.files[kPath] = "old";
    files.unwritable.insert(kPath);
    host->type(kIdCharacterSequenceEdit, "|");
    append({"A", 0, "", 2, "4"});
    prompts.expectFileDialog(kCfgFilter, FileChoice{kPath, "bank.cfg"});
    prompts.expectMessage("The configuration could not be saved to " + kPath +
                              "\r\nThe file may be read-only or in use by another program."
                              "\r\nAny earlier file of that name is unchanged.",
                          "Velmora Data Parser", MessageIcon::Error);
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(files.files[kPath], "old");
    EXPECT_EQ(rows(), 1);

    // No file can be made in the folder: written in place, and the message
    // says so when that fails.
    files.unwritable.clear();
    files.failFileCreation = true;
    files.writeLimit = 3;
    prompts.expectFileDialog(kCfgFilter, FileChoice{kPath, "bank.cfg"});
    prompts.expectMessage("The configuration could not be saved to " + kPath +
                              "\r\nNo file could be made in its folder, so it was written over the earlier file."
                              "\r\nThat failed; the earlier file is as it was.",
                          "Velmora Data Parser", MessageIcon::Error);
    host->click(kIdOk);
    EXPECT_EQ(files.files[kPath], "old");
}

TEST_F(ConfigureScenario, SavedConfigurationOpensInAFreshDialog) {
    host->click(kIdRecordFixedLengthRadio);
    host->type(kIdRecordFixedLengthEdit, "250");
    host->click(kIdFieldsInOrder);  // not in order
    append({"PAN", 2, "1", 2, "19", 1});
    append({"Photo", 2, "20", 3, "", 0});
    append({"Chip", 2, "100", 2, "40", 4, "App \"1\", x"});  // a quote before a comma comes back whole
    saveAs(kPath);
    ASSERT_TRUE(host->ended());
    std::string saved = files.files[kPath];

    open();
    prompts.expectFileDialog(kCfgFilter, FileChoice{kPath, "bank.cfg"});
    host->click(kIdOpenExisting);
    EXPECT_EQ(prompts.shown().back().file.initialFolder, "c:\\Velmora\\VmTarnParser");
    EXPECT_EQ(host->text(kIdRecordFixedLengthEdit), "250");
    EXPECT_TRUE(host->isChecked(kIdRecordFixedLengthRadio));
    EXPECT_TRUE(host->isEnabled(kIdRecordFixedLengthEdit));
    EXPECT_FALSE(host->isChecked(kIdFieldsInOrder));
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(0, 0), "PAN");
    EXPECT_EQ(cell(1, 3), "EMBEDDED_LENGTH");
    EXPECT_EQ(cell(2, 6), "App \"1\", x");
    EXPECT_EQ(host->text(kIdAppendField), "&Append Field");
    EXPECT_FALSE(host->isEnabled(kIdFieldType));
    EXPECT_TRUE(host->isEnabled(kIdPreview));

    // Opening leaves "Save..." as it was; retyping the length enables it,
    // and saving again gives the same bytes.
    EXPECT_FALSE(host->isEnabled(kIdOk));
    host->type(kIdRecordFixedLengthEdit, "250");
    const std::string again = "c:\\Velmora\\VmTarnParser\\again.cfg";
    saveAs(again);
    EXPECT_EQ(files.files[again], saved);
}

// Every shape of value the editor takes, every field type among them:
// saved, opened in a fresh dialog exactly as it was, saved again to the
// same bytes, and read by the engine's own reader.
TEST_F(ConfigureScenario, EveryValueShapeOpensBackAsSavedAndTheEngineReadsIt) {
    host->type(kIdCharacterSequenceEdit, "' a=\"");
    host->click(kIdProcessFir);
    host->type(kIdFirSeparatorEdit, "~ ,)'");
    append({"Bin", 1, "\"a,b", 1, "\")x", 0});
    append({"Pan", 1, "x\"),", 2, "4", 1});
    append({"PAN", 1, "#P", 3, "", 2});
    append({"Ps", 1, "#S", 4, "", 3, "say \"hi\", bye"});
    append({"P3", 1, "#3", 0, "", 4, "x\"),"});
    append({"Gp", 1, "#G", 1, "\\\"", 5, "a\")"});
    append({"Op", 2, "90", 2, "1", 6, "q\""});
    append({"Mag", 1, "%B", 1, "|", 7});
    append({"Ign", 1, "#I", 0, "", 8});
    const std::vector<FieldDef> entered = dialog->fieldList().rows();
    ASSERT_EQ(entered.size(), 9u);
    saveAs(kPath);
    ASSERT_TRUE(host->ended());
    const std::string saved = files.files[kPath];
    EXPECT_TRUE(readStrictConfiguration(saved).ok) << readStrictConfiguration(saved).failureText();
    EXPECT_EQ(saved, exampleFile("value_shapes.cfg"));  // which the real program opens end to end

    open();
    prompts.expectFileDialog(kCfgFilter, FileChoice{kPath, "bank.cfg"});
    host->click(kIdOpenExisting);
    EXPECT_EQ(host->text(kIdCharacterSequenceEdit), "' a=\"");
    EXPECT_EQ(host->text(kIdFirSeparatorEdit), "~ ,)'");
    EXPECT_TRUE(host->isChecked(kIdProcessFir) && host->isChecked(kIdFieldsInOrder));
    ASSERT_EQ(rows(), 9);
    for (int r = 0; r < rows(); ++r) {
        for (int c = 0; c < kFieldColumnCount; ++c) {
            if (r == 7 && c == 6) continue;
            EXPECT_EQ(cell(r, c), entered[static_cast<size_t>(r)].column(c)) << r << "," << c;
        }
    }
    EXPECT_EQ(cell(7, 6), R"("%", "?", ";", "?", "_;", "?")");  // the tuple in its file form

    host->type(kIdCharacterSequenceEdit, "' a=\"");
    const std::string again = "c:\\Velmora\\VmTarnParser\\again.cfg";
    saveAs(again);
    EXPECT_EQ(files.files[again], saved);
}

TEST_F(ConfigureScenario, PreviewNeedsRecordSettingsAndAFieldAndShowsTheUnsavedConfiguration) {
    host->type(kIdCharacterSequenceEdit, "|");
    EXPECT_FALSE(host->isEnabled(kIdPreview));
    append({"Name", 0, "", 2, "4"});
    EXPECT_TRUE(host->isEnabled(kIdPreview));
    // Entries typed but not committed, no number among them, and the name
    // a deleted field left in the model: the preview takes none of them.
    append({"Gone", 0, "", 0, ""});
    host->clickListRow(kIdFieldList, 1);
    host->click(kIdDeleteField);
    host->click(kIdStartPositionRadio);
    host->type(kIdStartPosition, "abc");

    files.files["D:\\s.dat"] = "ABCDE|WXYZ";
    registry.setString("HKEY_CURRENT_USER\\Software\\Velmora\\VmTarnParser\\Settings", kPreviewDataFileValue,
                       "D:\\s.dat");
    prompts.expectDialog("Preview", kIdCancel, [](HeadlessWindow& preview) {
        EXPECT_EQ(preview.columnHeader(kIdPreviewList, 2), "Name");
        EXPECT_EQ(preview.cell(kIdPreviewList, 0, 2), "ABCD");
        EXPECT_EQ(preview.cell(kIdPreviewList, 1, 2), "WXYZ");
        preview.pressEscape();
    });
    host->click(kIdPreview);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(files.files.size(), 1u);  // nothing saved or written
    EXPECT_EQ(dialog->entry().fieldName, "Gone");

    prompts.expectAppMessage("Please enter an integer.");  // as a pull reads it
    host->type(kIdCharacterSequenceEdit, "");
    EXPECT_FALSE(host->isEnabled(kIdPreview));
}

// "Suggest..." is always usable. On a sample without records the suggest
// mode says why and offers nothing to use; on one with records it shows
// them cut by the suggestion, with the reasons. "&Use" asks before the
// fields go, and puts the suggestion in as Open would put its file in.
TEST_F(ConfigureScenario, SuggestShowsASuggestionAndUseTakesItInAsOpenWould) {
    const std::string settings = "HKEY_CURRENT_USER\\Software\\Velmora\\VmTarnParser\\Settings";
    const std::string dataFilter = "Data files (*.dat)|*.dat|All Files (*.*)|*.*||";
    files.files["D:\\empty.dat"] = "";
    files.files["D:\\cards.dat"] = exampleFile("suggest/comma_crlf.dat");
    registry.setString(settings, kPreviewDataFileValue, "D:\\old.dat");
    EXPECT_TRUE(host->isEnabled(kIdSuggest));
    prompts.expectFileDialog(dataFilter, FileChoice{"D:\\empty.dat", "empty.dat"});
    prompts.expectDialog("Suggested Configuration", kIdCancel, [](HeadlessWindow& suggestion) {
        EXPECT_EQ(suggestion.text(kIdPreviewSummary), "No suggestion: the sample is empty.");
        EXPECT_FALSE(suggestion.isEnabled(kIdPreviewUse));
        EXPECT_FALSE(suggestion.isVisible(kIdPreviewList));
        suggestion.click(kIdPreviewUse);
    });
    host->click(kIdSuggest);
    EXPECT_EQ(prompts.shown().at(0).file.initialFileName, "D:\\old.dat");

    host->type(kIdCharacterSequenceEdit, "|");
    append({"Name", 0, "", 2, "4"});
    prompts.expectFileDialog(dataFilter, FileChoice{"D:\\cards.dat", "cards.dat"});
    const std::string question = "Replace the 1 fields in the list with the 5 suggested?";
    prompts.expectDialog("Suggested Configuration", kIdCancel, [](HeadlessWindow& suggestion) {
        EXPECT_EQ(suggestion.text(kIdPreviewSummary)
                      .rfind("6 records, 0 rejected, in the first 334 bytes of 334 "
                             "bytes\r\nRecords end with \"\\x0D\\x0A\"",
                             0),
                  0u)
            << suggestion.text(kIdPreviewSummary);
        EXPECT_EQ(suggestion.columnHeader(kIdPreviewList, 2), "PAN");
        EXPECT_EQ(suggestion.cell(kIdPreviewList, 5, 4), "AL");
        suggestion.click(kIdPreviewUse);  // No: the dialog stays
        EXPECT_FALSE(suggestion.ended());
        suggestion.click(kIdPreviewUse);
    });
    prompts.expectMessage(question, "Velmora Data Parser", MessageIcon::Question, MessageButtons::YesNo,
                          MessageAnswer::No);
    prompts.expectMessage(question, "Velmora Data Parser", MessageIcon::Question, MessageButtons::YesNo,
                          MessageAnswer::Yes);
    host->click(kIdSuggest);
    EXPECT_EQ(readRegistryString(registry, settings + "\\" + kPreviewDataFileValue), "D:\\cards.dat");
    ASSERT_EQ(rows(), 5);
    EXPECT_EQ(cell(1, 0), "Expiry");
    EXPECT_EQ(host->text(kIdCharacterSequenceEdit), "\\x0D\\x0A");
    EXPECT_TRUE(host->isChecked(kIdFieldsInOrder));
    EXPECT_EQ(host->text(kIdAppendField), "&Append Field");
    EXPECT_EQ(files.files.size(), 2u);  // nothing saved until the operator saves
    saveAs(kPath);
    EXPECT_EQ(files.files[kPath], exampleFile("suggest/comma_crlf.cfg"));
}

// On a dialog where nothing was typed, "&Save..." is usable after "&Use",
// and saves what was suggested.
TEST_F(ConfigureScenario, UseOnAnEmptyDialogLeavesSaveUsable) {
    files.files["D:\\cards.dat"] = exampleFile("suggest/comma_crlf.dat");
    EXPECT_FALSE(host->isEnabled(kIdOk));
    prompts.expectFileDialog("Data files (*.dat)|*.dat|All Files (*.*)|*.*||",
                             FileChoice{"D:\\cards.dat", "cards.dat"});
    prompts.expectDialog("Suggested Configuration", kIdCancel,
                         [](HeadlessWindow& suggestion) { suggestion.click(kIdPreviewUse); });
    host->click(kIdSuggest);
    EXPECT_TRUE(host->isEnabled(kIdOk));
    saveAs(kPath);
    EXPECT_EQ(files.files[kPath], exampleFile("suggest/comma_crlf.cfg"));
}

TEST_F(ConfigureScenario, OpeningAFileEndsAPendingInsertionAndChange) {
    files.files[kPath] =
        "fixedLength = 80\r\nrecordSeparator = '|'\r\nfieldsInOrder = 0\r\nfieldDefs = (\r\n"
        "FieldDef(\"F\", START_CODE, \"#F\", END_CODE, \"#G\", P3_FIELD, \"Y\", \"App\"),\r\n)\r\n";
    append({"A", 2, "10", 4, "", 4, "App1"});
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdInsertAbove);
    host->clickListRow(kIdFieldList, 0);
    host->click(kIdChangeField);
    ASSERT_TRUE(host->isVisible(kIdApplicationName));
    prompts.expectFileDialog(kCfgFilter, FileChoice{kPath, "bank.cfg"});
    host->click(kIdOpenExisting);
    EXPECT_EQ(dialog->changeMode(), 0);
    EXPECT_EQ(dialog->insertMode(), 0);
    EXPECT_EQ(dialog->fieldsInOrder(), 0);
    EXPECT_EQ(host->text(kIdAppendField), "&Append Field");
    EXPECT_EQ(host->text(kIdFieldName), "");
    EXPECT_FALSE(host->isVisible(kIdApplicationName));
    for (int id : {kIdAppendField, kIdChangeField, kIdDeleteField, kIdInsertAbove})
        EXPECT_FALSE(host->isEnabled(id)) << id;
    append({"B", 1, "#B", 1, "#C"});  // after the file's field
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(1, 0), "B");

    // Both record edits came enabled from the file; typing into one selects its radio.
    EXPECT_TRUE(host->isChecked(kIdCharacterSequenceRadio));
    host->type(kIdRecordFixedLengthEdit, "90");
    EXPECT_TRUE(host->isChecked(kIdRecordFixedLengthRadio));
    EXPECT_FALSE(host->isChecked(kIdCharacterSequenceRadio));
}

TEST_F(ConfigureScenario, OpeningAFileThatCannotBeReadLeavesTheResetState) {
    append({"A", 0, "", 2, "4"});
    host->clickListRow(kIdFieldList, 0);
    prompts.expectFileDialog(kCfgFilter, FileChoice{"c:\\gone.cfg", "gone.cfg"});
    host->click(kIdOpenExisting);
    EXPECT_EQ(rows(), 0);
    for (int id : {kIdChangeField, kIdDeleteField, kIdInsertAbove}) EXPECT_FALSE(host->isEnabled(id)) << id;
    EXPECT_FALSE(host->isChecked(kIdFieldsInOrder));
    EXPECT_EQ(dialog->configurationFileName(), "gone.cfg");

    prompts.expectFileDialog(kCfgFilter, std::nullopt);
    host->click(kIdOpenExisting);  // cancel: nothing changes
    EXPECT_EQ(dialog->configurationFileName(), "gone.cfg");

    // A read error part way: the lines read before it are applied.
    const std::string first = "FieldDef(\"A\", None, \"\", FIXED_LENGTH, \"4\", BINARY_FIELD, \"Y\"),\r\n";
    files.files[kPath] = "fixedLength = 0\r\nrecordSeparator = '|'\r\nfieldsInOrder = 1\r\nfieldDefs = (\r\n" + first +
                         "FieldDef(\"B\", None, \"\", FIXED_LENGTH, \"4\", BINARY_FIELD, \"Y\"),\r\n)\r\n";
    files.readErrorAt[kPath] = files.files[kPath].find(first) + first.size() + 12;
    prompts.expectFileDialog(kCfgFilter, FileChoice{kPath, "bank.cfg"});
    host->click(kIdOpenExisting);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 0), "A");
    EXPECT_EQ(host->text(kIdCharacterSequenceEdit), "|");
    EXPECT_TRUE(host->isChecked(kIdFieldsInOrder));
}

// The rows on screen are the dialog's field list, cell for cell, after
// every kind of change to it, refused ones included.
TEST_F(ConfigureScenario, TheListOnScreenMirrorsTheFieldListAfterEveryOperation) {
    files.files[kPath] =
        "fixedLength = 0\r\nrecordSeparator = '|'\r\nfirSeparator = ''\r\nfieldsInOrder = 1\r\nfieldDefs = (\r\n"
        "FieldDef(\"F\", START_POSITION, 1, FIXED_LENGTH, 4, BINARY_FIELD, \"Y\"),\r\n"
        "FieldDef(\"G\", START_POSITION, 9, FIXED_LENGTH, 4, GP_FIELD, \"Y\", \"run \\\"x\\\", y\"),\r\n)\r\n";
    auto openFile = [&](const std::string& path) {
        prompts.expectFileDialog(kCfgFilter, FileChoice{path, "bank.cfg"});
        host->click(kIdOpenExisting);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> names;
    };
    const std::vector<Step> steps = {
        {"append",
         [&] {
             append({"A", 2, "10", 2, "5"});
             append({"B", 2, "30", 2, "5", 5, "go"});
         },
         {"A", "B"}},
        {"insert above",
         [&] {
             host->clickListRow(kIdFieldList, 1);
             host->click(kIdInsertAbove);
             append({"N", 2, "20", 2, "5", 4, "App"});
         },
         {"A", "N", "B"}},
        {"change",
         [&] {
             host->clickListRow(kIdFieldList, 0);
             host->click(kIdChangeField);
             host->type(kIdEndFixedLength, "7");
             host->click(kIdAppendField);
         },
         {"A", "N", "B"}},
        {"refused append",
         [&] {
             expectRefusal("There is already a field with this name.  Please enter a new field name");
             append({"N", 2, "40", 2, "5"});
         },
         {"A", "N", "B"}},
        {"delete",
         [&] {
             host->clickListRow(kIdFieldList, 1);
             host->click(kIdDeleteField);
         },
         {"A", "B"}},
        {"open", [&] { openFile(kPath); }, {"F", "G"}},
        {"append after open",
         [&] {
             append({"X", 2, "20", 2, "5"});
         },
         {"F", "G", "X"}},
        {"open of a file that cannot be read", [&] { openFile("c:\\gone.cfg"); }, {}},
    };
    for (const Step& step : steps) {
        step.act();
        const FieldList& model = dialog->fieldList();
        ASSERT_EQ(model.rowCount(), static_cast<int>(step.names.size())) << step.what;
        ASSERT_EQ(rows(), model.rowCount()) << step.what;
        for (int r = 0; r < model.rowCount(); ++r) {
            EXPECT_EQ(model.cell(r, 0), step.names[r]) << step.what;
            for (int c = 0; c < kFieldColumnCount; ++c)
                EXPECT_EQ(cell(r, c), model.cell(r, c)) << step.what << ", row " << r << ", column " << c;
        }
    }
}

}  // namespace
}  // namespace velmora::test
