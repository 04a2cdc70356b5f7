// The engine's run into a database server through ODBC, against the
// throw-away PostgreSQL that scripts/with-postgres.sh starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include <atomic>

#include "tests/support/database_query.h"
#include "tests/support/program_launch.h"
#include "tests/support/server_faults.h"
#include "tests/support/server_query.h"
#include "engine/command/engine_main.h"
#include "engine/os/engine_os.h"
#include "engine/odbc/odbc_connection.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

using Rows = std::vector<std::string>;

// Every kind of row the tables hold: texts beyond ASCII, empty and missing
// ones, quotes, backslashes, braces and commas, FIR parts, binaries with NUL bytes, nested TLV objects, rejected
// records; more rows than one batch takes.
std::string cardData(size_t records) {
    std::string d;
    for (size_t i = 0; i < records; ++i) {
        const std::string n = std::to_string(i);
        if (i % 4 == 0) d += "#N\xC9MILE~" + n + "#E";
        if (i % 4 == 1) d += "#N#E";
        if (i % 4 == 2) d += "#NBOB~X~" + n + "#E";
        if (i % 4 == 3) d += "#N\"q\\ {a,b} NULL#E";  // what array literals quote
        d += "#B" + std::string{static_cast<char>('A' + i % 26), '\0', '\xFF'};
        d += i % 50 == 7 ? std::string("#T\x70\x09\x5A\x01", 6)
                         : std::string("#T\x70\x03\x5A\x01", 6) + static_cast<char>('0' + i % 10);
        d += "|";
    }
    return d;
}

const std::string kConfig = configText("", "|",
                                       {field("Name", "START_CODE", "#N", "END_CODE", "#E", "TEXT_FIELD"),
                                        field("Bin", "START_CODE", "#B", "FIXED_LENGTH", "3", "BINARY_FIELD"),
                                        field("Tlv", "START_CODE", "#T", "TESSELGRAM", "", "BINARY_FIELD")},
                                       true, "~");

// No server needed: what the results file names and what a driver's message
// keeps of a connection string.
TEST(ConnectionStringTest, NamesTheDataSourceOnlyAndHidesEverySecret) {
    struct Case {
        std::string connection, source, message, cleaned;
    };
    const Case cases[] = {
        {"DSN=cards;UID=line4;PWD=s3cr3t", "DSN=cards", "login for line4 with s3cr3t refused",
         "login for line4 with *** refused"},
        {"Driver={PostgreSQL Unicode};Server=db1;Port=5432;Database=cards;Password={a;b}}c}",
         "DRIVER=PostgreSQL Unicode;SERVER=db1;PORT=5432;DATABASE=cards", "bad password a;b}c", "bad password ***"},
        {"dsn=cards;api_key=K9;token=T7", "DSN=cards", "K9 and T7 expired", "*** and *** expired"},
        // A driver quoting the whole string back names the data source instead.
        {"DSN=x;PWD=p", "DSN=x", "cannot connect with DSN=x;PWD=p", "cannot connect with DSN=x"},
        // Nested in another attribute, in libpq's own form.
        {"Driver=pg;pqopt={sslmode=require password=n3st}", "DRIVER=pg", "n3st refused", "*** refused"},
        {"DSN=x;PassWord = {p;w}", "DSN=x", "bad p;w", "bad ***"},
        // A message quoting a password attribute of its own.
        {"DSN=x", "DSN=x", "conninfo host=h PASSWORD={a b} port=1", "conninfo host=h PASSWORD=*** port=1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dataSourceName(c.connection), c.source) << c.connection;
        EXPECT_EQ(withoutSecrets(c.message, c.connection), c.cleaned) << c.connection;
    }
}

class ServerRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (connection.empty()) {
            if (std::getenv("VELMORA_REQUIRE_SERVER")) FAIL() << "no database server was started for the tests";
            GTEST_SKIP() << "no database server: run the tests under scripts/with-postgres.sh";
        }
        folder.write("cards.dat", cardData(2500));
        folder.write("cards.cfg", kConfig);
    }
    // A records table no other test or run uses; its quote goes into every
    // statement that names it, as a name or as a value.
    static std::string newTable() { return "card's " + uniqueSuffix(); }
    int run(const std::string& server, const std::string& table, const std::string& data = "cards.dat",
            bool again = false) {
        std::ostringstream console;
        std::vector<std::string> args = {"-o",
                                         folder.path("r.txt"),
                                         "--odbc",
                                         server,
                                         "--table",
                                         table,
                                         folder.path(data),
                                         folder.path("cards.cfg")};
        if (again) args.insert(args.begin(), "--again");
        const int status = parseTarnMain(args, console);
        output = console.str();
        results = folder.read("r.txt");
        return status;
    }
    std::string commandLine(const std::string& table, const std::string& data, const std::string& results) {
        return "\"" + parseTarnPath() + "\" -o \"" + folder.path(results) + "\" --odbc \"" + connection +
               "\" --table \"" + table + "\" \"" + folder.path(data) + "\" \"" + folder.path("cards.cfg") + "\"";
    }
    // The runs this test's data files made, as the server holds them.
    Rows runs() {
        Rows mine;
        for (const std::string& row : serverQuery(connection, "SELECT records_parsed, data_path FROM run"))
            if (row.find("|" + folder.path()) != std::string::npos) mine.push_back(row.substr(0, row.find('|')));
        std::sort(mine.begin(), mine.end());
        return mine;
    }
    void execute(const std::string& sql) {
        OdbcConnection db;
        Status done = db.connect(connection);
        if (done) done = db.execute(sql);
        ASSERT_TRUE(done.ok()) << done.failure();
    }

    const std::string password = serverPassword();
    const std::string connection = serverConnection(password);
    ScratchFolder folder;
    std::string output, results;
};

