// The Preview dialog's suggest mode: the configuration the engine's
// suggestion core proposes for a sample, and "&Use".
#include "src/editor/preview_dialog.h"
#include "src/editor/preview_dialog_description.h"

namespace velmora {

void PreviewDialog::suggest() {
    DialogControls& c = controls();
    // The suggestion's sample is the one chosen for it.
    c.enable(kIdPreviewDataFile, false);
    c.enable(kIdPreviewBrowse, false);
    c.enable(kIdPreviewUse, false);
    std::string why;
    // One byte past the sample tells whether it is the whole file.
    auto start = files_.readFileStart(dataFile_, kSuggestionSampleBytes + 1, why);
    if (!start) {
        suggestion_.reasons = {"No suggestion: the data file " + dataFile_ + " cannot be read: " + why};
        return;
    }
    suggestion_ = suggestConfiguration(start->bytes, start->bytes.size() >= start->size);
    if (!suggestion_.found) {
        rememberValue(registry_, kPreviewDataFileValue, dataFile_);
        return;
    }
    preview_ = RecordPreview(suggestion_.configuration);
    c.enable(kIdPreviewUse, true);
}

void PreviewDialog::use() {
    if (suggestion_.found && (!mayUse_ || mayUse_(suggestion_.configuration))) endDialog(kIdPreviewUse);
}

}  // namespace velmora
