#include "tests/e2e/png_file.h"

#include <vector>

namespace velmora::test {

namespace {

std::uint32_t crc32(const std::string& bytes) {
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string typed = std::string(type) + data;
    out += typed;
    putBigEndian(out, crc32(typed));
}

// Bits into a deflate stream, least significant first.
class BitWriter {
public:
    void put(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            current_ |= ((value >> i) & 1u) << filled_;
            if (++filled_ == 8) flush();
        }
    }
    // Huffman codes go most significant bit first.
    void putCode(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) put((code >> i) & 1u, 1);
    }
    std::string finish() {
        if (filled_) flush();
        return out_;
    }

private:
    void flush() {
        out_ += static_cast<char>(current_);
        current_ = 0;
        filled_ = 0;
    }
    std::string out_;
    std::uint32_t current_ = 0;
    int filled_ = 0;
};

void putLiteral(BitWriter& bits, int symbol) {
    if (symbol < 144)
        bits.putCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.putCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.putCode(symbol - 256, 7);
    else
        bits.putCode(0xC0 + symbol - 280, 8);
}

void putMatch(BitWriter& bits, int length, int distance) {
    static const int lengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                     31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static const int distanceBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                       33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                       1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static const int distanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    int l = 28;
    while (lengthBase[l] > length) --l;
    putLiteral(bits, 257 + l);
    bits.put(static_cast<std::uint32_t>(length - lengthBase[l]), lengthExtra[l]);
    int d = 29;
    while (distanceBase[d] > distance) --d;
    bits.putCode(static_cast<std::uint32_t>(d), 5);
    bits.put(static_cast<std::uint32_t>(distance - distanceBase[d]), distanceExtra[d]);
}

// One deflate block with the fixed codes and a simple LZ77 search: enough
// for screenshots, which are mostly flat colour.
std::string zlibCompressed(const std::string& raw) {
    constexpr int kWindow = 32768, kMaxLength = 258, kHashSize = 1 << 15;
    std::vector<int> head(kHashSize, -1);
    std::vector<int> previous(raw.size(), -1);
    auto hashAt = [&](size_t i) {
        auto b = [&](size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(raw[k])); };
        return ((b(i) << 10) ^ (b(i + 1) << 5) ^ b(i + 2)) & (kHashSize - 1);
    };
    BitWriter bits;
    bits.put(1, 1);  // final block
    bits.put(1, 2);  // fixed Huffman codes
    size_t i = 0;
    while (i < raw.size()) {
        int bestLength = 0, bestDistance = 0;
        if (i + 2 < raw.size()) {
            unsigned h = hashAt(i);
            int tries = 32;
            for (int candidate = head[h]; candidate >= 0 && tries-- > 0; candidate = previous[candidate]) {
                int distance = static_cast<int>(i) - candidate;
                if (distance > kWindow) break;
                int length = 0;
                while (length < kMaxLength && i + length < raw.size() && raw[candidate + length] == raw[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == kMaxLength) break;
                }
            }
        }
        size_t step = bestLength >= 3 ? static_cast<size_t>(bestLength) : 1;
        if (bestLength >= 3)
            putMatch(bits, bestLength, bestDistance);
        else
            putLiteral(bits, static_cast<unsigned char>(raw[i]));
        for (size_t k = i; k < i + step && k + 2 < raw.size(); ++k) {
            unsigned h = hashAt(k);
            previous[k] = head[h];
            head[h] = static_cast<int>(k);
        }
        i += step;
    }
    putLiteral(bits, 256);

    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    std::string out = "\x78\x01" + bits.finish();
    putBigEndian(out, (b << 16) | a);
    return out;
}

}  // namespace

std::string pngBytes(const Picture& p) {
    std::string out = "\x89PNG\r\n\x1a\n";
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(p.width));
    putBigEndian(header, static_cast<std::uint32_t>(p.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    chunk(out, "IHDR", header);
    std::string raw;
    const size_t stride = static_cast<size_t>(p.width) * 3;
    for (int y = 0; y < p.height; ++y) {
        raw += '\0';  // no filter
        raw.append(reinterpret_cast<const char*>(p.rgb.data()) + y * stride, stride);
    }
    chunk(out, "IDAT", zlibCompressed(raw));
    chunk(out, "IEND", "");
    return out;
}

}  // namespace velmora::test
