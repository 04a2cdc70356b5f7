#pragma once
// The prompts on real windows: MessageBoxA, the common open and save file
// dialogs, and other dialogs run modally.
#include "src/toolkit/prompts.h"
#include "src/toolkit/string_table.h"

namespace velmora {

class Win32Prompts : public Prompts {
public:
    // The application's message box takes its caption from `strings`.
    explicit Win32Prompts(const StringTable& strings) : strings_(strings) {}

    void appMessage(const std::string& text) override;
    MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override;
    int runModal(Dialog& dialog) override;

private:
    const StringTable& strings_;
};

}  // namespace velmora
