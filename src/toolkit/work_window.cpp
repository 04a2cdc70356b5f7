#include "src/toolkit/work_window.h"

#include <chrono>

namespace velmora {

namespace {

// Each tick works about this long, then lets the window draw and hear Cancel.
constexpr auto kTickWork = std::chrono::milliseconds(60);
constexpr int kTickMilliseconds = 10;

class WorkWindow : public ProgressWindow {
public:
    WorkWindow(Prompts& prompts, const ProgressTexts& texts, const std::string& subject, SteppedWork& work)
        : ProgressWindow(prompts, texts, subject, kTickMilliseconds), work_(work) {}

protected:
    void tick() override {
        if (over_) return;  // a timer message queued before the end
        const auto until = std::chrono::steady_clock::now() + kTickWork;
        do {
            over_ = work_.step();
        } while (!over_ && std::chrono::steady_clock::now() < until);
        showProgress(percentOf(work_.done(), work_.total()), work_.done());
        if (over_) endDialog(kIdOk);
    }
    // The work stops between slices: at once.
    void cancel() override {
        over_ = true;
        endDialog(kIdCancel);
    }

private:
    SteppedWork& work_;
    bool over_ = false;
};

}  // namespace

bool runSteppedWork(Prompts& prompts, SteppedWork& work, const ProgressTexts& texts, const std::string& subject,
                    int directSlices) {
    for (int slice = 0; slice < directSlices; ++slice)
        if (work.step()) return true;
    WorkWindow window(prompts, texts, subject, work);
    return prompts.runModal(window) == kIdOk;
}

}  // namespace velmora
