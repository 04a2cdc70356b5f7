#pragma once
// Prompts answered by a script that the test supplies in advance. Every
// prompt shown is recorded; a prompt that differs from the next expected
// one, or comes when none is expected, is recorded as a failure and
// answered with Cancel (or no file, or kIdCancel) so that nothing goes on
// on a wrong answer. Tests check failures() and pending() when done.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "src/toolkit/dialog_description.h"
#include "src/toolkit/prompts.h"

namespace velmora {

class HeadlessWindow;

struct PromptRecord {
    enum Kind { AppMessage, MessageBox, FileDialog, ModalDialog };
    Kind kind = MessageBox;
    std::string text;     // message text; empty for the others
    std::string caption;  // message caption, or the dialog's caption
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    FileDialogRequest file;  // FileDialog only
};

class ScriptedPrompts : public Prompts {
public:
    // The application's message box (caption kAppTitle, OK, exclamation).
    ScriptedPrompts& expectAppMessage(const std::string& text);
    ScriptedPrompts& expectMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                                   MessageButtons buttons = MessageButtons::Ok,
                                   MessageAnswer answer = MessageAnswer::Ok);
    // A file dialog with exactly this filter; `answer` nothing = cancelled.
    ScriptedPrompts& expectFileDialog(const std::string& filter, std::optional<FileChoice> answer);
    // A modal dialog with this caption. It is opened in memory; `play`, when
    // given, acts on it as the user would. Its result is the one it ended
    // with, or `result` when it is still open after `play`.
    ScriptedPrompts& expectDialog(const std::string& caption, int result,
                                  std::function<void(HeadlessWindow&)> play = {});

    const std::vector<PromptRecord>& shown() const { return shown_; }
    const std::vector<std::string>& failures() const { return failures_; }
    // Expected prompts that have not been shown.
    std::size_t pending() const { return expected_.size(); }

    void appMessage(const std::string& text) override;
    MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override;
    int runModal(Dialog& dialog) override;

private:
    struct Expected {
        PromptRecord prompt;
        MessageAnswer answer = MessageAnswer::Ok;
        std::optional<FileChoice> file;
        int result = kIdCancel;
        std::function<void(HeadlessWindow&)> play;
    };
    // The next expectation when it matches `shown`, else a recorded failure.
    std::optional<Expected> take(const PromptRecord& shown);

    std::deque<Expected> expected_;
    std::vector<PromptRecord> shown_;
    std::vector<std::string> failures_;
};

// A prompt as one line of text, for failure messages.
std::string describe(const PromptRecord& prompt);

}  // namespace velmora
