#pragma once
// Small text helpers shared by the field rules, the file reader and the
// dialogs. Texts are narrow single-byte strings, compared byte for byte.
#include <string>
#include <vector>

namespace velmora {

// The pieces between the occurrences of `sep`, empty pieces included:
// n occurrences give n + 1 pieces; an empty text gives no pieces.
std::vector<std::string> splitAt(const std::string& text, char sep);

// `text` without any of the characters in `chars`.
std::string removeAll(const std::string& text, const std::string& chars);

// The decimal number at the start of `text` after blanks, with an optional
// sign; 0 when there is none. Saturates instead of overflowing.
int leadingInteger(const std::string& text);

bool contains(const std::string& text, const std::string& part);

}  // namespace velmora
