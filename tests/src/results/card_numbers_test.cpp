// The masking rule as a value shows: in text, in tracks, in BER-TLV chip
// data in hexadecimal, and the near misses that stay as they are.
#include <gtest/gtest.h>

#include "src/results/shown_value.h"

namespace velmora::test {
namespace {

const std::string kVisa = "4111111111111111";
// Tag 5A holding kVisa in BCD.
const std::string kPanObject = std::string("\x5A\x08") + "\x41\x11\x11\x11\x11\x11\x11\x11";

TEST(CardNumbers, ShowMaskedInTextTracksAndChipData) {
    const CardMask in = CardMask::InText, whole = CardMask::Whole;
    const struct {
        std::string value;
        bool hex;
        CardMask mask;
        std::string shown;
    } cases[] = {
        // Numbers of several brands and lengths, alone and in free text.
        {kVisa, false, in, "411111******1111"},
        {"Card 5105000000000003, ok", false, in, "Card 510500******0003, ok"},
        {"378282246310005", false, in, "378282*****0005"},
        {"4222222222222", false, in, "422222***2222"},
        {"6011000000000000001", false, in, "601100*********0001"},
        {"3530000000000003\x01", false, in, "353000******0003\\x01"},
        // Near misses: 12 digits, 20, a failing Luhn check outside a card-number column.
        {"411100000008", false, in, "411100000008"},
        {kVisa + "0000", false, in, kVisa + "0000"},
        {"4111111111111112", false, in, "4111111111111112"},
        // A card-number column: all its digits are one number.
        {"4111111111111112", false, whole, "411111******1112"},
        {"4111 1111 1111 1111", false, whole, "4111 11** **** 1111"},
        {"12345", false, whole, "12345"},
        // Tracks: the number, passing or not, and the discretionary data hidden.
        {kVisa + "=25121010000012345", false, in, "411111******1111=2512101**********"},
        {"4111111111111112=2512101123", false, in, "411111******1112=2512101***"},
        {"411100000008=2512101", false, in, "411100**0008=2512101"},
        {"B" + kVisa + "^DOE/JOHN^2512101000000123000", false, in, "B411111******1111^DOE/JOHN^2512101************"},
        {"B" + kVisa + "^DOE/JOHN^^101123", false, in, "B411111******1111^DOE/JOHN^^101***"},
        {"%B" + kVisa + "^DOE/JOHN^2512101AB 12?;" + kVisa + "=2512101999?", false, whole,
         "%B411111******1111^DOE/JOHN^2512101*****?;411111******1111=2512101***?"},
        {"B4111^SMITH/JOHN", false, in, "B4111^SMITH/JOHN"},
        // BER-TLV: 5A in BCD, alone and nested; 57 and 9F6B; 56 and 9F1F in ASCII.
        {kPanObject, true, in, "5A08411111******1111"},
        {std::string("\x70\x0A") + kPanObject, true, in, "700A5A08411111******1111"},
        {std::string("\x5A\x08\x37\x82\x82\x24\x63\x10\x00\x5F", 10), true, in, "5A08378282*****0005F"},
        {std::string("\x5A\x03\x41\x11\x11\x5F\x24\x03\x25\x12\x31"), true, in, "5A034111115F2403251231"},
        {std::string("\x57\x13\x41\x11\x11\x11\x11\x11\x11\x11\xD2\x51\x21\x01\x12\x34\x56\x78\x90\x12\x3F"), true, in,
         "5713411111******1111D2512101*************F"},
        {std::string("\x9F\x6B\x0C\x41\x11\x11\x11\x11\x11\x11\x11\xD2\x51\x21\x01"), true, in,
         "9F6B0C411111******1111D2512101"},
        {"\x56\x1E" + ("B" + kVisa + "^DOE^2512101X"), true, in,
         "561E42343131313131************313131315E444F455E32353132313031**"},
        {"\x9F\x1F\x12" + ("N:" + kVisa), true, in, "9F1F124E3A343131313131************31313131"},
        {kPanObject, true, CardMask::None, "5A084111111111111111"},
        // Not BER-TLV: shown as it is.
        {"\x5A\x09\x41", true, in, "5A0941"},
    };
    for (const auto& c : cases) EXPECT_EQ(shownValue(c.value, c.hex, c.mask), c.shown) << &c - cases;
}

TEST(CardNumbers, AColumnHoldsThemByItsNameOrMostOfItsValues) {
    for (const char* name : {"PAN", "pan", "Card PAN", "PAN_2", "CardPan", "PANNumber", "PAN (2)", "PAN track 1"})
        EXPECT_TRUE(namesCardNumbers(name)) << name;
    for (const char* name : {"SPAN", "Panel", "PANEL", "Company", "Expiry", "JAPAN", ""})
        EXPECT_FALSE(namesCardNumbers(name)) << name;
    using Sample = std::vector<std::string_view>;
    EXPECT_TRUE(mostlyCardNumbers(Sample{kVisa, "5105000000000003", "4111111111111112"}));
    EXPECT_TRUE(mostlyCardNumbers(Sample{" " + kVisa + "  ", "", "   "}));
    EXPECT_FALSE(mostlyCardNumbers(Sample{kVisa, "4111111111111112", "JOHN"}));
}

}  // namespace
}  // namespace velmora::test
