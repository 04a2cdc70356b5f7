#include <gtest/gtest.h>

#include "src/parse/engine_command_line.h"

namespace velmora::test {
namespace {

TEST(EngineCommandLineTest, InstallFolderWithItsBackslash) {
    EXPECT_EQ(buildEngineCommandLine("D:\\Tools\\", "E:\\in\\batch.dat", "E:\\cfg\\bank.cfg"),
              "\"D:\\Tools\\ParseTarn.exe\" -o c:\\temp\\parseResults.txt "
              "\"E:\\in\\batch.dat\" \"E:\\cfg\\bank.cfg\" ");
}

TEST(EngineCommandLineTest, FolderWithBlanksIsOneQuotedProgramPath) {
    EXPECT_EQ(buildEngineCommandLine("C:\\Program Files\\Velmora\\", "a b.dat", "c d.cfg"),
              "\"C:\\Program Files\\Velmora\\ParseTarn.exe\" -o c:\\temp\\parseResults.txt "
              "\"a b.dat\" \"c d.cfg\" ");
}

TEST(EngineCommandLineTest, FolderWithoutItsFinalSeparatorGetsABackslash) {
    EXPECT_EQ(buildEngineCommandLine("D:\\Tools", "x.dat", "y.cfg"),
              "\"D:\\Tools\\ParseTarn.exe\" -o c:\\temp\\parseResults.txt \"x.dat\" \"y.cfg\" ");
    EXPECT_EQ(buildEngineCommandLine("D:/Tools/", "x.dat", "y.cfg"),
              "\"D:/Tools/ParseTarn.exe\" -o c:\\temp\\parseResults.txt \"x.dat\" \"y.cfg\" ");
}

TEST(EngineCommandLineTest, MissingFolderLeavesTheBareEngineNameForTheProgramSearch) {
    EXPECT_EQ(buildEngineCommandLine("", "x.dat", "y.cfg"),
              "ParseTarn.exe -o c:\\temp\\parseResults.txt \"x.dat\" \"y.cfg\" ");
}

TEST(EngineCommandLineTest, PathsAreNotEscaped) {
    EXPECT_EQ(buildEngineCommandLine("", "a\"b.dat", ""),
              "ParseTarn.exe -o c:\\temp\\parseResults.txt \"a\"b.dat\" \"\" ");
}

}  // namespace
}  // namespace velmora::test
