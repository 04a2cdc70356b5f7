#include "tests/support/parsed_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "engine/run/data_file_parse.h"

namespace velmora::test {

std::string parsedDatabase(const ScratchFolder& folder, const std::string& name, const std::string& config,
                           const std::string& data) {
    folder.write(name + ".dat", data);
    folder.write(name + ".cfg", config);
    ParseRequest request;
    request.dataPath = folder.path(name + ".dat");
    request.configPath = folder.path(name + ".cfg");
    request.databasePath = folder.path(name + ".mdb");
    RunOutcome outcome = parseDataFile(request);
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    return request.databasePath;
}

void changeDatabase(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db) << ": " << sql;
    sqlite3_close(db);
}

}  // namespace velmora::test
