#include "engine/core/ber_tlv.h"

namespace velmora {

namespace {

constexpr size_t kLongestTag = 4;
constexpr size_t kLongestLength = 4;
constexpr int kDeepestNesting = 32;

class Decoder {
public:
    Decoder(std::string_view data, size_t base, std::string& error, const TlvVisitor& visit)
        : data_(data), base_(base), error_(error), visit_(visit) {}

    // The object at data_[at], which must end by `end`: the end of the
    // constructed object `enclosing`, or of the record when there is none.
    size_t object(size_t at, size_t end, int depth, const TlvObject* enclosing) {
        if (depth > kDeepestNesting)
            return fail("TLV nested more than " + std::to_string(kDeepestNesting) + " levels deep");
        if (at >= end) return fail("TLV expected but the record ends");
        TlvObject o;
        o.offset = base_ + at;
        o.depth = depth;
        o.parent = enclosing ? static_cast<long>(enclosing->index) : -1;
        o.index = count_++;
        o.constructed = (byte(at) & 0x20) != 0;
        size_t p = at + 1;
        if ((byte(at) & 0x1F) == 0x1F) {
            // Subsequent tag bytes carry bit 8 while more follow.
            for (;;) {
                if (p >= end) return fail("TLV tag runs past the end of " + what(enclosing));
                if (++p - at > kLongestTag)
                    return fail("TLV tag longer than " + std::to_string(kLongestTag) + " bytes");
                if ((byte(p - 1) & 0x80) == 0) break;
            }
        }
        o.tagLength = p - at;
        if (p >= end) return fail("TLV length runs past the end of " + what(enclosing));
        const unsigned first = byte(p++);
        if (first < 0x80) {
            o.valueLength = first;
        } else {
            const size_t count = first & 0x7F;
            if (count == 0) return fail("TLV with an indefinite length");
            if (count > kLongestLength) return fail("TLV length of " + std::to_string(count) + " bytes");
            if (count > end - p) return fail("TLV length runs past the end of " + what(enclosing));
            for (size_t k = 0; k < count; ++k) o.valueLength = (o.valueLength << 8) | byte(p++);
        }
        o.headerLength = p - at;
        if (o.valueLength > end - p)
            return fail("TLV value of " + std::to_string(o.valueLength) + " bytes runs past the end of " +
                        what(enclosing) + " (" + std::to_string(end - p) + " bytes left)");
        const size_t total = o.headerLength + o.valueLength;
        if (visit_ && !visit_(o)) return 0;
        if (o.constructed) {
            size_t q = p;
            while (q < at + total) {
                // Zero bytes may pad before, between and after nested objects.
                if (byte(q) == 0x00) {
                    ++q;
                    continue;
                }
                size_t size = object(q, at + total, depth + 1, &o);
                if (size == 0) return 0;
                q += size;
            }
        }
        return total;
    }

private:
    unsigned byte(size_t i) const { return static_cast<unsigned char>(data_[i]); }
    size_t fail(std::string why) {
        error_ = std::move(why);
        return 0;
    }
    // Where an object must end, for the messages; built only on failure.
    std::string what(const TlvObject* enclosing) const {
        if (!enclosing) return "the record";
        TlvObject tag = *enclosing;
        tag.offset -= base_;
        return "the constructed TLV " + tagHex(data_, tag) + " at byte " + std::to_string(enclosing->offset);
    }

    std::string_view data_;
    size_t base_;
    std::string& error_;
    const TlvVisitor& visit_;
    size_t count_ = 0;
};

}  // namespace

size_t decodeTlv(std::string_view data, size_t base, std::string& error, const TlvVisitor& visit) {
    error.clear();
    return Decoder(data, base, error, visit).object(0, data.size(), 0, nullptr);
}

std::string hexBytes(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 0x0F];
    }
    return hex;
}

std::string tagHex(std::string_view record, const TlvObject& object) {
    return hexBytes(record.substr(object.offset, object.tagLength));
}

TlvRow tlvRow(std::string_view record, const TlvObject& o, size_t first) {
    TlvRow row;
    row.sequence = static_cast<int64_t>(first + o.index + 1);
    if (o.parent >= 0) row.parent = static_cast<int64_t>(first + static_cast<size_t>(o.parent) + 1);
    row.depth = o.depth;
    row.offset = static_cast<int64_t>(o.offset);
    row.valueLength = static_cast<int64_t>(o.valueLength);
    row.constructed = o.constructed ? 1 : 0;
    if (!o.constructed) row.value = record.substr(o.offset + o.headerLength, o.valueLength);
    return row;
}

}  // namespace velmora
