#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "tests/support/database_query.h"
#include "tests/support/file_access.h"
#include "engine/run/data_file_parse.h"
#include "engine/storage/database_claim.h"
#include "engine/os/engine_os.h"
#include "engine/core/sha256.h"
#include "engine/command/engine_main.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

using Rows = std::vector<std::string>;

std::string fixedRecord(const std::string& pan, const std::string& photoPrefix, const std::string& chip) {
    std::string r(250, ' ');
    r.replace(0, pan.size(), pan);
    r.replace(19, photoPrefix.size(), photoPrefix);
    r.replace(99, chip.size(), chip);
    return r;
}

class EngineRunTest : public ::testing::Test {
protected:
    int run(std::vector<std::string> args, RecordLimits limits = {}) {
        std::ostringstream console;
        int status = parseTarnMain(args, console, limits);
        output = console.str();
        return status;
    }
    std::string firstLine(const std::string& name) {
        std::string text = folder.read(name);
        return text.substr(0, text.find("\r\n"));
    }
    ScratchFolder folder;
    std::string output;
};

TEST_F(EngineRunTest, FixedLengthExampleWithPanPhotoAndChip) {
    std::string data = fixedRecord("4111111111111111111", "0004JPG1", std::string(40, 'C')) +
                       fixedRecord("5500000000000000004", "0012", std::string(40, 'D')) +  // a photo of 12 blanks
                       fixedRecord("4000000000000000002", "00x4", "") + std::string(10, 'z');
    folder.write("batch.dat", data);
    folder.write("bank.cfg", exampleFile("fixed_length.cfg"));
    ASSERT_EQ(run({"-o", folder.path("results.txt"), folder.path("batch.dat"), folder.path("bank.cfg")}), 0) << output;

    EXPECT_EQ(firstLine("results.txt"), "2 records parsed, 2 rejected");
    std::string db = folder.path("batch.mdb");
    EXPECT_EQ(query(db, "SELECT record_number, byte_offset, length, PAN, hex(Photo), CAST(Chip AS TEXT) FROM records"),
              (Rows{"1|0|250|4111111111111111111|4A504731|" + std::string(40, 'C'),
                    "2|250|250|5500000000000000004|202020202020202020202020|" + std::string(40, 'D')}));
    EXPECT_EQ(query(db, "SELECT typeof(PAN), typeof(Photo), typeof(Chip) FROM records LIMIT 1"),
              (Rows{"text|blob|blob"}));
    EXPECT_EQ(query(db, "SELECT * FROM rejected"),
              (Rows{"3|500|250|Photo|malformed length prefix \"00x4\": four decimal digits expected",
                    "4|750|10|NULL|short last record: 10 of 250 bytes"}));
    EXPECT_EQ(query(db, "SELECT position, name, field_type, field_type_data FROM fields"),
              (Rows{"1|PAN|TEXT_FIELD|", "2|Photo|BINARY_FIELD|", "3|Chip|P3_FIELD|App1"}));
    EXPECT_EQ(query(db, "SELECT records_parsed, records_rejected, bytes_read, engine_version <> '' FROM run"),
              (Rows{"2|2|760|1"}));
    // The data file as the run saw it, and the configuration by its bytes.
    std::FILE* opened = std::fopen(folder.path("batch.dat").c_str(), "rb");
    ASSERT_TRUE(opened);
    const FileStamp stamp = openFileStamp(opened);
    std::fclose(opened);
    EXPECT_EQ(stamp.modified.size(), 28u);
    EXPECT_EQ(query(db, "SELECT data_size, data_modified, config_digest FROM run"),
              (Rows{"760|" + stamp.modified + "|" + sha256Hex(exampleFile("fixed_length.cfg"))}));
    std::string results = folder.read("results.txt");
    EXPECT_NE(results.find("record 3 at byte 500, field \"Photo\": malformed length prefix"), std::string::npos);
    EXPECT_NE(results.find("Database: " + db), std::string::npos);
    EXPECT_EQ(folder.names().size(), 4u);  // inputs, results, database: no temporary file left
#ifndef _WIN32
    // A pipe has no stamp, so no two runs from one are the same run.
    mkfifo(folder.path("pipe").c_str(), 0600);
    std::FILE* pipe = std::fopen(folder.path("pipe").c_str(), "r+");  // reading and writing: no wait
    ASSERT_TRUE(pipe);
    EXPECT_EQ(openFileStamp(pipe).modified, "");
    std::fclose(pipe);
#endif
}

