#pragma once
// BER-TLV objects as card data carry them: tags of one to four bytes, short
// and long definite lengths, constructed objects holding nested ones.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

struct TlvObject {
    size_t offset = 0;        // of its tag, from the start of the record
    size_t tagLength = 0;     // the tag is the first tagLength bytes at offset
    size_t headerLength = 0;  // tag and length bytes
    size_t valueLength = 0;
    size_t index = 0;  // in document order within one decoded object, from 0
    int depth = 0;     // 0 for the outermost object
    long parent = -1;  // index of the enclosing object, -1 at depth 0
    bool constructed = false;
};

// Called with each object as it is found, in document order (a constructed
// object before what it holds). False stops the decoding.
using TlvVisitor = std::function<bool(const TlvObject&)>;

// Decodes the one object at the start of `data` with everything nested in
// it; `base` is the offset of `data` in the record. Returns the object's
// whole size, or 0 with `error` set when it is malformed or runs past the
// end of `data`. Nothing is kept: each object goes to `visit` when given, so
// memory stays the same whatever the number of objects. A visitor that stops
// the decoding also makes it return 0, with `error` empty.
size_t decodeTlv(std::string_view data, size_t base, std::string& error, const TlvVisitor& visit = nullptr);

// Bytes in upper-case hexadecimal, two digits each, as "9F0201".
std::string hexBytes(std::string_view bytes);

// The tag in upper-case hexadecimal, as "9F02".
std::string tagHex(std::string_view record, const TlvObject& object);

// An object as a row of the tlv table holds it. Sequences count from 1 in
// document order across a record's fields (`first`: the objects of its
// earlier fields). A constructed object's value is NULL: its bytes are its
// children's, stored with them, and storing them at every level again would
// multiply the record.
struct TlvRow {
    int64_t sequence = 0;
    std::optional<int64_t> parent;  // the enclosing object's sequence
    int64_t depth = 0, offset = 0, valueLength = 0, constructed = 0;
    std::optional<std::string_view> value;
};
TlvRow tlvRow(std::string_view record, const TlvObject& object, size_t first);

}  // namespace velmora
