// The operating system's services on the real registry, real files and
// folders and a real child process.
#include <gtest/gtest.h>

#include "parse/registry_string.h"
#include "win32/win32_file_system.h"
#include "win32/win32_processes.h"
#include "win32/win32_registry.h"
#include "win32/win32_test_support.h"

namespace velmora {
namespace {

using testing::ScratchFolder;

const std::string kTestKey = "Software\\Velmora\\Win32Tests";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey.c_str());
        HKEY key = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        const char text[] = "C:\\Program Files\\Tarn\\";
        RegSetValueExA(key, "InstallDirectory", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
        const BYTE raw[] = {'a', 0, 'b'};
        RegSetValueExA(key, "Raw", 0, REG_BINARY, raw, sizeof(raw));
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey.c_str()); }

    Win32Registry registry;
    RegistryKey user = rootKey(RegistryRoot::CurrentUser);
};

TEST_F(RegistryTest, ReadsATextValueInTwoStepsWithItsTerminatingZero) {
    RegistryKey key = registry.openKey(user, kTestKey, RegistryAccess::Read);
    ASSERT_NE(key, kNoKey);
    auto size = registry.queryValueSize(key, "InstallDirectory");
    ASSERT_TRUE(size);
    auto value = registry.queryValue(key, "InstallDirectory", *size);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, std::string("C:\\Program Files\\Tarn\\") + '\0');
    EXPECT_EQ(registry.queryValue(key, "Raw", 3), std::string("a\0b", 3));
    // Too small a buffer gives nothing, never a cut value.
    EXPECT_FALSE(registry.queryValue(key, "InstallDirectory", 4));
    EXPECT_FALSE(registry.queryValueSize(key, "Missing"));
    registry.closeKey(key);
    // A closed key is no key any more.
    EXPECT_FALSE(registry.queryValueSize(key, "InstallDirectory"));
}

TEST_F(RegistryTest, OpenFailsOnAMissingKeyCreateMakesItAndOpensAnExistingOne) {
    EXPECT_EQ(registry.openKey(user, kTestKey + "\\New", RegistryAccess::Read), kNoKey);
    RegistryKey created = registry.createKey(user, kTestKey + "\\New\\Settings", RegistryAccess::AllAccess);
    ASSERT_NE(created, kNoKey);
    registry.closeKey(created);
    RegistryKey again = registry.createKey(user, kTestKey + "\\New\\Settings", RegistryAccess::Read);
    EXPECT_NE(again, kNoKey);
    RegistryKey parent = registry.openKey(user, kTestKey, RegistryAccess::Read);
    RegistryKey child = registry.openKey(parent, "New\\Settings", RegistryAccess::Read);
    EXPECT_NE(child, kNoKey);
    EXPECT_NE(child, again);
    for (RegistryKey k : {again, parent, child}) registry.closeKey(k);
    EXPECT_EQ(registry.openKey(kNoKey, kTestKey, RegistryAccess::Read), kNoKey);
}

TEST_F(RegistryTest, WritesATextValueOnlyThroughAKeyOpenedForWriting) {
    RegistryKey reading = registry.openKey(user, kTestKey, RegistryAccess::Read);
    EXPECT_FALSE(registry.writeString(reading, "Sample", "x"));
    registry.closeKey(reading);
    RegistryKey key = registry.createKey(user, kTestKey, RegistryAccess::Write);
    ASSERT_NE(key, kNoKey);
    EXPECT_TRUE(registry.writeString(key, "Sample", "D:\\cards 1.dat"));
    registry.closeKey(key);
    EXPECT_EQ(readRegistryString(registry, "HKEY_CURRENT_USER\\" + kTestKey + "\\Sample"), "D:\\cards 1.dat");
}

TEST_F(RegistryTest, RegistryStringReadsThroughTheRealRootNames) {
    EXPECT_EQ(readRegistryString(registry, "HKEY_CURRENT_USER\\" + kTestKey + "\\InstallDirectory"),
              "C:\\Program Files\\Tarn\\");
    EXPECT_EQ(readRegistryString(registry, "hkey_current_user\\" + kTestKey + "\\InstallDirectory"),
              "C:\\Program Files\\Tarn\\");
    EXPECT_EQ(readRegistryString(registry, "HKEY_CURRENT_USER\\" + kTestKey + "\\Missing"), "");
    EXPECT_EQ(readRegistryString(registry, "HKCU\\" + kTestKey + "\\InstallDirectory"), "");
}

class FileSystemTest : public ::testing::Test {
protected:
    ScratchFolder folder{"velmora files"};
    Win32FileSystem files;
};

TEST_F(FileSystemTest, ExistsForFilesAndFoldersButNotForMissingOrWildcardNames) {
    testing::writeTextFile(folder / "batch.mdb", "x");
    EXPECT_TRUE(files.exists(folder / "batch.mdb"));
    EXPECT_TRUE(files.exists(folder.path()));
    EXPECT_FALSE(files.exists(folder / "other.mdb"));
    EXPECT_FALSE(files.exists(folder / "missing\\batch.mdb"));
    // A pattern would match batch.mdb; no file is named by it.
    EXPECT_FALSE(files.exists(folder / "*.mdb"));
    EXPECT_FALSE(files.exists(folder / "batch.md?"));
}

