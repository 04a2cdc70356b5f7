#include "engine_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "config/config_format.h"
#include "config/strict_config_reader.h"

namespace velmora::test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    fs::path p = fs::temp_directory_path() / ("velmora-engine-" + std::to_string(seed()));
    fs::create_directories(p);
    root_ = p.string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ScratchFolder::path(const std::string& name) const { return (fs::path(root_) / name).string(); }

void ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ScratchFolder::read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool ScratchFolder::exists(const std::string& name) const { return fs::exists(path(name)); }

std::vector<std::string> ScratchFolder::names() const {
    std::vector<std::string> list;
    for (const auto& entry : fs::directory_iterator(root_)) list.push_back(entry.path().filename().string());
    return list;
}

FieldDef field(const std::string& name, const std::string& startType, const std::string& startData,
               const std::string& endType, const std::string& endData, const std::string& fieldType,
               const std::string& fieldTypeData) {
    return FieldDef{name, startType, startData, endType, endData, fieldType, fieldTypeData};
}

std::string configText(const std::string& fixedLength, const std::string& recordSeparator,
                       const std::vector<FieldDef>& fields, bool inOrder, const std::string& fir) {
    ParseConfiguration c;
    c.fixedLength = fixedLength;
    c.recordSeparator = recordSeparator;
    c.firSeparator = fir;
    c.processFir = !fir.empty();
    c.fieldsInOrder = inOrder;
    for (const FieldDef& f : fields) c.fieldDefs.insertRow(c.fieldDefs.rowCount(), f);
    return configurationText(c);
}

EngineConfiguration engineConfig(const std::string& text) {
    ConfigReading r = readStrictConfiguration(text);
    EXPECT_TRUE(r.ok) << r.failureText() << "\n" << text;
    return r.config;
}

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
