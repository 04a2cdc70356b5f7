// The "Sentinels" dialog as the user meets it; runs on both hosts.
#include "src/editor/sentinels_dialog.h"
#include "src/editor/sentinels_dialog_description.h"
#include "tests/scenarios/scenario_fixture.h"

namespace velmora::test {
namespace {

const char* const kCaption = "Velmora Data Parser";
const char* const kIsoQuestion =
    "Sentinels do not follow ISO standards.  Press OK to keep, cancel to restore to standards";

// Edits in the order track 1 start, track 1 end, ... track 3 end.
const int kEdits[] = {kIdTrack1Start, kIdTrack1End, kIdTrack2Start, kIdTrack2End, kIdTrack3Start, kIdTrack3End};

class SentinelsScenario : public ScenarioTest {
protected:
    void open(const Sentinels& current = {}, int changeMode = 0) {
        // The host lets go of the previous dialog before it is destroyed.
        auto fresh =
            std::make_unique<SentinelsDialog>(prompts, current, changeMode == 1 ? EditMode::Change : EditMode::Append);
        host->open(*fresh);
        dialog = std::move(fresh);
    }
    void typeAll(const std::vector<std::string>& values) {
        for (int i = 0; i < kSentinelCount; ++i) host->type(kEdits[i], values[i]);
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (int id : kEdits) texts.push_back(host->text(id));
        return texts;
    }
    void expectWarning(const std::string& text) { prompts.expectMessage(text, kCaption, MessageIcon::Warning); }
    void expectIsoQuestion(MessageAnswer answer) {
        prompts.expectMessage(kIsoQuestion, kCaption, MessageIcon::Error, MessageButtons::OkCancel, answer);
    }

    std::unique_ptr<SentinelsDialog> dialog;
};

using Texts = std::vector<std::string>;
const Texts kIso = {"%", "?", ";", "?", "_;", "?"};

TEST_F(SentinelsScenario, NewFieldShowsTheIsoDefaultsInEveryEmptyPlace) {
    Sentinels current;
    current.track2Start = "#";
    open(current, 0);
    EXPECT_EQ(host->caption(), "Sentinels");
    EXPECT_EQ(shown(), (Texts{"%", "?", "#", "?", "_;", "?"}));
    EXPECT_EQ(host->focusedId(), kIdTrack1Start);
}

TEST_F(SentinelsScenario, ChangedFieldShowsExactlyWhatItHolds) {
    Sentinels current;
    current.track1Start = "%";
    current.track1End = "?";
    open(current, 1);
    EXPECT_EQ(shown(), (Texts{"%", "?", "", "", "", ""}));
}

TEST_F(SentinelsScenario, AllEmptyIsRefusedWithFocusOnTrack1Start) {
    open();
    typeAll({"", "", "", "", "", ""});
    expectWarning("Must enter sentinel values for at least one track");
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(host->focusedId(), kIdTrack1Start);
    EXPECT_EQ(shown(), (Texts{"", "", "", "", "", ""}));
}

TEST_F(SentinelsScenario, EachTrackNeedsBothSentinelsOrNeitherFirstRuleWins) {
    struct Case {
        Texts entries;
        const char* message;
        int focus;
    };
    const Case cases[] = {
        {{"%", "", "", "?", "", ""}, "Enter an end sentinel for Track 1", kIdTrack1End},
        {{"", "?", "", "", "", ""}, "Enter a start sentinel for Track 1", kIdTrack1Start},
        {{"%", "?", ";", "", "x", ""}, "Enter an end sentinel for Track 2", kIdTrack2End},
        {{"%", "?", "", "?", "", ""}, "Enter a start sentinel for Track 2", kIdTrack2Start},
        {{"%", "?", ";", "?", "_;", ""}, "Enter an end sentinel for Track 3", kIdTrack3End},
        {{"%", "?", ";", "?", "", "?"}, "Enter a start sentinel for Track 3", kIdTrack3Start},
        // The file cannot carry these; they are refused before the ISO question.
        {{"%", "?", ";", "?,", "", ""},
         "Enter an end sentinel for Track 2 without a comma or a double quote",
         kIdTrack2End},
        {{"%", "?", ";", "?", "\"", "?"},
         "Enter a start sentinel for Track 3 without a comma or a double quote",
         kIdTrack3Start},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        typeAll(c.entries);
        expectWarning(c.message);
        host->pressEnter();
        EXPECT_FALSE(host->ended());
        EXPECT_EQ(host->focusedId(), c.focus);
        EXPECT_EQ(shown(), c.entries);
    }
}

TEST_F(SentinelsScenario, StandardTracksOneAndTwoCloseWithoutAQuestion) {
    open();
    host->type(kIdTrack3Start, "");
    host->type(kIdTrack3End, "");
    host->click(kIdOk);
    ASSERT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdOk);
    EXPECT_EQ(dialog->sentinels().track3Start, "");
    EXPECT_EQ(dialog->sentinels().track1Start, "%");
}

TEST_F(SentinelsScenario, OnlyTrack3IsNotStandardAndOkKeepsIt) {
    open();
    typeAll({"", "", "", "", "_;", "?"});
    expectIsoQuestion(MessageAnswer::Ok);
    host->click(kIdOk);
    ASSERT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdOk);
    EXPECT_EQ(dialog->sentinels().track1Start, "");
    EXPECT_EQ(dialog->sentinels().track3Start, "_;");
}

TEST_F(SentinelsScenario, LeadingBlankIsNotStandardCancelRestoresAllThreeTracks) {
    open();
    typeAll({"%", "?", " ;", "?", "x", "y"});
    expectIsoQuestion(MessageAnswer::Cancel);
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(shown(), kIso);
    host->click(kIdOk);
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(dialog->sentinels(), isoSentinels());
}

TEST_F(SentinelsScenario, CancelToTheQuestionLeavesAnEmptyTrack3Empty) {
    open();
    typeAll({"A", "B", "C", "D", "", ""});
    expectIsoQuestion(MessageAnswer::Cancel);
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(shown(), (Texts{"%", "?", ";", "?", "", ""}));
}

TEST_F(SentinelsScenario, TypedValuesAreWhatOkHandsBack) {
    open();
    typeAll({"A", "B", "C", "D", "E", "F"});
    expectIsoQuestion(MessageAnswer::Ok);
    host->pressEnter();
    ASSERT_TRUE(host->ended());
    const Sentinels& s = dialog->sentinels();
    EXPECT_EQ((Texts{s.track1Start, s.track1End, s.track2Start, s.track2End, s.track3Start, s.track3End}),
              (Texts{"A", "B", "C", "D", "E", "F"}));
}

TEST_F(SentinelsScenario, ResetRestoresAllSixAndStaysOpen) {
    Sentinels current;
    open(current, 1);
    host->type(kIdTrack2End, "!");
    host->click(kIdResetSentinels);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(shown(), kIso);
    EXPECT_EQ(dialog->sentinels(), isoSentinels());
}

TEST_F(SentinelsScenario, CancelEscapeAndCloseBoxEndWithCancelWithoutAnyRule) {
    open();
    typeAll({"", "", "", "", "", ""});
    host->pressEscape();
    EXPECT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdCancel);

    open();
    host->click(kIdCancel);
    EXPECT_EQ(host->result(), kIdCancel);

    open();
    host->closeBox();
    EXPECT_EQ(host->result(), kIdCancel);
}

TEST_F(SentinelsScenario, HelpDoesNothing) {
    open();
    host->pressF1();
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(shown(), kIso);
}

}  // namespace
}  // namespace velmora::test
