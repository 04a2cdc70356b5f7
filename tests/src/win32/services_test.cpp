// The operating system's services on the real registry, real files and
// folders and a real child process.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "format/config/config_format.h"
#include "src/editor/configuration_file.h"
#include "src/parse/registry_string.h"
#include "tests/support/test_files.h"
#include "src/win32/os/win32_audit.h"
#include "src/win32/os/win32_file_system.h"
#include "src/win32/os/win32_processes.h"
#include "src/win32/os/win32_registry.h"
#include "tests/src/win32/win32_test_support.h"

// The slots of this program's import table that its calls go through.
extern "C" decltype(&GetFileAttributesA) __imp_GetFileAttributesA;
extern "C" decltype(&SetFileAttributesA) __imp_SetFileAttributesA;

namespace velmora::test {
namespace {

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
    folder.write("batch.mdb", "x");
    EXPECT_TRUE(files.exists(folder.path("batch.mdb")));
    EXPECT_TRUE(files.exists(folder.path()));
    EXPECT_FALSE(files.exists(folder.path("other.mdb")));
    EXPECT_FALSE(files.exists(folder.path("missing\\batch.mdb")));
    // A pattern would match batch.mdb; no file is named by it.
    EXPECT_FALSE(files.exists(folder.path("*.mdb")));
    EXPECT_FALSE(files.exists(folder.path("batch.md?")));
}

TEST_F(FileSystemTest, CreatesFoldersAndDeletesFilesReportingFailures) {
    EXPECT_TRUE(files.createDirectory(folder.path("work\\")));
    EXPECT_TRUE(folder.exists("work"));
    EXPECT_FALSE(files.createDirectory(folder.path("work")));
    EXPECT_FALSE(files.createDirectory(folder.path("missing\\work")));

    folder.write("batch.mdb", "x");
    EXPECT_TRUE(files.deleteFile(folder.path("batch.mdb")));
    EXPECT_FALSE(folder.exists("batch.mdb"));
    EXPECT_FALSE(files.deleteFile(folder.path("batch.mdb")));
    EXPECT_FALSE(files.deleteFile(folder.path("work")));
}

TEST_F(FileSystemTest, ReadsAndWritesByteForByte) {
    const std::string bytes("line one\r\nline two\n\0\x1a\xff end", 24);
    ASSERT_TRUE(files.writeFile(folder.path("a.cfg"), bytes));
    EXPECT_EQ(folder.read("a.cfg"), bytes);
    EXPECT_EQ(files.readFile(folder.path("a.cfg")), bytes);

    ASSERT_TRUE(files.writeFile(folder.path("a.cfg"), "short"));
    EXPECT_EQ(files.readFile(folder.path("a.cfg")), std::string("short"));
    ASSERT_TRUE(files.writeFile(folder.path("empty.cfg"), ""));
    EXPECT_EQ(files.readFile(folder.path("empty.cfg")), std::string());

    const std::string big(3u << 20, 'z');
    ASSERT_TRUE(files.writeFile(folder.path("big.cfg"), big));
    EXPECT_EQ(files.readFile(folder.path("big.cfg")), big);
    // Only the start of a big file, and the size of the whole.
    std::string why;
    auto start = files.readFileStart(folder.path("big.cfg"), (1u << 20) + 1, why);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->bytes, big.substr(0, (1u << 20) + 1));
    EXPECT_EQ(start->size, big.size());
    EXPECT_FALSE(files.readFileStart(folder.path("missing.cfg"), 10, why));
    EXPECT_NE(why, "");

    EXPECT_FALSE(files.readFile(folder.path("missing.cfg")));
    EXPECT_FALSE(files.writeFile(folder.path("missing\\a.cfg"), "x"));
    EXPECT_FALSE(files.writeFile(folder.path(), "x"));  // a folder is not a file

