#include "src/parse/parsing_dialog.h"

namespace velmora {

ParsingDialog::ParsingDialog(Prompts& prompts, RunningEngine& engine, const std::string& dataFile)
    : ProgressWindow(prompts, {"Parsing", "Data file:", "Records parsed:"}, dataFile, kParsingTickMilliseconds),
      engine_(engine) {}

EventResult ParsingDialog::onEvent(const DialogEvent& event) {
    EventResult result = ProgressWindow::onEvent(event);
    if (event.kind == DialogEvent::Init) showEngineProgress();
    return result;
}

void ParsingDialog::tick() {
    // A timer message may still be queued once the dialog has ended.
    if (engine_.ended()) return;
    bool ended = engine_.poll(0);
    showEngineProgress();
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
    showCancelling();
}

void ParsingDialog::showEngineProgress() {
    const auto& facts = engine_.progress();
    if (facts) showProgress(percentOf(facts->bytesRead, facts->totalBytes), facts->records);
}

}  // namespace velmora
