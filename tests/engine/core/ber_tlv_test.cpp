#include <gtest/gtest.h>

#include "engine/core/ber_tlv.h"

namespace velmora::test {
namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += static_cast<char>(b);
    return s;
}

// Each object as the decoder hands it over.
size_t decodeAll(const std::string& data, size_t base, std::vector<TlvObject>& objects, std::string& error) {
    return decodeTlv(data, base, error, [&](const TlvObject& o) {
        objects.push_back(o);
        return true;
    });
}

TEST(BerTlvTest, NestedObjectsWithMultiByteTagsAndLongLengths) {
    // 70 (constructed) holding 5A 02 .. and 9F1F with a 0x81-form length of 3.
    std::string data = bytes({0x70, 0x0C, 0x5A, 0x02, 0x12, 0x34, 0x00, 0x9F, 0x1F, 0x81, 0x03, 0x41, 0x42, 0x43});
    std::vector<TlvObject> objects;
    std::string error;
    ASSERT_EQ(decodeAll(data, 10, objects, error), data.size()) << error;
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(tagHex(std::string(10, ' ') + data, objects[0]), "70");
    EXPECT_TRUE(objects[0].constructed);
    EXPECT_EQ(objects[0].valueLength, 12u);
    EXPECT_EQ(objects[1].offset, 12u);
    EXPECT_EQ(objects[1].parent, 0);
    EXPECT_EQ(objects[1].depth, 1);
    EXPECT_EQ(objects[2].tagLength, 2u);
    EXPECT_EQ(objects[2].headerLength, 4u);  // zero padding before it is skipped
    EXPECT_EQ(objects[2].offset, 17u);
    EXPECT_EQ(objects[2].valueLength, 3u);
    EXPECT_EQ(tagHex(std::string(10, ' ') + data, objects[2]), "9F1F");

    // Two-byte long form; parents are indexes in the object's document order.
    std::vector<TlvObject> more;
    std::string big = bytes({0xE1, 0x82, 0x01, 0x00}) + bytes({0x04, 0x81, 0xFD}) + std::string(253, 'x');
    ASSERT_EQ(decodeAll(big, 0, more, error), big.size()) << error;
    ASSERT_EQ(more.size(), 2u);
    EXPECT_EQ(more[0].valueLength, 256u);
    EXPECT_EQ(more[1].parent, 0);
    EXPECT_EQ(more[1].index, 1u);
    EXPECT_EQ(more[0].parent, -1);
}

TEST(BerTlvTest, MalformedObjectsAreRefusedSayingWhereTheyOverrun) {
    struct Case {
        std::string data;
        const char* reason;
    } cases[] = {
        {"", "record ends"},
        {bytes({0x9F}), "tag runs past"},
        {bytes({0x9F, 0x81, 0x81, 0x81, 0x01, 0x00}), "tag longer"},
        {bytes({0x5A}), "length runs past"},
        {bytes({0x5A, 0x80}), "indefinite"},
        {bytes({0x5A, 0x85, 1, 1, 1, 1, 1}), "length of 5 bytes"},
        {bytes({0x5A, 0x82, 0x01}), "length runs past"},
        {bytes({0x5A, 0x03, 0x01}), "value of 3 bytes runs past the end of the record (1 bytes left)"},
        {bytes({0x5A, 0x02, 0x01}), "value of 2 bytes runs past the end of the record (1 bytes left)"},
        // A nested object that overruns its parent, not the record.
        {bytes({0x70, 0x03, 0x5A, 0x05, 0x01, 0x02, 0x03, 0x04, 0x05}),
         "value of 5 bytes runs past the end of the constructed TLV 70 at byte 0 (1 bytes left)"},
        {bytes({0x70, 0x02, 0x9F, 0x81, 0x01}), "tag runs past the end of the constructed TLV 70"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(decodeTlv(c.data, 0, error), 0u);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    std::string deep;
    for (int k = 0; k < 40; ++k) deep = bytes({0x70, static_cast<int>(deep.size())}) + deep;
    std::string error;
    EXPECT_EQ(decodeTlv(deep, 0, error), 0u);
    EXPECT_NE(error.find("nested"), std::string::npos) << error;
}

}  // namespace
}  // namespace velmora::test
