// Saving and opening configuration files from the Configure dialog.
#include "format/config/config_checks.h"
#include "src/editor/configuration_file.h"
#include "format/config/config_reader.h"
#include "src/editor/configure_dialog.h"
#include "src/editor/configure_dialog_description.h"
#include "src/editor/preview_dialog.h"

namespace velmora {

namespace {

const char* const kConfigurationFilter = "Configuration files (*.cfg)|*.cfg||";
const char* const kConfigurationFolder = "c:\\Velmora\\VmTarnParser";

int focusTarget(CheckFocus focus) {
    switch (focus) {
    case CheckFocus::FixedLengthEdit:
        return kIdRecordFixedLengthEdit;
    case CheckFocus::CharacterSequenceEdit:
        return kIdCharacterSequenceEdit;
    case CheckFocus::FirSeparatorEdit:
        return kIdFirSeparatorEdit;
    case CheckFocus::Unchanged:
        break;
    }
    return 0;
}

std::string saveFailureMessage(const SaveOutcome& outcome, const std::string& path) {
    const std::string head = "The configuration could not be saved to " + path + "\r\n";
    const char* const inPlace = "No file could be made in its folder, so it was written over the earlier file.\r\n";
    switch (outcome.result) {
    case SaveResult::Saved:
    case SaveResult::CannotWrite:
        break;
    case SaveResult::CannotReplace:
        return head +
               "The file may be read-only or in use by another program.\r\nAny earlier file of that name is unchanged.";
    case SaveResult::InPlaceFailed:
        return head + inPlace + "That failed; the earlier file is as it was.";
    case SaveResult::InPlaceDamaged:
        if (!outcome.leftAt.empty())
            return head +
                   "The new file could not take the earlier file's place, so it was written over it.\r\n"
                   "That failed part way: the file may now be incomplete.\r\nThe new configuration is in " +
                   outcome.leftAt;
        return head + inPlace + "That failed part way: the file may now be incomplete.";
    case SaveResult::LeftBeside:
        return head + "The earlier file was moved away and is no longer there.\r\nThe new configuration is in " +
               outcome.leftAt;
    }
    return head + "The folder may be read-only or the disk full.\r\nAny earlier file of that name is unchanged.";
}

}  // namespace

// The configuration as it stands in the dialog: what Save checks.
ParseConfiguration ConfigureDialog::configurationOnScreen() {
    pull();  // a refused integer of the field entry does not stop saving
    ParseConfiguration config;
    config.fixedLength = fixedLength_;
    config.recordSeparator = recordSeparator_;
    config.processFir = processFir_ == 1;
    config.firSeparator = firSeparator_;
    config.fieldsInOrder = fieldsInOrder_ == 1;
    config.fieldDefs = fields_.rows();
    return config;
}

// The texts Save writes, read once more from their edits: a pull refused
// at an integer of the field entry leaves the members after it behind.
void ConfigureDialog::takeFileTexts(ParseConfiguration& config) {
    DialogControls& c = controls();
    config.fixedLength = c.text(kIdRecordFixedLengthEdit);
    config.recordSeparator = c.text(kIdCharacterSequenceEdit);
    if (config.processFir) config.firSeparator = c.text(kIdFirSeparatorEdit);
}

void ConfigureDialog::saveConfiguration() {
    DialogControls& c = controls();
    ParseConfiguration config = configurationOnScreen();
    if (auto failure = checkFileSettings(config, config.fieldDefs.rowCount(), c.isEnabled(kIdRecordFixedLengthEdit))) {
        MessageIcon icon = failure->icon == CheckIcon::Information ? MessageIcon::Information : MessageIcon::Warning;
        prompts().messageBox(failure->message, kAppTitle, icon, MessageButtons::Ok);
        if (int target = focusTarget(failure->focus)) c.setFocus(target);
        return;
    }

    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.filter = kConfigurationFilter;
    request.defaultExtension = "cfg";
    request.flags = kFileHideReadOnly | kFileOverwritePrompt;
    auto choice = prompts().chooseFile(request);
    if (!choice) return;
    configurationFileName_ = choice->fileName;

    takeFileTexts(config);
    SaveOutcome saved = writeConfigurationFile(files_, choice->path, config);
    if (saved.result != SaveResult::Saved) {
        // The dialog stays open with everything as it was, so the operator
        // can choose another file.
        prompts().messageBox(saveFailureMessage(saved, choice->path), kAppTitle, MessageIcon::Error,
                             MessageButtons::Ok);
        return;
    }
    if (pull()) endDialog(kIdOk);
}

// Exactly what Save would write, saved or not; the checks of Save are left
// to the engine's reader, whose message the preview shows. Read from the
// screen without a pull: a look commits nothing typed into the field entry
// and refuses nothing the preview does not use.
void ConfigureDialog::preview() {
    DialogControls& c = controls();
    ParseConfiguration config;
    config.processFir = c.isChecked(kIdProcessFir);
    config.fieldsInOrder = c.isChecked(kIdFieldsInOrder);
    config.fieldDefs = fields_.rows();
    takeFileTexts(config);
    PreviewDialog dialog(prompts(), files_, registry_, audit_, config);
    prompts().runModal(dialog);
}

void ConfigureDialog::enablePreview() {
    DialogControls& c = controls();
    bool recordSettings = !c.text(kIdRecordFixedLengthEdit).empty() || !c.text(kIdCharacterSequenceEdit).empty();
    c.enable(kIdPreview, recordSettings && fields_.rows().rowCount() > 0);
}

void ConfigureDialog::resetForOpen() {
    DialogControls& c = controls();
    for (int id :
         {kIdAppendField, kIdChangeField, kIdDeleteField, kIdInsertAbove, kIdFieldType, kIdStartCode, kIdStartPosition,
          kIdEndCode, kIdEndFixedLength, kIdRecordFixedLengthEdit, kIdCharacterSequenceEdit, kIdFirSeparatorEdit})
        c.enable(id, false);
    c.enable(kIdStartNone, true);
    c.enable(kIdEndNone, true);
    showTypeControls(false, false, false);
    fieldsInOrder_ = 0;
    c.setChecked(kIdFieldsInOrder, false);
    processFir_ = 0;
    c.setChecked(kIdProcessFir, false);
    editMode_ = EditMode::Append;
    c.setSelectedIndex(kIdFieldType, 0);
    c.setText(kIdAppendField, "&Append Field");
    entry_.fieldName.clear();
}

void ConfigureDialog::openConfiguration() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Open;
    request.filter = kConfigurationFilter;
    request.defaultExtension = "cfg";
    request.initialFolder = kConfigurationFolder;
    request.flags = kFileHideReadOnly | kFilePathMustExist | kFileMustExist;
    auto choice = prompts().chooseFile(request);
    if (!choice) return;
    configurationFileName_ = choice->fileName;
    loadConfiguration(readLines(files_, choice->path));
}

