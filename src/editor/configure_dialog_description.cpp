#include "src/editor/configure_dialog_description.h"

#include "format/fields/keywords.h"

namespace velmora {

DialogDescription configureDialogDescription() {
    DialogDescription d;
    d.caption = "Configure Data File";
    d.cx = 432;
    d.cy = 317;
    using K = ControlKind;
    auto frame = [](const char* text, int x, int y, int cx, int cy, int id = kIdStatic) {
        return ControlDescription{id, K::GroupBox, text, x, y, cx, cy};
    };
    auto label = [](int id, const char* text, int x, int y, int cx, bool visible = true) {
        ControlDescription c{id, K::Label, text, x, y, cx, 8};
        c.visible = visible;
        return c;
    };
    auto edit = [](int id, int x, int y, int cx, int limit, bool visible = true) {
        ControlDescription c{id, K::Edit, "", x, y, cx, 14, limit};
        c.autoHScroll = true;
        c.visible = visible;
        return c;
    };
    auto radio = [](int id, const char* text, int x, int y, int cx) {
        return ControlDescription{id, K::RadioButton, text, x, y, cx, 10};
    };
    auto button = [](int id, const char* text, int x, int y, int cx) {
        return ControlDescription{id, K::PushButton, text, x, y, cx, 14};
    };
    ControlDescription sentinelsButton = button(kIdConfigureSentinels, "Conf&igure...", 260, 109, 50);
    sentinelsButton.visible = false;

    d.controls = {
        frame("File-Level Settings", 5, 5, 422, 65),
        frame("Record Separator", 10, 15, 174, 50),
        radio(kIdRecordFixedLengthRadio, "Fixed Lengt&h:", 15, 25, 59),
        edit(kIdRecordFixedLengthEdit, 100, 25, 77, 50),
        radio(kIdCharacterSequenceRadio, "Character Seq&uence:", 15, 45, 83),
        edit(kIdCharacterSequenceEdit, 100, 44, 77, 50),
        frame("FIR Processing", 191, 15, 230, 30),
        // Up to the separator's edit, so that its text fits whole at any scale.
        {kIdProcessFir, K::CheckBox, "Process FI&R using Separation Character:", 194, 29, 145, 15},
        edit(kIdFirSeparatorEdit, 339, 29, 77, 20),
        {kIdFieldsInOrder, K::CheckBox, "Fie&lds in Order", 191, 55, 107, 10},
        frame("Field Settings", 5, 75, 422, 209),
        label(kIdStatic, "&Field Name: ", 12, 90, 56),
        edit(kIdFieldName, 70, 87, 77, 50),
        label(kIdStatic, "Field T&ype:", 190, 90, 60),
        {kIdFieldType, K::DropDownList, "", 260, 87, 77, 84},
        label(kIdApplicationNameLabel, "Appl&ication Name:", 190, 112, 66, false),
        edit(kIdApplicationName, 260, 109, 77, 0, false),
        label(kIdScriptDataLabel, "Scr&ipt Data:", 190, 112, 66, false),
        edit(kIdScriptData, 260, 109, 77, 0, false),
        label(kIdConfigureSentinelsLabel, "Configure Sentinels:", 190, 112, 66, false),
        sentinelsButton,
        frame("Start of Field", 12, 129, 160, 85),
        radio(kIdStartNone, "&None", 18, 142, 55),
        radio(kIdStartCodeRadio, "S&tart Code", 18, 158, 55),
        radio(kIdStartPositionRadio, "Start &Position", 18, 177, 58),
        edit(kIdStartCode, 78, 153, 77, 7),
        edit(kIdStartPosition, 78, 175, 77, 0),
        frame("End of Field", 187, 129, 164, 85, kIdEndOfFieldGroup),
        radio(kIdEndNone, "N&one", 196, 137, 70),
        radio(kIdEndCodeRadio, "&End Code", 196, 153, 70),
        radio(kIdEndFixedLengthRadio, "Fi&xed Length", 196, 169, 70),
        radio(kIdEmbeddedLengthRadio, "E&mbedded Length", 196, 182, 70),
        radio(kIdTesselgramRadio, "Tessel&gram", 196, 198, 70),
        edit(kIdEndCode, 269, 150, 77, 7),
        edit(kIdEndFixedLength, 269, 168, 77, 0),
        button(kIdAppendField, "&Append Field", 361, 134, 51),
        button(kIdInsertAbove, "Insert Abo&ve", 361, 158, 51),
        button(kIdChangeField, "&Change Field", 361, 180, 51),
        button(kIdDeleteField, "&Delete Field", 361, 201, 51),
        {kIdFieldList, K::ReportList, "", 12, 219, 400, 65},
        // Every letter of its name is a key of the system's own labels here.
        button(kIdSuggest, "Suggest...", 5, 295, 55),
        button(kIdPreview, "Previe&w...", 65, 295, 60),
        {kIdOk, K::DefaultPushButton, "&Save...", 135, 295, 60, 14},
        button(kIdCancel, "Cancel", 205, 295, 60),
        button(kIdOpenExisting, "Open Existing...", 275, 295, 60),
    };
    // Each record radio stands beside its own edit; the two are one group.
    d.radioGroups = {kRecordRadioIds, kStartRadioIds, kEndRadioIds};
    return d;
}

}  // namespace velmora
