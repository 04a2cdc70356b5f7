// libFuzzer target over a whole engine run, from the command line to the
// results file and the database, in a scratch folder. The input is a shape
// byte (which outputs the command line names, and what lies in the way at
// one of them: a link, a pipe, a folder), a configuration file, a zero byte
// and a data file. Whatever happens, the run never waits on a pipe, the
// exit status, the results file's first line and what lies at the database
// path agree, the inputs, an older database and whatever was in the way
// survive every run that did not complete (a link at an output is replaced,
// its file kept), and no temporary file of the run's stays behind.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/command/engine_main.h"

namespace fs = std::filesystem;

namespace {

const std::string kOldDatabase = "an older database";

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

long long count(const fs::path& database, const char* sql) {
    sqlite3* db = nullptr;
    long long n = -1;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            n = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return n;
}

// The first line's counts, "N records parsed" or "N records parsed, M rejected".
bool successCounts(const std::string& line, long long& parsed, long long& rejected) {
    int used = 0;
    rejected = 0;
    if (std::sscanf(line.c_str(), "%lld records parsed%n", &parsed, &used) == 1 &&
        static_cast<size_t>(used) == line.size())
        return true;
    return std::sscanf(line.c_str(), "%lld records parsed, %lld rejected%n", &parsed, &rejected, &used) == 2 &&
           static_cast<size_t>(used) == line.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using namespace velmora;
    if (size == 0) return 0;
    static const fs::path folder = [] {
        fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path p = base / ("velmora-run-fuzz-" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());

    const std::string input(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    const size_t zero = input.find('\0');
    const std::string config = input.substr(0, zero);
    const std::string data = zero == std::string::npos ? "" : input.substr(zero + 1);
    const fs::path dat = folder / "in.dat", cfg = folder / "in.cfg", results = folder / "r.txt";
    fs::path database = folder / "in.mdb";
    put(dat, data);
    put(cfg, config);

    std::vector<std::string> args;
    bool clash = false;  // an output on an input or on the other output
    switch (bytes[0] % 7) {
    case 0:
        args = {"-o", results, dat, cfg};
        break;
    case 1:
        database = folder / "other.db";
        args = {"-o", results, "-d", database, dat, cfg};
        break;
    case 2:
        args = {"-o", database, dat, cfg};
        clash = true;
        break;
    case 3:
        args = {"-o", results, dat, cfg, "-d", cfg};
        clash = true;
        break;
    case 4:
        args = {"-o", database.string() + ".partial", dat, cfg};
        clash = true;
        break;
    case 5:
        args = {"-o", results, "-d", results, dat, cfg};
        clash = true;
        break;
    default:
        args = {dat, cfg};  // no results file
        break;
    }
    if (!clash) put(database, kOldDatabase);

    // Something in the way at one output name, where the names do not clash.
    const fs::path partial = database.string() + ".partial", elsewhere = folder / "elsewhere";
    put(elsewhere, kOldDatabase);
    enum Hostile {
        None,
        LinkToPartial,
        LinkToData,
        PipeAsResults,
        PipeAsPartial,
        LinkAsPartial,
        LinkAsDatabase,
        PipeAsDatabase,
        FolderAsDatabase,
        Kinds
    };
    const int hostile = clash ? None : bytes[0] / 7 % Kinds;
    const bool hasResults = bytes[0] % 7 != 6;
    std::error_code ignored;
    if (hostile >= LinkAsDatabase) fs::remove(database, ignored);
    switch (hostile) {
    case LinkToPartial:
        if (hasResults) fs::create_symlink(partial, results, ignored);  // dangling
        break;
    case LinkToData:
        if (hasResults) fs::create_symlink(dat, results, ignored);
        break;
    case PipeAsResults:
        if (hasResults) mkfifo(results.c_str(), 0600);
        break;
    case PipeAsPartial:
        mkfifo(partial.c_str(), 0600);
        break;
    case LinkAsPartial:
        fs::create_symlink(elsewhere, partial, ignored);
        break;
    case LinkAsDatabase:
        fs::create_symlink(elsewhere, database, ignored);
        break;
    case PipeAsDatabase:
        mkfifo(database.c_str(), 0600);
        break;
    case FolderAsDatabase:
        fs::create_directory(database, ignored);
        break;
    }
    const bool pipeAsResults = hostile == PipeAsResults && hasResults;

    RecordLimits limits;  // small, so that records cross reads and overflow
    limits.largestRecord = 64;
    limits.readSize = 7;
    std::ostringstream console;
    const int status = parseTarnMain(args, console, limits);

    // A link from the results path to the data file lands the results on an input.
    const bool usage = clash || (hostile == LinkToData && hasResults);
    if (status < 0 || status > 2) __builtin_trap();
    if (usage != (status == ExitUsage) && status == ExitUsage) {
        // A usage error without a clash can only come from the command line,
        // which here is always well formed.
        __builtin_trap();
    }
    if (usage && status != ExitUsage) __builtin_trap();
    if (slurp(dat) != data || slurp(cfg) != config || slurp(elsewhere) != kOldDatabase) __builtin_trap();
    // What was in the way at the temporary name is left as it was; nothing else of that kind is.
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().string().find(".partial") != std::string::npos && entry.path() != partial) __builtin_trap();
    if (hostile == PipeAsPartial && !fs::is_fifo(fs::symlink_status(partial))) __builtin_trap();
    if (hostile == LinkAsPartial && !fs::is_symlink(fs::symlink_status(partial))) __builtin_trap();
    if (hostile != PipeAsPartial && hostile != LinkAsPartial && fs::exists(fs::symlink_status(partial)))
        __builtin_trap();
    if (pipeAsResults && (status == ExitCompleted || !fs::is_fifo(fs::symlink_status(results)))) __builtin_trap();

    std::string text = fs::is_regular_file(fs::symlink_status(results)) ? slurp(results) : "";
    if (!text.empty()) {
        // CR LF ends every line, and nothing else splits one.
        if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) __builtin_trap();
        for (size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2) {
            std::string line = text.substr(at, text.find("\r\n", at) - at);
            if (line.find_first_of(std::string("\r\n\0\x1A", 4)) != std::string::npos) __builtin_trap();
        }
    }
    const std::string first = text.substr(0, text.find("\r\n"));
    long long parsed = 0, rejected = 0;
    if (status == ExitCompleted) {
        if (fs::exists(results) != hasResults) __builtin_trap();  // written exactly when asked for
        // A link at an output was replaced by the run's own file.
        if (!fs::is_regular_file(fs::symlink_status(database))) __builtin_trap();
        if (!text.empty() && !successCounts(first, parsed, rejected)) __builtin_trap();
        if (!text.empty() && (count(database, "SELECT count(*) FROM records") != parsed ||
                              count(database, "SELECT count(*) FROM rejected") != rejected))
            __builtin_trap();
        if (count(database, "SELECT count(*) FROM run") != 1) __builtin_trap();
    } else {
        if (!text.empty() &&
            (first.rfind("Parse failed: ", 0) != 0 || first.find("records parsed") != std::string::npos))
            __builtin_trap();
        if (hostile == LinkAsDatabase && fs::read_symlink(database) != elsewhere) __builtin_trap();
        if (hostile == PipeAsDatabase && !fs::is_fifo(fs::symlink_status(database))) __builtin_trap();
        if (hostile == FolderAsDatabase && !fs::is_directory(fs::symlink_status(database))) __builtin_trap();
        if (!clash && hostile < LinkAsDatabase && slurp(database) != kOldDatabase) __builtin_trap();
    }
    return 0;
}
