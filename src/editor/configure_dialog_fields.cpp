// The field operations of the Configure dialog: commit, insert above,
// change, delete, and the click on the field list.
#include <algorithm>

#include "src/editor/configure_dialog.h"
#include "src/editor/configure_dialog_description.h"
#include "format/fields/entry_checks.h"
#include "format/fields/keywords.h"
#include "format/fields/placement_rules.h"
#include "format/fields/text_utils.h"

namespace velmora {

namespace {
const char* const kAppendCaption = "&Append Field";
}

void ConfigureDialog::refuse(const Refusal& refusal) {
    prompts().messageBox(refusal.message, refusal.caption, MessageIcon::Warning, MessageButtons::Ok);
    DialogControls& c = controls();
    switch (refusal.followUp) {
    case FollowUp::None:
        break;
    case FollowUp::FocusFieldName:
        c.setFocus(kIdFieldName);
        break;
    case FollowUp::FocusStartCode:
        c.setFocus(kIdStartCode);
        break;
    case FollowUp::FocusStartPosition:
        c.setFocus(kIdStartPosition);
        break;
    case FollowUp::FocusEndCode:
        c.setFocus(kIdEndCode);
        break;
    case FollowUp::FocusEndFixedLength:
        c.setFocus(kIdEndFixedLength);
        break;
    // A radio step runs that radio's handler as if the user had clicked it.
    case FollowUp::StartCodeRadioStep:
        startRadioClicked(StartMethod::ByCode);
        break;
    case FollowUp::StartPositionRadioStep:
        startRadioClicked(StartMethod::ByPosition);
        break;
    case FollowUp::EndCodeRadioStep:
        endRadioClicked(EndMethod::ByCode);
        break;
    }
}

void ConfigureDialog::commitField() {
    DialogControls& c = controls();
    showTypeControls(false, false, false);

    if (auto refusal = checkFieldName(c.text(kIdFieldName))) {
        refuse(*refusal);
        return;
    }
    // Unchosen numeric edits read as 0, so that the pull cannot fail on them.
    if (entry_.startMethod != StartMethod::ByPosition) c.setText(kIdStartPosition, "0");
    if (entry_.endMethod != EndMethod::FixedLength) c.setText(kIdEndFixedLength, "0");
    if (!pull()) return;
    auto built = buildFieldDef(entry_);
    if (auto* refusal = std::get_if<Refusal>(&built)) {
        refuse(*refusal);
        return;
    }
    if (auto refusal = checkFieldTypeData(entry_)) {
        refuse(*refusal);
        return;
    }
    const FieldDef& candidate = std::get<FieldDef>(built);

    FieldOperation operation = changing(editMode_)         ? FieldOperation::Change
                               : insertingAbove(editMode_) ? FieldOperation::InsertAbove
                                                           : FieldOperation::Append;
    if (auto refusal = checkPlacement(operation, selectedRow_, candidate, fields_.rows(), fieldsInOrder_ == 1)) {
        refuse(*refusal);
        return;
    }
    writeRow(operation, candidate);
}

void ConfigureDialog::writeRow(FieldOperation operation, const FieldDef& candidate) {
    DialogControls& c = controls();
    FieldDef row = candidate;
    if (operation == FieldOperation::Change) {
        row.fieldTypeData = composeFieldTypeData(entry_, RowKind::ChangedRow);
        list().replaceRow(selectedRow_, row);
        clearFieldEntries();
        c.setText(kIdAppendField, priorAppendText_);
        c.enable(kIdAppendField, false);
        c.enable(kIdOk, true);
        editMode_ = withChange(editMode_, false);
        return;
    }
    int index = fields_.rows().rowCount();
    if (operation == FieldOperation::InsertAbove) {
        c.setText(kIdAppendField, kAppendCaption);
        c.enable(kIdAppendField, false);
        c.enable(kIdOk, true);
        editMode_ = withInsertAbove(editMode_, false);
        index = selectedRow_ < 0 ? 0 : std::min(selectedRow_, index);
    }
    row.fieldTypeData = composeFieldTypeData(entry_, RowKind::NewRow);
    list().insertRow(index, row);
    selectedRow_ = index;
    clearFieldEntries();
    c.setFocus(kIdFieldName);
    for (int id : {kIdChangeField, kIdInsertAbove, kIdDeleteField, kIdAppendField}) c.enable(id, false);
    c.enable(kIdOk, true);
}

void ConfigureDialog::clearFieldEntries() {
    DialogControls& c = controls();
    entry_.clear();
    push();
    for (int id : {kIdStartCode, kIdStartPosition, kIdEndCode, kIdEndFixedLength, kIdFieldType}) c.enable(id, false);
    if (!firSeparator_.empty() && (!fixedLength_.empty() || !recordSeparator_.empty())) c.enable(kIdOk, true);
}

void ConfigureDialog::beginInsertAbove() {
    DialogControls& c = controls();
    for (int id : {kIdChangeField, kIdDeleteField, kIdInsertAbove, kIdOk}) c.enable(id, false);
    priorAppendText_ = c.text(kIdAppendField);
    c.setText(kIdAppendField, "OK");
    c.enable(kIdAppendField, false);
    c.setFocus(kIdFieldName);
    editMode_ = withInsertAbove(editMode_, true);
    showTypeControls(false, false, false);
    clearFieldEntries();
}

void ConfigureDialog::loadFieldEntry() {
    DialogControls& c = controls();
    if (selectedRow_ < 0 || selectedRow_ >= fields_.rows().rowCount()) return;
    for (int id : {kIdFieldType, kIdEndCode, kIdEndNone, kIdFieldsInOrder, kIdEndFixedLength, kIdProcessFir,
                   kIdStartCode, kIdStartNone, kIdStartPosition})
        c.enable(id, true);

    const FieldDef& row = fields_.rows().row(selectedRow_);
    entry_.fieldName = row.fieldName;
    loadTypeData(row);
    c.enable(kIdFieldName, true);
    loadStart(row);
    loadEnd(row);
    entry_.fieldTypeIndex = indexFromFieldType(row.fieldType);
    push();

    for (int id : {kIdStartNone, kIdStartCodeRadio, kIdStartPositionRadio, kIdEndNone, kIdEndCodeRadio,
                   kIdEndFixedLengthRadio, kIdEmbeddedLengthRadio, kIdTesselgramRadio})
        c.enable(id, true);
    c.enable(kIdAppendField, true);
    for (int id : {kIdChangeField, kIdDeleteField, kIdInsertAbove, kIdOk}) c.enable(id, false);
    c.setText(kIdAppendField, "OK");
    c.enable(kIdAppendField, false);
    editMode_ = withChange(editMode_, true);
}

void ConfigureDialog::loadTypeData(const FieldDef& row) {
    if (isScriptType(row.fieldType)) {
        entry_.scriptData = row.fieldTypeData;
        entry_.applicationName.clear();
        showTypeControls(false, true, false);
    } else if (isApplicationType(row.fieldType)) {
        entry_.applicationName = row.fieldTypeData;
        entry_.scriptData.clear();
        showTypeControls(true, false, false);
    } else if (isMagstripeType(row.fieldType)) {
        showTypeControls(false, false, true);
        auto values = splitSentinelText(row.fieldTypeData);
        for (size_t i = 0; i < values.size(); ++i)
            if (!values[i].empty()) entry_.sentinels.at(static_cast<int>(i)) = values[i];
    } else {
        entry_.applicationName.clear();
        entry_.scriptData.clear();
    }
}

void ConfigureDialog::loadStart(const FieldDef& row) {
    DialogControls& c = controls();
    if (row.startType == kw::None) {
        entry_.startMethod = StartMethod::None;
        entry_.startCode.clear();
        entry_.startPosition = 0;
        c.enable(kIdStartCode, false);
        c.enable(kIdStartPosition, false);
    } else if (row.startType == kw::StartCode) {
        entry_.startMethod = StartMethod::ByCode;
        entry_.startCode = row.startData;
        entry_.startPosition = 0;
        c.enable(kIdStartPosition, false);
    } else if (row.startType == kw::StartPosition) {
        entry_.startMethod = StartMethod::ByPosition;
        entry_.startPosition = leadingInteger(row.startData);
        entry_.startCode.clear();
        c.enable(kIdStartCode, false);
    }
}

void ConfigureDialog::loadEnd(const FieldDef& row) {
    DialogControls& c = controls();
    // Methods without a code show "None" in the disabled End Code edit.
    const bool endKnown = row.endType == kw::None || row.endType == kw::EndCode || row.endType == kw::FixedLength ||
                          row.endType == kw::EmbeddedLength || row.endType == kw::Tesselgram;
    if (!endKnown) return;
    entry_.endingCode = row.endType == kw::EndCode ? row.endData : kw::None;
    entry_.endLength = row.endType == kw::FixedLength ? leadingInteger(row.endData) : 0;
    if (row.endType == kw::None) entry_.endMethod = EndMethod::None;
    if (row.endType == kw::EndCode) entry_.endMethod = EndMethod::ByCode;
    if (row.endType == kw::FixedLength) entry_.endMethod = EndMethod::FixedLength;
    if (row.endType == kw::EmbeddedLength) entry_.endMethod = EndMethod::EmbeddedLength;
    if (row.endType == kw::Tesselgram) entry_.endMethod = EndMethod::Tesselgram;
    if (row.endType != kw::EndCode) c.enable(kIdEndCode, false);
    if (row.endType != kw::FixedLength) c.enable(kIdEndFixedLength, false);
}

void ConfigureDialog::listClicked(ListPoint point) {
    DialogControls& c = controls();
    int hit = list().hitTest(point);
    if (hit < 0) return;
    selectedRow_ = hit;
    priorAppendText_ = c.text(kIdAppendField);
    editMode_ = withChange(editMode_, false);
    if (priorAppendText_ == "OK") c.setText(kIdAppendField, "Append Field");
    for (int id : {kIdChangeField, kIdInsertAbove, kIdDeleteField}) c.enable(id, true);
    showTypeControls(false, false, false);
}

void ConfigureDialog::deleteField() {
    DialogControls& c = controls();
    if (selectedRow_ < 0 || selectedRow_ >= fields_.rows().rowCount()) return;
    entry_.fieldName = fields_.rows().cell(selectedRow_, 0);
    list().deleteRow(selectedRow_);
    c.enable(kIdOk, fields_.rows().rowCount() > 0);
    for (int id : {kIdAppendField, kIdDeleteField, kIdChangeField, kIdInsertAbove}) c.enable(id, false);
    for (int id : {kIdFieldName, kIdStartNone, kIdEndNone, kIdStartCodeRadio, kIdStartPositionRadio, kIdEndCodeRadio,
                   kIdEndFixedLengthRadio, kIdEmbeddedLengthRadio, kIdTesselgramRadio})
        c.enable(id, true);
}

}  // namespace velmora