// Each outcome: its exit status and first line, and what the server holds
// after it; never the password anywhere.
TEST_F(ServerRunTest, OutcomesLeaveAWholeRunOrNothingAndNoPassword) {
    const std::string table = newTable(), other = newTable(), halfway = newTable(), view = newTable(),
                      fromFile = newTable();
    execute("CREATE TABLE \"" + other + "\" (run_id BIGINT, x TEXT)");
    folder.write("connection.txt", connection + "\r\nsecond line\r\n");
    struct Case {
        const char* what;
        std::string server, table, sqlBefore;
        int status;
        std::string first;  // the results' first line starts so
        size_t runs;        // of this test, in the server afterwards
        bool again = false;
    };
    std::string swapped = connection;
    swapped.replace(swapped.find("Port="), 5, "Port=1");
    const Case cases[] = {
        {"completed", connection, table, "", 0, "2450 records parsed, 50 rejected\r\n", 1},
        {"wrong password", serverConnection("not" + password), table, "", 1,
         "Parse failed: cannot connect to DRIVER=", 1},
        {"server down", swapped, table, "", 1, "Parse failed: cannot connect to", 1},
        {"driver missing", "Driver={/nowhere/psqlodbcw.so};PWD=" + password, table, "", 1,
         "Parse failed: cannot connect to DRIVER=/nowhere/psqlodbcw.so: ", 1},
        {"table of other columns", connection, other, "", 2, "Parse failed: the table " + other + " exists", 1},
        // A completed run makes the table; a rule added after it refuses
        // the second run's 1,500th record, a batch after its first.
        {"completed into a second table", connection, halfway, "", 0, "2450 records parsed", 2},
        {"failed half way", connection, halfway,
         "ALTER TABLE \"" + halfway + "\" ADD CHECK (record_number < 1500) NOT VALID", 1,
         "Parse failed: the server refused a row: ", 2, true},
        // The password kept in a file rather than on the command line.
        {"connection string from a file", "@" + folder.path("connection.txt"), fromFile, "", 0, "2450 records parsed",
         3},
        // A run the server holds is not stored twice.
        {"the same run again", connection, table, "", 1,
         "Parse failed: this data file was already stored with this configuration as run ", 3},
        {"connection file missing", "@" + folder.path("none.txt"), table, "", 1,
         "Parse failed: cannot open the connection string's file", 3},
        // A view of the right columns would take the rows and hide them.
        {"a view", connection, view, "CREATE VIEW \"" + view + "\" AS SELECT * FROM \"" + table + "\"", 2,
         "Parse failed: the table " + view + " is not a base table", 3},
        // Never cut to what the driver call takes and connected.
        {"connection string too long", connection + ";X=" + std::string(32768, 'x'), table, "", 1,
         "Parse failed: the connection string is longer than the 32767 characters", 3},
    };
    for (const Case& c : cases) {
        if (!c.sqlBefore.empty()) execute(c.sqlBefore);
        EXPECT_EQ(run(c.server, c.table, "cards.dat", c.again), c.status) << c.what << "\n" << output;
        EXPECT_EQ(results.rfind(c.first, 0), 0u) << c.what << "\n" << results;
        EXPECT_EQ(runs().size(), c.runs) << c.what;
        for (const std::string& text : {results, output})
            EXPECT_EQ(text.find(password), std::string::npos) << c.what << "\n" << text;
    }
    EXPECT_EQ(serverQuery(connection, "SELECT count(*) FROM \"" + halfway + "\""), Rows{"2450"});
    EXPECT_EQ(serverQuery(connection, "SELECT count(*) FROM \"" + other + "\""), Rows{"0"});
    // Asked for, it is; and a data file written since is another run.
    EXPECT_EQ(run(connection, table, "cards.dat", true), 0) << output;
    folder.write("cards.dat", cardData(2500));
    EXPECT_EQ(run(connection, table), 0) << output;
    EXPECT_EQ(runs().size(), 5u);
}

