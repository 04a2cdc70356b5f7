// The run's database file, its pages written on a thread of their own, as
// SQLite sees it: with a cache of two pages and an index filled in random
// order, nearly every page SQLite needs again is one it handed over a moment
// before, still on its way or just written.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "tests/support/database_query.h"
#include "engine/storage/background_writes.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

TEST(BackgroundWritesTest, PagesSqliteReadsBackAreThePagesItWrote) {
    ScratchFolder folder;
    const std::string path = folder.path("t.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, backgroundWritesVfs()),
              SQLITE_OK);
    auto exec = [&](const std::string& sql) {
        return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK ? "" : sqlite3_errmsg(db);
    };
    ASSERT_EQ(exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA page_size=1024; PRAGMA cache_size=2;"
                   "CREATE TABLE t (k INTEGER, v TEXT); CREATE INDEX by_v ON t (v); BEGIN"),
              std::string());
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?, ?)", -1, &insert, nullptr), SQLITE_OK);
    const int rows = 20000;
    uint32_t x = 12345;
    for (int k = 0; k < rows; ++k) {
        x = x * 1103515245u + 12345u;
        const std::string v = std::to_string(x) + "-" + std::to_string(k);
        sqlite3_bind_int(insert, 1, k);
        sqlite3_bind_text(insert, 2, v.c_str(), -1, SQLITE_TRANSIENT);
        ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE) << sqlite3_errmsg(db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ASSERT_EQ(exec("COMMIT"), std::string());
    ASSERT_EQ(sqlite3_close(db), SQLITE_OK);

    // Read afresh by SQLite's own file layer.
    EXPECT_EQ(query(path, "PRAGMA integrity_check"), (std::vector<std::string>{"ok"}));
    EXPECT_EQ(query(path, "SELECT count(*), sum(k) FROM t"),
              (std::vector<std::string>{std::to_string(rows) + "|" + std::to_string(rows * (rows - 1) / 2)}));
    EXPECT_EQ(query(path, "SELECT count(*) FROM t INDEXED BY by_v WHERE v > ''"),
              (std::vector<std::string>{std::to_string(rows)}));
}

// Writes of one place that wait together still land in the order SQLite
// made them: the last one is what a read, and the file, hold.
TEST(BackgroundWritesTest, TheLastWriteOfAPlaceIsWhatTheFileHolds) {
    ScratchFolder folder;
    sqlite3_vfs* vfs = sqlite3_vfs_find(backgroundWritesVfs());
    ASSERT_NE(vfs, nullptr);
    std::vector<char> memory(static_cast<size_t>(vfs->szOsFile));
    auto* file = reinterpret_cast<sqlite3_file*>(memory.data());
    // A name as SQLite hands it over: its parameters follow, none here.
    const std::string name = folder.path("t.db") + std::string(4, '\0');
    int flags = 0;
    ASSERT_EQ(
        vfs->xOpen(vfs, name.c_str(), file, SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &flags),
        SQLITE_OK);
    const int page = 4096;
    std::string bytes(page, ' ');
    for (int k = 0; k < 2000; ++k) {
        // Page 0 again and again, each time after a page elsewhere, so that
        // every write starts a run of its own.
        bytes.replace(0, 8, std::to_string(10000000 + k));
        ASSERT_EQ(file->pMethods->xWrite(file, bytes.data(), page, 0), SQLITE_OK);
        ASSERT_EQ(file->pMethods->xWrite(file, bytes.data(), page, page * (2 + k % 7)), SQLITE_OK);
    }
    std::string read(page, '\0');
    ASSERT_EQ(file->pMethods->xRead(file, read.data(), page, 0), SQLITE_OK);
    EXPECT_EQ(read.substr(0, 8), "10001999");
    ASSERT_EQ(file->pMethods->xClose(file), SQLITE_OK);
    EXPECT_EQ(folder.read("t.db").substr(0, 8), "10001999");
}

}  // namespace
}  // namespace velmora::test
