#include "src/editor/configure_dialog.h"

#include "src/editor/configure_dialog_description.h"
#include "src/editor/sentinels_dialog.h"
#include "format/fields/keywords.h"
#include "format/fields/text_utils.h"

namespace velmora {

namespace {
int indexIn(const std::vector<int>& ids, int id) {
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}
}  // namespace

ConfigureDialog::ConfigureDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit)
    : Dialog(configureDialogDescription(), prompts), files_(files), registry_(registry), audit_(audit) {
    // No radio of either group is checked until the dialog opens.
    entry_.startMethod = static_cast<StartMethod>(-1);
    entry_.endMethod = static_cast<EndMethod>(-1);
    entry_.fieldTypeIndex = -1;
    bindText(kIdFieldName, entry_.fieldName, 50);
    bindText(kIdRecordFixedLengthEdit, fixedLength_, 50);
    bindText(kIdCharacterSequenceEdit, recordSeparator_, 50);
    bindRadioGroup(kEndRadioIds, entry_.endMethod);
    bindText(kIdEndCode, entry_.endingCode, 7);
    bindInteger(kIdEndFixedLength, entry_.endLength);
    bindText(kIdStartCode, entry_.startCode, 7);
    bindInteger(kIdStartPosition, entry_.startPosition);
    bindRadioGroup(kStartRadioIds, entry_.startMethod);
    bindCheck(kIdProcessFir, processFir_);
    bindText(kIdFirSeparatorEdit, firSeparator_, 20);
    bindComboIndex(kIdFieldType, entry_.fieldTypeIndex);
    bindText(kIdApplicationName, entry_.applicationName);
    bindText(kIdScriptData, entry_.scriptData);
}

// "Previe&w..." follows whatever an event did to the record settings and
// the rows, whichever handler did it.
EventResult ConfigureDialog::onEvent(const DialogEvent& event) {
    EventResult result = handle(event);
    enablePreview();
    return result;
}

EventResult ConfigureDialog::handle(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init:
        return open();
    case DialogEvent::Clicked:
        return onClicked(event.id);
    case DialogEvent::EditChanged:
        onEditChanged(event.id);
        return EventResult::Handled;
    case DialogEvent::SelectionChanged:
        if (event.id != kIdFieldType) return EventResult::Unhandled;
        applyTypeVisibility(controls().selectedIndex(kIdFieldType));
        enableAppendInChangeMode();
        return EventResult::Handled;
    case DialogEvent::DropDownClosed:
        if (event.id == kIdFieldType) applyTypeVisibility(controls().selectedIndex(kIdFieldType));
        return EventResult::Handled;
    case DialogEvent::ListClicked:
        if (event.id == kIdFieldList) listClicked(event.point);
        return EventResult::Handled;
    case DialogEvent::Ok:
        saveConfiguration();
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;  // Cancel closes; nothing is asked
    }
}

EventResult ConfigureDialog::open() {
    DialogControls& c = controls();
    for (int i = 0; i < kFieldTypeCount; ++i) c.addItem(kIdFieldType, fieldTypeEntry(i));
    push();
    list().setUp();
    for (int id :
         {kIdAppendField, kIdChangeField, kIdDeleteField, kIdEndCode, kIdFieldType, kIdEndFixedLength, kIdInsertAbove,
          kIdRecordFixedLengthEdit, kIdStartCode, kIdStartPosition, kIdFirSeparatorEdit, kIdOk})
        c.enable(id, false);
    c.enable(kIdEndNone, true);
    c.enable(kIdStartNone, true);
    c.setTextLimit(kIdStartCode, 7);
    c.setTextLimit(kIdEndCode, 7);
    showTypeControls(false, false, false);
    fieldsInOrder_ = 1;
    processFir_ = 0;
    c.setChecked(kIdProcessFir, false);
    editMode_ = EditMode::Append;
    c.setSelectedIndex(kIdFieldType, 0);
    selectRadio(kIdCharacterSequenceRadio);
    selectRadio(kIdStartNone);
    selectRadio(kIdEndNone);
    c.setChecked(kIdFieldsInOrder, true);
    c.setFocus(kIdCharacterSequenceEdit);
    entry_.startMethod = StartMethod::None;
    entry_.endMethod = EndMethod::None;
    entry_.fieldTypeIndex = 0;
    return EventResult::FocusSet;
}

EventResult ConfigureDialog::onClicked(int id) {
    if (int start = indexIn(kStartRadioIds, id); start >= 0) {
        startRadioClicked(static_cast<StartMethod>(start));
    } else if (int end = indexIn(kEndRadioIds, id); end >= 0) {
        endRadioClicked(static_cast<EndMethod>(end));
    } else {
        switch (id) {
        case kIdRecordFixedLengthRadio:
            recordRadioClicked(true);
            break;
        case kIdCharacterSequenceRadio:
            recordRadioClicked(false);
            break;
        case kIdProcessFir:
            firBoxClicked();
            break;
        case kIdFieldsInOrder:
            fieldsInOrderClicked();
            break;
        case kIdConfigureSentinels:
            configureSentinels();
            break;
        case kIdAppendField:
            commitField();
            break;
        case kIdInsertAbove:
            beginInsertAbove();
            break;
        case kIdChangeField:
            loadFieldEntry();
            break;
        case kIdDeleteField:
            deleteField();
            break;
        case kIdOpenExisting:
            openConfiguration();
            break;
        case kIdPreview:
            preview();
            break;
        case kIdSuggest:
            suggest();
            break;
        default:
            return EventResult::Unhandled;
        }
    }
    return EventResult::Handled;
}

