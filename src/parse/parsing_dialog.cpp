#include "parse/parsing_dialog.h"

#include "config/path_parts.h"

namespace velmora {

namespace {

int percentRead(const ProgressFacts& facts) {
    if (facts.totalBytes == 0) return 0;  // an empty file, or a size not known
    if (facts.bytesRead >= facts.totalBytes) return 100;
    return static_cast<int>(static_cast<double>(facts.bytesRead) * 100.0 / static_cast<double>(facts.totalBytes));
}

}  // namespace

DialogDescription parsingDialogDescription() {
    DialogDescription d;
    d.caption = "Parsing";
    d.cx = 230;
    d.cy = 84;
    using K = ControlKind;
    auto noPrefix = [](ControlDescription c) {
        c.noPrefix = true;
        return c;
    };
    d.controls = {
        {kIdStatic, K::Label, "Data file:", 7, 9, 40, 8},
        noPrefix({kIdParsingFileName, K::Label, "", 50, 9, 173, 8}),  // an '&' in the name shows as it is
        {kIdParsingBar, K::ProgressBar, "", 7, 24, 216, 12},
        {kIdStatic, K::Label, "Records parsed:", 7, 44, 60, 8},
        {kIdParsingRecords, K::Label, "0", 70, 44, 100, 8},
        {kIdParsingStatus, K::Label, "", 7, 65, 150, 8},
        {kIdCancel, K::PushButton, "Cancel", 173, 62, 50, 14},
    };
    return d;
}

ParsingDialog::ParsingDialog(Prompts& prompts, RunningEngine& engine, const std::string& dataFile)
    : Dialog(parsingDialogDescription(), prompts), engine_(engine), dataFile_(dataFile) {}

EventResult ParsingDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init: {
        PathParts parts = splitPath(dataFile_);
        controls().setText(kIdParsingFileName, parts.name + parts.extension);
        controls().startTimer(kIdParsingTimer, kParsingTickMilliseconds);
        showProgress();
        return EventResult::Handled;
    }
    case DialogEvent::Timer:
        if (event.id == kIdParsingTimer) tick();
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

void ParsingDialog::tick() {
    // A timer message may still be queued once the dialog has ended.
    if (engine_.ended()) return;
    bool ended = engine_.poll(0);
    showProgress();
    if (ended) {
        endDialog(cancelled_ ? kIdCancel : kIdOk);
        return;
    }
    if (cancelled_ && ++ticksSinceCancel_ == kParsingPatienceTicks) engine_.terminate();
}

void ParsingDialog::cancel() {
    if (cancelled_ || engine_.ended()) return;
    cancelled_ = true;
    engine_.askToStop();
    controls().enable(kIdCancel, false);
    controls().setText(kIdParsingStatus, "Cancelling...");
}

// Only what changed is set again, so the window does not flicker.
void ParsingDialog::showProgress() {
    const auto& facts = engine_.progress();
    if (!facts) return;
    int percent = percentRead(*facts);
    std::string records = std::to_string(facts->records);
    if (percent != shownPercent_) controls().setProgress(kIdParsingBar, percent);
    if (records != shownRecords_) controls().setText(kIdParsingRecords, records);
    shownPercent_ = percent;
    shownRecords_ = records;
}

}  // namespace velmora
