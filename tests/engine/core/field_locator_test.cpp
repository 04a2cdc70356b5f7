#include <gtest/gtest.h>

#include <functional>

#include "engine/core/field_locator.h"
#include "engine/core/find_bytes.h"
#include "format/fields/keywords.h"
#include "tests/support/configurations.h"

namespace velmora::test {
namespace {

using Values = std::vector<std::string>;

// The fields' data in list order, "NULL" for an absent one; or, for a
// rejected record, "rejected <field index>: <reason>".
Values locate(const std::string& record, const std::vector<FieldDef>& fields, bool inOrder = true) {
    EngineConfiguration config = engineConfig(configText("", "|", fields, inOrder));
    LocatedFields out;
    if (!locateFields(record, config, out))
        return {"rejected " + std::to_string(out.rejectedField) + ": " + out.rejection};
    Values values;
    for (const FieldSlice& s : out.slices) {
        if (s.present && (s.begin > record.size() || s.length > record.size() - s.begin)) return {"past the end"};
        values.push_back(s.present ? record.substr(s.begin, s.length) : "NULL");
    }
    return values;
}

bool rejectedFor(const Values& v, const std::string& prefix, const std::string& reason) {
    return v.size() == 1 && v[0].rfind("rejected " + prefix, 0) == 0 && v[0].find(reason) != std::string::npos;
}

TEST(FieldLocatorTest, StartMethodsInOrder) {
    auto f = [](const char* n, const char* st, const char* sd) {
        return field(n, st, sd, kw::FixedLength, "2", kw::TextField);
    };
    // Start code: after its first occurrence at or after the cursor.
    EXPECT_EQ(locate("xx#AB#CD", {f("a", kw::StartCode, "#"), f("b", kw::StartCode, "#")}), (Values{"AB", "CD"}));
    // Start position: byte p of the record, 1-based, whatever the cursor.
    EXPECT_EQ(locate("abcdef", {f("a", kw::StartPosition, "5"), f("b", kw::StartPosition, "2")}), (Values{"ef", "bc"}));
    // None: at the cursor, where the field before ended.
    EXPECT_EQ(locate("abcdef", {f("a", kw::None, ""), f("b", kw::None, "")}), (Values{"ab", "cd"}));
}

TEST(FieldLocatorTest, AStartThatIsNotThereLeavesTheFieldNullAndTheCursorWhereItWas) {
    auto f = [](const char* n, const char* st, const char* sd) {
        return field(n, st, sd, kw::FixedLength, "2", kw::TextField);
    };
    EXPECT_EQ(locate("abcd", {f("a", kw::StartCode, "#"), f("b", kw::None, "")}), (Values{"NULL", "ab"}));
    // A record without byte p has no such field.
    EXPECT_EQ(locate("abcd", {f("a", kw::StartPosition, "5"), f("b", kw::None, "")}), (Values{"NULL", "ab"}));
    // A start code before the cursor is not found again.
    EXPECT_EQ(locate("#ab", {f("a", kw::StartCode, "#"), f("b", kw::StartCode, "#")}), (Values{"ab", "NULL"}));
}

TEST(FieldLocatorTest, EndMethods) {
    auto f = [](const char* n, const char* et, const char* ed) {
        return field(n, kw::None, "", et, ed, kw::BinaryField);
    };
    // End code: before its next occurrence; the cursor moves past it.
    EXPECT_EQ(locate("ab##cd##", {f("a", kw::EndCode, "##"), f("b", kw::EndCode, "##")}), (Values{"ab", "cd"}));
    // An end code that is not found lets the data run to the record's end.
    EXPECT_EQ(locate("ab#cd", {f("a", kw::EndCode, "#"), f("b", kw::EndCode, "#"), f("c", kw::EndCode, "#")}),
              (Values{"ab", "cd", ""}));
    EXPECT_EQ(locate("abcdef", {f("a", kw::FixedLength, "4"), f("b", kw::FixedLength, "2")}), (Values{"abcd", "ef"}));
    // Embedded length: four ASCII digits, then that many bytes; the prefix is not data.
    EXPECT_EQ(locate("0003abc0000x",
                     {f("a", kw::EmbeddedLength, ""), f("b", kw::EmbeddedLength, ""), f("c", kw::FixedLength, "1")}),
              (Values{"abc", "", "x"}));
    // TESSELGRAM: one whole BER-TLV object, header included.
    EXPECT_EQ(locate(std::string("\x9F\x02\x02\x01\x02rest", 9), {f("a", kw::Tesselgram, ""), f("b", kw::None, "")}),
              (Values{std::string("\x9F\x02\x02\x01\x02", 5), "rest"}));
    // Looked for alone from the cursor, or by the sweep (which a start code
    // anywhere in the list calls for), the end codes are found alike: with
    // fields cut by codes alone, by one code of one byte (records of several
    // 16-byte blocks), and with a fixed length among them.
    const std::vector<FieldDef> ends = {f("a", kw::EndCode, "#"), f("b", kw::EndCode, "#~"), f("c", kw::EndCode, "~"),
                                        f("d", kw::None, "")};
    const std::vector<FieldDef> oneByte = {f("a", kw::EndCode, "#"), f("b", kw::EndCode, "#"), f("c", kw::EndCode, "#"),
                                           f("d", kw::None, ""), f("g", kw::EndCode, "#")};
    std::vector<FieldDef> mixed = ends;
    mixed.insert(mixed.begin() + 1, f("x", kw::FixedLength, "1"));
    uint32_t seed = 7;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (const std::vector<FieldDef>& fields : {ends, oneByte, mixed}) {
        std::vector<FieldDef> swept = fields;
        swept.push_back(field("e", kw::StartCode, "^", kw::None, "", kw::BinaryField));
        for (int k = 0; k < 400; ++k) {
            std::string record;
            for (uint32_t n = next() % 60; n > 0; --n) record += "#~abcdefgh"[next() % 10];
            Values bySweep = locate(record, swept);
            if (bySweep.size() > 1) bySweep.pop_back();  // e, never there; a rejection stays whole
            EXPECT_EQ(locate(record, fields), bySweep) << record;
        }
    }
    // By masks or code by code, a record's bytes count alike as read: a last
    // field cut by a code never there only turns the masks off.
    std::vector<FieldDef> byCodes = oneByte;
    byCodes.push_back(f("h", kw::EndCode, "%"));
    const EngineConfiguration masksConfig = engineConfig(configText("", "|", oneByte, true)),
                              codesConfig = engineConfig(configText("", "|", byCodes, true));
    FieldLocator masks(masksConfig), codes(codesConfig);
    LocatedFields out;
    for (int k = 0; k < 200; ++k) {
        std::string record;
        for (uint32_t n = next() % 60; n > 0; --n) record += "#~abcdefgh"[next() % 10];
        masks.locate(record, out);
        codes.locate(record, out);
        EXPECT_EQ(masks.work(), codes.work()) << record;
    }
    // Codes and separators are found where std::string_view::find finds them.
    for (int k = 0; k < 2000; ++k) {
        std::string text, code;
        for (uint32_t n = next() % 12; n > 0; --n) text += "ab"[next() & 1];
        for (uint32_t n = 1 + next() % 3; n > 0; --n) code += "ab"[next() & 1];
        EXPECT_EQ(findBytes(text, code), std::string_view(text).find(code)) << text << " " << code;
    }
}

TEST(FieldLocatorTest, EndNoneRunsToWhereTheNextFieldBegins) {
    auto open = [](const char* n, const char* st, const char* sd) {
        return field(n, st, sd, kw::None, "", kw::TextField);
    };
    // The next field's start code ends this field; the code belongs to neither.
    EXPECT_EQ(locate("ab#cd", {open("a", kw::None, ""), open("b", kw::StartCode, "#")}), (Values{"ab", "cd"}));
    // The next field's start position.
    EXPECT_EQ(locate("abcdef", {open("a", kw::None, ""), open("b", kw::StartPosition, "3")}), (Values{"ab", "cdef"}));
    // The last field, or a next start that is not found: the record's end.
    EXPECT_EQ(locate("abcd", {open("a", kw::None, ""), open("b", kw::StartCode, "#")}), (Values{"abcd", "NULL"}));
    // A next field without a start method gives no boundary.
    EXPECT_EQ(locate("abcd", {open("a", kw::None, ""), open("b", kw::None, "")}), (Values{"abcd", ""}));
}

TEST(FieldLocatorTest, FieldsNotInOrderAreEachFoundFromTheRecordsStart) {
    auto f = [](const char* n, const char* st, const char* sd, const char* et, const char* ed) {
        return field(n, st, sd, et, ed, kw::TextField);
    };
    EXPECT_EQ(
        locate("#Bbb#Aaa",
               {f("a", kw::StartCode, "#A", kw::FixedLength, "2"), f("b", kw::StartCode, "#B", kw::FixedLength, "2")},
               false),
        (Values{"aa", "bb"}));
    // End None: up to the nearest place after its start where another field begins.
    EXPECT_EQ(locate("xx#Bbb#Caa",
                     {f("c", kw::StartCode, "#C", kw::EndCode, "|"), f("b", kw::StartCode, "#B", kw::None, ""),
                      f("p", kw::StartPosition, "2", kw::None, "")},
                     false),
              (Values{"aa", "bb", "x"}));
    // A field's own start code further on is no boundary for it; another
    // field's start position is; an end code is the first after the start.
    EXPECT_EQ(locate("#Ax#Ay#Bz",
                     {f("a", kw::StartCode, "#A", kw::None, ""), f("b", kw::StartCode, "#B", kw::None, "")}, false),
              (Values{"x#Ay", "z"}));
    EXPECT_EQ(
        locate("#Ax#Ay#Bz",
               {f("a", kw::StartCode, "#A", kw::None, ""), f("p", kw::StartPosition, "5", kw::EndCode, "#")}, false),
        (Values{"x#", "Ay"}));
}

// Each field starts at a code of its own near the record's start and ends
// where another begins; all but the last find no other code after them.
// The record is read about twice (once each way), not once per code or per
// pair of fields.
TEST(FieldLocatorTest, EndNoneAmongManyFieldsNotInOrderReadsTheRecordAboutTwice) {
    const size_t count = 300;
    std::vector<FieldDef> fields;
    std::string record;
    for (size_t k = 0; k < count; ++k) {
        std::string code = "#" + std::to_string(1000 + k);
        fields.push_back(field("f" + std::to_string(k), kw::StartCode, code, kw::None, "", kw::TextField));
        record += code + "v";
    }
    record += std::string(1 << 16, '.');
    EngineConfiguration config = engineConfig(configText("", "|", fields, false));
    FieldLocator locator(config);
    LocatedFields out;
    ASSERT_TRUE(locator.locate(record, out));
    EXPECT_EQ(record.substr(out.slices[0].begin, out.slices[0].length), "v");
    EXPECT_EQ(record.substr(out.slices[count - 2].begin, out.slices[count - 2].length), "v");
    EXPECT_EQ(out.slices[count - 1].length, 1u + (1 << 16));
    EXPECT_LE(locator.work(), 2 * record.size());
}

// Codes spread through dots, one every `size / count` bytes.
std::string passedCodes(size_t count, size_t size) {
    std::string record(size, '.');
    for (size_t k = 0; k < count / 2; ++k) record.replace(k * (size / count), 5, "#" + std::to_string(1000 + k));
    return record;
}

// Hundreds of codes that are not there, or that end with one another, in
// a record full of their bytes: in either mode the record is read a few
// times over, not once per code, and no byte follows every code it ends.
TEST(FieldLocatorTest, ManyCodesCostAboutTheRecordWhateverTheyAre) {
    const size_t count = 200, size = 1 << 16;
    struct Case {
        const char* what;
        bool inOrder;
        std::string record;
        std::function<FieldDef(size_t)> field;
        std::string lastValue;
    } cases[] = {
        {"in order, codes not there", true, std::string(size, 'F'),
         [](size_t k) {
             return field("f" + std::to_string(k), kw::StartCode, "F" + std::to_string(1000 + k), kw::None, "",
                          kw::TextField);
         },
         "NULL"},
        // Each found where the one before left the cursor; the last not there.
        {"in order, codes ending with one another", true, std::string(size, 'a'),
         [](size_t k) {
             return field("f" + std::to_string(k), kw::StartCode, k + 1 < count ? std::string(k + 1, 'a') : "b",
                          kw::FixedLength, "1", kw::TextField);
         },
         "NULL"},
        {"in order, end codes ending with one another", true, std::string(size, 'a') + "b",
         [](size_t k) {
             return field("f" + std::to_string(k), kw::None, "", kw::EndCode, std::string(count - k, 'a') + "b",
                          kw::TextField);
         },
         ""},
        // The cursor moves past each code before it is asked for, and it is not there again.
        {"in order, codes behind the cursor", true, passedCodes(count, size),
         [](size_t k) {
             return k % 2 == 0 ? field("skip" + std::to_string(k), kw::None, "", kw::FixedLength,
                                       std::to_string(size / count), kw::BinaryField)
                               : field("f" + std::to_string(k), kw::StartCode, "#" + std::to_string(1000 + k / 2),
                                       kw::None, "", kw::TextField);
         },
         "NULL"},
        {"not in order, end codes ending with one another", false, std::string(size, 'a'),
         [](size_t k) {
             return field("f" + std::to_string(k), kw::StartPosition, std::to_string(k + 1), kw::EndCode,
                          std::string(k + 1, 'a'), kw::TextField);
         },
         ""},
    };
    for (const Case& c : cases) {
        std::vector<FieldDef> fields;
        for (size_t k = 0; k < count; ++k) fields.push_back(c.field(k));
        EngineConfiguration config = engineConfig(configText("", "|", fields, c.inOrder));
        FieldLocator locator(config);
        LocatedFields out;
        ASSERT_TRUE(locator.locate(c.record, out)) << c.what;
        const FieldSlice& last = out.slices[count - 1];
        EXPECT_EQ(last.present ? c.record.substr(last.begin, last.length) : "NULL", c.lastValue) << c.what;
        EXPECT_LE(locator.work(), 8 * c.record.size()) << c.what;
    }
}

TEST(FieldLocatorTest, LengthsPastTheEndAndMalformedPrefixesRejectTheRecord) {
    auto f = [](const char* n, const char* et, const char* ed) {
        return field(n, kw::None, "", et, ed, kw::BinaryField);
    };
    EXPECT_TRUE(rejectedFor(locate("abc", {f("a", kw::FixedLength, "2"), f("b", kw::FixedLength, "2")}), "1",
                            "FIXED_LENGTH 2 runs past the end of the record (1 bytes left)"));
    EXPECT_TRUE(rejectedFor(locate("003", {f("a", kw::EmbeddedLength, "")}), "0", "length prefix runs past"));
    EXPECT_TRUE(
        rejectedFor(locate("00x1a", {f("a", kw::EmbeddedLength, "")}), "0", "malformed length prefix \"00x1\""));
    EXPECT_TRUE(rejectedFor(locate("0009abc", {f("a", kw::EmbeddedLength, "")}), "0", "embedded length 9 runs past"));
    // Record bytes in a reason are shown, never written raw.
    EXPECT_TRUE(rejectedFor(locate(std::string("0\r\n\0abc", 7), {f("a", kw::EmbeddedLength, "")}), "0",
                            "malformed length prefix \"0\\x0D\\x0A\\x00\": four decimal digits expected"));
    EXPECT_TRUE(rejectedFor(locate("\x5A\x05"
                                   "abc",
                                   {f("a", kw::Tesselgram, "")}),
                            "0", "runs past the end"));
}

}  // namespace
}  // namespace velmora::test
