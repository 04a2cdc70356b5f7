#pragma once
// The "Parse" dialog: the data file and configuration paths for the engine
// run. "Parse..." is usable exactly while both paths hold text.
#include <string>

#include "src/parse/run_parse.h"
#include "src/toolkit/dialog.h"
#include "src/toolkit/services.h"

namespace velmora {

// The "Open" dialog of the data file's "Browse...", also used wherever
// else the operator picks a data file.
FileDialogRequest dataFileRequest();

class ParseDialog : public Dialog, private ParseForm {
public:
    ParseDialog(Prompts& prompts, const Services& services);

    // Bound to their edits, at most 255 characters each.
    std::string dataFile;
    std::string configFile;
    std::string outputDatabase;

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    void browse(int buttonId);
    void editChanged(int editId);

    bool readBack(ParseInputs& inputs) override;
    void focusDataFile() override;
    void focusConfigFile() override;
    void closeAccepted() override;

    Services services_;
};

}  // namespace velmora
