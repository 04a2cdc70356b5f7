// Benchmark of the Results' reading and CSV export, natively (not a test).
// Makes the database with the engine's own run when it is missing: RECORDS
// records of ten fields (text, the last binary). Then reports how long
// opening it and reading its first and last pages take, and how fast the
// Records tab exports as CSV to a file beside it. Then the batch checks over
// DATABASE.cards.mdb, RECORDS records of a card number, expiry and track 2,
// made the same way: their time and the peak memory.
//
//   results_export_bench DATABASE [RECORDS]      (default 2000000)
//
// Run it through bench/results_bench.sh, which builds it with the release
// preset.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "format/config/config_format.h"
#include "engine/run/data_file_parse.h"
#include "format/fields/keywords.h"
#include "src/results/batch_check_run.h"
#include "src/results/csv_export.h"
#include "src/results/row_search.h"

using namespace velmora;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The engine's own run of `data`, cut by `c`, into `database`.
bool parseInto(const std::string& database, const ParseConfiguration& c, const std::string& dataBytes, long records) {
    const std::string data = database + ".dat", config = database + ".cfg";
    std::ofstream(config, std::ios::binary) << configurationText(c);
    std::ofstream(data, std::ios::binary) << dataBytes;
    ParseRequest request;
    request.dataPath = data;
    request.configPath = config;
    request.databasePath = database;
    const auto start = std::chrono::steady_clock::now();
    RunOutcome outcome = parseDataFile(request);
    std::remove(data.c_str());
    std::remove(config.c_str());
    if (!outcome.completed)
        std::fprintf(stderr, "the engine failed: %s\n", outcome.failure.c_str());
    else
        std::printf("made %s: %ld records in %.1f s\n", database.c_str(), records, secondsSince(start));
    return outcome.completed;
}

void addFixedField(ParseConfiguration& c, const std::string& name, int start, int length, const char* type) {
    c.fieldDefs.insertRow(c.fieldDefs.rowCount(), FieldDef{name, kw::StartPosition, std::to_string(start),
                                                           kw::FixedLength, std::to_string(length), type, ""});
}

// Ten fields of fixed length in each 100-byte record, the last binary.
bool makeDatabase(const std::string& database, long records) {
    ParseConfiguration c;
    c.fixedLength = "100";
    for (int f = 0; f < 10; ++f)
        addFixedField(c, "Field " + std::to_string(f + 1), 1 + 10 * f, 10, f == 9 ? kw::BinaryField : kw::TextField);
    std::string data, record(100, ' ');
    for (long r = 0; r < records; ++r) {
        for (int f = 0; f < 9; ++f) {
            std::string value = "F" + std::to_string(f) + "-" + std::to_string(r);
            record.replace(static_cast<std::size_t>(10 * f), 10, (value + "          ").substr(0, 10));
        }
        for (int b = 0; b < 10; ++b) record[static_cast<std::size_t>(90 + b)] = static_cast<char>((r + b) & 0xFF);
        data += record;
    }
    return parseInto(database, c, data, records);
}

// A card number of each record, its expiry and its track 2, every 100,000th
// number a second time: what the batch checks read.
bool makeCardDatabase(const std::string& database, long records) {
    ParseConfiguration c;
    c.fixedLength = "46";
    addFixedField(c, "PAN", 1, 16, kw::TextField);
    addFixedField(c, "Expiry", 17, 4, kw::TextField);
    addFixedField(c, "Track 2", 21, 26, kw::TextField);
    std::string data;
    std::string pan;
    for (long r = 0; r < records; ++r) {
        if (r % 100000 != 1) {
            char digits[32];
            std::snprintf(digits, sizeof digits, "4%014ld", r);
            pan = digits;
            int sum = 0;
            for (std::size_t i = 0; i < pan.size(); ++i) {
                int d = pan[pan.size() - 1 - i] - '0';
                if (i % 2 == 0) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
                sum += d;
            }
            pan += static_cast<char>('0' + (10 - sum % 10) % 10);
        }
        data += pan + "2812;" + pan + "=2812101?";
    }
    return parseInto(database, c, data, records);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: results_export_bench DATABASE [RECORDS]\n");
        return 2;
    }
    const std::string database = argv[1];
    const long records = argc > 2 ? std::atol(argv[2]) : 2000000;
    if (!std::ifstream(database) && !makeDatabase(database, records)) return 1;

    auto start = std::chrono::steady_clock::now();
    auto read = ResultsDatabase::open(database);
    if (!read) {
        std::fprintf(stderr, "%s\n", read.failure().c_str());
        return 1;
    }
    auto opened = std::move(*read);
    const std::uint64_t rows = opened->rowCount(ResultsTab::Records);
    std::printf("open, first and last pages: %.3f s (%llu rows)\n", secondsSince(start),
                static_cast<unsigned long long>(rows));

    start = std::chrono::steady_clock::now();
    RowSearch search(*opened, ResultsTab::Records, "no such text", std::nullopt);
    while (!search.step(2000)) {
    }
    std::printf("find over every row: %.2f s (%llu rows looked at)\n", secondsSince(start),
                static_cast<unsigned long long>(search.looked()));

    const std::string csvPath = database + ".csv";
    std::FILE* out = std::fopen(csvPath.c_str(), "wb");
    if (!out) return 1;
    start = std::chrono::steady_clock::now();
    CsvExport csv(*opened, ResultsTab::Records);
    std::string text;
    unsigned long long bytes = 0;
    for (bool over = false; !over;) {
        over = csv.step(2000, text);
        if (text.size() >= (1u << 20) || over) {
            bytes += std::fwrite(text.data(), 1, text.size(), out);
            text.clear();
        }
    }
    std::fclose(out);
    const double took = secondsSince(start);
    std::remove(csvPath.c_str());
    std::printf("export: %.0f MB of CSV in %.2f s: %.0f MB/s\n", static_cast<double>(bytes) / 1e6, took,
                static_cast<double>(bytes) / 1e6 / took);
    if (csv.exported() != rows) return 1;

    const std::string cards = database + ".cards.mdb";
    if (!std::ifstream(cards) && !makeCardDatabase(cards, records)) return 1;
    auto checkedRead = ResultsDatabase::open(cards);
    if (!checkedRead) {
        std::fprintf(stderr, "%s\n", checkedRead.failure().c_str());
        return 1;
    }
    auto checked = std::move(*checkedRead);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    start = std::chrono::steady_clock::now();
    BatchCheckRun run(*checked);
    while (!run.step(2000)) {
    }
    const std::size_t findings = run.findings().size();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    std::printf("checks over every record: %.2f s (%llu records, %zu findings), peak memory %ld MB (was %ld MB)\n",
                secondsSince(start), static_cast<unsigned long long>(run.looked()), findings, after.ru_maxrss / 1024,
                before.ru_maxrss / 1024);
    return 0;
}
