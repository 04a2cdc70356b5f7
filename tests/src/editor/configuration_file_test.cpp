#include "src/editor/configuration_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "format/config/config_format.h"
#include "src/headless/memory_file_system.h"
#include "tests/support/configurations.h"

namespace velmora::test {

namespace {
ParseConfiguration sample() {
    ParseConfiguration c;
    c.fixedLength = "80";
    addRow(c, field("A", "None", "", "None", "", "TEXT_FIELD"));
    return c;
}
const std::string kPath = "c:\\cfg\\bank.cfg";
}  // namespace

TEST(WriteConfigurationFile, ReplacesTheOldFileThroughANewNameBesideIt) {
    MemoryFileSystem fs;
    fs.files[kPath] = "old";
    fs.files["c:\\cfg\\~vdp0000.tmp"] = "the operator's own";
    ASSERT_EQ(writeConfigurationFile(fs, kPath, sample()).result, SaveResult::Saved);
    EXPECT_EQ(fs.files[kPath], configurationText(sample()));
    EXPECT_EQ(fs.files["c:\\cfg\\~vdp0000.tmp"], "the operator's own");
    EXPECT_EQ(fs.files.size(), 2u);
    EXPECT_EQ(readLines(fs, kPath).front(), "fixedLength = 80");
    EXPECT_EQ(createFileBeside(fs, "bank.cfg"), "~vdp0000.tmp");
}

// Every failure is reported, and the old file survives it whenever a file
// could be made beside it; nothing of the attempt is left behind.
TEST(WriteConfigurationFile, FailuresKeepTheOldFileOrSaySoAndLeaveNoTemporaryFile) {
    const std::string text = configurationText(sample());
    struct Case {
        const char* what;
        std::function<void(MemoryFileSystem&)> arrange;
        SaveResult result;
        std::string left;  // the file at kPath afterwards; "-" for none
    };
    const Case cases[] = {
        {"a full disk", [](MemoryFileSystem& fs) { fs.writeLimit = 10; }, SaveResult::CannotWrite, "old"},
        {"a read-only file", [](MemoryFileSystem& fs) { fs.unwritable.insert(kPath); }, SaveResult::CannotReplace,
         "old"},
        {"held open, sharing writing but not deleting: written in place",
         [](MemoryFileSystem& fs) { fs.undeletable.insert(kPath); }, SaveResult::Saved, text},
        {"held open, and writing over it fails: the old text put back",
         [](MemoryFileSystem& fs) {
             fs.undeletable.insert(kPath);
             fs.writeErrorAt[kPath] = 5;
         },
         SaveResult::CannotReplace, "old"},
        {"no file beside it: written in place", [](MemoryFileSystem& fs) { fs.failFileCreation = true; },
         SaveResult::Saved, text},
        {"in place on a full disk, the old text put back",
         [](MemoryFileSystem& fs) {
             fs.failFileCreation = true;
             fs.writeLimit = 10;
         },
         SaveResult::InPlaceFailed, "old"},
        {"in place, and the old text does not fit back",
         [](MemoryFileSystem& fs) {
             fs.failFileCreation = true;
             fs.files[kPath] = "the earlier and longer text";
             fs.writeLimit = 10;
         },
         SaveResult::InPlaceDamaged, "the earlie"},
        {"no file beside it, and the old text cannot be read to put it back",
         [](MemoryFileSystem& fs) {
             fs.failFileCreation = true;
             fs.unreadable.insert(kPath);
         },
         SaveResult::CannotWrite, "old"},
        {"no file beside it and none there",
         [](MemoryFileSystem& fs) {
             fs.failFileCreation = true;
             fs.files.erase(kPath);
         },
         SaveResult::CannotWrite, "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFileSystem fs;
        fs.files[kPath] = "old";
        c.arrange(fs);
        EXPECT_EQ(writeConfigurationFile(fs, kPath, sample()).result, c.result);
        EXPECT_EQ(fs.files.count(kPath) ? fs.files[kPath] : "-", c.left);
        EXPECT_LE(fs.files.size(), 1u);
    }

    // A replace that moved the old file away before failing: the new text
    // is the only configuration left, and stays where it is.
    MemoryFileSystem lost;
    lost.files[kPath] = "old";
    lost.replaceLosesTarget = true;
    SaveOutcome outcome = writeConfigurationFile(lost, kPath, sample());
    EXPECT_EQ(outcome.result, SaveResult::LeftBeside);
    EXPECT_EQ(outcome.leftAt, "c:\\cfg\\~vdp0000.tmp");
    EXPECT_EQ(lost.files[outcome.leftAt], text);
    // So does one that could not take the place of a file it then damaged.
    MemoryFileSystem held;
    held.files[kPath] = "the earlier and longer text";
    held.undeletable.insert(kPath);
    held.writeErrorAt[kPath] = 10;
    outcome = writeConfigurationFile(held, kPath, sample());
    EXPECT_EQ(outcome.result, SaveResult::InPlaceDamaged);
    EXPECT_EQ(held.files[outcome.leftAt], text);
}

TEST(ReadLines, NoLinesWhenUnopenableAndTheWholeLinesBeforeAReadError) {
    MemoryFileSystem fs;
    EXPECT_TRUE(readLines(fs, "c:\\missing.cfg").empty());
    fs.files["c:\\x.cfg"] = "a\r\nb";
    fs.unreadable.insert("c:\\x.cfg");
    EXPECT_TRUE(readLines(fs, "c:\\x.cfg").empty());

    fs.files["c:\\y.cfg"] = "fixedLength = 80\r\nfieldsInOrder = 1\r\nfieldDefs = (\r\n";
    fs.readErrorAt["c:\\y.cfg"] = 25;  // in the second line
    EXPECT_EQ(readLines(fs, "c:\\y.cfg"), std::vector<std::string>{"fixedLength = 80"});
    fs.readErrorAt["c:\\y.cfg"] = 5;
    EXPECT_TRUE(readLines(fs, "c:\\y.cfg").empty());
}

}  // namespace velmora::test