void ConfigureDialog::loadConfiguration(const std::vector<std::string>& lines) {
    resetForOpen();

    ParseConfiguration config;
    config.fixedLength = fixedLength_;
    config.recordSeparator = recordSeparator_;
    config.firSeparator = firSeparator_;
    ReadEffects effects = openConfigurationLines(lines, config);
    fixedLength_ = config.fixedLength;
    recordSeparator_ = config.recordSeparator;
    firSeparator_ = config.firSeparator;
    processFir_ = config.processFir ? 1 : 0;
    fieldsInOrder_ = config.fieldsInOrder ? 1 : 0;

    DialogControls& c = controls();
    if (effects.recordChoice == RecordChoice::FixedLength) selectRadio(kIdRecordFixedLengthRadio);
    if (effects.recordChoice == RecordChoice::CharacterSequence) selectRadio(kIdCharacterSequenceRadio);
    if (effects.enableFixedLengthEdit) c.enable(kIdRecordFixedLengthEdit, true);
    if (effects.enableCharacterSequenceEdit) c.enable(kIdCharacterSequenceEdit, true);
    if (effects.enableFirSeparatorEdit) c.enable(kIdFirSeparatorEdit, true);
    if (fieldsInOrder_ == 1) c.setChecked(kIdFieldsInOrder, true);
    // The file's rows take the place of every row there was, in one go; a
    // file that gave none leaves the list empty.
    list().replaceAll(config.fieldDefs);
    push();
}

}  // namespace velmora
