#pragma once
// A column of many rows as one PostgreSQL array literal ({1,NULL,"a\"b"}),
// so that one parameter carries them all into INSERT ... SELECT FROM unnest().
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

class ArrayLiteral {
public:
    void integer(int64_t value);
    void null();
    void text(std::string_view utf8);
    // As bytea's hexadecimal input (\x0aff).
    void binary(std::string_view bytes);
    // The literal of the values given since the last clear().
    const std::string& closed();
    void clear();
    size_t size() const { return text_.size(); }

private:
    void next();
    std::string text_ = "{";
};

}  // namespace velmora
