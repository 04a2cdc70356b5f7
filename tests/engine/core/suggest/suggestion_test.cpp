// Configurations suggested from sample data files. For each shape of the
// corpus in tests/data/suggest (a sample and the configuration that cuts it
// as intended), ParseTarn --suggest proposes one by which the engine stores
// exactly the intended cells, under the intended names. Samples without
// records say why, and the rules the corpus does not reach hold too.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>

#include "format/config/config_format.h"
#include "engine/core/suggest/field_finder.h"
#include "engine/core/suggest/suggestion.h"
#include "format/fields/keywords.h"
#include "tests/support/database_query.h"
#include "engine/run/data_file_parse.h"
#include "engine/command/engine_arguments.h"
#include "engine/command/engine_main.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

using Rows = std::vector<std::string>;

struct Command {
    int status;
    std::string out, errors;
};

Command parseTarn(const std::vector<std::string>& args) {
    std::ostringstream out, errors;
    const int status = parseTarnMain(args, out, {}, errors);
    return {status, out.str(), errors.str()};
}

// What the engine stores of the folder's sample.dat cut by `config`: every
// cell of every record, the fields' names, what was parsed and rejected.
Rows stored(const ScratchFolder& folder, const std::string& name, const std::string& config) {
    folder.write(name + ".cfg", config);
    ParseRequest request;
    request.dataPath = folder.path("sample.dat");
    request.configPath = folder.path(name + ".cfg");
    request.databasePath = folder.path(name + ".mdb");
    EXPECT_TRUE(parseDataFile(request).completed) << name;
    Rows rows = query(request.databasePath, "SELECT * FROM records ORDER BY record_number");
    for (const char* sql :
         {"SELECT group_concat(name, '|') FROM fields", "SELECT records_parsed, records_rejected FROM run"})
        rows.push_back(query(request.databasePath, sql).at(0));
    return rows;
}

TEST(SuggestionTest, EveryShapeOfTheCorpusIsCutIntoTheIntendedCellsUnderTheIntendedNames) {
    for (const char* shape :
         {"comma_crlf", "pipe_lf", "tab_cr", "us_rs", "caret_tilde", "fixed_text", "fixed_columns_crlf",
          "binary_column", "magstripe", "tlv_fixed", "date_amount_crlf", "accents_crlf", "zero_pan_crlf",
          "magstripe_track3", "tlv_crlf", "mixed_line_ends", "columns_past_limit_crlf"}) {
        SCOPED_TRACE(shape);
        ScratchFolder folder;
        const std::string sample = exampleFile(std::string("suggest/") + shape + ".dat");
        folder.write("sample.dat", sample);
        const Command suggested = parseTarn({"--suggest", folder.path("sample.dat")});
        EXPECT_EQ(suggested.status, 0) << suggested.errors;
        const Rows intended = stored(folder, "intended", exampleFile(std::string("suggest/") + shape + ".cfg"));
        EXPECT_EQ(intended.back().substr(intended.back().find('|')), "|0");  // every record parsed
        EXPECT_EQ(stored(folder, "suggested", suggested.out), intended) << suggested.errors;
    }
}

