#include "editor/configuration_file.h"

#include <gtest/gtest.h>

#include "config/config_format.h"
#include "config/config_test_support.h"
#include "headless/memory_file_system.h"

using namespace velmora;

namespace {
ParseConfiguration sample() {
    ParseConfiguration c;
    c.fixedLength = "80";
    velmora::test::addRow(c, velmora::test::field("A", "None", "", "None", "", "TEXT_FIELD"));
    return c;
}
const std::string kPath = "c:\\cfg\\bank.cfg";
}  // namespace

TEST(WriteConfigurationFile, WritesTheTextAndLeavesNoTemporaryFile) {
    MemoryFileSystem fs;
    fs.files[kPath] = "old";
    ASSERT_EQ(writeConfigurationFile(fs, kPath, sample()), SaveResult::Saved);
    EXPECT_EQ(fs.files[kPath], configurationText(sample()));
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_EQ(readLines(fs, kPath).front(), "fixedLength = 80");
}

TEST(WriteConfigurationFile, AFailedWriteKeepsTheOldFile) {
    MemoryFileSystem fs;
    fs.files[kPath] = "old";
    fs.writeLimit = 10;  // the disk fills part way
    EXPECT_EQ(writeConfigurationFile(fs, kPath, sample()), SaveResult::CannotWrite);
    EXPECT_EQ(fs.files[kPath], "old");
    EXPECT_EQ(fs.files.count(savingPathFor(kPath)), 0u);

    MemoryFileSystem locked;
    locked.files[kPath] = "old";
    locked.unwritable.insert(kPath);  // read-only target
    EXPECT_EQ(writeConfigurationFile(locked, kPath, sample()), SaveResult::CannotReplace);
    EXPECT_EQ(locked.files[kPath], "old");
    EXPECT_EQ(locked.files.count(savingPathFor(kPath)), 0u);
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
