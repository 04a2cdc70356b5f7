#include "src/editor/sentinels_dialog_description.h"

namespace velmora {

DialogDescription sentinelsDialogDescription() {
    DialogDescription d;
    d.caption = "Sentinels";
    d.cx = 223;
    d.cy = 167;
    using K = ControlKind;
    auto label = [](const char* text, int x, int y) {
        return ControlDescription{kIdStatic, K::Label, text, x, y, 40, 8};
    };
    auto edit = [](int id, int x, int y) {
        ControlDescription c{id, K::Edit, "", x, y, 40, 14};
        c.autoHScroll = true;
        return c;
    };
    d.controls = {
        {kIdStatic, K::GroupBox, "Start Sentinels", 6, 22, 103, 84},
        label("Track 1:", 11, 36),
        edit(kIdTrack1Start, 66, 34),
        label("Track 2:", 11, 56),
        edit(kIdTrack2Start, 66, 57),
        label("Track 3:", 11, 76),
        edit(kIdTrack3Start, 66, 80),
        {kIdStatic, K::GroupBox, "End Sentinels", 111, 21, 105, 85},
        label("Track 1:", 116, 36),
        edit(kIdTrack1End, 161, 36),
        label("Track 2:", 116, 58),
        edit(kIdTrack2End, 161, 59),
        label("Track 3:", 116, 80),
        edit(kIdTrack3End, 161, 80),
        {kIdOk, K::DefaultPushButton, "OK", 19, 146, 50, 14},
        {kIdCancel, K::PushButton, "Cancel", 86, 146, 50, 14},
        {kIdResetSentinels, K::PushButton, "Reset", 153, 146, 50, 14},
    };
    return d;
}

}  // namespace velmora
