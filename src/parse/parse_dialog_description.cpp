#include "src/parse/parse_dialog_description.h"

namespace velmora {

DialogDescription parseDialogDescription() {
    DialogDescription d;
    d.caption = "Parse";
    d.cx = 300;
    d.cy = 100;
    using K = ControlKind;
    auto edit = [](int id, int y, bool visible) {
        ControlDescription c{id, K::Edit, "", 100, y, 140, 14};
        c.autoHScroll = true;
        c.visible = visible;
        return c;
    };
    auto hidden = [](ControlDescription c) {
        c.visible = false;
        return c;
    };
    // Template order is the tab order: the buttons first, then the rows.
    d.controls = {
        {kIdOk, K::DefaultPushButton, "Parse...", 88, 78, 50, 14},
        {kIdCancel, K::PushButton, "Cancel", 162, 78, 50, 14},
        {kIdStatic, K::Label, "Data File Name:", 7, 12, 90, 8},
        {kIdStatic, K::Label, "Configuration File Name:", 7, 32, 90, 8},
        edit(kIdDataFileEdit, 10, true),
        edit(kIdConfigFileEdit, 30, true),
        {kIdBrowseDataFile, K::PushButton, "Browse...", 246, 10, 47, 14},
        {kIdBrowseConfigFile, K::PushButton, "Browse...", 246, 30, 47, 14},
        // The output database row exists but is never shown.
        hidden({kIdStatic, K::Label, "Output database:", 7, 52, 90, 8}),
        edit(kIdOutputDatabaseEdit, 50, false),
        hidden({kIdBrowseOutputDatabase, K::PushButton, "Browse...", 246, 50, 47, 14}),
    };
    return d;
}

}  // namespace velmora
