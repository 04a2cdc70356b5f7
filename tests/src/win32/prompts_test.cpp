// The prompts on real windows: message boxes, the open and save dialogs
// and a dialog run modally, answered through a hook as a user would.
#include <gtest/gtest.h>

#include "src/headless/memory_string_table.h"
#include "src/parse/database_exists_dialog.h"
#include "tests/support/test_files.h"
#include "src/win32/file_dialog_filter.h"
#include "src/win32/win32_prompts.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

class PromptsTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& box : answerer.unexpected()) ADD_FAILURE() << "unexpected " << box;
        EXPECT_EQ(answerer.pending(), 0u) << "answers left unused";
    }

    PromptsTest() { strings.strings[kStringAppTitle] = "Velmora Data Parser"; }

    MemoryStringTable strings;
    Win32Prompts prompts{strings};
    BoxAnswerer answerer;
};

TEST_F(PromptsTest, MessageBoxesShowTheirCaptionTextIconAndButtons) {
    answerer.press(IDOK).press(IDCANCEL).press(IDOK).press(IDOK).press(IDOK).press(IDOK);
    EXPECT_EQ(prompts.messageBox("Sentinels do not follow ISO standards.", "Velmora Data Parser", MessageIcon::Error,
                                 MessageButtons::OkCancel),
              MessageAnswer::Ok);
    EXPECT_EQ(prompts.messageBox("Second", "Velmora Data parser", MessageIcon::Error, MessageButtons::OkCancel),
              MessageAnswer::Cancel);
    EXPECT_EQ(prompts.messageBox("12 records parsed\n", "Velmora Data Parser", MessageIcon::None, MessageButtons::Ok),
              MessageAnswer::Ok);
    prompts.appMessage("Please select a data file");
    // The application's caption is its string 57344, or without one the
    // program's name, as the classic toolkit has it.
    strings.strings[kStringAppTitle] = "Tarn";
    prompts.appMessage("Please select a data file");
    strings.strings.clear();
    prompts.appMessage("Please select a data file");

    const auto& seen = answerer.seen();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].caption, "Velmora Data Parser");
    EXPECT_EQ(seen[0].text, "Sentinels do not follow ISO standards.");
    EXPECT_EQ(seen[0].icon, MessageIcon::Error);
    EXPECT_TRUE(seen[0].hasCancel);
    EXPECT_EQ(seen[1].caption, "Velmora Data parser");
    EXPECT_EQ(seen[2].text, "12 records parsed\n");
    EXPECT_EQ(seen[2].icon, MessageIcon::None);
    EXPECT_FALSE(seen[2].hasCancel);
    EXPECT_EQ(seen[3].caption, "Velmora Data Parser");
    EXPECT_EQ(seen[3].text, "Please select a data file");
    EXPECT_EQ(seen[3].icon, MessageIcon::Warning);
    EXPECT_EQ(seen[4].caption, "Tarn");
    EXPECT_EQ(seen[5].caption, "win32_tests");
}

TEST_F(PromptsTest, WarningIconAndAnOkBoxClosedWithEscapeStillAnswersOk) {
    answerer.press(IDCANCEL);
    EXPECT_EQ(prompts.messageBox("Error opening results file", "Velmora Data Parser", MessageIcon::Warning,
                                 MessageButtons::Ok),
              MessageAnswer::Ok);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].icon, MessageIcon::Warning);
}

TEST_F(PromptsTest, AQuestionAnswersYesOrNo) {
    answerer.press(IDYES).press(IDNO);
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No})
        EXPECT_EQ(prompts.messageBox("Replace?", "Velmora Data Parser", MessageIcon::Question, MessageButtons::YesNo),
                  answer);
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].icon, MessageIcon::Question);
}

TEST_F(PromptsTest, AnotherDialogRunsModallyWithTheResultItEndsWith) {
    answerer.press(kIdOverwrite).press(IDCANCEL);
    DatabaseExistsDialog overwrite(prompts);
    EXPECT_EQ(prompts.runModal(overwrite), kIdOk);
    DatabaseExistsDialog cancel(prompts);
    EXPECT_EQ(prompts.runModal(cancel), kIdCancel);
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].caption, "Database Exists");
    EXPECT_EQ(answerer.seen()[0].text, "Database already exists.  What would you like to do?");
}

TEST_F(PromptsTest, OpenDialogReturnsTheChosenPathAndNameCancelReturnsNothing) {
    ScratchFolder folder("velmora open");
    folder.write("bank.cfg", "x");
    answerer.chooseFile(folder.path("bank.cfg")).press(IDCANCEL);
    FileDialogRequest request;
    request.filter = "Configuration files (*.cfg)|*.cfg||";
    request.defaultExtension = "cfg";
    request.flags = kFileHideReadOnly | kFilePathMustExist | kFileMustExist;
    request.initialFolder = folder.path();
    auto choice = prompts.chooseFile(request);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->path, folder.path("bank.cfg"));
    EXPECT_EQ(choice->fileName, "bank.cfg");
    EXPECT_FALSE(prompts.chooseFile(request));
}

TEST_F(PromptsTest, SaveDialogAddsTheDefaultExtension) {
    ScratchFolder folder("velmora save");
    answerer.chooseFile(folder.path("new"));
    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.filter = "Configuration files (*.cfg)|*.cfg||";
    request.defaultExtension = "cfg";
    request.flags = kFileHideReadOnly | kFileOverwritePrompt;
    auto choice = prompts.chooseFile(request);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->path, folder.path("new.cfg"));
    EXPECT_EQ(choice->fileName, "new.cfg");
}

TEST(FileDialogFilterTest, BarsBecomeZerosAndTheListAlwaysEndsWithTwo) {
    using namespace std::string_literals;
    EXPECT_EQ(commonDialogFilter("Data files (*.dat)|*.dat|All Files (*.*)|*.*||"),
              "Data files (*.dat)\0*.dat\0All Files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(commonDialogFilter("Configuration files (*.cfg)|*.cfg"), "Configuration files (*.cfg)\0*.cfg\0\0"s);
    EXPECT_EQ(commonDialogFilter("Text|*.txt|"), "Text\0*.txt\0\0"s);
}

}  // namespace
}  // namespace velmora::test