TEST_F(EngineRunTest, SeparatorExampleWithNamePmScriptAndMag) {
    const std::string tlv = std::string("\x70\x07\x5A\x02\x12\x34\x9F\x01\x00", 9);
    std::string data = "\"Jos\xE9~Smith#E1#P\x01\x02#E2#S" + tlv + "%B4111^SMITH?;4111=25?|\r\n" +
                       "\r\n" +                                           // empty: skipped
                       "no name here #Ppm#E2#S\x5A\x09short|\r\n" +       // TLV runs past the end
                       "#P#E2#S" + std::string("\x5A\x00", 2) + "tail|";  // no name, no line end
    folder.write("in.dat", data);
    folder.write("in.cfg", exampleFile("separator.cfg"));
    ASSERT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}), 0) << output;
    EXPECT_EQ(firstLine("r.txt"), "2 records parsed, 1 rejected");

    std::string db = folder.path("in.mdb");
    EXPECT_EQ(query(db,
                    "SELECT record_number, byte_offset, Name, hex(PM), hex(Script), Mag, \"Mag track 1\", "
                    "\"Mag track 2\", \"Mag track 3\" FROM records"),
              (Rows{"1|0|Jos\xC3\xA9~Smith|0102|70075A0212349F0100|%B4111^SMITH?;4111=25?|B4111^SMITH|4111=25|NULL",
                    "3|" + std::to_string(data.find("#P#E2")) + "|NULL||5A00|tail|NULL|NULL|NULL"}));
    EXPECT_EQ(query(db,
                    "SELECT record_number, field, sequence, parent_sequence, depth, tag, byte_offset, length, "
                    "constructed, hex(value) FROM tlv"),
              (Rows{"1|Script|1|NULL|0|70|23|7|1|", "1|Script|2|1|1|5A|25|2|0|1234", "1|Script|3|1|1|9F01|29|0|0|",
                    "3|Script|1|NULL|0|5A|7|0|0|"}));
    EXPECT_EQ(query(db, "SELECT record_number, field, part, value FROM fir_parts"),
              (Rows{"1|Name|1|Jos\xC3\xA9", "1|Name|2|Smith"}));
    EXPECT_EQ(query(db, "SELECT record_number, byte_offset, field FROM rejected"),
              (Rows{"2|" + std::to_string(data.find("no name")) + "|Script"}));
}

TEST_F(EngineRunTest, AFailedRunWritesWhyAndLeavesNoDatabase) {
    folder.write("in.dat", "abc|def|");
    folder.write("bad.cfg",
                 "fixedLength = 0\r\nrecordSeparator = '|'\r\nfirSeparator = ''\r\nfieldsInOrder = 1\r\n"
                 "fieldDefs = (\r\nFieldDef(\"A\", None, \"\", None, \"\", TEXT, \"Y\"),\r\n)\r\n");
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("bad.cfg")}), 1);
    EXPECT_EQ(firstLine("r.txt"), "Parse failed: configuration line 6: unknown field type \"TEXT\"");
    EXPECT_FALSE(folder.exists("in.mdb"));

    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("missing.dat"), folder.path("bad.cfg")}), 1);
    EXPECT_FALSE(folder.exists("missing.mdb"));
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("missing.cfg")}), 1);
    EXPECT_EQ(firstLine("r.txt").rfind("Parse failed: cannot open the configuration file", 0), 0u);
}

