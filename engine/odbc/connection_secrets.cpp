#include "engine/odbc/connection_secrets.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>
#include <vector>

namespace velmora {

namespace {

using Attribute = std::pair<std::string, std::string>;  // key in upper case, value

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// KEY=VALUE;... where a value in braces may hold ';' and "}}" is one '}'.
std::vector<Attribute> attributes(const std::string& text) {
    std::vector<Attribute> out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t eq = text.find('=', i);
        if (eq == std::string::npos) break;
        std::string key;
        for (size_t k = i; k < eq; ++k)
            if (text[k] != ' ') key += text[k];
        std::string value;
        i = eq + 1;
        if (i < text.size() && text[i] == '{') {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '}' && (i + 1 >= text.size() || text[i + 1] != '}')) break;
                if (text[i] == '}') ++i;
                value += text[i];
            }
            i = std::min(text.size(), text.find(';', i));
        } else {
            const size_t end = std::min(text.size(), text.find(';', i));
            value = text.substr(i, end - i);
            i = end;
        }
        if (i < text.size()) ++i;
        out.emplace_back(upper(key), value);
    }
    return out;
}

bool isPasswordKey(const std::string& upperKey) {
    return upperKey.find("PWD") != std::string::npos || upperKey.find("PASS") != std::string::npos;
}

bool isSecret(const std::string& upperKey) {
    if (isPasswordKey(upperKey)) return true;
    for (const char* word : {"SECRET", "TOKEN", "KEY"})
        if (upperKey.find(word) != std::string::npos) return true;
    return false;
}

bool isKeyChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-'; }

// Where the value after the '=' at `eq` begins and ends: up to the brace
// that closes it ("}}" one brace, nested braces counted), or to the first
// separator of either form (';' of ODBC, blanks of libpq's options) or a
// closing brace of the value it is nested in.
std::pair<size_t, size_t> valueAfter(std::string_view text, size_t eq) {
    size_t begin = eq + 1;
    while (begin < text.size() && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    size_t end = begin;
    if (begin < text.size() && text[begin] == '{') {
        int depth = 0;
        for (; end < text.size(); ++end) {
            if (text[end] == '{') ++depth;
            if (text[end] == '}') {
                if (end + 1 < text.size() && text[end + 1] == '}' && depth == 1) {
                    ++end;
                    continue;
                }
                if (--depth == 0) break;
            }
        }
        return {begin, std::min(end + 1, text.size())};
    }
    while (end < text.size() && !std::strchr(";} \t\r\n", text[end])) ++end;
    return {begin, end};
}

// Each password-like attribute's value in `text`, where it is.
template <class Each>
void eachPassword(std::string_view text, Each each) {
    for (size_t eq = text.find('='); eq != std::string_view::npos; eq = text.find('=', eq + 1)) {
        size_t keyEnd = eq;
        while (keyEnd > 0 && (text[keyEnd - 1] == ' ' || text[keyEnd - 1] == '\t')) --keyEnd;
        size_t keyBegin = keyEnd;
        while (keyBegin > 0 && isKeyChar(text[keyBegin - 1])) --keyBegin;
        if (keyBegin == keyEnd || !isPasswordKey(upper(text.substr(keyBegin, keyEnd - keyBegin)))) continue;
        const auto [begin, end] = valueAfter(text, eq);
        each(begin, end);
        eq = std::max(eq, end == 0 ? 0 : end - 1);
    }
}

void replaceAll(std::string& text, const std::string& what, const std::string& with) {
    if (what.empty()) return;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

std::string dataSourceName(const std::string& connectionString) {
    std::string out;
    for (const Attribute& a : attributes(connectionString))
        for (const char* key : {"DSN", "DRIVER", "SERVER", "SERVERNAME", "PORT", "DATABASE"})
            if (a.first == key && !holdsPassword(a.second)) out += (out.empty() ? "" : ";") + a.first + "=" + a.second;
    return out;
}

bool holdsPassword(std::string_view text) {
    bool found = false;
    eachPassword(text, [&](size_t, size_t) { found = true; });
    return found;
}

std::string withoutPasswords(std::string text) {
    std::vector<std::pair<size_t, size_t>> values;
    eachPassword(text, [&](size_t begin, size_t end) { values.emplace_back(begin, end); });
    // From the last, so that the places before stay where they were.
    for (auto v = values.rbegin(); v != values.rend(); ++v) text.replace(v->first, v->second - v->first, "***");
    return text;
}

std::string withoutSecrets(const std::string& text, const std::string& connectionString) {
    std::vector<std::string> secrets;
    for (const Attribute& a : attributes(connectionString))
        if (isSecret(a.first)) secrets.push_back(a.second);
    eachPassword(connectionString, [&](size_t begin, size_t end) {
        std::string value = connectionString.substr(begin, end - begin);
        if (value.size() >= 2 && value.front() == '{') secrets.push_back(value.substr(1, value.size() - 2));
        secrets.push_back(value);
    });
    // The longest first: a secret holding another is replaced whole.
    std::sort(secrets.begin(), secrets.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    std::string out = text;
    replaceAll(out, connectionString, dataSourceName(connectionString));
    for (const std::string& secret : secrets) replaceAll(out, secret, "***");
    return withoutPasswords(out);
}

}  // namespace velmora
