#pragma once
// The "Configure Data File" dialog: file-level settings, the entries of one
// field, and the field list, with saving and opening of configurations.
#include <string>
#include <vector>

#include "format/config/parse_configuration.h"
#include "src/editor/configure_dialog_description.h"
#include "src/editor/edit_mode.h"
#include "src/editor/field_list_view.h"
#include "format/fields/field_entry.h"
#include "format/fields/placement_rules.h"
#include "format/fields/refusal.h"
#include "src/toolkit/dialog.h"
#include "src/toolkit/file_system.h"
#include "src/toolkit/registry.h"
#include "src/toolkit/audit.h"

namespace velmora {

class ConfigureDialog : public Dialog {
public:
    ConfigureDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit);

    // The model, for the tests that look past the screen.
    const FieldEntry& entry() const { return entry_; }
    bool changeMode() const { return changing(editMode_); }
    bool insertMode() const { return insertingAbove(editMode_); }
    int selectedRow() const { return selectedRow_; }
    int fieldsInOrder() const { return fieldsInOrder_; }
    int processFir() const { return processFir_; }
    const std::string& configurationFileName() const { return configurationFileName_; }
    const FieldList& fieldList() const { return fields_.rows(); }

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    EventResult handle(const DialogEvent& event);
    // Every change to the field list goes through the view, which keeps
    // the rows on screen in step; the rules and the save read fields_.
    FieldListView list() { return FieldListView(controls(), kIdFieldList, fields_); }

    // Opening and the simple control handlers.
    EventResult open();
    EventResult onClicked(int id);
    void onEditChanged(int id);
    void fieldNameChanged();
    void recordRadioClicked(bool fixedLength);
    void recordEditChanged(int editId, int radioId);
    void firBoxClicked();
    void fieldsInOrderClicked();
    void startRadioClicked(StartMethod method);
    void endRadioClicked(EndMethod method);
    void applyTypeVisibility(int typeIndex);
    void configureSentinels();
    void enableAppendInChangeMode();
    void enableSaveWhenRowsExist();
    void showTypeControls(bool application, bool script, bool sentinels);

    // Field operations.
    void commitField();
    void refuse(const Refusal& refusal);
    void writeRow(FieldOperation operation, const FieldDef& candidate);
    void clearFieldEntries();
    void beginInsertAbove();
    void loadFieldEntry();
    // The parts of a row that loadFieldEntry puts into the entries.
    void loadTypeData(const FieldDef& row);
    void loadStart(const FieldDef& row);
    void loadEnd(const FieldDef& row);
    void listClicked(ListPoint point);
    void deleteField();

    // Files, and the preview of a sample data file.
    ParseConfiguration configurationOnScreen();
    void takeFileTexts(ParseConfiguration& config);
    void saveConfiguration();
    void preview();
    void enablePreview();
    void openConfiguration();
    void resetForOpen();
    // What Open puts into the dialog from a file's lines.
    void loadConfiguration(const std::vector<std::string>& lines);
    // A configuration suggested from a sample, put in as Open would.
    void suggest();
    bool mayReplaceFields(const ParseConfiguration& suggestion);

    FileSystem& files_;
    Registry& registry_;
    Audit& audit_;  // for the preview's card numbers

    FieldEntry entry_;
    std::string fixedLength_;
    std::string recordSeparator_;
    std::string firSeparator_;
    int processFir_ = 0;
    int fieldsInOrder_ = 0;

    FieldListModel fields_;
    int selectedRow_ = -1;
    EditMode editMode_ = EditMode::Append;
    std::string priorAppendText_;
    std::string configurationFileName_;
};

}  // namespace velmora
