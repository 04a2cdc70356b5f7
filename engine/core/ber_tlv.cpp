#include "engine/core/ber_tlv.h"

namespace velmora {

namespace {

constexpr size_t kLongestTag = 4;
constexpr size_t kLongestLength = 4;
constexpr int kDeepestNesting = 32;

size_t decodeAt(std::string_view data, size_t base, int depth, int parent, std::vector<TlvObject>& objects,
                std::string& error) {
    if (depth > kDeepestNesting) {
        error = "TLV nested more than " + std::to_string(kDeepestNesting) + " levels deep";
        return 0;
    }
    auto byte = [&](size_t i) { return static_cast<unsigned char>(data[i]); };
    TlvObject o;
    o.offset = base;
    o.depth = depth;
    o.parent = parent;
    if (data.empty()) {
        error = "TLV expected but the record ends";
        return 0;
    }
    o.constructed = (byte(0) & 0x20) != 0;
    size_t p = 1;
    if ((byte(0) & 0x1F) == 0x1F) {
        // Subsequent tag bytes carry bit 8 while more follow.
        for (;;) {
            if (p >= data.size()) {
                error = "TLV tag runs past the end of the record";
                return 0;
            }
            if (++p > kLongestTag) {
                error = "TLV tag longer than " + std::to_string(kLongestTag) + " bytes";
                return 0;
            }
            if ((byte(p - 1) & 0x80) == 0) break;
        }
    }
    o.tagLength = p;
    if (p >= data.size()) {
        error = "TLV length runs past the end of the record";
        return 0;
    }
    unsigned first = byte(p++);
    if (first < 0x80) {
        o.valueLength = first;
    } else {
        size_t count = first & 0x7F;
        if (count == 0) {
            error = "TLV with an indefinite length";
            return 0;
        }
        if (count > kLongestLength) {
            error = "TLV length of " + std::to_string(count) + " bytes";
            return 0;
        }
        if (p + count > data.size()) {
            error = "TLV length runs past the end of the record";
            return 0;
        }
        for (size_t k = 0; k < count; ++k) o.valueLength = (o.valueLength << 8) | byte(p++);
    }
    o.headerLength = p;
    if (o.valueLength > data.size() - p) {
        error = "TLV value of " + std::to_string(o.valueLength) + " bytes runs past the end of the record";
        return 0;
    }
    const size_t total = p + o.valueLength;
    const int self = static_cast<int>(objects.size());
    objects.push_back(o);
    if (o.constructed) {
        size_t q = p;
        while (q < total) {
            // Zero bytes may pad before, between and after nested objects.
            if (byte(q) == 0x00) {
                ++q;
                continue;
            }
            size_t size = decodeAt(data.substr(q, total - q), base + q, depth + 1, self, objects, error);
            if (size == 0) return 0;
            q += size;
        }
    }
    return total;
}

}  // namespace

size_t decodeTlv(std::string_view data, size_t base, std::vector<TlvObject>& objects, std::string& error) {
    size_t before = objects.size();
    size_t size = decodeAt(data, base, 0, -1, objects, error);
    if (size == 0) {
        objects.resize(before);
        return 0;
    }
    return size;
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

}  // namespace velmora
