// The batch checks, each with its near misses: what must be found and what
// must not.
#include <gtest/gtest.h>

#include "src/results/batch_check_run.h"
#include "src/results/batch_checks.h"
#include "tests/support/configurations.h"
#include "tests/support/parsed_database.h"

namespace velmora::test {
namespace {

using suggest::DateOrder;

// One record with a card number, an expiry and, where given, its copies.
CheckedRecord card(std::int64_t n, const std::string& number, const std::string& expiry,
                   std::vector<CheckedValue> tracks = {}, std::vector<CheckedValue> chipNumbers = {},
                   std::vector<CheckedValue> chipExpiries = {}) {
    return CheckedRecord{n,
                         static_cast<std::uint64_t>(n - 1),
                         {{"PAN", number}},
                         CheckedValue{"Expiry", expiry},
                         std::move(tracks),
                         std::move(chipNumbers),
                         std::move(chipExpiries)};
}

std::vector<std::string> findingsOf(const std::vector<CheckedRecord>& records, DateOrder order = DateOrder::YYMM) {
    BatchChecks checks(2026, 12, order);
    for (const CheckedRecord& r : records) checks.check(r);
    std::vector<std::string> lines;
    for (const Finding& f : checks.findings())
        lines.push_back(std::to_string(f.record) + " " + f.check + " | " + f.field + " | " +
                        shownFindingValue(f, false));
    return lines;
}

using Lines = std::vector<std::string>;

TEST(BatchChecks, EachCheckFindsItsFaultAndNotItsNearMiss) {
    const std::string good = "4111111111111111", other = "5105105105105100";
    const struct {
        const char* what;
        std::vector<CheckedRecord> records;
        Lines found;
    } cases[] = {
        {"a sound record", {card(1, good, "2712")}, {}},
        {"the run's own month has not expired", {card(1, good, "2612")}, {}},
        {"last month has", {card(1, good, "2611")}, {"1 Expired | Expiry | 2611"}},
        {"a month that is none", {card(1, good, "2613")}, {"1 Not a date | Expiry | 2613"}},
        {"five digits", {card(1, good, "27120")}, {"1 Not a date | Expiry | 27120"}},
        {"an empty expiry is not checked", {card(1, good, "")}, {}},
        {"a Luhn failure",
         {card(1, "4111111111111112", "2712")},
         {"1 Card number fails the Luhn check | PAN | 411111******1112"}},
        {"19 digits passing", {card(1, "6011000000000000001", "2712")}, {}},
        {"a leading zero makes another number",
         {card(1, "4111111111111111", "2712"), card(2, "04111111111111111", "2712")},
         {}},
        {"duplicates: each holder, the first included",
         {card(1, good, "2712"), card(2, other, "2712"), card(3, good, "2712"), card(4, good, "2712")},
         {"1 Duplicate card number | PAN | 411111******1111", "3 Duplicate card number | PAN | 411111******1111",
          "4 Duplicate card number | PAN | 411111******1111"}},
        {"a track that agrees", {card(1, good, "2712", {{"Track 2", ";" + good + "=27121010000?"}})}, {}},
        {"a track with no card number", {card(1, good, "2712", {{"Track 2", ";=2712?"}, {"Track 2", "none"}})}, {}},
        {"a track's number and expiry differ",
         {card(1, good, "2712", {{"Track 2", ";" + other + "=28011010000?"}})},
         {"1 Track 2 card number differs | Track 2 | ;510510******5100=2801101****?",
          "1 Track 2 expiry differs | Track 2 | ;510510******5100=2801101****?"}},
        {"a chip that agrees", {card(1, good, "2712", {}, {{"Chip", good}}, {{"Chip", "271231"}})}, {}},
        {"a chip number padded with F agrees",
         {card(1, "411111111111111111", "2712", {}, {{"Chip", "411111111111111111F"}})},
         {"1 Card number fails the Luhn check | PAN | 411111********1111"}},
        {"a chip that differs",
         {card(1, good, "2712", {}, {{"Chip", other}}, {{"Chip", "280131"}})},
         {"1 Chip card number differs | Chip | 510510******5100", "1 Chip expiry differs | Chip | 280131"}},
    };
    for (const auto& c : cases) EXPECT_EQ(findingsOf(c.records), c.found) << c.what;
}

TEST(BatchChecks, AnMmyyColumnIsReadAsMmyy) {
    const std::string good = "4111111111111111";
    EXPECT_EQ(findingsOf({card(1, good, "1227"), card(2, good + "", "1126")}, DateOrder::MMYY),
              (Lines{"1 Duplicate card number | PAN | 411111******1111",
                     "2 Duplicate card number | PAN | 411111******1111", "2 Expired | Expiry | 1126"}));
    EXPECT_EQ(findingsOf({card(1, good, "1227", {{"Track 2", ";" + good + "=2712101?"}})}, DateOrder::MMYY), Lines{});
}

// The findings of the checks over a parse's database of `records` records.
Lines checksOf(const std::string& path, std::uint64_t records) {
    auto opened = ResultsDatabase::open(path);
    if (!opened) return {opened.failure()};
    BatchCheckRun run(**opened);
    while (!run.step(2)) {
    }
    EXPECT_EQ(run.looked(), records);
    Lines found;
    for (const Finding& f : run.findings())
        found.push_back(std::to_string(f.record) + "@" + std::to_string(f.row) + " " + f.check + " | " + f.field +
                        " | " + shownFindingValue(f, false));
    return found;
}

// On a parse's database: the columns found by their names and values, the
// chip's objects read beside their records, every fault and nothing else.
TEST(BatchChecks, AParsesDatabaseListsExactlyItsSeededFaults) {
    const std::string chip1("\x70\x10\x5A\x08\x41\x11\x11\x11\x11\x11\x11\x11\x5F\x24\x03\x49\x12\x31", 18);
    const std::string chip4("\x70\x10\x5A\x08\x41\x11\x11\x11\x11\x11\x11\x11\x5F\x24\x03\x48\x12\x31", 18);
    ScratchFolder folder("velmora checks");
    const std::string path = parsedDatabase(
        folder, "batch",
        configText(
            "", "\\x0D\\x0A",
            {field("Card", "START_CODE", "#P", "END_CODE", "#E", "TEXT_FIELD"),
             field("Exp Date", "START_CODE", "#X", "END_CODE", "#E", "TEXT_FIELD"),
             field("Mag", "START_CODE", "#M", "END_CODE", "#E", "MAGSTRIPE_FIELD", "\"%\",\"?\",\";\",\"?\",\"\",\"\""),
             field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")}),
        "#P4111111111111111#E#X4912#E#M;4111111111111111=49121010000?#E#T" + chip1 + "\r\n" +
            "#P4111111111111111#E#X2001#E\r\n#P4111111111111112#E#X2613#E\r\n" +
            "#P5105105105105100#E#X4912#E#M;4111111111111111=48121010000?#E#T" + chip4 + "\r\n");
    EXPECT_EQ(
        checksOf(path, 4),
        (Lines{"1@0 Duplicate card number | Card | 411111******1111",
               "2@1 Duplicate card number | Card | 411111******1111", "2@1 Expired | Exp Date | 2001",
               "3@2 Card number fails the Luhn check | Card | 411111******1112", "3@2 Not a date | Exp Date | 2613",
               "4@3 Track 2 card number differs | Mag track 2 | 411111******1111=4812101****",
               "4@3 Track 2 expiry differs | Mag track 2 | 411111******1111=4812101****",
               "4@3 Chip card number differs | Chip | 411111******1111", "4@3 Chip expiry differs | Chip | 481231"}));
}

// Where no name tells them, the expiry is the column of months and track 2
// the text column of ";PAN=YYMM".
TEST(BatchChecks, ColumnsNoNameTellsAreFoundByTheirValues) {
    ScratchFolder folder("velmora checks");
    const std::string path =
        parsedDatabase(folder, "batch",
                       configText("", "\\x0D\\x0A",
                                  {field("Card", "START_CODE", "#P", "END_CODE", "#E", "TEXT_FIELD"),
                                   field("Valid", "START_CODE", "#V", "END_CODE", "#E", "TEXT_FIELD"),
                                   field("Stripe", "START_CODE", "#K", "END_CODE", "#E", "TEXT_FIELD")}),
                       "#P4111111111111111#E#V2001#E#K;4111111111111111=4912101?#E\r\n"
                       "#P5105105105105100#E#V4912#E#K;5105105105105100=4912101?#E\r\n");
    EXPECT_EQ(checksOf(path, 2), (Lines{"1@0 Expired | Valid | 2001",
                                        "1@0 Track 2 expiry differs | Stripe | ;411111******1111=4912101?"}));
}

}  // namespace
}  // namespace velmora::test
