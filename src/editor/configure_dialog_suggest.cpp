// "Suggest...": a configuration suggested from a sample data file, shown
// in the Preview dialog's suggest mode, and put into the dialog as if it
// had been opened from a file. Nothing is saved until the operator saves.
#include "format/config/config_format.h"
#include "format/config/config_reader.h"
#include "src/editor/configure_dialog.h"
#include "src/editor/preview_dialog.h"
#include "src/editor/preview_dialog_description.h"
#include "src/parse/parse_dialog.h"

namespace velmora {

void ConfigureDialog::suggest() {
    FileDialogRequest request = dataFileRequest();
    request.initialFileName = rememberedValue(registry_, kPreviewDataFileValue);
    auto choice = prompts().chooseFile(request);
    if (!choice) return;
    PreviewDialog dialog(prompts(), files_, registry_, audit_, choice->path,
                         [this](const ParseConfiguration& suggestion) { return mayReplaceFields(suggestion); });
    if (prompts().runModal(dialog) != kIdPreviewUse) return;
    // The very lines "&Save..." would write, read as Open reads a file;
    // unlike a file opened, what was suggested is not saved yet, so it may
    // be as it stands.
    loadConfiguration(splitLines(configurationText(dialog.suggestion().configuration)));
    controls().enable(kIdOk, true);
}

bool ConfigureDialog::mayReplaceFields(const ParseConfiguration& suggestion) {
    const int rows = fields_.rows().rowCount();
    if (rows == 0) return true;
    return prompts().messageBox("Replace the " + std::to_string(rows) + " fields in the list with the " +
                                    std::to_string(suggestion.fieldDefs.rowCount()) + " suggested?",
                                kAppTitle, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace velmora