// An output that would land on an input, or on the other output, is a
// usage error whichever output it is: nothing is replaced, and the results
// file says so wherever it may be written.
TEST_F(EngineRunTest, OutputsOnAnInputOrOnEachOtherAreUsageErrorsThatReplaceNothing) {
    const std::string cfg = configText("", "|", {field("A", "None", "", "None", "", "TEXT_FIELD")});
    folder.write("in.dat", "abc|def|");
    folder.write("in.cfg", cfg);
    folder.write("in.mdb", "the operator's good database");
    const std::string dat = folder.path("in.dat"), mdb = folder.path("in.mdb"), r = folder.path("r.txt");
    struct Case {
        std::vector<std::string> args;
        const char* results;  // the results file's first line, or "" when none may be written
    } cases[] = {
        {{"-o", mdb, dat, folder.path("in.cfg")}, ""},
        {{"-o", mdb + ".partial", dat, folder.path("in.cfg")}, ""},
        {{"-o", r, "-d", r, dat, folder.path("in.cfg")}, ""},
        {{"-o", dat, dat, folder.path("in.cfg")}, ""},
        {{"-o", r, dat, folder.path("in.cfg"), "-d", folder.path("in.cfg")},
         "Parse failed: usage: the database would overwrite the input file "},
        {{"-o", r, mdb, folder.path("in.cfg")}, "Parse failed: usage: the database would overwrite the input file "},
#ifdef _WIN32
        // Windows compares names without regard to case, existing or not.
        {{"-o", folder.path("IN.MDB"), dat, folder.path("in.cfg")}, ""},
        {{"-o", folder.path("New.txt"), "-d", folder.path("NEW.TXT"), dat, folder.path("in.cfg")}, ""},
#endif
    };
    for (const Case& c : cases) {
        std::remove(r.c_str());
        EXPECT_EQ(run(c.args), 2) << c.args[1];
        EXPECT_EQ(folder.read("in.mdb"), "the operator's good database") << c.args[1];
        EXPECT_EQ(folder.read("in.dat"), "abc|def|");
        EXPECT_EQ(folder.read("in.cfg"), cfg);
        EXPECT_FALSE(folder.exists("in.mdb.partial"));
        if (*c.results)
            EXPECT_EQ(firstLine("r.txt").rfind(c.results, 0), 0u) << firstLine("r.txt");
        else
            EXPECT_EQ(folder.names().size(), 3u) << c.args[1];
    }
}

// The results file is written before the database takes its place: a run
// that cannot write it fails and leaves the old database where it was.
TEST_F(EngineRunTest, AResultsFileThatCannotBeWrittenKeepsTheOldDatabase) {
    folder.write("in.dat", "abc|def|");
    folder.write("in.cfg", configText("", "|", {field("A", "None", "", "None", "", "TEXT_FIELD")}));
    folder.write("in.mdb", "the operator's good database");
    std::filesystem::create_directory(folder.path("a folder"));
    for (const std::string& results : {folder.path("no such folder/r.txt"), folder.path("a folder")}) {
        EXPECT_EQ(run({"-o", results, folder.path("in.dat"), folder.path("in.cfg")}), 1) << results;
        EXPECT_NE(output.find("cannot write the results file"), std::string::npos) << output;
        EXPECT_EQ(folder.read("in.mdb"), "the operator's good database");
        EXPECT_FALSE(folder.exists("in.mdb.partial"));
    }
}

