// Chip data named from the EMV dictionary, and the values of its date,
// country and currency tags read, near misses left as they are.
#include <gtest/gtest.h>

#include "src/results/emv_tags.h"

namespace velmora::test {
namespace {

TEST(EmvTags, KnownTagsAreNamedAndOthersStayBare) {
    EXPECT_EQ(emvTagLabel("5A"), "5A Application Primary Account Number (PAN)");
    EXPECT_EQ(emvTagLabel("57"), "57 Track 2 Equivalent Data");
    EXPECT_EQ(emvTagLabel("9F26"), "9F26 Application Cryptogram");
    EXPECT_EQ(emvTagLabel("BF0C"), "BF0C File Control Information (FCI) Issuer Discretionary Data");
    for (const char* unknown : {"DF01", "9F", "5F2", "", "5a"}) EXPECT_EQ(emvTagLabel(unknown), unknown);
}

TEST(EmvTags, DatesCountriesAndCurrenciesAreReadAndNearMissesAreNot) {
    const struct {
        const char* tag;
        std::string value;
        const char* meaning;
    } cases[] = {
        {"5F24", "\x29\x12\x31", "(2029-12-31)"},
        {"5F25", "\x49\x01\x01", "(2049-01-01)"},
        {"9A", "\x50\x06\x30", "(1950-06-30)"},  // the century turns at 50
        {"5F24", "\x24\x02\x29", "(2024-02-29)"},
        {"5F24", "\x23\x02\x29", ""},                  // no such day
        {"5F24", std::string("\x00\x04\x31", 3), ""},  // April has 30 days
        {"5F24", "\x29\x13\x01", ""},
        {"5F24", "\x29\x00\x01", ""},
        {"5F24", "\x29\x12\x00", ""},
        {"5F24", "\x29\x12", ""},      // YYMM is no YYMMDD
        {"5F24", "\x2A\x12\x31", ""},  // not BCD
        {"5F28", "\x08\x26", "(United Kingdom)"},
        {"9F1A", "\x02\x76", "(Germany)"},
        {"5F28", "\x09\x99", ""},
        {"5F28", std::string("\x08\x26\x00", 3), ""},
        {"5F2A", "\x09\x78", "(EUR)"},
        {"9F42", "\x08\x40", "(USD)"},
        {"9F3C", std::string("\x00\x08", 2), "(ALL)"},
        {"5F2A", "\x09\x99", ""},
        {"5A", "\x29\x12\x31", ""},  // a tag of no such kind
        {"DF01", "\x09\x78", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(emvValueMeaning(c.tag, c.value), c.meaning) << c.tag << " " << c.meaning;
}

}  // namespace
}  // namespace velmora::test
