#include "format/fields/placement_rules.h"

#include <gtest/gtest.h>

namespace velmora::test {

namespace {

FieldDef at(const char* name, int position, const char* endType = "FIXED_LENGTH") {
    return FieldDef{name, "START_POSITION", std::to_string(position), endType, "", "TEXT_FIELD", ""};
}
FieldDef coded(const char* name, const char* startType, const char* startData, const char* endType,
               const char* endData = "") {
    return FieldDef{name, startType, startData, endType, endData, "TEXT_FIELD", ""};
}
FieldList listOf(std::initializer_list<FieldDef> rows) {
    FieldList l;
    for (const auto& r : rows) l.insertRow(l.rowCount(), r);
    return l;
}
std::string verdict(FieldOperation op, int s, const FieldDef& n, const FieldList& l, bool inOrder) {
    auto r = checkPlacement(op, s, n, l, inOrder);
    return r ? r->message : "accepted";
}

const char* const kLesser = "Can not have a Start Position which is lesser than the previous Start Postions";
const char* const kGreater = "Can not have a Start Position which is greater than the next Start Postions";
const char* const kDifferentValue = "Start Method Should Be Unique. Enter a Different Value";
const char* const kDifferentEnd = "Start Method Should Be Unique. Enter a Different End Code";

}  // namespace

TEST(PlacementInOrder, AppendPositionsMustRise) {
    auto l = listOf({at("A", 10), at("B", 20)});
    EXPECT_EQ(verdict(FieldOperation::Append, 0, at("N", 15), l, true), kLesser);
    EXPECT_EQ(verdict(FieldOperation::Append, 0, at("N", 20), l, true), kLesser);
    EXPECT_EQ(verdict(FieldOperation::Append, 0, at("N", 25), l, true), "accepted");
    auto r = checkPlacement(FieldOperation::Append, 0, at("N", 15), l, true);
    EXPECT_EQ(r->caption, "Velmora Data Parser");
    EXPECT_EQ(r->followUp, FollowUp::FocusStartPosition);
    // Rows that do not start at a position take no part.
    auto mixed = listOf({at("A", 10), coded("C", "START_CODE", "99", "END_CODE", "#")});
    EXPECT_EQ(verdict(FieldOperation::Append, 0, at("N", 15), mixed, true), "accepted");
}

TEST(PlacementInOrder, InsertAboveBetweenItsNeighbours) {
    auto l = listOf({at("A", 10), at("B", 20)});
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 1, at("N", 15), l, true), "accepted");
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 1, at("N", 10), l, true), kLesser);
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 1, at("N", 20), l, true), kGreater);
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 0, at("N", 5), l, true), "accepted");
}

TEST(PlacementInOrder, ChangeHasItsOwnWording) {
    auto l = listOf({at("A", 10), at("B", 20), at("C", 30)});
    EXPECT_EQ(verdict(FieldOperation::Change, 1, at("B", 30), l, true),
              "Start Pos can't be greater than next Start Pos");
    EXPECT_EQ(verdict(FieldOperation::Change, 1, at("B", 25), l, true), "accepted");
    EXPECT_EQ(verdict(FieldOperation::Change, 1, at("B", 10), l, true),
              "START_POSITION must be less than previous Start Postions");
    EXPECT_EQ(verdict(FieldOperation::Change, 1, at("B", 20), l, true), "accepted");  // its own place
}

TEST(PlacementInOrder, NoneMeetingNone) {
    auto l = listOf({coded("A", "START_CODE", "#A", "None")});
    auto noneStart = coded("N", "None", "", "END_CODE", "#");
    EXPECT_EQ(verdict(FieldOperation::Append, 0, noneStart, l, true),
              "Previous Field's End Method and Current Field's Start Method Together Can Not Have The Value \"None\"");
    EXPECT_EQ(verdict(FieldOperation::Append, 0, coded("N", "START_CODE", "#B", "None"), l, true), "accepted");

    auto two = listOf({coded("A", "START_CODE", "#A", "END_CODE", "#"), coded("B", "None", "", "END_CODE", "#")});
    // Insert Above looks at the row above S, and at none above row 0.
    auto firstEndsNone = listOf({coded("A", "START_CODE", "#A", "None"), coded("B", "START_CODE", "#B", "None")});
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 1, noneStart, firstEndsNone, true),
              "Previous Field's End Method and Current Field's Start Method Together Can Not Have The Value \"None\"");
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 0, noneStart, firstEndsNone, true), "accepted");
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 1, coded("N", "START_CODE", "#N", "None"), two, true),
              "Current Field's End Method and New Field's Start Method Together Can Not Have The Value \"None\"");
    // Change of row 0: no previous row; the next row is row 1.
    EXPECT_EQ(verdict(FieldOperation::Change, 0, coded("A", "None", "", "None"), two, true),
              "Current End Method and New Start Method can't both be none");
    auto prevNone = listOf({coded("A", "START_CODE", "#A", "None"), coded("B", "START_CODE", "#B", "END_CODE", "#")});
    EXPECT_EQ(verdict(FieldOperation::Change, 1, coded("B", "None", "", "END_CODE", "#"), prevNone, true),
              "Previous End Method and Current Start Method can't both be none");
}