#ifndef _WIN32
// Links and pipes at every name a run writes: whatever is there, a run never
// writes through a link or into anything but its own new file, never waits
// on a pipe, and ends in a failure that says why or a success whose database
// is whole, with the old database and the inputs intact otherwise.
TEST_F(EngineRunTest, HostileThingsAtTheOutputNamesNeverTrickTheRun) {
    const std::string mdb = folder.path("in.mdb"), longName(250, 'n');
    auto link = [&](const char* to, const char* name) { return [=] { symlink(to, folder.path(name).c_str()); }; };
    auto fifo = [&](const char* name) { return [=] { mkfifo(folder.path(name).c_str(), 0600); }; };
    struct Case {
        const char* what;
        std::function<void()> setUp;
        const char* database;  // given with -d, or "" for in.mdb
        int status;
        std::string firstLine;    // its start; "" when none is written
        const char* newDatabase;  // where a new database is, or ""
    } cases[] = {
        {"results: a dangling link to the temporary database", link("in.mdb.partial", "r.txt"), "", 0,
         "2 records parsed", "in.mdb"},
        {"results: a link to the data file", link("in.dat", "r.txt"), "", 2, "", ""},
        {"results: a pipe", fifo("r.txt"), "", 1, "", ""},
        {"temporary database: a pipe", fifo("in.mdb.partial"), "", 1,
         "Parse failed: cannot create the temporary database " + mdb + ".partial: something that is not a regular file",
         ""},
        {"temporary database: a link to the data file", link("in.dat", "in.mdb.partial"), "", 2,
         "Parse failed: usage: the database would overwrite the input file", ""},
        {"temporary database: a link to another database", link("old.mdb", "in.mdb.partial"), "", 1,
         "Parse failed: cannot create the temporary database " + mdb + ".partial: something that is not a regular file",
         ""},
        {"database: a link to another one", link("old.mdb", "new.mdb"), "new.mdb", 0, "2 records parsed", "new.mdb"},
        {"database: a folder", [&] { mkdir(folder.path("dir").c_str(), 0700); }, "dir", 1,
         "Parse failed: the database " + folder.path("dir") + " is a folder", ""},
        {"database: a pipe", fifo("pipe.mdb"), "pipe.mdb", 1,
         "Parse failed: the database " + folder.path("pipe.mdb") + " is not a regular file", ""},
        {"database: a name too long for its temporary names", [] {},
         "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"
         "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"
         "nnnnnnnnnnnnnnnnnnnnn",
         1, "Parse failed: the database file name is longer than ", ""},
    };
    for (const Case& c : cases) {
        for (const std::string& name : folder.names()) std::filesystem::remove_all(folder.path(name));
        folder.write("in.dat", "abc|def|");
        folder.write("in.cfg", configText("", "|", {field("A", "None", "", "None", "", "TEXT_FIELD")}));
        folder.write("in.mdb", "the operator's good database");
        folder.write("old.mdb", "another good database");
        c.setUp();
        const std::vector<std::string> before = folder.names();
        std::vector<std::string> args = {"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")};
        if (*c.database) args.insert(args.end(), {"-d", folder.path(c.database)});
        EXPECT_EQ(run(args), c.status) << c.what << "\n" << output;
        EXPECT_EQ(folder.read("in.dat"), "abc|def|") << c.what;
        EXPECT_EQ(folder.read("old.mdb"), "another good database") << c.what;
        if (*c.newDatabase) {
            EXPECT_EQ(query(folder.path(c.newDatabase), "SELECT A FROM records"), (Rows{"abc", "def"})) << c.what;
        }
        if (c.newDatabase != std::string("in.mdb")) {
            EXPECT_EQ(folder.read("in.mdb"), "the operator's good database") << c.what;
        }
        if (!c.firstLine.empty()) {
            EXPECT_EQ(firstLine("r.txt").rfind(c.firstLine, 0), 0u) << c.what << ": " << firstLine("r.txt");
        }
        // What was in the way is still there, and nothing of the run's own is left.
        for (const std::string& name : before) {
            EXPECT_NE(pathKind(folder.path(name)), PathKind::Missing) << c.what << ": " << name;
        }
        for (const std::string& name : folder.names()) {
            const bool ours = name.find(".partial") != std::string::npos;
            EXPECT_TRUE(!ours || std::find(before.begin(), before.end(), name) != before.end())
                << c.what << ": " << name;
        }
    }
}

#endif

