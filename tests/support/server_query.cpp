#include "tests/support/server_query.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/core/ber_tlv.h"
#include "engine/odbc/odbc_api.h"
#include "engine/odbc/odbc_connection.h"
#include "engine/core/text/utf16_text.h"

namespace velmora::test {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string serverPassword() { return environment("VELMORA_PG_PASSWORD"); }

std::string serverConnection(const std::string& password) {
    if (environment("VELMORA_PG_SOCKET").empty()) return "";
    return "Driver={" + environment("VELMORA_ODBC_DRIVER") + "};Servername=" + environment("VELMORA_PG_SOCKET") +
           ";Port=" + environment("VELMORA_PG_PORT") + ";Database=postgres;UID=" + environment("VELMORA_PG_USER") +
           ";PWD={" + password + "}";
}

std::vector<std::string> serverQuery(const std::string& connection, const std::string& sql) {
    std::vector<std::string> rows;
    OdbcConnection db;
    const Status connected = db.connect(connection);
    Result<void*> statement = connected ? db.newStatement() : Result<void*>(fail(connected.failure()));
    if (!statement) {
        ADD_FAILURE() << statement.failure();
        return rows;
    }
    void* s = *statement;
    Utf16 text = utf16(sql);
    SQLSMALLINT columns = 0;
    if (!SQL_SUCCEEDED(SQLExecDirectW(static_cast<SQLHSTMT>(s), reinterpret_cast<SQLWCHAR*>(&text[0]),
                                      static_cast<SQLINTEGER>(text.size()))) ||
        !SQL_SUCCEEDED(SQLNumResultCols(static_cast<SQLHSTMT>(s), &columns))) {
        ADD_FAILURE() << db.diagnosed(sql, s).message;
        OdbcConnection::release(s);
        return rows;
    }
    while (SQL_SUCCEEDED(SQLFetch(static_cast<SQLHSTMT>(s)))) {
        std::string row;
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            SQLLEN type = 0;
            SQLColAttribute(static_cast<SQLHSTMT>(s), c, SQL_DESC_CONCISE_TYPE, nullptr, 0, nullptr, &type);
            const bool binary = type == SQL_BINARY || type == SQL_VARBINARY || type == SQL_LONGVARBINARY;
            // Long values come in parts.
            std::string bytes;
            char part[4096];
            SQLLEN length = 0;
            SQLRETURN rc;
            while (SQL_SUCCEEDED(rc = SQLGetData(static_cast<SQLHSTMT>(s), c, binary ? SQL_C_BINARY : SQL_C_WCHAR, part,
                                                 sizeof part, &length)) &&
                   length != SQL_NULL_DATA) {
                const size_t room = binary ? sizeof part : sizeof part - sizeof(char16_t);
                bytes.append(part, length == SQL_NO_TOTAL || static_cast<size_t>(length) > room
                                       ? room
                                       : static_cast<size_t>(length));
                if (rc == SQL_SUCCESS) break;
            }
            row += c > 1 ? "|" : "";
            if (length == SQL_NULL_DATA)
                row += "NULL";
            else if (binary)
                row += "x" + hexBytes(bytes);
            else
                row += utf8(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
        }
        rows.push_back(row);
    }
    OdbcConnection::release(s);
    return rows;
}

}  // namespace velmora::test
