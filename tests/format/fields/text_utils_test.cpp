#include "format/fields/text_utils.h"

#include <gtest/gtest.h>

namespace velmora::test {

TEST(SplitAt, KeepsEmptyPiecesAndGivesNoneForEmptyText) {
    EXPECT_TRUE(splitAt("", '=').empty());
    EXPECT_EQ(splitAt("=", '='), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(splitAt("a = b = c", '='), (std::vector<std::string>{"a ", " b ", " c"}));
    EXPECT_EQ(splitAt("abc", '='), (std::vector<std::string>{"abc"}));
}

TEST(RemoveAll, DropsEveryListedCharacter) {
    EXPECT_EQ(removeAll(" ' a b ' ", " '"), "ab");
    EXPECT_EQ(removeAll("", " "), "");
}

TEST(LeadingInteger, ReadsSignAndDigitsAfterBlanks) {
    EXPECT_EQ(leadingInteger("  12abc"), 12);
    EXPECT_EQ(leadingInteger("+5"), 5);
    EXPECT_EQ(leadingInteger("-7x"), -7);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("+"), 0);
    EXPECT_EQ(leadingInteger("1.5"), 1);
}

TEST(LeadingInteger, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(leadingInteger("99999999999999999999999"), 2147483647);
    EXPECT_EQ(leadingInteger("-99999999999999999999999"), -2147483647 - 1);
}

}  // namespace velmora::test
