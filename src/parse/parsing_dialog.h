#pragma once
// The "Parsing" window over a running engine: the data file's name, the
// share of it read, the records parsed so far, and "Cancel". It ends when
// the engine has ended: on its own, or after Cancel (Escape, the close box)
// asked it to stop, or after it was ended for sure because it did not.
#include <string>

#include "src/parse/running_engine.h"
#include "src/toolkit/progress_window.h"

namespace velmora {

constexpr int kIdParsingFileName = kIdProgressSubject;
constexpr int kIdParsingBar = kIdProgressBar;
constexpr int kIdParsingRecords = kIdProgressCount;
constexpr int kIdParsingStatus = kIdProgressStatus;
constexpr int kIdParsingTimer = kIdProgressTimer;

// How often the window looks at the engine, and how many looks after a
// Cancel the engine has to stop by itself before it is ended for sure.
constexpr int kParsingTickMilliseconds = 100;
constexpr int kParsingPatienceTicks = 30;

class ParsingDialog : public ProgressWindow {
public:
    ParsingDialog(Prompts& prompts, RunningEngine& engine, const std::string& dataFile);

    bool cancelled() const { return cancelled_; }

protected:
    EventResult onEvent(const DialogEvent& event) override;
    void tick() override;
    void cancel() override;

private:
    void showEngineProgress();

    RunningEngine& engine_;
    bool cancelled_ = false;
    int ticksSinceCancel_ = 0;
};

}  // namespace velmora
