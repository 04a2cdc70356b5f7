#pragma once
// BER-TLV objects as card data carry them: tags of one to four bytes, short
// and long definite lengths, constructed objects holding nested ones.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct TlvObject {
    size_t offset = 0;        // of its tag, from the start of the record
    size_t tagLength = 0;     // the tag is the first tagLength bytes at offset
    size_t headerLength = 0;  // tag and length bytes
    size_t valueLength = 0;
    int depth = 0;    // 0 for the outermost object
    int parent = -1;  // index in the decoded list, -1 at depth 0
    bool constructed = false;
};

// Decodes the one object at the start of `data` with everything nested in
// it, appending them to `objects` in document order; `base` is the offset
// of `data` in the record. Returns the object's whole size, or 0 with
// `error` set when it is malformed or runs past the end of `data`.
size_t decodeTlv(std::string_view data, size_t base, std::vector<TlvObject>& objects, std::string& error);

// Bytes in upper-case hexadecimal, two digits each, as "9F0201".
std::string hexBytes(std::string_view bytes);

// The tag in upper-case hexadecimal, as "9F02".
std::string tagHex(std::string_view record, const TlvObject& object);

}  // namespace velmora
