#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "engine/storage/data_file_parse.h"
#include "engine/storage/engine_main.h"
#include "engine_test_support.h"

namespace velmora {
namespace {

using test::query;
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
        int status = runEngine(args, console, limits);
        output = console.str();
        return status;
    }
    std::string firstLine(const std::string& name) {
        std::string text = folder.read(name);
        return text.substr(0, text.find("\r\n"));
    }
    test::ScratchFolder folder;
    std::string output;
};

TEST_F(EngineRunTest, FixedLengthExampleWithPanPhotoAndChip) {
    std::string data = fixedRecord("4111111111111111111", "0004JPG1", std::string(40, 'C')) +
                       fixedRecord("5500000000000000004", "0012", std::string(40, 'D')) +  // a photo of 12 blanks
                       fixedRecord("4000000000000000002", "00x4", "") + std::string(10, 'z');
    folder.write("batch.dat", data);
    folder.write("bank.cfg", test::kFixedLengthExample);
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
    std::string results = folder.read("results.txt");
    EXPECT_NE(results.find("record 3 at byte 500, field \"Photo\": malformed length prefix"), std::string::npos);
    EXPECT_NE(results.find("Database: " + db), std::string::npos);
    EXPECT_EQ(folder.names().size(), 4u);  // inputs, results, database: no temporary file left
}

TEST_F(EngineRunTest, SeparatorExampleWithNamePmScriptAndMag) {
    const std::string tlv = std::string("\x70\x07\x5A\x02\x12\x34\x9F\x01\x00", 9);
    std::string data = "\"Jos\xE9~Smith#E1#P\x01\x02#E2#S" + tlv + "%B4111^SMITH?;4111=25?|\r\n" +
                       "\r\n" +                                           // empty: skipped
                       "no name here #Ppm#E2#S\x5A\x09short|\r\n" +       // TLV runs past the end
                       "#P#E2#S" + std::string("\x5A\x00", 2) + "tail|";  // no name, no line end
    folder.write("in.dat", data);
    folder.write("in.cfg", test::kSeparatorExample);
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
              (Rows{"1|Script|1|NULL|0|70|23|7|1|5A0212349F0100", "1|Script|2|1|1|5A|25|2|0|1234",
                    "1|Script|3|1|1|9F01|29|0|0|", "3|Script|1|NULL|0|5A|7|0|0|"}));
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

    // A database that would overwrite the data file is refused; the data stays.
    folder.write("good.cfg", test::configText("", "|", {test::field("A", "None", "", "None", "", "TEXT_FIELD")}));
    folder.write("in.mdb", "precious");
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.mdb"), folder.path("good.cfg")}), 1);
    EXPECT_EQ(folder.read("in.mdb"), "precious");
    EXPECT_EQ(run({"-o", folder.path("in.dat"), folder.path("in.dat"), folder.path("good.cfg")}), 2);
    EXPECT_EQ(folder.read("in.dat"), "abc|def|");
}

TEST_F(EngineRunTest, UsageHelpVersionAndTheDatabaseOption) {
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("only.dat")}), 2);
    EXPECT_EQ(firstLine("r.txt").rfind("Parse failed: usage: ", 0), 0u);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(output.find("Usage: ParseTarn"), std::string::npos);
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(output.rfind("ParseTarn ", 0), 0u);

    folder.write("in.dat", "abc|de|");
    folder.write("c.cfg",
                 test::configText("", "|", {test::field("A B", "None", "", "FIXED_LENGTH", "2", "TEXT_FIELD")}));
    EXPECT_EQ(run({folder.path("in.dat"), folder.path("c.cfg"), "-d", folder.path("other.db")}), 0) << output;
    EXPECT_FALSE(folder.exists("in.mdb"));
    EXPECT_EQ(query(folder.path("other.db"), "SELECT \"A B\" FROM records"), (Rows{"ab", "de"}));
    // A second run replaces the database it finds.
    folder.write("in.dat", "xyz|");
    EXPECT_EQ(run({folder.path("in.dat"), folder.path("c.cfg"), "-d", folder.path("other.db")}), 0) << output;
    EXPECT_EQ(query(folder.path("other.db"), "SELECT \"A B\" FROM records"), (Rows{"xy"}));
}

TEST_F(EngineRunTest, OversizedRecordsAreRejectedAndTheRunGoesOn) {
    folder.write("in.dat", "ab|" + std::string(100, 'x') + "|cd");
    folder.write("c.cfg", test::configText("", "|", {test::field("A", "None", "", "None", "", "BINARY_FIELD")}));
    RecordLimits small;
    small.largestRecord = 10;
    small.readSize = 4;
    EXPECT_EQ(run({"-o", folder.path("r.txt"), folder.path("in.dat"), folder.path("c.cfg")}, small), 0);
    EXPECT_EQ(firstLine("r.txt"), "2 records parsed, 1 rejected");
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT record_number, byte_offset, length FROM rejected"),
              (Rows{"2|3|100"}));
}

// The utility cancels a run by closing the pipe the engine prints its
// progress to: the run stops at its next progress line and leaves the old
// database as it was, with no temporary file beside it.
TEST_F(EngineRunTest, AClosedProgressOutputCancelsTheRunAndKeepsTheOldDatabase) {
    std::string data;
    for (int i = 0; i < 600; ++i) data += "1234567890";
    folder.write("batch.dat", data);
    folder.write("bank.cfg", test::configText("10", "", {test::field("All", "None", "", "None", "", "TEXT_FIELD")}));
    folder.write("batch.mdb", "the operator's good database");
    std::ostream closed(nullptr);  // every write fails, as on a pipe nobody reads
    ParseRequest request{folder.path("batch.dat"),    folder.path("bank.cfg"), folder.path("batch.mdb"), {}, &closed,
                         std::chrono::milliseconds(0)};
    RunOutcome outcome = parseDataFile(request);
    EXPECT_FALSE(outcome.completed);
    EXPECT_NE(outcome.failure.find("cancelled"), std::string::npos) << outcome.failure;
    EXPECT_EQ(folder.read("batch.mdb"), "the operator's good database");
    std::vector<std::string> names = folder.names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"bank.cfg", "batch.dat", "batch.mdb"}));
}

}  // namespace
}  // namespace velmora
