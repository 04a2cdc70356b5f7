#include "src/win32/win32_prompts.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "src/win32/dialog_runner.h"
#include "src/win32/file_dialog_filter.h"

namespace velmora {

namespace {

constexpr std::size_t kFileBuffer = 4096;

UINT iconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return 0;
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Warning:
        return MB_ICONWARNING;
    case MessageIcon::Error:
        return MB_ICONERROR;
    case MessageIcon::Question:
        return MB_ICONQUESTION;
    }
    return 0;
}

UINT buttonsStyle(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MB_OK;
    case MessageButtons::OkCancel:
        return MB_OKCANCEL;
    case MessageButtons::YesNo:
        return MB_YESNO;
    }
    return MB_OK;
}

DWORD fileDialogFlags(unsigned flags) {
    DWORD ofn = OFN_EXPLORER;
    if (flags & kFileHideReadOnly) ofn |= OFN_HIDEREADONLY;
    if (flags & kFilePathMustExist) ofn |= OFN_PATHMUSTEXIST;
    if (flags & kFileMustExist) ofn |= OFN_FILEMUSTEXIST;
    if (flags & kFileOverwritePrompt) ofn |= OFN_OVERWRITEPROMPT;
    return ofn;
}

// The application's title: its string-table entry, or as the classic
// toolkit has it without one, the program file's name.
std::string applicationTitle(const StringTable& strings) {
    std::string title = strings.load(kStringAppTitle);
    if (!title.empty()) return title;
    char path[MAX_PATH + 1] = {};
    std::string name(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    name = name.substr(name.find_last_of("\\/") + 1);
    return name.substr(0, name.rfind('.'));
}

}  // namespace

// The application's own box belongs to the window the user works in, as
// the classic toolkit's does, so that window waits for it.
void Win32Prompts::appMessage(const std::string& text) {
    MessageBoxA(GetActiveWindow(), text.c_str(), applicationTitle(strings_).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

MessageAnswer Win32Prompts::messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                       MessageButtons buttons) {
    int answer = MessageBoxA(nullptr, text.c_str(), caption.c_str(), iconStyle(icon) | buttonsStyle(buttons));
    // An OK-only box has no other answer; a box that could not be shown
    // never counts as consent.
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (buttons == MessageButtons::YesNo) return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
    return answer == IDOK ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

std::optional<FileChoice> Win32Prompts::chooseFile(const FileDialogRequest& request) {
    std::string filter = commonDialogFilter(request.filter);
    // Room beyond MAX_PATH: a longer path must reach the dialog, whose own
    // limit refuses it with a message, instead of failing here unseen.
    std::vector<char> file(kFileBuffer, '\0');
    // An initial name too long for the buffer would be cut; start empty.
    if (request.initialFileName.size() < file.size())
        request.initialFileName.copy(file.data(), request.initialFileName.size());

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.Flags = fileDialogFlags(request.flags);

    BOOL chosen = request.kind == FileDialogRequest::Save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) return std::nullopt;
    FileChoice choice;
    choice.path = file.data();
    choice.fileName = ofn.nFileOffset < choice.path.size() ? choice.path.substr(ofn.nFileOffset) : std::string();
    return choice;
}

int Win32Prompts::runModal(Dialog& dialog) { return runModalDialog(dialog, GetActiveWindow()); }

}  // namespace velmora
