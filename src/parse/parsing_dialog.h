#pragma once
// The "Parsing" window over a running engine: the data file's name, the
// share of it read, the records parsed so far, and "Cancel". It ends when
// the engine has ended: on its own, or after Cancel (Escape, the close box)
// asked it to stop, or after it was ended for sure because it did not.
#include <string>

#include "parse/running_engine.h"
#include "toolkit/dialog.h"

namespace velmora {

constexpr int kIdParsingFileName = 1101;
constexpr int kIdParsingBar = 1102;
constexpr int kIdParsingRecords = 1103;
constexpr int kIdParsingStatus = 1104;
constexpr int kIdParsingTimer = 1;

// How often the window looks at the engine, and how many looks after a
// Cancel the engine has to stop by itself before it is ended for sure.
constexpr int kParsingTickMilliseconds = 100;
constexpr int kParsingPatienceTicks = 30;

DialogDescription parsingDialogDescription();

class ParsingDialog : public Dialog {
public:
    ParsingDialog(Prompts& prompts, RunningEngine& engine, const std::string& dataFile);

    bool cancelled() const { return cancelled_; }

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    void tick();
    void cancel();
    void showProgress();

    RunningEngine& engine_;
    std::string dataFile_;
    bool cancelled_ = false;
    int ticksSinceCancel_ = 0;
    // What the window shows, as it opens.
    int shownPercent_ = 0;
    std::string shownRecords_ = "0";
};

}  // namespace velmora
