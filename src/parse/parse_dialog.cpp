#include "src/parse/parse_dialog.h"

#include "src/parse/parse_dialog_description.h"

namespace velmora {

namespace {

constexpr int kPathLimit = 255;

FileDialogRequest browseRequest(int buttonId) {
    if (buttonId == kIdBrowseDataFile) return dataFileRequest();
    FileDialogRequest request;
    request.kind = FileDialogRequest::Open;
    switch (buttonId) {
    case kIdBrowseConfigFile:
        request.defaultExtension = "cfg";
        request.flags = kFileHideReadOnly | kFilePathMustExist | kFileMustExist;
        request.filter = "Configuration files (*.cfg)|*.cfg||";
        break;
    default:  // the database may be a new file in an existing folder
        request.defaultExtension = "mdb";
        request.flags = kFileHideReadOnly | kFilePathMustExist;
        request.filter = "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||";
        break;
    }
    return request;
}

}  // namespace

FileDialogRequest dataFileRequest() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Open;
    request.defaultExtension = "dat";
    request.flags = kFileHideReadOnly | kFilePathMustExist | kFileMustExist;
    request.filter = "Data files (*.dat)|*.dat|All Files (*.*)|*.*||";
    return request;
}

ParseDialog::ParseDialog(Prompts& prompts, const Services& services)
    : Dialog(parseDialogDescription(), prompts), services_(services) {
    bindText(kIdDataFileEdit, dataFile, kPathLimit);
    bindText(kIdConfigFileEdit, configFile, kPathLimit);
    bindText(kIdOutputDatabaseEdit, outputDatabase, kPathLimit);
}

EventResult ParseDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init:
        push();
        controls().enable(kIdOk, false);
        return EventResult::Handled;
    case DialogEvent::Clicked:
        if (event.id == kIdBrowseDataFile || event.id == kIdBrowseConfigFile || event.id == kIdBrowseOutputDatabase) {
            browse(event.id);
            return EventResult::Handled;
        }
        return EventResult::Unhandled;
    case DialogEvent::EditChanged:
        editChanged(event.id);
        return EventResult::Handled;
    case DialogEvent::Ok:
        runParse(*this, prompts(), services_);
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;
    }
}

void ParseDialog::browse(int buttonId) {
    auto choice = prompts().chooseFile(browseRequest(buttonId));
    if (!choice) return;
    std::string& field = buttonId == kIdBrowseDataFile     ? dataFile
                         : buttonId == kIdBrowseConfigFile ? configFile
                                                           : outputDatabase;
    field = choice->path;
    if (!configFile.empty() && !dataFile.empty()) controls().enable(kIdOk, true);
    push();
}

void ParseDialog::editChanged(int editId) {
    if (controls().text(editId).empty()) {
        controls().enable(kIdOk, false);
    } else {
        bool othersFilled = editId == kIdDataFileEdit     ? !configFile.empty()
                            : editId == kIdConfigFileEdit ? !dataFile.empty()
                                                          : !configFile.empty() && !dataFile.empty();
        if (othersFilled) controls().enable(kIdOk, true);
    }
    pull();
}

bool ParseDialog::readBack(ParseInputs& inputs) {
    if (!pull()) return false;
    inputs = {dataFile, configFile, outputDatabase};
    return true;
}

void ParseDialog::focusDataFile() { controls().setFocus(kIdDataFileEdit); }
void ParseDialog::focusConfigFile() { controls().setFocus(kIdConfigFileEdit); }

void ParseDialog::closeAccepted() {
    if (pull()) endDialog(kIdOk);
}

}  // namespace velmora