TEST(SuggestionTest, SamplesWithoutRecordsSayWhyAndAWrongCommandLineIsAUsageError) {
    ScratchFolder folder;
    std::uint32_t seed = 22;
    std::string noise;
    while (noise.size() < 70000) noise += static_cast<char>((seed = seed * 1103515245u + 12345u) >> 23);
    for (std::size_t size : {100u, 4096u, 70000u}) folder.write("random" + std::to_string(size), noise.substr(0, size));
    folder.write("empty.dat", "");
    folder.write("one.dat", "4111111111111111,2512,JOHN SMITH\r\n");
    const std::string noRecords =
        "No suggestion: no byte sequence ends records of one shape, and the classes of the bytes line up at no record "
        "length from 2 to 65536 bytes.\n";
    const std::string usage =
        std::string("ParseTarn: --suggest takes one data file and no other option\n") + kEngineUsage;
    const struct Case {
        std::vector<std::string> args;
        int status;
        std::string errors;  // its start
    } cases[] = {
        {{"--suggest", folder.path("random100")}, 1, noRecords},
        {{"--suggest", folder.path("random4096")}, 1, noRecords},
        {{"--suggest", folder.path("random70000")}, 1, noRecords},
        {{"--suggest", folder.path("empty.dat")}, 1, "No suggestion: the sample is empty.\n"},
        {{"--suggest", folder.path("one.dat")},
         1,
         "No suggestion: the sample holds one record, ended by \"\\x0D\\x0A\": at least two are needed to see the "
         "shape of the records.\n"},
        {{"--suggest", folder.path("none.dat")}, 1, "No suggestion: cannot open the data file "},
        {{"--suggest", folder.path("")}, 1, "No suggestion: the data file "},  // a folder
        {{"--suggest"}, 2, usage},
        {{"--suggest", "a.dat", "b.dat"}, 2, usage},
        {{"--suggest", "-o", "r.txt", "a.dat"}, 2, usage},
    };
    for (const Case& c : cases) {
        const Command run = parseTarn(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_EQ(run.out, "") << c.args.back();
        EXPECT_EQ(run.errors.substr(0, c.errors.size()), c.errors) << c.args.back();
    }
    EXPECT_NE(parseTarn({"--help"}).out.find("ParseTarn --suggest DATA"), std::string::npos);
}

// What the corpus does not reach: where the editor's limits bend the cut,
// records nearly all of one length, delimiters inside the tracks or at one
// column, a sample cut short, a period against its multiples and against
// the runs of prose.
TEST(SuggestionTest, RulesTheCorpusDoesNotReach) {
    const std::string wide = std::string(65535, 'A') + "1234\r\n";
    const std::string track = "%B4111111111111111^SMITH/JOHN^2512101?;4111111111111111=2512101?";
    std::string alternating, prose;
    for (const char* pan : {"4111111111111111", "5500000000000004", "4012888888881881", "6011111111111117",
                            "5105105105105100", "5555555555554444"})
        alternating += pan + std::string(alternating.size() % 60 ? "ANNA LEE      " : "JOHN SMITH    ");
    const char* const words[] = {"card", "issuer", "bank", "data", "the", "of", "chip", "record", "a", "to"};
    for (std::uint32_t seed = 22; prose.size() < 20000;)
        prose += words[((seed = seed * 1103515245u + 12345u) >> 16) % 10] + std::string(" ");
    const std::string usRs = exampleFile("suggest/us_rs.dat");
    std::string tabbed, tracks, trackBeside = ";1=?";
    for (int k = 0; k < 1100; ++k) tabbed += "123\t";
    for (int k = 0; k < 600; ++k) tracks += ";1=?|";
    tabbed += "\r\n" + tabbed + "\r\n";
    tracks += "\r\n" + tracks + "\r\n";
    for (int k = 0; k < 998; ++k) trackBeside += "0A";
    trackBeside += "\r\n" + trackBeside + "\r\n";
    const struct Case {
        const char* rule;
        std::string sample;
        bool wholeFile, found;
        std::string shows;  // in the configuration's text or its reasons
    } cases[] = {
        {"a field would start past 65534: it joins the field before", wide + wide + wide, true, true,
         "FieldDef(\"Field1\", START_POSITION, 1, FIXED_LENGTH, 65539, TEXT_FIELD, \"Y\"),\r\n)"},
        {"nearly every record of one length: columns, and the other rejected",
         "4111111111111111JOHN  \r\n5500000000000004ANNA  \r\n340000000000009 MARK  \r\n4012888888881881ZOE   \r\n"
         "6011111111111117SUE   \r\n5105105105105100TED   \r\n4222222222222   BO    \r\n4111111111111111AL    \r\n"
         "5500000000000004ED    \r\n3400000000\r\n",
         true, true, "10 records by it, 1 rejected"},
        {"a delimiter must not occur inside the tracks", "0001;" + track + ";JOHN\r\n0002;" + track + ";ANNA MARIE\r\n",
         true, true, "FieldDef(\"Field1\", None, \"\", None, \"\", TEXT_FIELD"},
        {"an unusual mark at one column of records of one length is a value's",
         "4111111111111111 12/25 JOHN SMITH\r\n5500000000000004 01/26 ANNA LEE  \r\n", true, true, "START_POSITION"},
        {"a sample cut short leaves out its last record", "AB,12\r\nCD,34\r\nEF,5", false, true,
         "Records end with \"\\x0D\\x0A\": 2 in the sample"},
        {"controls other than line ends cut records of one shape, not text", usRs.substr(0, usRs.size() - 1), true,
         true, "recordSeparator = '\\x1E'"},
        {"twice a record's length does not beat the record", alternating, true, true, "fixedLength = 30"},
        {"runs of one class in prose are no records", prose, true, false, "line up at no record length"},
        {"CR LF in one part of a sample and LF alone in another: LF ends them all, and the reason says so",
         exampleFile("suggest/mixed_line_ends.dat"), true, true,
         "9 of them end with \"\\x0D\\x0A\" and 7 with \"\\x0A\" alone, so \"\\x0A\" ends them all"},
        {"more fields than a records table holds, even with the columns that print as one: none, and why", tabbed, true,
         false, "make 2199 fields even with the columns that print side by side as one, more than the 1997"},
        {"the tracks' columns count among what a records table holds", trackBeside, true, true,
         "1997 fields in 2000 columns, more than the 1997 a records table holds; columns that print side by side are "
         "one field, so 2 fields"},
        {"more columns than a records table holds, with the tracks': none, and why", tracks, true, false,
         "stores 2401 columns, more than the 1997 a records table can hold"},
        {"a sign from 0x80 up is a value's, never a delimiter",
         "JOHN SMITH \xA3"
         "12\r\nANNA LEE \xA3"
         "150\r\nBO \xA3"
         "7\r\n",
         true, true, "One field holds the whole record"},
        {"bytes from 0x80 up are binary beside other bytes, and five do not print",
         "4111111111111111\x81\xA9\xB1Q\xF7\xD7JOHN SMITH\r\n5500000000000004\x8D\xAB"
         "4\xBB\xE0\xA4"
         "ANNA LEE  \r\n"
         "4012888888881881\x90\xB0\xC6\x99_\xBEZOE NEIL  \r\n",
         true, true, "BINARY_FIELD, bytes that do not print (bytes 17 to 22)"},
    };
    for (const Case& c : cases) {
        const Suggestion s = suggestConfiguration(c.sample, c.wholeFile);
        std::string text = configurationText(s.configuration);
        for (const std::string& reason : s.reasons) text += reason + "\n";
        EXPECT_EQ(s.found, c.found) << c.rule << "\n" << text;
        EXPECT_NE(text.find(c.shows), std::string::npos) << c.rule << "\n" << text;
    }
}

// A BER-TLV piece ends with its object, so the field after it begins after
// the delimiter; tracks at one column of records of one length are one
// field, however the classes of their parts change.
TEST(SuggestionTest, DecodedKindsInsideRecords) {
    const std::string tlv("\x5A\x02\x41\x11", 4), track = "%B4111^SMITH/JOHN^2512?;4111=2512?";
    const std::vector<std::string> pieces = {"0001|" + tlv + "|JOHN", "0002|" + tlv + "|ANNA MARIE"};
    const std::vector<std::string> columns = {"0001" + track + "JOHN", "0002" + track + "ANNA"};
    const suggest::FieldLayout delimited = suggest::findFields({pieces.begin(), pieces.end()});
    ASSERT_EQ(delimited.fields.size(), 3u) << delimited.reason;
    EXPECT_EQ(delimited.fields[1].entry.endMethod, EndMethod::Tesselgram);
    EXPECT_EQ(delimited.fields[2].entry.startMethod, StartMethod::ByCode);
    EXPECT_EQ(delimited.fields[2].entry.startCode, "|");
    const suggest::FieldLayout fixed = suggest::findFields({columns.begin(), columns.end()});
    ASSERT_EQ(fixed.fields.size(), 3u) << fixed.reason;
    EXPECT_EQ(fixed.fields[1].fieldType, kw::MagstripeField);
    EXPECT_EQ(fixed.fields[1].entry.startPosition, 5);
    EXPECT_EQ(fixed.fields[1].entry.endLength, static_cast<int>(track.size()));
}

// Digit columns side by side are cut where their digits' distribution
// changes, and only there: a value's own columns narrow too (a month after
// its year, the cents of round amounts, a counter's leading digits).
TEST(SuggestionTest, DigitColumnsSideBySide) {
    auto padded = [](long value, std::size_t width) {
        const std::string digits = std::to_string(value);
        return std::string(width - digits.size(), '0') + digits;
    };
    auto records = [](int count, const std::function<std::string(int)>& digits) {
        std::vector<std::string> made;
        for (int i = 0; i < count; ++i) made.push_back(digits(i) + "JOHN");
        return made;
    };
    auto twoAmounts = [&](int i) { return padded((i * 37 + 5) * (i % 3 ? 13 : 1117), 10) + padded(i * i * 97 + 3, 8); };
    const struct Case {
        const char* rule;
        std::vector<std::string> records;
        std::vector<int> lengths;
    } cases[] = {
        {"a zero-padded amount beside another", records(10, twoAmounts), {10, 8, 4}},
        {"too few records show no distribution", records(6, twoAmounts), {18, 4}},
        {"round amounts keep their cents", records(10, [&](int i) { return padded((i * 37 + 5) * 100, 10); }), {10, 4}},
        {"an eight-digit date, its months below 10",
         records(
             10,
             [&](int i) { return "19" + padded(50 + i * 3, 2) + padded(1 + i % 9, 2) + padded(1 + i * 11 % 28, 2); }),
         {8, 4}},
        {"record numbers from 100", records(10, [&](int i) { return padded(100 + i, 6); }), {6, 4}},
        {"record numbers from 12340", records(8, [&](int i) { return padded(12340 + i, 6); }), {6, 4}},
        {"record numbers from 12300", records(8, [&](int i) { return padded(12300 + i, 7); }), {7, 4}},
        {"a date, day first",
         records(10, [&](int i) { return padded(1 + i * 7 % 28, 2) + padded(1 + i, 2) + padded(24 + i % 5, 2); }),
         {6, 4}},
        {"a date of birth, day first",
         records(10,
                 [&](int i) { return padded(1 + i * 7 % 28, 2) + padded(1 + i, 2) + "19" + padded(50 + i * 3, 2); }),
         {8, 4}},
        {"a date, day last",
         records(10, [&](int i) { return std::to_string(2501 + i % 4 * 100 + i) + padded(1 + i * 4 % 9, 2); }),
         {6, 4}},
        {"a date before blanks",
         records(10, [](int i) { return std::to_string(2501 + i % 4 * 100 + i) + "  "; }),
         {6, 4}},
    };
    for (const Case& c : cases) {
        const suggest::FieldLayout layout = suggest::findFields({c.records.begin(), c.records.end()});
        std::vector<int> lengths;
        for (const suggest::FieldGuess& field : layout.fields) lengths.push_back(field.entry.endLength);
        EXPECT_EQ(lengths, c.lengths) << c.rule << ": " << c.records[0];
    }
}

}  // namespace
}  // namespace velmora::test
