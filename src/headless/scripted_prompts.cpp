#include "src/headless/scripted_prompts.h"

#include "src/headless/headless_window.h"
#include "src/toolkit/dialog.h"

namespace velmora {

namespace {

const char* iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return "no icon";
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Error:
        return "error";
    case MessageIcon::Question:
        return "question";
    }
    return "?";
}

const char* buttonsName(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return "OK";
    case MessageButtons::OkCancel:
        return "OK and Cancel";
    case MessageButtons::YesNo:
        return "Yes and No";
    }
    return "?";
}

// The answer of a box that was not expected: never consent.
MessageAnswer refused(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

bool same(const PromptRecord& a, const PromptRecord& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case PromptRecord::AppMessage:
        return a.text == b.text;
    case PromptRecord::MessageBox:
        return a.text == b.text && a.caption == b.caption && a.icon == b.icon && a.buttons == b.buttons;
    case PromptRecord::FileDialog:
        return a.file.filter == b.file.filter;
    case PromptRecord::ModalDialog:
        return a.caption == b.caption;
    }
    return false;
}

}  // namespace

std::string describe(const PromptRecord& p) {
    switch (p.kind) {
    case PromptRecord::AppMessage:
        return "application message \"" + p.text + "\"";
    case PromptRecord::MessageBox:
        return std::string("message box \"") + p.text + "\", caption \"" + p.caption + "\", " + iconName(p.icon) +
               ", " + buttonsName(p.buttons);
    case PromptRecord::FileDialog:
        return std::string(p.file.kind == FileDialogRequest::Open ? "open" : "save") + " file dialog \"" +
               p.file.filter + "\"";
    case PromptRecord::ModalDialog:
        return "dialog \"" + p.caption + "\"";
    }
    return "?";
}

ScriptedPrompts& ScriptedPrompts::expectAppMessage(const std::string& text) {
    Expected e;
    e.prompt.kind = PromptRecord::AppMessage;
    e.prompt.text = text;
    e.prompt.caption = kAppTitle;
    e.prompt.icon = MessageIcon::Warning;
    expected_.push_back(e);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::expectMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                                                MessageButtons buttons, MessageAnswer answer) {
    Expected e;
    e.prompt.kind = PromptRecord::MessageBox;
    e.prompt.text = text;
    e.prompt.caption = caption;
    e.prompt.icon = icon;
    e.prompt.buttons = buttons;
    e.answer = answer;
    expected_.push_back(e);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::expectFileDialog(const std::string& filter, std::optional<FileChoice> answer) {
    Expected e;
    e.prompt.kind = PromptRecord::FileDialog;
    e.prompt.file.filter = filter;
    e.file = std::move(answer);
    expected_.push_back(e);
    return *this;
}

ScriptedPrompts& ScriptedPrompts::expectDialog(const std::string& caption, int result,
                                               std::function<void(HeadlessWindow&)> play) {
    Expected e;
    e.prompt.kind = PromptRecord::ModalDialog;
    e.prompt.caption = caption;
    e.result = result;
    e.play = std::move(play);
    expected_.push_back(e);
    return *this;
}

std::optional<ScriptedPrompts::Expected> ScriptedPrompts::take(const PromptRecord& prompt) {
    shown_.push_back(prompt);
    if (expected_.empty()) {
        failures_.push_back("unexpected " + describe(prompt));
        return std::nullopt;
    }
    Expected next = expected_.front();
    expected_.pop_front();
    if (!same(next.prompt, prompt)) {
        failures_.push_back("expected " + describe(next.prompt) + " but got " + describe(prompt));
        return std::nullopt;
    }
    return next;
}

void ScriptedPrompts::appMessage(const std::string& text) {
    PromptRecord p;
    p.kind = PromptRecord::AppMessage;
    p.text = text;
    p.caption = kAppTitle;
    p.icon = MessageIcon::Warning;
    take(p);
}

MessageAnswer ScriptedPrompts::messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                          MessageButtons buttons) {
    PromptRecord p;
    p.kind = PromptRecord::MessageBox;
    p.text = text;
    p.caption = caption;
    p.icon = icon;
    p.buttons = buttons;
    auto e = take(p);
    if (!e) return refused(buttons);
    // An OK-only box has no other answer.
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : e->answer;
}

std::optional<FileChoice> ScriptedPrompts::chooseFile(const FileDialogRequest& request) {
    PromptRecord p;
    p.kind = PromptRecord::FileDialog;
    p.file = request;
    auto e = take(p);
    if (!e) return std::nullopt;
    return e->file;
}

int ScriptedPrompts::runModal(Dialog& dialog) {
    PromptRecord p;
    p.kind = PromptRecord::ModalDialog;
    p.caption = dialog.description().caption;
    auto e = take(p);
    if (!e) return kIdCancel;
    HeadlessWindow window(dialog);
    window.open();
    if (e->play && !window.ended()) e->play(window);
    return window.ended() ? window.result() : e->result;
}

}  // namespace velmora
