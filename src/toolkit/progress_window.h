#pragma once
// The window over a long piece of work: what it works on, the share done,
// a count, and "Cancel" (Escape and the close box too). The work runs in
// the window's timer ticks, so the window stays drawn and Cancel is heard
// between them. The "Parsing" window over a running engine is one; the
// Results' "Finding" and "Exporting" are others.
#include <cstdint>
#include <string>

#include "src/toolkit/dialog.h"

namespace velmora {

constexpr int kIdProgressSubject = 1101;
constexpr int kIdProgressBar = 1102;
constexpr int kIdProgressCount = 1103;
constexpr int kIdProgressStatus = 1104;
constexpr int kIdProgressTimer = 1;

struct ProgressTexts {
    std::string caption;       // "Parsing"
    std::string subjectLabel;  // "Data file:"
    std::string countLabel;    // "Records parsed:"
};

DialogDescription progressWindowDescription(const ProgressTexts& texts);

class ProgressWindow : public Dialog {
public:
    // `subject` is a path; the window shows its file name.
    ProgressWindow(Prompts& prompts, const ProgressTexts& texts, const std::string& subject, int tickMilliseconds);

protected:
    EventResult onEvent(const DialogEvent& event) override;
    // A tick of the timer: some work, then showProgress, and endDialog once done.
    virtual void tick() = 0;
    // Cancel, Escape or the close box.
    virtual void cancel() = 0;

    // Sets only what changed, so the window does not flicker.
    void showProgress(int percent, std::uint64_t count);
    // Cancel greyed and "Cancelling..." while the work stops.
    void showCancelling();

private:
    std::string subject_;
    int tickMilliseconds_;
    // What the window shows, as it opens.
    int shownPercent_ = 0;
    std::string shownCount_ = "0";
};

// The share of `done` in `total`, 0 to 100; 0 when the total is not known.
int percentOf(std::uint64_t done, std::uint64_t total);

}  // namespace velmora
