#include "src/toolkit/progress_window.h"

#include "format/config/path_parts.h"

namespace velmora {

DialogDescription progressWindowDescription(const ProgressTexts& texts) {
    DialogDescription d;
    d.caption = texts.caption;
    d.cx = 230;
    d.cy = 84;
    using K = ControlKind;
    auto noPrefix = [](ControlDescription c) {
        c.noPrefix = true;
        return c;
    };
    d.controls = {
        {kIdStatic, K::Label, texts.subjectLabel, 7, 9, 40, 8},
        noPrefix({kIdProgressSubject, K::Label, "", 50, 9, 173, 8}),  // an '&' in the name shows as it is
        {kIdProgressBar, K::ProgressBar, "", 7, 24, 216, 12},
        {kIdStatic, K::Label, texts.countLabel, 7, 44, 60, 8},
        {kIdProgressCount, K::Label, "0", 70, 44, 100, 8},
        {kIdProgressStatus, K::Label, "", 7, 65, 150, 8},
        {kIdCancel, K::PushButton, "Cancel", 173, 62, 50, 14},
    };
    return d;
}

int percentOf(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return 0;
    if (done >= total) return 100;
    return static_cast<int>(static_cast<double>(done) * 100.0 / static_cast<double>(total));
}

ProgressWindow::ProgressWindow(Prompts& prompts, const ProgressTexts& texts, const std::string& subject,
                               int tickMilliseconds)
    : Dialog(progressWindowDescription(texts), prompts), subject_(subject), tickMilliseconds_(tickMilliseconds) {}

EventResult ProgressWindow::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init: {
        PathParts parts = splitPath(subject_);
        controls().setText(kIdProgressSubject, parts.name + parts.extension);
        controls().startTimer(kIdProgressTimer, tickMilliseconds_);
        return EventResult::Handled;
    }
    case DialogEvent::Timer:
        if (event.id == kIdProgressTimer) tick();
        return EventResult::Handled;
    case DialogEvent::Cancel:
        cancel();
        return EventResult::Handled;
    case DialogEvent::Ok:  // Enter: there is nothing to confirm
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;
    }
}

void ProgressWindow::showProgress(int percent, std::uint64_t count) {
    std::string text = std::to_string(count);
    if (percent != shownPercent_) controls().setProgress(kIdProgressBar, percent);
    if (text != shownCount_) controls().setText(kIdProgressCount, text);
    shownPercent_ = percent;
    shownCount_ = text;
}

void ProgressWindow::showCancelling() {
    controls().enable(kIdCancel, false);
    controls().setText(kIdProgressStatus, "Cancelling...");
}

}  // namespace velmora
