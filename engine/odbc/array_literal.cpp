#include "engine/odbc/array_literal.h"

#include "engine/core/ber_tlv.h"

namespace velmora {

void ArrayLiteral::next() {
    if (text_.size() > 1) text_ += ',';
}

void ArrayLiteral::integer(int64_t value) {
    next();
    text_ += std::to_string(value);
}

void ArrayLiteral::null() {
    next();
    text_ += "NULL";
}

// Quoted, so that blanks, commas, braces and the word NULL stay values.
void ArrayLiteral::text(std::string_view utf8) {
    next();
    text_ += '"';
    for (char c : utf8) {
        if (c == '"' || c == '\\') text_ += '\\';
        text_ += c;
    }
    text_ += '"';
}

void ArrayLiteral::binary(std::string_view bytes) {
    next();
    // The element's backslash, escaped inside the quotes.
    text_ += "\"\\\\x" + hexBytes(bytes) + "\"";
}

const std::string& ArrayLiteral::closed() {
    text_ += '}';
    return text_;
}

void ArrayLiteral::clear() { text_ = "{"; }

}  // namespace velmora
