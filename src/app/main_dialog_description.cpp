#include "src/app/main_dialog_description.h"

#include "src/app/version.h"

namespace velmora {

DialogDescription mainDialogDescription(const std::string& aboutEntry) {
    DialogDescription d;
    d.caption = "Velmora Data Parser";
    d.cx = 132;
    d.cy = 110;
    d.iconResource = VELMORA_ICON_RESOURCE;
    if (!aboutEntry.empty()) d.systemMenuItems.push_back({kIdAboutCommand, aboutEntry});
    using K = ControlKind;
    // Template order is the tab order: Configure, Results, Exit, Parse; on
    // screen they stand as Parse, Configure, Results and Exit.
    d.controls = {
        {kIdMainConfigure, K::DefaultPushButton, "Configure...", 31, 34, 70, 16},
        {kIdMainResults, K::PushButton, "&Results...", 31, 58, 70, 16},
        {kIdCancel, K::PushButton, "Exit", 31, 82, 70, 16},
        {kIdMainParse, K::PushButton, "Parse...", 31, 10, 70, 16},
    };
    return d;
}

DialogDescription aboutDialogDescription() {
    DialogDescription d;
    d.caption = "About Velmora Data Parser";
    d.cx = 235;
    d.cy = 70;
    using K = ControlKind;
    ControlDescription icon{kIdStatic, K::Icon, "", 11, 17, 20, 20};
    icon.iconResource = VELMORA_ICON_RESOURCE;
    ControlDescription product{kIdAboutProduct, K::Label, "", 40, 10, 185, 8};
    product.noPrefix = true;
    d.controls = {
        icon,
        product,
        {kIdAboutVersion, K::Label, "", 40, 25, 185, 8},
        {kIdAboutNotice, K::Label, "", 40, 40, 185, 8},
        {kIdOk, K::DefaultPushButton, "OK", 178, 50, 50, 14},
    };
    return d;
}

}  // namespace velmora
