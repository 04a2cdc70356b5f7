#pragma once
// What of a connection string may be shown: its data source alone, and any
// text with the secrets taken out. A password may sit in any attribute,
// nested in braces (pqopt={password=...}), so texts are searched for
// password-like attributes wherever they are.
#include <string>
#include <string_view>

namespace velmora {

// The connection string's data source alone (DSN, Driver, Server, Port,
// Database), for the results file and the run table: never a password.
std::string dataSourceName(const std::string& connectionString);

// `text` with every secret of the connection string (a password, a key, a
// token, at any nesting) replaced by "***", and the value of every
// password-like attribute the text itself holds too.
std::string withoutSecrets(const std::string& text, const std::string& connectionString);

// Whether `text` holds a password-like attribute (PWD=, PASSWORD=, in any
// case, at any nesting): such a text is never shown nor used as a name.
bool holdsPassword(std::string_view text);

// `text` with the value of each password-like attribute replaced by "***".
std::string withoutPasswords(std::string text);

}  // namespace velmora
