#include "tests/support/database_query.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace velmora::test {

std::vector<std::string> query(const std::string& database, const std::string& sql) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << database;
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    } else {
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                if (c) row += "|";
                switch (sqlite3_column_type(s, c)) {
                case SQLITE_NULL:
                    row += "NULL";
                    break;
                case SQLITE_BLOB: {
                    static const char hex[] = "0123456789ABCDEF";
                    const unsigned char* b = static_cast<const unsigned char*>(sqlite3_column_blob(s, c));
                    row += "x";
                    for (int k = 0; k < sqlite3_column_bytes(s, c); ++k) {
                        row += hex[b[k] >> 4];
                        row += hex[b[k] & 15];
                    }
                    break;
                }
                default:
                    row += reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                }
            }
            rows.push_back(row);
        }
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return rows;
}

}  // namespace velmora::test