// An older engine's run table, without the columns added since, takes them
// and keeps its rows; the new run is stored beside them.
TEST_F(ServerRunTest, AnOlderRunTableTakesTheAddedColumns) {
    const std::string schema = "\"old " + uniqueSuffix() + "\"";
    execute("CREATE SCHEMA " + schema);
    execute("CREATE TABLE " + schema +
            ".run (run_id BIGINT, data_path TEXT, config_path TEXT, database_path TEXT, started TEXT, ended TEXT, "
            "bytes_read BIGINT, records_parsed BIGINT, records_rejected BIGINT, engine_version TEXT, computer_name "
            "TEXT)");
    execute("INSERT INTO " + schema + ".run (run_id, records_parsed) VALUES (7, 12)");
    const std::string inSchema = connection + ";ConnSettings={SET search_path TO " + schema + "}";
    EXPECT_EQ(run(inSchema, newTable()), 0) << output;
    EXPECT_EQ(serverQuery(connection, "SELECT records_parsed, data_size > 0, length(config_digest) FROM " + schema +
                                          ".run ORDER BY records_parsed"),
              (Rows{"12|NULL|NULL", "2450|1|64"}));
    execute("DROP SCHEMA " + schema + " CASCADE");
}

// The server holds what the file database holds, table by table, beside
// each row's run_id; the run row names the PC and the data source only.
TEST_F(ServerRunTest, TheServerHoldsTheFileDatabasesRows) {
    // Several batches of each table, each sent while the next is filled.
    folder.write("cards.dat", cardData(25000));
    const std::string table = newTable();
    ASSERT_EQ(run(connection, table), 0) << output;
    std::ostringstream console;
    ASSERT_EQ(parseTarnMain({"-o", folder.path("f.txt"), "-d", folder.path("cards.mdb"), folder.path("cards.dat"),
                             folder.path("cards.cfg")},
                            console),
              0);
    const std::string file = folder.path("cards.mdb");
    const Rows runId = serverQuery(connection, "SELECT DISTINCT run_id FROM \"" + table + "\"");
    ASSERT_EQ(runId.size(), 1u);
    const std::pair<std::string, std::string> tables[] = {
        {"records", table}, {"rejected", "rejected"}, {"fields", "fields"}, {"tlv", "tlv"}, {"fir_parts", "fir_parts"}};
    for (const auto& [fileTable, serverTable] : tables) {
        std::string columns;
        for (const std::string& name : query(file, "SELECT name FROM pragma_table_info('" + fileTable + "')"))
            columns += (columns.empty() ? "\"" : ", \"") + name + "\"";
        Rows inFile = query(file, "SELECT " + columns + " FROM " + fileTable);
        Rows inServer =
            serverQuery(connection, "SELECT " + columns + " FROM \"" + serverTable + "\" WHERE run_id = " + runId[0]);
        std::sort(inFile.begin(), inFile.end());
        std::sort(inServer.begin(), inServer.end());
        EXPECT_GT(inFile.size(), fileTable == "rejected" ? 49u : 2u) << fileTable;
        EXPECT_EQ(inServer, inFile) << fileTable;
    }
    const std::string same = "data_path, config_path, bytes_read, records_parsed, records_rejected, engine_version";
    EXPECT_EQ(serverQuery(connection, "SELECT " + same + " FROM run WHERE run_id = " + runId[0]),
              query(file, "SELECT " + same + " FROM run"));
    const Rows source =
        serverQuery(connection, "SELECT database_path, computer_name FROM run WHERE run_id = " + runId[0]);
    ASSERT_EQ(source.size(), 1u);
    EXPECT_EQ(source[0], dataSourceName(connection) + "|" + computerName());
    EXPECT_EQ(source[0].find(password), std::string::npos);
}