    // An existing file is written in place: a hidden one stays hidden.
    SetFileAttributesA((folder.path("a.cfg")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(files.writeFile(folder.path("a.cfg"), "in place"));
    EXPECT_EQ(files.readFile(folder.path("a.cfg")), std::string("in place"));
    EXPECT_TRUE(GetFileAttributesA((folder.path("a.cfg")).c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// A run's data file read again by its UTF-8 name, only as the run saw it.
TEST_F(FileSystemTest, ReadsRangesOfAFileNamedInUtf8OnlyWhileItIsAsStamped) {
    const std::string base = folder.path();
    const std::wstring wide = std::wstring(base.begin(), base.end()) + L"\\donn\u00e9es.dat";
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "0123456789", 10, &written, nullptr);
    CloseHandle(h);
    const std::string utf8 = base +
                             "\\donn\xC3\xA9"
                             "es.dat";
    const std::optional<FileStamp> stamp = files.stamp(utf8);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->size, 10u);
    EXPECT_EQ(stamp->modified.size(), 28u);
    std::string got, why;
    auto keep = [&](std::string_view bytes) {
        got += std::string(bytes) + "|";
        return true;
    };
    EXPECT_TRUE(files.readRanges(utf8, *stamp, {{7, 3}, {0, 2}, {5, 0}}, keep, why)) << why;
    EXPECT_EQ(got, "789|01||");
    EXPECT_FALSE(files.readRanges(utf8, *stamp, {{8, 3}}, keep, why));  // past the end
    EXPECT_NE(why, "");
    EXPECT_FALSE(files.readRanges(utf8, FileStamp{10, "2001-01-01T00:00:00.0000000Z"}, {{0, 1}}, keep, why));
    EXPECT_EQ(why, "");  // changed since: nothing read
    EXPECT_EQ(got, "789|01||");
    EXPECT_FALSE(files.stamp(folder.path("missing.dat")));
}

TEST_F(FileSystemTest, ANewFileOnlyWhereNothingIsYet) {
    EXPECT_EQ(files.createNewFile(folder.path("a.tmp")), NewFile::Created);
    EXPECT_TRUE(folder.exists("a.tmp"));
    EXPECT_EQ(files.createNewFile(folder.path("a.tmp")), NewFile::NameTaken);
    ASSERT_TRUE(files.createDirectory(folder.path("sub")));
    EXPECT_EQ(files.createNewFile(folder.path("sub")), NewFile::NameTaken);
    EXPECT_EQ(files.createNewFile(folder.path("missing\\a.tmp")), NewFile::Impossible);
    EXPECT_EQ(files.createNewFile(folder.path(std::string(MAX_PATH, 'n'))), NewFile::Impossible);
}

// What Wine 8 does here was tried: ReplaceFileA keeps no attributes (the
// file system puts the old ones back), refuses a read-only file, and fails
// for a missing one; a hard link to the old file keeps the old text.
TEST_F(FileSystemTest, ReplaceKeepsTheOldFilesAttributesAndRefusesAReadOnlyOne) {
    folder.write("a.cfg.new", "new");
    folder.write("a.cfg", "old");
    SetFileAttributesA((folder.path("a.cfg")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(files.replaceFile(folder.path("a.cfg.new"), folder.path("a.cfg")));
    EXPECT_EQ(folder.read("a.cfg"), "new");
    EXPECT_EQ(GetFileAttributesA((folder.path("a.cfg")).c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_FALSE(folder.exists("a.cfg.new"));
    EXPECT_FALSE(files.replaceFile(folder.path("a.cfg.new"), folder.path("a.cfg")));

    folder.write("a.cfg.new", "newer");
    SetFileAttributesA((folder.path("a.cfg")).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(files.replaceFile(folder.path("a.cfg.new"), folder.path("a.cfg")));
    EXPECT_EQ(folder.read("a.cfg"), "new");
    EXPECT_TRUE(folder.exists("a.cfg.new"));
    SetFileAttributesA((folder.path("a.cfg")).c_str(), FILE_ATTRIBUTE_NORMAL);

    ASSERT_TRUE(files.replaceFile(folder.path("a.cfg.new"), folder.path("b.cfg")));  // nothing to replace
    EXPECT_EQ(folder.read("b.cfg"), "newer");

    // A folder is not replaced, nor moved away.
    ASSERT_TRUE(files.createDirectory(folder.path("c.cfg")));
    folder.write("c.cfg\\inside.txt", "kept");
    folder.write("c.cfg.new", "new");
    EXPECT_FALSE(files.replaceFile(folder.path("c.cfg.new"), folder.path("c.cfg")));
    EXPECT_EQ(folder.read("c.cfg\\inside.txt"), "kept");
    EXPECT_TRUE(folder.exists("c.cfg.new"));
}

// Windows keeps a file's archive attribute; Wine 8 reports it always and
// keeps none. While this lives, the program sees the real files with their
// archive attribute kept as Windows keeps it: cleared until it is set, and a
// file replaced under a name keeping the name's.
class ArchiveAsOnWindows {
public:
    ArchiveAsOnWindows() : get_(__imp_GetFileAttributesA), set_(__imp_SetFileAttributesA) {
        self_ = this;
        patch(__imp_GetFileAttributesA, &get);
        patch(__imp_SetFileAttributesA, &set);
    }
    ~ArchiveAsOnWindows() {
        patch(__imp_GetFileAttributesA, get_);
        patch(__imp_SetFileAttributesA, set_);
    }

private:
    template <typename Function>
    static void patch(Function& slot, Function to) {
        DWORD was = 0;
        VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &was);
        slot = to;
        VirtualProtect(&slot, sizeof slot, was, &was);
    }
    static DWORD WINAPI get(LPCSTR path) {
        const DWORD attributes = self_->get_(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || self_->archived_.count(path)) return attributes;
        return attributes & ~DWORD{FILE_ATTRIBUTE_ARCHIVE};
    }
    static BOOL WINAPI set(LPCSTR path, DWORD attributes) {
        if (attributes & FILE_ATTRIBUTE_ARCHIVE)
            self_->archived_.insert(path);
        else
            self_->archived_.erase(path);
        return self_->set_(path, attributes);
    }

    static inline ArchiveAsOnWindows* self_ = nullptr;
    decltype(&GetFileAttributesA) get_;
    decltype(&SetFileAttributesA) set_;
    std::set<std::string> archived_;
};

// Marked for backup as any write marks it, though a backup had cleared the
// old file's mark.
TEST_F(FileSystemTest, AReplacedFileIsMarkedForBackup) {
    ArchiveAsOnWindows windows;
    folder.write("a.cfg", "old");
    folder.write("a.cfg.new", "new");
    const std::string target = folder.path("a.cfg");
    ASSERT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_ARCHIVE, 0u);
    ASSERT_TRUE(files.replaceFile(folder.path("a.cfg.new"), target));
    EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_ARCHIVE, 0u);
}

// A save through the real file system: the operator's files beside it are
// left alone, a hidden file stays hidden, and a path that leaves no room
// for another name beside it, or a file held open without delete sharing,
// is written in place.
TEST_F(FileSystemTest, SavingAConfigurationKeepsTheFileAndItsNeighbours) {
    ParseConfiguration config;
    config.recordSeparator = "|";
    const std::string text = configurationText(config);
    folder.write("~vdp0000.tmp", "mine");
    folder.write("bank.cfg", "old");
    SetFileAttributesA((folder.path("bank.cfg")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(writeConfigurationFile(files, folder.path("bank.cfg"), config).result, SaveResult::Saved);
    EXPECT_EQ(folder.read("bank.cfg"), text);
    EXPECT_TRUE(GetFileAttributesA((folder.path("bank.cfg")).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    // Marked for backup too (Wine 8 shows every file archived, whatever is asked).
    EXPECT_EQ(replacedFileAttributes(FILE_ATTRIBUTE_HIDDEN), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
    EXPECT_EQ(folder.read("~vdp0000.tmp"), "mine");
    EXPECT_FALSE(folder.exists("~vdp0001.tmp"));

    // The deepest folder a path allows, and a file's whole path one short of
    // MAX_PATH: "~vdp0000.tmp" would not fit beside it.
    const std::size_t kDeepest = MAX_PATH - 13;
    std::string deep = folder.path();
    while (deep.size() < kDeepest) {
        std::size_t room = kDeepest - deep.size();
        deep += "\\" + std::string(room <= 101 ? room - 1 : std::min<std::size_t>(100, room - 3), 'd');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    }
    const std::string longPath = deep + "\\" + std::string(MAX_PATH - 2 - deep.size(), 'c');
    writeFile(longPath, "old");
    ASSERT_EQ(writeConfigurationFile(files, longPath, config).result, SaveResult::Saved);
    EXPECT_EQ(readFile(longPath), text);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((deep + "\\~*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);

    HANDLE held = CreateFileA(folder.path("bank.cfg").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    config.recordSeparator = "~";
    EXPECT_EQ(writeConfigurationFile(files, folder.path("bank.cfg"), config).result, SaveResult::Saved);
    CloseHandle(held);
    EXPECT_EQ(folder.read("bank.cfg"), configurationText(config));
}

// The Unix name of a path under Wine; "" on Windows.
std::string unixName(const std::string& path) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto name = reinterpret_cast<UnixName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!name) return "";
    const std::wstring wide(path.begin(), path.end());  // the tests' paths are ASCII
    char* found = name(wide.c_str());
    std::string text = found ? found : "";
    HeapFree(GetProcessHeap(), 0, found);
    return text;
}

// Whether `path` is there, waited for a while: Wine starts a Unix program
// without waiting for it, so the program may not have ended yet.
bool comesToBe(const std::string& path, bool there) {
    for (int wait = 0; wait < 200; ++wait) {
        if ((GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) == there) return true;
        Sleep(25);
    }
    return false;
}

// A symbolic link at `link` to `target`. Wine 8's CreateSymbolicLinkA
// reports success and makes nothing, so under Wine the Unix `ln -s` makes
// it (Wine starts a Unix program by its Unix path); Windows makes it where
// Developer Mode lets a standard user.
bool makeLink(const std::string& link, const std::string& target, bool folder) {
    const std::string unixTarget = unixName(target);
    if (unixTarget.empty())
        CreateSymbolicLinkA(link.c_str(), target.c_str(),
                            (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2 /* unprivileged */);
    else
        runToEnd("/bin/ln -s \"" + unixTarget + "\" \"" + unixName(link) + "\"");
    return comesToBe(link, true);
}

// Removes a link, never what it leads to: Wine would delete the file a
// link leads to.
void removeLink(const std::string& link) {
    const std::string name = unixName(link);
    if (!name.empty())
        runToEnd("/bin/rm -f \"" + name + "\"");
    else if (!DeleteFileA(link.c_str()))
        RemoveDirectoryA(link.c_str());
    comesToBe(link, false);
}

// A link is told from the file or folder it leads to, by what Windows marks
// it with, and under Wine, which marks a linked file as a plain one, by
// where it leads.
TEST_F(FileSystemTest, TellsLinksFromTheFilesAndFoldersTheyLeadTo) {
    folder.write("target.csv", "the operator's");
    ASSERT_TRUE(files.createDirectory(folder.path("sub")));
    folder.write("sub\\inner.csv", "x");
    EXPECT_EQ(files.pathKind(folder.path("target.csv")), PathKind::File);
    EXPECT_EQ(files.pathKind(folder.path("TARGET.CSV")), PathKind::File);
    EXPECT_EQ(files.pathKind(folder.path("sub\\inner.csv")), PathKind::File);
    EXPECT_EQ(files.pathKind(folder.path("sub")), PathKind::Folder);
    EXPECT_EQ(files.pathKind(folder.path()), PathKind::Folder);
    EXPECT_EQ(files.pathKind(folder.path("missing.csv")), PathKind::Nothing);
    EXPECT_EQ(files.pathKind(folder.path("*.csv")), PathKind::Nothing);
    const bool linked = makeLink(folder.path("link.csv"), folder.path("target.csv"), false) &&
                        makeLink(folder.path("linked"), folder.path("sub"), true);
    if (linked) {
        EXPECT_EQ(files.pathKind(folder.path("link.csv")), PathKind::Link);
        EXPECT_EQ(files.pathKind(folder.path("linked")), PathKind::Link);
        // A file reached through a linked folder is a file.
        EXPECT_EQ(files.pathKind(folder.path("linked\\inner.csv")), PathKind::File);
    }
    removeLink(folder.path("link.csv"));
    removeLink(folder.path("linked"));
    EXPECT_EQ(folder.read("target.csv"), "the operator's");
    EXPECT_EQ(folder.read("sub\\inner.csv"), "x");
    if (!linked) GTEST_SKIP() << "no symbolic link can be made here";
}

class ProcessesTest : public ::testing::Test {
protected:
    std::string doubleLine(const std::string& results) {
        folder.write("batch.dat", "7 records parsed\r\nmore\r\n");
        return "\"" + programFolder() + "engine_double.exe\" -o \"" + results + "\" \"" + (folder.path("batch.dat")) +
               "\" \"E:\\cfg\\bank.cfg\" ";
    }
    void close(const StartedProcess& started) {
        for (ProcessHandle handle : {started.output, started.process, started.thread}) processes.closeHandle(handle);
    }

    ScratchFolder folder{"velmora process"};
    Win32Processes processes;
};

TEST_F(ProcessesTest, StartsFromOneCommandLineWithItsOutputOnAPipeAndWaitsForTheEnd) {
    // An inheritable handle of ours that the program must not get.
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE ours = CreateEventA(&inheritable, TRUE, FALSE, nullptr);
    std::string results = folder.path("results.txt");
    auto started = processes.start(doubleLine(results));
    ASSERT_TRUE(started);
    EXPECT_NE(started->process, 0u);
    EXPECT_NE(started->thread, 0u);
    HANDLE child = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(started->process));
    HANDLE copy = nullptr;
    if (DuplicateHandle(child, ours, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        SetEvent(copy);  // the same object only if the program had inherited it
        CloseHandle(copy);
    }
    EXPECT_EQ(WaitForSingleObject(ours, 0), WAIT_TIMEOUT) << "the program inherited a handle besides its pipe";
    CloseHandle(ours);

    EXPECT_FALSE(processes.waitForExit(started->process, 0));
    std::string output;
    while (!processes.waitForExit(started->process, 50)) output += processes.readOutput(started->output);
    output += processes.readOutput(started->output);
    EXPECT_EQ(output, "engine double started\r\n");
    // The double writes only after a while: the wait must have been real.
    EXPECT_EQ(readFile(results), "7 records parsed\r\narg: -o\r\narg: " + results +
                                     "\r\narg: " + (folder.path("batch.dat")) + "\r\narg: E:\\cfg\\bank.cfg\r\n");
    EXPECT_EQ(processes.readOutput(started->output), "");  // the pipe has ended
    close(*started);
}

TEST_F(ProcessesTest, TerminateEndsTheProgramBeforeItDoesItsWork) {
    std::string results = folder.path("results.txt");
    auto started = processes.start(doubleLine(results));
    ASSERT_TRUE(started);
    processes.terminate(started->process);
    EXPECT_TRUE(processes.waitForExit(started->process, 10000));
    Sleep(500);  // longer than the double takes
    EXPECT_FALSE(pathExists(results));
    close(*started);
}

TEST_F(ProcessesTest, AProgramThatCannotBeFoundDoesNotStart) {
    EXPECT_FALSE(processes.start("\"" + (folder.path("ParseTarn.exe")) + "\" -o x"));
    EXPECT_FALSE(processes.start(""));
}

// The token's groups by SID or by name, the user, and an event written.
TEST(AuditTest, GroupsOfTheTokenByNameOrSidTheUserAndAnEvent) {
    Win32Audit audit;
    EXPECT_TRUE(audit.isMember("S-1-1-0"));  // Everyone
    EXPECT_TRUE(audit.isMember("Everyone"));
    EXPECT_FALSE(audit.isMember("S-1-5-32-546"));  // Guests
    EXPECT_FALSE(audit.isMember("S-1-5-banana"));
    EXPECT_FALSE(audit.isMember("No Such Group Anywhere"));
    EXPECT_NE(audit.userName().find('\\'), std::string::npos) << audit.userName();
    std::string why;
    EXPECT_TRUE(audit.writeEvent(AuditEvent::FullCardNumbersShown, "A test of the event log.", why)) << why;
}

}  // namespace
}  // namespace velmora::test
