// The wait for the engine on the headless host: a short run shows no
// window; a longer one shows "Parsing", which follows the engine's progress
// lines and ends with it; Cancel asks the engine to stop, then ends it for
// sure. Time passes only on the scripted processes' clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "src/headless/headless_window.h"
#include "src/headless/scripted_processes.h"
#include "src/headless/scripted_prompts.h"
#include "src/parse/engine_wait.h"
#include "src/parse/parsing_dialog.h"

namespace velmora::test {
namespace {

using End = ScriptedProcesses::End;

class EngineWaitTest : public ::testing::Test {
protected:
    void SetUp() override {
        processes.program = [this](const std::string&) { ++programEffects; };
    }
    void TearDown() override {
        for (const auto& f : prompts.failures()) ADD_FAILURE() << f;
        EXPECT_EQ(prompts.pending(), 0u) << "expected prompts not shown";
        EXPECT_EQ(processes.openHandleCount(), 0u);
    }
    EngineEnd run() { return runEngine(prompts, processes, "ParseTarn.exe -o x ", "E:\\in\\card & co.dat"); }
    // The window's timer elapses after `milliseconds` more of the engine's time.
    void later(HeadlessWindow& w, unsigned milliseconds) {
        processes.pass(milliseconds);
        w.elapse(kIdParsingTimer);
    }
    bool terminated() const {
        return std::count_if(processes.log.begin(), processes.log.end(),
                             [](const std::string& line) { return line.rfind("terminate", 0) == 0; }) > 0;
    }

    ScriptedPrompts prompts;
    ScriptedProcesses processes;
    int programEffects = 0;
};

TEST_F(EngineWaitTest, ARunThatEndsWithinTheQuietTimeShowsNoWindow) {
    processes.endsAfter = kQuietMilliseconds - 50;
    EXPECT_EQ(run(), EngineEnd::Ended);
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_EQ(programEffects, 1);

    processes.failStart = true;
    EXPECT_EQ(run(), EngineEnd::NotStarted);
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(EngineWaitTest, TheWindowFollowsTheProgressLinesAndEndsWithTheEngine) {
    processes.endsAfter = 3000;
    processes.output = {{1000, "Progress: 250 of 1000 bytes, 12 records\r\n"},
                        {1900, "ParseTarn: not a progress line\r\nProgress: 5"},
                        {2100, "00 of 1000 bytes, 30 records\r\n"},
                        {2200, "Progress: 999 of 0 bytes, 31 records\r\n"}};
    prompts.expectDialog("Parsing", kIdCancel, [this](HeadlessWindow& w) {
        EXPECT_EQ(w.text(kIdParsingFileName), "card & co.dat");
        EXPECT_EQ(w.progress(kIdParsingBar), 0);
        EXPECT_EQ(w.text(kIdParsingRecords), "0");
        EXPECT_EQ(w.focusedId(), kIdCancel);
        later(w, 500);
        EXPECT_EQ(w.progress(kIdParsingBar), 25);
        EXPECT_EQ(w.text(kIdParsingRecords), "12");
        later(w, 1000);  // half a line so far
        EXPECT_EQ(w.text(kIdParsingRecords), "12");
        later(w, 150);
        EXPECT_EQ(w.progress(kIdParsingBar), 50);
        EXPECT_EQ(w.text(kIdParsingRecords), "30");
        later(w, 100);  // a data file whose size was not known
        EXPECT_EQ(w.progress(kIdParsingBar), 0);
        EXPECT_EQ(w.text(kIdParsingRecords), "31");
        w.setFocus(kIdParsingBar);  // Enter away from Cancel confirms nothing
        w.pressEnter();
        w.pressF1();
        EXPECT_FALSE(w.ended());
        later(w, 1000);
        EXPECT_TRUE(w.ended());
        EXPECT_EQ(w.result(), kIdOk);
    });
    EXPECT_EQ(run(), EngineEnd::Ended);
    EXPECT_EQ(processes.lastEnd(), End::OnItsOwn);
    EXPECT_EQ(programEffects, 1);
}

TEST_F(EngineWaitTest, CancelEscapeAndTheCloseBoxAskTheEngineToStopAndWaitForIt) {
    const std::vector<std::function<void(HeadlessWindow&)>> cancels = {
        [](HeadlessWindow& w) { w.click(kIdCancel); },
        [](HeadlessWindow& w) { w.pressEscape(); },
        [](HeadlessWindow& w) { w.closeBox(); },
    };
    processes.endsAfter = std::nullopt;
    for (const auto& cancel : cancels) {
        prompts.expectDialog("Parsing", kIdOk, [&](HeadlessWindow& w) {
            later(w, 1000);
            cancel(w);
            EXPECT_FALSE(w.isEnabled(kIdCancel));
            EXPECT_EQ(w.text(kIdParsingStatus), "Cancelling...");
            EXPECT_FALSE(w.ended());  // until the engine has ended
            later(w, 100);
            EXPECT_TRUE(w.ended());
            EXPECT_EQ(w.result(), kIdCancel);
        });
        EXPECT_EQ(run(), EngineEnd::Cancelled);
        EXPECT_EQ(processes.lastEnd(), End::OutputClosed);
    }
    EXPECT_FALSE(terminated());
    EXPECT_EQ(programEffects, 0);
}

TEST_F(EngineWaitTest, AnEngineThatDoesNotStopIsEndedForSureAfterAWhile) {
    processes.endsAfter = std::nullopt;
    processes.stopsWhenOutputCloses = false;
    prompts.expectDialog("Parsing", kIdOk, [this](HeadlessWindow& w) {
        w.click(kIdCancel);
        for (int tick = 1; tick < kParsingPatienceTicks; ++tick) later(w, kParsingTickMilliseconds);
        w.pressEscape();  // a second Cancel changes nothing
        EXPECT_FALSE(terminated());
        later(w, kParsingTickMilliseconds);
        EXPECT_TRUE(terminated());
        EXPECT_FALSE(w.ended());
        later(w, kParsingTickMilliseconds);
        EXPECT_EQ(w.result(), kIdCancel);
    });
    EXPECT_EQ(run(), EngineEnd::Cancelled);
    EXPECT_EQ(processes.lastEnd(), End::Terminated);
}

TEST_F(EngineWaitTest, AWindowThatCouldNotBeShownLeavesTheWaitWithoutOne) {
    processes.endsAfter = 60000;
    prompts.expectDialog("Parsing", kDialogFailed);
    EXPECT_EQ(run(), EngineEnd::Ended);
    EXPECT_EQ(programEffects, 1);
}

}  // namespace
}  // namespace velmora::test
