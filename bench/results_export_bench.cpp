// Benchmark of the Results' reading and CSV export, natively (not a test).
// Makes the database with the engine's own run when it is missing: RECORDS
// records of ten fields (text, the last binary). Then reports how long
// opening it and reading its first and last pages take, and how fast the
// Records tab exports as CSV to a file beside it.
//
//   results_export_bench DATABASE [RECORDS]      (default 2000000)
//
// Run it through bench/results_bench.sh, which builds it with the release
// preset.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "format/config/config_format.h"
#include "engine/run/data_file_parse.h"
#include "format/fields/keywords.h"
#include "src/results/csv_export.h"
#include "src/results/row_search.h"

using namespace velmora;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Ten fields of fixed length in each 100-byte record, the last binary.
bool makeDatabase(const std::string& database, long records) {
    const std::string data = database + ".dat", config = database + ".cfg";
    ParseConfiguration c;
    c.fixedLength = "100";
    for (int f = 0; f < 10; ++f)
        c.fieldDefs.insertRow(f,
                              FieldDef{"Field " + std::to_string(f + 1), kw::StartPosition, std::to_string(1 + 10 * f),
                                       kw::FixedLength, "10", f == 9 ? kw::BinaryField : kw::TextField, ""});
    std::ofstream(config, std::ios::binary) << configurationText(c);
    {
        std::ofstream out(data, std::ios::binary);
        std::string record(100, ' ');
        for (long r = 0; r < records; ++r) {
            for (int f = 0; f < 9; ++f) {
                std::string value = "F" + std::to_string(f) + "-" + std::to_string(r);
                record.replace(static_cast<std::size_t>(10 * f), 10, (value + "          ").substr(0, 10));
            }
            for (int b = 0; b < 10; ++b) record[static_cast<std::size_t>(90 + b)] = static_cast<char>((r + b) & 0xFF);
            out << record;
        }
    }
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
    return csv.exported() == rows ? 0 : 1;
}
