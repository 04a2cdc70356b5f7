// One record of the largest kinds a hostile file can hold: a BER-TLV field
// of hundreds of thousands of tiny objects, a text field of as many FIR
// parts. What the engine holds stays a small multiple of the record, and it
// shows progress, and stops when cancelled, inside the record.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>

#include "engine/core/progress_line.h"
#include "tests/support/database_query.h"
#include "engine/storage/background_writes.h"
#include "engine/run/data_file_parse.h"
#include "engine/command/engine_main.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

// Every C++ allocation of this test program counted, to know the most held
// at once; and refused above a size when a test says so.
namespace {
std::atomic<size_t> heldNow{0}, heldMost{0}, refusedAbove{SIZE_MAX};
constexpr size_t kHeader = 16;  // keeps the block's alignment
}  // namespace

void* operator new(size_t size) {
    if (size > refusedAbove.load()) throw std::bad_alloc();
    char* block = static_cast<char*>(std::malloc(size + kHeader));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    size_t now = heldNow += size;
    for (size_t most = heldMost; now > most && !heldMost.compare_exchange_weak(most, now);) {
    }
    return block + kHeader;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    char* block = static_cast<char*>(p) - kHeader;
    heldNow -= *reinterpret_cast<size_t*>(block);
    std::free(block);
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

namespace velmora::test {
namespace {

constexpr size_t kRecord = 1u << 20;

struct HugeRecord {
    const char* name;
    std::string data;
    std::string config;
};

std::vector<HugeRecord> hugeRecords() {
    // A constructed object whose value is three-byte primitives, one record.
    std::string tlv = "\x70\x83";
    const size_t value = kRecord - 5;
    tlv += {static_cast<char>(value >> 16), static_cast<char>(value >> 8), static_cast<char>(value)};
    while (tlv.size() + 3 <= kRecord) tlv += std::string("\x5A\x01x", 3);
    tlv.resize(kRecord, '\0');  // zero padding after the last child
    std::string fir;
    while (fir.size() < kRecord) fir += "a~";
    fir[0] = '\xE9';  // a text over a batch's size that is not ASCII: converted all the same
    const std::string length = std::to_string(kRecord);
    return {{"TLV", tlv, configText(length, "", {field("Script", "None", "", "TESSELGRAM", "", "GP_FIELD", "x")})},
            {"FIR", fir, configText(length, "", {field("Name", "None", "", "None", "", "TEXT_FIELD")}, true, "~")}};
}

TEST(HugeRecordTest, ObjectsAndPartsGoToTheDatabaseOneAtATime) {
    // SQLite's own count of what it holds, on whatever way it was built.
    sqlite3_shutdown();
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 1);
    sqlite3_initialize();
    for (const HugeRecord& huge : hugeRecords()) {
        ScratchFolder folder;
        folder.write("in.dat", huge.data);
        folder.write("in.cfg", huge.config);
        std::ostringstream console;
        heldMost = heldNow.load();
        sqlite3_memory_highwater(1);
        const size_t before = heldNow;
        ASSERT_EQ(parseTarnMain({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}, console), 0)
            << console.str();
        // The cutter's buffer (the record and a read), the pages on their
        // way to the disk, then little more.
        EXPECT_LT(heldMost - before, 3 * kRecord + kPagesOnTheWayMost) << huge.name;
        // SQLite: its page cache of 8 MiB, soft at the edges, and one row.
        EXPECT_LT(static_cast<size_t>(sqlite3_memory_highwater(0)), (12u << 20) + 2 * kRecord) << huge.name;
        const char* count = huge.name == std::string("TLV") ? "SELECT count(*), max(sequence) FROM tlv"
                                                            : "SELECT count(*), max(part) FROM fir_parts";
        const std::string n = std::to_string(huge.name == std::string("TLV") ? (kRecord - 5) / 3 + 1 : kRecord / 2 + 1);
        EXPECT_EQ(query(folder.path("in.mdb"), count), (std::vector<std::string>{n + "|" + n})) << huge.name;
        if (huge.name == std::string("FIR")) {
            EXPECT_EQ(query(folder.path("in.mdb"), "SELECT hex(substr(Name, 1, 2)) FROM records"),
                      (std::vector<std::string>{"C3A97E"}));
        }
    }
}

TEST(HugeRecordTest, ProgressShowsAndACancelIsSeenInsideTheRecord) {
    for (const HugeRecord& huge : hugeRecords()) {
        ScratchFolder folder;
        folder.write("in.dat", huge.data);
        folder.write("in.cfg", huge.config);
        std::ostringstream console;
        ParseRequest request;
        request.dataPath = folder.path("in.dat");
        request.configPath = folder.path("in.cfg");
        request.databasePath = folder.path("in.mdb");
        request.console = &console;
        request.progressInterval = std::chrono::milliseconds(0);
        ASSERT_TRUE(parseDataFile(request).completed) << huge.name;
        std::istringstream lines(console.str());
        int progress = 0;
        for (std::string line; std::getline(lines, line);) progress += readProgressLine(line) ? 1 : 0;
        EXPECT_GT(progress, 100) << huge.name;  // a line at every check: hundreds within the one record

        std::ostream closed(nullptr);
        request.console = &closed;
        RunOutcome outcome = parseDataFile(request);
        EXPECT_FALSE(outcome.completed);
        EXPECT_NE(outcome.failure.find("cancelled"), std::string::npos) << outcome.failure;
        EXPECT_FALSE(folder.exists("in.mdb.partial"));
    }
}

// Short of memory on either thread (here the pipeline's record buffer, and
// the configuration read whole), the run ends saying so, and the old
// database stays as it was.
TEST(HugeRecordTest, RunningOutOfMemoryEndsTheRunAndKeepsTheOldDatabase) {
    const std::string longName(6u << 20, 'N');
    for (const std::string& name : {std::string("A"), longName}) {
        ScratchFolder folder;
        folder.write("in.dat", "abc|def|");
        folder.write("in.cfg", configText("", "|", {field(name, "None", "", "None", "", "TEXT_FIELD")}));
        folder.write("in.mdb", "the operator's good database");
        std::ostringstream console;
        refusedAbove = 4u << 20;
        const int status =
            parseTarnMain({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}, console);
        refusedAbove = SIZE_MAX;
        EXPECT_EQ(status, 1) << console.str();
        const std::string results = folder.read("r.txt");
        EXPECT_EQ(results.substr(0, results.find("\r\n")), "Parse failed: out of memory") << name.size();
        EXPECT_EQ(folder.read("in.mdb"), "the operator's good database");
        EXPECT_FALSE(folder.exists("in.mdb.partial"));
    }
}

}  // namespace
}  // namespace velmora::test
