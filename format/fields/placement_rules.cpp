#include "format/fields/placement_rules.h"

#include "format/fields/keywords.h"
#include "format/fields/text_utils.h"

namespace velmora {

namespace {

const char* const kDifferentEndCode = "Start Method Should Be Unique. Enter a Different End Code";
const char* const kDifferentValue = "Start Method Should Be Unique. Enter a Different Value";
const char* const kNotInOrderNone =
    "For fields not in order, end method of one module and start method of another module can not have the value "
    "\"None\"";
const char* const kDuplicateName = "There is already a field with this name.  Please enter a new field name";

Refusal refuse(const char* message, FollowUp followUp = FollowUp::None) {
    return Refusal{message, kCaptionDataParser, followUp};
}

bool isNone(const std::string& type) { return type == kw::None; }
bool startsAtPosition(const FieldDef& f) { return f.startType == kw::StartPosition; }
int position(const FieldDef& f) { return leadingInteger(f.startData); }

bool ownCodesClash(const FieldDef& n) {
    return n.startType == kw::StartCode && n.endType == kw::EndCode && n.startData == n.endData;
}

FollowUp startRadioStepFor(const FieldDef& n) {
    if (n.startType == kw::StartCode) return FollowUp::StartCodeRadioStep;
    if (n.startType == kw::StartPosition) return FollowUp::StartPositionRadioStep;
    return FollowUp::None;
}

// The three uniqueness tests of fields not in order, all on one row before
// the next. Append compares the start data alone, the others the whole start.
std::optional<Refusal> notInOrderTests(const FieldDef& row, const FieldDef& n, bool compareStartType) {
    bool sameStart = row.startData == n.startData && (!compareStartType || row.startType == n.startType);
    if (sameStart) return refuse(kDifferentValue, startRadioStepFor(n));
    if (n.endType == kw::EndCode && row.startType == kw::StartCode && row.startData == n.endData)
        return refuse(kDifferentEndCode, FollowUp::EndCodeRadioStep);
    if (isNone(n.startType) && isNone(row.endType)) return refuse(kNotInOrderNone);
    return std::nullopt;
}

// Some row in [from, to) starts at a position that breaks the order.
bool positionBefore(const FieldList& list, int from, int to, int n) {
    for (int r = from; r < to; ++r)
        if (startsAtPosition(list.row(r)) && position(list.row(r)) >= n) return true;
    return false;
}
bool positionAfter(const FieldList& list, int from, int to, int n) {
    for (int r = from; r < to; ++r)
        if (startsAtPosition(list.row(r)) && position(list.row(r)) <= n) return true;
    return false;
}

std::optional<Refusal> nameTaken(const FieldList& list, const FieldDef& n, int exceptRow) {
    for (int r = 0; r < list.rowCount(); ++r)
        if (r != exceptRow && list.row(r).fieldName == n.fieldName) return refuse(kDuplicateName);
    return std::nullopt;
}

std::optional<Refusal> checkAppend(const FieldDef& n, const FieldList& list, bool inOrder) {
    if (!inOrder && ownCodesClash(n)) return refuse(kDifferentEndCode, FollowUp::EndCodeRadioStep);
    const int count = list.rowCount();
    if (count > 0 && inOrder) {
        if (isNone(list.row(count - 1).endType) && isNone(n.startType))
            return refuse(
                "Previous Field's End Method and Current Field's Start Method Together Can Not Have The "
                "Value \"None\"");
        if (startsAtPosition(n) && positionBefore(list, 0, count, position(n)))
            // "Postions" (and "lesser than") are the system's own spelling.
            return refuse("Can not have a Start Position which is lesser than the previous Start Postions",
                          FollowUp::FocusStartPosition);
    }
    if (count > 0 && !inOrder)
        for (int r = 0; r < count; ++r)
            if (auto refusal = notInOrderTests(list.row(r), n, false)) return refusal;
    return nameTaken(list, n, -1);
}

std::optional<Refusal> checkInsertAbove(int s, const FieldDef& n, const FieldList& list, bool inOrder) {
    if (!inOrder && ownCodesClash(n)) return refuse(kDifferentEndCode, FollowUp::EndCodeRadioStep);
    const int count = list.rowCount();
    if (inOrder) {
        if (startsAtPosition(n)) {
            if (positionBefore(list, 0, s, position(n)))
                // "Postions" (and "lesser than") are the system's own spelling.
                return refuse("Can not have a Start Position which is lesser than the previous Start Postions",
                              FollowUp::FocusStartPosition);
            if (positionAfter(list, s, count, position(n)))
                // "Postions" is the system's own spelling.
                return refuse("Can not have a Start Position which is greater than the next Start Postions",
                              FollowUp::FocusStartPosition);
        }
        if (s > 0 && isNone(list.row(s - 1).endType) && isNone(n.startType))
            return refuse(
                "Previous Field's End Method and Current Field's Start Method Together Can Not Have The "
                "Value \"None\"");
        if (s < count && isNone(list.row(s).startType) && isNone(n.endType))
            return refuse(
                "Current Field's End Method and New Field's Start Method Together Can Not Have The Value "
                "\"None\"");
    } else {
        for (int r = 0; r < count; ++r)
            if (auto refusal = notInOrderTests(list.row(r), n, true)) return refusal;
    }
    return nameTaken(list, n, -1);
}

std::optional<Refusal> checkChange(int s, const FieldDef& n, const FieldList& list, bool inOrder) {
    if (!inOrder && ownCodesClash(n))
        return refuse("Codes Must Be Unique. Enter a new End Code", FollowUp::EndCodeRadioStep);
    const int count = list.rowCount();
    if (inOrder) {
        if (startsAtPosition(n)) {
            if (positionBefore(list, 0, s, position(n)))
                // "Postions" is the system's own spelling.
                return refuse("START_POSITION must be less than previous Start Postions", FollowUp::FocusStartPosition);
            if (positionAfter(list, s + 1, count, position(n)))
                return refuse("Start Pos can't be greater than next Start Pos", FollowUp::FocusStartPosition);
        }
        if (s > 0 && isNone(list.row(s - 1).endType) && isNone(n.startType))
            return refuse("Previous End Method and Current Start Method can't both be none");
        if (s + 1 < count && isNone(list.row(s + 1).startType) && isNone(n.endType))
            return refuse("Current End Method and New Start Method can't both be none");
    } else {
        for (int r = 0; r < count; ++r)
            if (r != s)
                if (auto refusal = notInOrderTests(list.row(r), n, true)) return refusal;
    }
    // Names become the engine's column names, so a change may not take
    // another row's name either; the row's own name is no duplicate.
    return nameTaken(list, n, s);
}

}  // namespace

std::optional<Refusal> checkPlacement(FieldOperation operation, int selectedRow, const FieldDef& candidate,
                                      const FieldList& list, bool fieldsInOrder) {
    // A selected row that no longer exists counts as the end of the list.
    int s = selectedRow < 0 ? 0 : (selectedRow > list.rowCount() ? list.rowCount() : selectedRow);
    switch (operation) {
    case FieldOperation::Append:
        return checkAppend(candidate, list, fieldsInOrder);
    case FieldOperation::InsertAbove:
        return checkInsertAbove(s, candidate, list, fieldsInOrder);
    case FieldOperation::Change:
        return checkChange(s, candidate, list, fieldsInOrder);
    }
    return std::nullopt;
}

}  // namespace velmora