void ConfigureDialog::onEditChanged(int id) {
    switch (id) {
    case kIdFieldName:
        fieldNameChanged();
        break;
    case kIdRecordFixedLengthEdit:
        recordEditChanged(id, kIdRecordFixedLengthRadio);
        break;
    case kIdCharacterSequenceEdit:
        recordEditChanged(id, kIdCharacterSequenceRadio);
        break;
    case kIdFirSeparatorEdit:
        controls().enable(kIdOk, !controls().text(id).empty());
        pull();
        break;
    case kIdStartCode:
    case kIdStartPosition:
    case kIdEndCode:
    case kIdEndFixedLength:
    case kIdApplicationName:
    case kIdScriptData:
        enableAppendInChangeMode();
        break;
    default:
        break;
    }
}

void ConfigureDialog::fieldNameChanged() {
    DialogControls& c = controls();
    entry_.fieldName = c.text(kIdFieldName);
    if (entry_.fieldName.empty()) {
        for (int id : {kIdAppendField, kIdChangeField, kIdDeleteField, kIdEndCode, kIdFieldType, kIdEndFixedLength,
                       kIdInsertAbove, kIdStartCode, kIdStartPosition})
            c.enable(id, false);
        return;
    }
    c.enable(kIdFieldType, true);
    c.enable(kIdAppendField, true);
    c.enable(kIdEndNone, true);
    if (entry_.endMethod == EndMethod::ByCode) c.enable(kIdEndCode, true);
    if (entry_.endMethod == EndMethod::FixedLength) c.enable(kIdEndFixedLength, true);
    c.enable(kIdStartNone, true);
    if (entry_.startMethod == StartMethod::ByCode) c.enable(kIdStartCode, true);
    if (entry_.startMethod == StartMethod::ByPosition) c.enable(kIdStartPosition, true);
}

void ConfigureDialog::recordRadioClicked(bool fixedLength) {
    DialogControls& c = controls();
    c.enable(kIdRecordFixedLengthEdit, fixedLength);
    c.enable(kIdCharacterSequenceEdit, !fixedLength);
    (fixedLength ? recordSeparator_ : fixedLength_).clear();
    c.setFocus(fixedLength ? kIdRecordFixedLengthEdit : kIdCharacterSequenceEdit);
    push();
}

void ConfigureDialog::recordEditChanged(int editId, int radioId) {
    selectRadio(radioId);
    controls().enable(kIdOk, !controls().text(editId).empty());
    pull();
}

void ConfigureDialog::firBoxClicked() {
    DialogControls& c = controls();
    if (c.isChecked(kIdProcessFir)) {
        c.enable(kIdFirSeparatorEdit, true);
        c.setFocus(kIdFirSeparatorEdit);
        processFir_ = 1;
    } else {
        c.enable(kIdFirSeparatorEdit, false);
        processFir_ = 0;
        firSeparator_.clear();
        push();
    }
    enableSaveWhenRowsExist();
}

void ConfigureDialog::fieldsInOrderClicked() {
    fieldsInOrder_ = controls().isChecked(kIdFieldsInOrder) ? 1 : 0;
    enableSaveWhenRowsExist();
}

void ConfigureDialog::startRadioClicked(StartMethod method) {
    DialogControls& c = controls();
    entry_.startMethod = method;
    if (method != StartMethod::ByCode) entry_.startCode.clear();
    if (method != StartMethod::ByPosition) entry_.startPosition = 0;
    entry_.endingCode = c.text(kIdEndCode);
    entry_.endLength = leadingInteger(c.text(kIdEndFixedLength));
    c.enable(kIdStartCode, method == StartMethod::ByCode);
    c.enable(kIdStartPosition, method == StartMethod::ByPosition);
    enableAppendInChangeMode();
}

void ConfigureDialog::endRadioClicked(EndMethod method) {
    DialogControls& c = controls();
    entry_.endMethod = method;
    if (method != EndMethod::FixedLength) entry_.endLength = 0;
    entry_.startCode = c.text(kIdStartCode);
    entry_.startPosition = leadingInteger(c.text(kIdStartPosition));
    c.enable(kIdEndCode, method == EndMethod::ByCode);
    c.enable(kIdEndFixedLength, method == EndMethod::FixedLength);
    enableAppendInChangeMode();
}

void ConfigureDialog::showTypeControls(bool application, bool script, bool sentinels) {
    DialogControls& c = controls();
    c.show(kIdApplicationName, application);
    c.show(kIdApplicationNameLabel, application);
    c.show(kIdScriptData, script);
    c.show(kIdScriptDataLabel, script);
    c.show(kIdConfigureSentinels, sentinels);
    c.show(kIdConfigureSentinelsLabel, sentinels);
}

void ConfigureDialog::applyTypeVisibility(int typeIndex) {
    const std::string type = typeIndex >= 0 ? fieldTypeFromIndex(typeIndex) : "";
    showTypeControls(isApplicationType(type), isScriptType(type), isMagstripeType(type));
}

void ConfigureDialog::configureSentinels() {
    SentinelsDialog sentinels(prompts(), entry_.sentinels, editMode_);
    if (prompts().runModal(sentinels) != kIdOk) return;
    entry_.sentinels = sentinels.sentinels();
    enableAppendInChangeMode();
}

void ConfigureDialog::enableAppendInChangeMode() {
    if (changing(editMode_)) controls().enable(kIdAppendField, true);
}

void ConfigureDialog::enableSaveWhenRowsExist() {
    if (fields_.rows().rowCount() > 0) controls().enable(kIdOk, true);
}

}  // namespace velmora