// Card data are no one else's business: the temporary database is its
// owner's alone while it is written, and the new database takes the
// permissions of the one it replaces, or the folder's defaults.
TEST_F(EngineRunTest, TheNewDatabaseIsAsPrivateAsTheOneItReplaces) {
    folder.write("in.dat", "abc|");
    folder.write("in.cfg", configText("", "|", {field("A", "None", "", "None", "", "TEXT_FIELD")}));
    folder.write("fresh.txt", "a new file takes the folder's defaults");
    const std::string mdb = folder.path("in.mdb");
    for (const char* old : {"private", "as made", "none"}) {
        std::remove(mdb.c_str());
        if (old != std::string("none")) folder.write("in.mdb", "the operator's good database");
        if (old == std::string("private")) makePrivate(mdb);
        const std::string expected = accessOf(old == std::string("none") ? folder.path("fresh.txt") : mdb);
        ParseRequest request;
        request.dataPath = folder.path("in.dat");
        request.configPath = folder.path("in.cfg");
        request.databasePath = mdb;
        std::string whileWritten;
        request.beforePublishing = [&](const RunOutcome&) {
            whileWritten = accessOf(mdb + ".partial");
            return Status();
        };
        ASSERT_TRUE(parseDataFile(request).completed) << old;
        EXPECT_FALSE(whileWritten.empty() || othersMayRead(whileWritten)) << old << ": " << whileWritten;
        EXPECT_EQ(accessOf(mdb), expected) << old;
    }
}

// A run holds its temporary file for as long as it lives: another run on
// the same database refuses rather than take it, and a file that no live
// run holds is a dead run's and is cleaned away.
TEST_F(EngineRunTest, ARunCleansADeadRunsTemporaryFileAndRefusesALiveOnes) {
    folder.write("in.dat", "abc|");
    folder.write("in.cfg", configText("", "|", {field("A", "None", "", "None", "", "TEXT_FIELD")}));
    folder.write("in.mdb.partial", "left by a run that was killed");
    const std::vector<std::string> args = {"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")};
    ASSERT_EQ(run(args), 0) << output;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT A FROM records"), (Rows{"abc"}));
    EXPECT_FALSE(folder.exists("in.mdb.partial"));

    DatabaseClaim live;
    const Status claimed = live.claim(folder.path("in.mdb"));  // in.mdb.partial
    ASSERT_TRUE(claimed.ok()) << claimed.failure();
    folder.write("in.dat", "xyz|");
    EXPECT_EQ(run(args), 1);
    EXPECT_EQ(firstLine("r.txt"), "Parse failed: the database " + folder.path("in.mdb") +
                                      " is being written by another run (" + folder.path("in.mdb.partial") +
                                      " is in use)");
    EXPECT_TRUE(folder.exists("in.mdb.partial"));
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT A FROM records"), (Rows{"abc"}));
    live.discard();
    EXPECT_FALSE(folder.exists("in.mdb.partial"));
    EXPECT_EQ(run(args), 0) << output;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT A FROM records"), (Rows{"xyz"}));
}

// TLV objects are numbered through the record, across its TESSELGRAM fields.
TEST_F(EngineRunTest, TlvObjectsAreNumberedThroughTheRecord) {
    folder.write("in.dat", std::string("\x70\x03\x5A\x01"
                                       "a\x5B\x01"
                                       "b",
                                       8));
    folder.write("in.cfg", configText("8", "",
                                      {field("T1", "START_POSITION", "1", "TESSELGRAM", "", "BINARY_FIELD"),
                                       field("T2", "START_POSITION", "6", "TESSELGRAM", "", "BINARY_FIELD")}));
    ASSERT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}), 0) << output;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT field, sequence, parent_sequence, tag FROM tlv"),
              (Rows{"T1|1|NULL|70", "T1|2|1|5A", "T2|3|NULL|5B"}));

    // 16.5 KB nested 32 deep: each byte is stored once in the tlv table,
    // with the object that holds it, not again at every level around it.
    std::string tlv(16500 - 32 * 4 - 4, 'v');
    for (int depth = 0; depth <= 32; ++depth) {
        const size_t n = tlv.size();
        tlv = std::string{depth == 0 ? '\x5A' : '\x70', '\x82', char(n >> 8), char(n)} + tlv;
    }
    folder.write("in.dat", tlv);
    folder.write("in.cfg", configText(std::to_string(tlv.size()), "",
                                      {field("T", "None", "", "TESSELGRAM", "", "BINARY_FIELD")}));
    ASSERT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}), 0) << output;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT count(*), sum(length(value)), max(depth) FROM tlv"),
              (Rows{"33|16368|32"}));
    EXPECT_LT(std::filesystem::file_size(folder.path("in.mdb")), 8 * tlv.size());
}