TEST_F(FileSystemTest, CreatesFoldersAndDeletesFilesReportingFailures) {
    EXPECT_TRUE(files.createDirectory(folder / "work\\"));
    EXPECT_TRUE(testing::pathExists(folder / "work"));
    EXPECT_FALSE(files.createDirectory(folder / "work"));
    EXPECT_FALSE(files.createDirectory(folder / "missing\\work"));

    testing::writeTextFile(folder / "batch.mdb", "x");
    EXPECT_TRUE(files.deleteFile(folder / "batch.mdb"));
    EXPECT_FALSE(testing::pathExists(folder / "batch.mdb"));
    EXPECT_FALSE(files.deleteFile(folder / "batch.mdb"));
    EXPECT_FALSE(files.deleteFile(folder / "work"));
}

TEST_F(FileSystemTest, ReadsAndWritesByteForByte) {
    const std::string bytes("line one\r\nline two\n\0\x1a\xff end", 24);
    ASSERT_TRUE(files.writeFile(folder / "a.cfg", bytes));
    EXPECT_EQ(testing::readTextFile(folder / "a.cfg"), bytes);
    EXPECT_EQ(files.readFile(folder / "a.cfg"), bytes);

    ASSERT_TRUE(files.writeFile(folder / "a.cfg", "short"));
    EXPECT_EQ(files.readFile(folder / "a.cfg"), std::string("short"));
    ASSERT_TRUE(files.writeFile(folder / "empty.cfg", ""));
    EXPECT_EQ(files.readFile(folder / "empty.cfg"), std::string());

    const std::string big(3u << 20, 'z');
    ASSERT_TRUE(files.writeFile(folder / "big.cfg", big));
    EXPECT_EQ(files.readFile(folder / "big.cfg"), big);
    // Only the start of a big file, and the size of the whole.
    std::string why;
    auto start = files.readFileStart(folder / "big.cfg", (1u << 20) + 1, why);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->bytes, big.substr(0, (1u << 20) + 1));
    EXPECT_EQ(start->size, big.size());
    EXPECT_FALSE(files.readFileStart(folder / "missing.cfg", 10, why));
    EXPECT_NE(why, "");

    EXPECT_FALSE(files.readFile(folder / "missing.cfg"));
    EXPECT_FALSE(files.writeFile(folder / "missing\\a.cfg", "x"));
    EXPECT_FALSE(files.writeFile(folder.path(), "x"));  // a folder is not a file
}

TEST_F(FileSystemTest, ReplaceMovesOverAnExistingFile) {
    testing::writeTextFile(folder / "a.cfg.new", "new");
    testing::writeTextFile(folder / "a.cfg", "old");
    ASSERT_TRUE(files.replaceFile(folder / "a.cfg.new", folder / "a.cfg"));
    EXPECT_EQ(testing::readTextFile(folder / "a.cfg"), "new");
    EXPECT_FALSE(testing::pathExists(folder / "a.cfg.new"));
    EXPECT_FALSE(files.replaceFile(folder / "a.cfg.new", folder / "a.cfg"));
    EXPECT_EQ(testing::readTextFile(folder / "a.cfg"), "new");
}

class ProcessesTest : public ::testing::Test {
protected:
    ScratchFolder folder{"velmora process"};
    Win32Processes processes;
};

TEST_F(ProcessesTest, StartsFromOneCommandLineAndWaitsForTheEnd) {
    testing::writeTextFile(folder / "batch.dat", "7 records parsed\r\nmore\r\n");
    std::string results = folder / "results.txt";
    std::string line = "\"" + testing::programFolder() + "engine_double.exe\" -o \"" + results + "\" \"" +
                       (folder / "batch.dat") + "\" \"E:\\cfg\\bank.cfg\" ";
    auto started = processes.start(line);
    ASSERT_TRUE(started);
    EXPECT_NE(started->process, 0u);
    EXPECT_NE(started->thread, 0u);
    processes.waitForExit(started->process);
    // The double writes only after a while: the wait must have been real.
    EXPECT_EQ(testing::readTextFile(results), "7 records parsed\r\narg: -o\r\narg: " + results + "\r\narg: " +
                                                  (folder / "batch.dat") + "\r\narg: E:\\cfg\\bank.cfg\r\n");
    processes.closeHandle(started->process);
    processes.closeHandle(started->thread);
}

TEST_F(ProcessesTest, AProgramThatCannotBeFoundDoesNotStart) {
    EXPECT_FALSE(processes.start("\"" + (folder / "ParseTarn.exe") + "\" -o x"));
    EXPECT_FALSE(processes.start(""));
}

}  // namespace
}  // namespace velmora
