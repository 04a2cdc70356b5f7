#pragma once
// Everything that asks the user something outside the dialog itself:
// message boxes, the open and save file dialogs, and other dialogs run
// modally. The Win32 host shows the real ones; tests script the answers.
#include <optional>
#include <string>

namespace velmora {

class Dialog;

// The application's title, the caption of its message boxes.
extern const char* const kAppTitle;  // "Velmora Data Parser"

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Bits of a file dialog's flags, as the OFN_ flags of the same names.
enum FileDialogFlag : unsigned {
    kFileHideReadOnly = 1u << 0,
    kFilePathMustExist = 1u << 1,
    kFileMustExist = 1u << 2,
    kFileOverwritePrompt = 1u << 3,
};

struct FileDialogRequest {
    enum Kind { Open, Save };
    Kind kind = Open;
    std::string title;  // empty: the platform's own ("Open", "Save As")
    // Pairs of description and pattern, separated and ended by '|', the
    // whole ending with "||", e.g. "Configuration files (*.cfg)|*.cfg||".
    std::string filter;
    std::string defaultExtension;  // without the dot; empty for none
    std::string initialFileName;
    std::string initialFolder;  // empty: the platform's choice
    unsigned flags = 0;         // FileDialogFlag bits
};

struct FileChoice {
    std::string path;      // full path of the chosen file
    std::string fileName;  // its name with extension, no folder
};

// Results of a modal dialog besides kIdOk and kIdCancel.
constexpr int kDialogFailed = -1;

class Prompts {
public:
    virtual ~Prompts() = default;

    // The application's message box: caption kAppTitle, an OK button and the
    // classic toolkit's exclamation icon.
    virtual void appMessage(const std::string& text) = 0;

    // A message box owned by no window, with its literal caption.
    virtual MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                     MessageButtons buttons) = 0;

    // The system's open or save file dialog; nothing when the user cancels.
    virtual std::optional<FileChoice> chooseFile(const FileDialogRequest& request) = 0;

    // Runs `dialog` modally and returns the result it ended with, or
    // kDialogFailed when it could not be shown.
    virtual int runModal(Dialog& dialog) = 0;
};

}  // namespace velmora