TEST(PlacementNotInOrder, StartsMustBeUnique) {
    auto l = listOf({at("A", 5)});
    auto code5 = coded("N", "START_CODE", "5", "END_CODE", "#");
    // Append compares the start data alone; Insert Above and Change the whole start.
    auto r = checkPlacement(FieldOperation::Append, 0, code5, l, false);
    EXPECT_EQ(r->message, kDifferentValue);
    EXPECT_EQ(r->followUp, FollowUp::StartCodeRadioStep);
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 0, code5, l, false), "accepted");

    auto none = listOf({coded("A", "None", "", "END_CODE", "#")});
    auto secondNone = coded("N", "None", "", "END_CODE", "$");
    for (auto op : {FieldOperation::Append, FieldOperation::InsertAbove})
        EXPECT_EQ(verdict(op, 0, secondNone, none, false), kDifferentValue);
    auto both = listOf({coded("A", "None", "", "END_CODE", "#"), coded("B", "START_CODE", "x", "END_CODE", "#")});
    EXPECT_EQ(verdict(FieldOperation::Change, 1, secondNone, both, false), kDifferentValue);

    EXPECT_EQ(verdict(FieldOperation::Append, 0, coded("N", "START_CODE", "ab", "END_CODE", "#"),
                      listOf({coded("A", "START_CODE", "AB", "END_CODE", "#")}), false),
              "accepted");
}

TEST(PlacementNotInOrder, EndCodesAgainstStartCodes) {
    auto l = listOf({coded("A", "START_CODE", "#A", "END_CODE", "#Z")});
    auto r = checkPlacement(FieldOperation::Append, 0, coded("N", "START_CODE", "#N", "END_CODE", "#A"), l, false);
    EXPECT_EQ(r->message, kDifferentEnd);
    EXPECT_EQ(r->followUp, FollowUp::EndCodeRadioStep);
    EXPECT_EQ(verdict(FieldOperation::Append, 0, coded("N", "START_CODE", "#N", "END_CODE", "#Z"), l, false),
              "accepted");
    // Its own start and end codes.
    auto own = coded("N", "START_CODE", "#", "END_CODE", "#");
    EXPECT_EQ(verdict(FieldOperation::Append, 0, own, FieldList(), false), kDifferentEnd);
    EXPECT_EQ(verdict(FieldOperation::Change, 0, own, l, false), "Codes Must Be Unique. Enter a new End Code");
    EXPECT_EQ(verdict(FieldOperation::Append, 0, own, FieldList(), true), "accepted");
    EXPECT_EQ(verdict(FieldOperation::Change, 0, own, l, true), "accepted");
}

TEST(PlacementNotInOrder, NoneStartWhileAnotherEndsWithNone) {
    auto l = listOf({coded("A", "START_CODE", "#A", "None")});
    EXPECT_EQ(verdict(FieldOperation::Append, 0, coded("N", "None", "", "END_CODE", "#"), l, false),
              "For fields not in order, end method of one module and start method of another module can not have the "
              "value \"None\"");
    // Change looks at every row but its own.
    EXPECT_EQ(verdict(FieldOperation::Change, 0, coded("A", "None", "", "None"), l, false), "accepted");
}

TEST(PlacementNames, DuplicatesRefusedCaseSensitively) {
    auto l = listOf({at("Card", 1), at("PAN", 10)});
    const char* dup = "There is already a field with this name.  Please enter a new field name";
    EXPECT_EQ(verdict(FieldOperation::Append, 0, at("PAN", 20), l, true), dup);
    EXPECT_EQ(verdict(FieldOperation::InsertAbove, 1, at("Card", 5), l, true), dup);
    EXPECT_EQ(verdict(FieldOperation::Append, 0, at("pan", 20), l, true), "accepted");
    // A change keeps its own name but may not take another row's.
    EXPECT_EQ(verdict(FieldOperation::Change, 1, at("PAN", 15), l, true), "accepted");
    EXPECT_EQ(verdict(FieldOperation::Change, 1, at("Card", 15), l, true), dup);
}

}  // namespace velmora::test
