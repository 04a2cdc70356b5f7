#pragma once
// The "Preview" dialog: the configuration on screen in the Configure
// dialog, saved or not, cutting the start of a sample data file, record by
// record, as a parse would store it. It writes no file; the sample's path
// is remembered in the program's registry key for the next time.
//
// In its suggest mode, "Suggested Configuration", the configuration is the
// one the engine's suggestion core proposes for the sample, with the
// reasons for it; "&Use" ends the dialog with kIdPreviewUse.
//
// Card numbers show masked, and in full only while "Show full card
// &numbers" is checked.
#include <functional>
#include <optional>
#include <string>

#include "format/config/parse_configuration.h"
#include "src/editor/record_preview.h"
#include "engine/core/suggest/suggestion.h"
#include "src/parse/remembered_values.h"
#include "src/toolkit/dialog.h"
#include "src/toolkit/file_system.h"
#include "src/toolkit/registry.h"
#include "src/toolkit/audit.h"
#include "src/viewer/full_card_numbers.h"
#include "src/viewer/record_map.h"

namespace velmora {

class PreviewDialog : public Dialog {
public:
    PreviewDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit,
                  const ParseConfiguration& config, PreviewLimits limits = {});

    // The suggest mode, for the sample `dataFile`. "&Use" asks `mayUse`
    // first, which may refuse (the operator keeps the fields he has).
    using UseQuestion = std::function<bool(const ParseConfiguration& suggestion)>;
    PreviewDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit, std::string dataFile,
                  UseQuestion mayUse, PreviewLimits limits = {});
    // What was suggested; found is false before the dialog opened.
    const Suggestion& suggestion() const { return suggestion_; }

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    void open();
    // Suggest mode: the suggestion for the sample, before its columns are made.
    void suggest();
    void use();
    void browse();
    // Reads the start of the file at `dataFile_` and shows its records, or
    // why it cannot be read.
    void showDataFile();
    void fillList();
    void showRows();
    // The record map of row `row` with field `field` selected (-1: none),
    // and what the map's selection is, under it.
    void showMap(int row, int field);
    void showMapSelection();
    void listClicked(ListPoint point);

    FileSystem& files_;
    Registry& registry_;
    RecordPreview preview_;
    PreviewLimits limits_;
    std::string dataFile_;
    const bool suggestMode_ = false;
    UseQuestion mayUse_;
    Suggestion suggestion_;
    PreviewRows rows_;    // as cut from the sample shown
    std::string sample_;  // the bytes they were cut from
    RecordMap map_;
    int mapRow_ = -1;
    int showFull_ = 0;   // starts unchecked at every showing
    bool full_ = false;  // whether the rows show card numbers in full
    FullCardNumbers fullNumbers_;
};

}  // namespace velmora
