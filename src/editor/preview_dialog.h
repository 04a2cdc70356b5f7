#pragma once
// The "Preview" dialog: the configuration on screen in the Configure
// dialog, saved or not, cutting the start of a sample data file, record by
// record, as a parse would store it. It writes no file; the sample's path
// is remembered in the program's registry key for the next time.
#include <string>

#include "config/parse_configuration.h"
#include "editor/record_preview.h"
#include "parse/remembered_values.h"
#include "toolkit/dialog.h"
#include "toolkit/file_system.h"
#include "toolkit/registry.h"

namespace velmora {

class PreviewDialog : public Dialog {
public:
    PreviewDialog(Prompts& prompts, FileSystem& files, Registry& registry, const ParseConfiguration& config,
                  PreviewLimits limits = {});

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    void open();
    void browse();
    // Reads the start of the file at `dataFile_` and shows its records, or
    // why it cannot be read.
    void showDataFile();
    void fillList(const PreviewRows& rows);

    FileSystem& files_;
    Registry& registry_;
    RecordPreview preview_;
    PreviewLimits limits_;
    std::string dataFile_;
};

}  // namespace velmora