TEST_F(EngineRunTest, UsageHelpVersionAndTheDatabaseOption) {
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("only.dat")}), 2);
    EXPECT_EQ(firstLine("r.txt").rfind("Parse failed: usage: ", 0), 0u);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(output.find("Usage: ParseTarn"), std::string::npos);
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(output.rfind("ParseTarn ", 0), 0u);

    folder.write("in.dat", "abc|de|");
    folder.write("c.cfg", configText("", "|", {field("A B", "None", "", "FIXED_LENGTH", "2", "TEXT_FIELD")}));
    EXPECT_EQ(run({folder.path("in.dat"), folder.path("c.cfg"), "-d", folder.path("other.db")}), 0) << output;
    EXPECT_FALSE(folder.exists("in.mdb"));
    EXPECT_EQ(query(folder.path("other.db"), "SELECT \"A B\" FROM records"), (Rows{"ab", "de"}));
    // A second run replaces the database it finds.
    folder.write("in.dat", "xyz|");
    EXPECT_EQ(run({folder.path("in.dat"), folder.path("c.cfg"), "-d", folder.path("other.db")}), 0) << output;
    EXPECT_EQ(query(folder.path("other.db"), "SELECT \"A B\" FROM records"), (Rows{"xy"}));
}

// Quotes before a comma or a parenthesis, blanks, single quotes and "=" in
// the separators: the editor saves them and the engine cuts by them as typed.
TEST_F(EngineRunTest, RunsTheValueShapesTheEditorSaves) {
    using test::field;
    folder.write("in.dat", "\"a,bONE\")xx\"),T,W)O\\\"' =\"a,bTWO\")xx\"),U\\\"");
    folder.write("in.cfg", test::configText("", "' =",
                                            {field("Bin", "START_CODE", "\"a,b", "END_CODE", "\")x", "BINARY_FIELD"),
                                             field("Txt", "START_CODE", "x\"),", "END_CODE", "\\\"", "TEXT_FIELD")},
                                            true, ",)"));
    ASSERT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}), 0) << output;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT CAST(Bin AS TEXT), Txt FROM records"), (Rows{"ONE|T,W)O", "TWO|U"}));
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT record_number, part, value FROM fir_parts"),
              (Rows{"1|1|T", "1|2|W", "1|3|O", "2|1|U"}));
}