// Runs as separate programs: two batches at once each land whole under a
// run of their own, and the same batch twice at once lands once; one
// interrupted or killed half way leaves nothing.
TEST_F(ServerRunTest, ConcurrentRunsLandWholeAndStoppedOnesLeaveNothing) {
    const std::string table = newTable();
    folder.write("other.dat", cardData(2400));
    {
        RunningProgram first(commandLine(table, "cards.dat", "r1.txt"));
        RunningProgram second(commandLine(table, "other.dat", "r2.txt"));
        RunningProgram same(commandLine(table, "cards.dat", "r3.txt"));
        EXPECT_EQ(second.wait(), 0) << folder.read("r2.txt");
        const int statuses[] = {first.wait(), same.wait()};
        const std::string refused = folder.read(statuses[0] == 0 ? "r3.txt" : "r1.txt");
        EXPECT_EQ(statuses[0] + statuses[1], 1) << refused;
        EXPECT_EQ(refused.rfind("Parse failed: this data file was already stored", 0), 0u) << refused;
    }
    EXPECT_EQ(serverQuery(connection, "SELECT count(*) FROM \"" + table + "\" GROUP BY run_id ORDER BY 1"),
              (Rows{"2352", "2450"}));

    folder.write("big.dat", cardData(400000));
    for (const bool killed : {false, true}) {
        RunningProgram engine(commandLine(table, "big.dat", "big.txt"));
        // Rows go to the server from the first progress line on.
        for (int waited = 0; folder.read("big.txt").find("did not finish") == std::string::npos && waited < 30000;
             waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        if (killed) {
            engine.kill();
            engine.wait();
            // Ended before its end: the results still say so.
            EXPECT_EQ(folder.read("big.txt").rfind("Parse failed: the run did not finish", 0), 0u)
                << folder.read("big.txt");
        } else {
            engine.interrupt();
            EXPECT_EQ(engine.wait(), 1);
            EXPECT_EQ(folder.read("big.txt").rfind("Parse failed: the run was interrupted", 0), 0u)
                << folder.read("big.txt");
        }
        EXPECT_EQ(runs(), (Rows{"2352", "2450"})) << killed;
    }
    EXPECT_EQ(serverQuery(connection, "SELECT count(*) FROM \"" + table + "\""), Rows{"4802"});
}

// A server that takes the connection and never answers: the login gives up
// in its time.
TEST_F(ServerRunTest, ALoginToASilentServerFailsInItsTime) {
    const SilentListener listener;
    ASSERT_NE(listener.port(), 0);
    const std::string silent = "Driver={" + std::string(std::getenv("VELMORA_ODBC_DRIVER")) +
                               "};Servername=127.0.0.1;Port=" + std::to_string(listener.port()) +
                               ";Database=postgres;UID=u;PWD=" + password;
    std::ostringstream console;
    EXPECT_EQ(parseTarnMain({"-o", folder.path("r.txt"), "--odbc", silent, "--odbc-timeout", "1", "--table", newTable(),
                             folder.path("cards.dat"), folder.path("cards.cfg")},
                            console),
              1);
    EXPECT_EQ(folder.read("r.txt").rfind("Parse failed: cannot connect to", 0), 0u) << folder.read("r.txt");
}

// A server that stops answering mid-run (its process stopped): an interrupt
// (SIGTERM; Ctrl+C on Windows) still ends the run, and the server, once it
// goes on, keeps nothing of it.
TEST_F(ServerRunTest, ASignalEndsARunWhoseServerStoppedAndNothingIsKept) {
    const std::string table = newTable();
    folder.write("big.dat", cardData(400000));
    RunningProgram engine(commandLine(table, "big.dat", "big.txt"));
    Rows backend;
    for (int waited = 0; backend.empty() && waited < 30000; waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        backend = serverQuery(connection, "SELECT pid FROM pg_stat_activity WHERE query LIKE '%INSERT INTO \"card%" +
                                              table.substr(table.find(' ')) + "\"%' AND pid <> pg_backend_pid()");
    }
    ASSERT_EQ(backend.size(), 1u);
    ASSERT_TRUE(holdProcess(backend[0], true));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    engine.interrupt();
    // Only so that a fault cannot hang the tests: ended hard after a minute,
    // which on Windows gives the same exit status as a failed run.
    std::atomic<bool> ended{false}, killed{false};
    std::thread guard([&] {
        for (int waited = 0; !ended && waited < 60000; waited += 50)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!ended) {
            killed = true;
            engine.kill();
        }
    });
    const int status = engine.wait();
    ended = true;
    guard.join();
    EXPECT_TRUE(holdProcess(backend[0], false));
    EXPECT_FALSE(killed) << "the run did not end by itself";
    EXPECT_EQ(status, 1);
    EXPECT_EQ(folder.read("big.txt").rfind("Parse failed: ", 0), 0u) << folder.read("big.txt");
    for (int waited = 0; waited < 30000 &&
                         !serverQuery(connection, "SELECT pid FROM pg_stat_activity WHERE pid = " + backend[0]).empty();
         waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(serverQuery(connection, "SELECT count(*) FROM \"" + table + "\""), Rows{"0"});
    EXPECT_TRUE(runs().empty());
}

}  // namespace
}  // namespace velmora::test
