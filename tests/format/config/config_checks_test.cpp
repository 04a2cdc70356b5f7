#include "format/config/config_checks.h"

#include <gtest/gtest.h>

#include "tests/support/configurations.h"

namespace velmora::test {

TEST(IsNumeric, OneLeadingSignDigitsAndAtMostOnePoint) {
    for (const char* yes : {"+5", "-", ".", "5.", "120", "-1", "1.5"}) EXPECT_TRUE(isNumeric(yes)) << yes;
    for (const char* no : {"", "1.2.3", "5-", "1+2", "5a", " 5", "abc"}) EXPECT_FALSE(isNumeric(no)) << no;
}

TEST(SeparatorLength, BackslashXGroupCountsAsOne) {
    EXPECT_EQ(separatorLength("\\x0D\\x0A"), 2);
    EXPECT_EQ(separatorLength("\\x0"), 1);
    EXPECT_EQ(separatorLength("\\x"), 1);
    EXPECT_EQ(separatorLength("\\y"), 2);
    EXPECT_EQ(separatorLength("12345678"), 8);
    EXPECT_EQ(separatorLength(""), 0);
}

namespace {
ParseConfiguration withRow() {
    ParseConfiguration c;
    addRow(c, field("A", "None", "", "None", "", "TEXT_FIELD"));
    return c;
}
std::string firstFailure(const ParseConfiguration& c, bool fixedEnabled = false) {
    auto f = checkFileSettings(c, c.fieldDefs.rowCount(), fixedEnabled);
    return f ? f->message : "";
}
}  // namespace

TEST(CheckFileSettings, FixedLengthMessagesInOrder) {
    ParseConfiguration c = withRow();
    c.fixedLength = "abc";
    EXPECT_EQ(firstFailure(c), "Fixed length should be numeric.");
    for (const char* v : {"-1", "1.5"}) {
        c.fixedLength = v;
        EXPECT_EQ(firstFailure(c), "Fixed length should be positive/integer.") << v;
    }
    for (const char* v : {"0", "00", "+"}) {
        c.fixedLength = v;
        EXPECT_EQ(firstFailure(c), "Please enter a fixed length greater than 0") << v;
    }
    c.fixedLength = "+5";
    EXPECT_EQ(firstFailure(c), "");
    // The fixed-length message wins over an over-long separator.
    c.fixedLength = "1.5";
    c.recordSeparator = "12345678";
    auto f = checkFileSettings(c, 1, true);
    EXPECT_EQ(f->message, "Fixed length should be positive/integer.");
    EXPECT_EQ(f->icon, CheckIcon::Information);
    EXPECT_EQ(f->focus, CheckFocus::FixedLengthEdit);
}

TEST(CheckFileSettings, SeparatorLengthLimit) {
    ParseConfiguration c = withRow();
    c.recordSeparator = "\\x0D\\x0D\\x0D\\x0D\\x0D\\x0D\\x0D";
    EXPECT_EQ(firstFailure(c), "");
    c.recordSeparator += "\\x0D";
    EXPECT_EQ(firstFailure(c), "A Record Separator should have only 7 chars.");
    c.recordSeparator = "12345678";
    auto f = checkFileSettings(c, 1, false);
    EXPECT_EQ(f->focus, CheckFocus::CharacterSequenceEdit);
}

TEST(CheckFileSettings, NeitherRecordFormFocusesTheEnabledEdit) {
    ParseConfiguration c = withRow();
    auto disabled = checkFileSettings(c, 1, false);
    EXPECT_EQ(disabled->message, "You must enter a record separator or a fixed length value");
    EXPECT_EQ(disabled->icon, CheckIcon::Warning);
    EXPECT_EQ(disabled->focus, CheckFocus::CharacterSequenceEdit);
    EXPECT_EQ(checkFileSettings(c, 1, true)->focus, CheckFocus::FixedLengthEdit);
}

TEST(CheckFileSettings, FirAndFieldsComeAfterTheRecordChecks) {
    ParseConfiguration c;
    c.processFir = true;
    EXPECT_EQ(firstFailure(c), "You must enter a record separator or a fixed length value");
    c.recordSeparator = "|";
    auto fir = checkFileSettings(c, 0, false);
    EXPECT_EQ(fir->message, "You must enter FIR separation characters in order to process FIR");
    EXPECT_EQ(fir->focus, CheckFocus::FirSeparatorEdit);
    c.firSeparator = "~";
    auto none = checkFileSettings(c, 0, false);
    EXPECT_EQ(none->message, "Please enter the field details");
    EXPECT_EQ(none->focus, CheckFocus::Unchanged);
    EXPECT_FALSE(checkFileSettings(c, 1, false));
}

}  // namespace velmora::test