// SQLite compares column names without regard to case and cannot hold a
// NUL in one: every field still gets a column, and the fields table tells
// which. A table too wide for SQLite is refused in plain words.
TEST_F(EngineRunTest, EveryFieldGetsAColumnOfItsOwnUpToWhatATableHolds) {
    folder.write("in.dat", "12345");
    folder.write("in.cfg",
                 configText("5", "",
                            {field("Pan", "START_POSITION", "1", "FIXED_LENGTH", "2", "TEXT_FIELD"),
                             field("PAN", "START_POSITION", "3", "FIXED_LENGTH", "2", "TEXT_FIELD"),
                             field("Skip", "None", "", "None", "", "IGNORE_FIELD"),
                             field(std::string("A\0B", 3), "START_POSITION", "5", "None", "", "BINARY_FIELD")}));
    ASSERT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("in.cfg")}), 0) << output;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT Pan, \"PAN (2)\", \"A\\x00B\" FROM records"), (Rows{"12|34|x35"}));
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT position, column_name FROM fields"),
              (Rows{"1|Pan", "2|PAN (2)", "3|NULL", "4|A\\x00B"}));

    // As many columns as a table holds: a statement of several rows of them
    // would pass SQLite's limit of parameters.
    std::vector<FieldDef> wide;
    for (int k = 0; k < 1997; ++k) wide.push_back(field("F" + std::to_string(k), "None", "", "None", "", "TEXT_FIELD"));
    folder.write("wide.cfg", configText("5", "", wide));
    ASSERT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("wide.cfg")}), 0) << output;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT F0, F1996 FROM records"), (Rows{"12345|"}));
    wide.push_back(field("F1997", "None", "", "None", "", "TEXT_FIELD"));
    folder.write("wide.cfg", configText("5", "", wide));
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("wide.cfg")}), 1);
    EXPECT_EQ(firstLine("r.txt"),
              "Parse failed: the configuration stores 1998 columns, more than the 1997 a records table can hold "
              "beside record_number, byte_offset and length");

    // Codes of megabytes would take gigabytes to search for: refused before any is built.
    folder.write(
        "huge.cfg",
        configText("5", "", {field("Big", "START_CODE", std::string(5u << 20, 'c'), "None", "", "TEXT_FIELD")}));
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("huge.cfg")}), 1);
    EXPECT_EQ(firstLine("r.txt"),
              "Parse failed: configuration too large: searching for its codes would take 281 MB, more than 256 MB");
}

TEST_F(EngineRunTest, OversizedRecordsAreRejectedAndTheRunGoesOn) {
    folder.write("in.dat", "ab|" + std::string(100, 'x') + "|cd");
    folder.write("c.cfg", configText("", "|", {field("A", "None", "", "None", "", "BINARY_FIELD")}));
    RecordLimits small;
    small.largestRecord = 10;
    small.readSize = 4;
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("c.cfg")}, small), 0);
    EXPECT_EQ(firstLine("r.txt"), "2 records parsed, 1 rejected");
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT record_number, byte_offset, length FROM rejected"),
              (Rows{"2|3|100"}));

    // Fields that overlap store a record many times over: past the limit in
    // all, the record is set aside rather than held so many times.
    folder.write("in.dat", "ab|abcdef|");
    folder.write("c.cfg", configText("", "|",
                                     {field("A", "None", "", "None", "", "BINARY_FIELD"),
                                      field("B", "START_POSITION", "1", "None", "", "TEXT_FIELD")},
                                     false));
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("c.cfg")}, small), 0);
    EXPECT_EQ(
        query(folder.path("in.mdb"), "SELECT record_number, field, reason FROM rejected"),
        (Rows{"2|NULL|the record's values would take 12 bytes in the database, more than the limit of 10 bytes"}));
}

// The utility cancels a run by closing the pipe the engine prints its
// progress to: the run stops at its next progress line and leaves the old
// database as it was, with no temporary file beside it.
TEST_F(EngineRunTest, AClosedProgressOutputCancelsTheRunAndKeepsTheOldDatabase) {
    std::string data;
    for (int i = 0; i < 600; ++i) data += "1234567890";
    folder.write("batch.dat", data);
    folder.write("bank.cfg", configText("10", "", {field("All", "None", "", "None", "", "TEXT_FIELD")}));
    folder.write("batch.mdb", "the operator's good database");
    std::ostream closed(nullptr);  // every write fails, as on a pipe nobody reads
    ParseRequest request;
    request.dataPath = folder.path("batch.dat");
    request.configPath = folder.path("bank.cfg");
    request.databasePath = folder.path("batch.mdb");
    request.console = &closed;
    request.progressInterval = std::chrono::milliseconds(0);
    RunOutcome outcome = parseDataFile(request);
    EXPECT_FALSE(outcome.completed);
    EXPECT_NE(outcome.failure.find("cancelled"), std::string::npos) << outcome.failure;
    EXPECT_EQ(folder.read("batch.mdb"), "the operator's good database");
    std::vector<std::string> names = folder.names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"bank.cfg", "batch.dat", "batch.mdb"}));
}

}  // namespace
}  // namespace velmora::test
