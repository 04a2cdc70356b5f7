#pragma once
// The About box: product line, version line and notice line.
#include <string>

#include "src/toolkit/dialog.h"

namespace velmora {

// "2, 0, 0, 24" becomes "Velmora Data Parser Version 2. 0. 0. 24".
std::string versionLine(const std::string& versionText);

class AboutDialog : public Dialog {
public:
    explicit AboutDialog(Prompts& prompts);

    std::string productText;
    std::string versionText;
    std::string noticeText;

protected:
    EventResult onEvent(const DialogEvent& event) override;
};

}  // namespace velmora
