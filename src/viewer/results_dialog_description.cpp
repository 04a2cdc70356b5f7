#include "src/viewer/results_dialog_description.h"

#include <string>

#include "src/app/version.h"
#include "src/viewer/full_card_numbers.h"

namespace velmora {

namespace {

ControlDescription sized(ControlDescription control, unsigned resize) {
    control.resize = resize;
    return control;
}

}  // namespace

// A screenful of records on a 1024 x 768 screen, and as much more as the
// operator makes room for; the tabs' lists lie on one another and show one
// at a time.
DialogDescription resultsDialogDescription() {
    DialogDescription d;
    d.caption = "Results";
    d.cx = 600;
    d.cy = 330;
    d.resizable = true;
    d.iconResource = VELMORA_ICON_RESOURCE;
    d.functionKeys = {{3, kIdResultsFindNext}};
    using K = ControlKind;
    ControlDescription database{kIdResultsDatabase, K::Edit, "", 50, 7, 482, 14};
    database.autoHScroll = true;
    // A message may hold a path with '&' in it.
    ControlDescription summary{kIdResultsSummary, K::Label, "", 7, 26, 586, 10};
    summary.noPrefix = true;
    ControlDescription find{kIdResultsFind, K::Edit, "", 33, 309, 150, 14};
    find.autoHScroll = true;
    ControlDescription rejected{kIdResultsRejected, K::VirtualList, "", 7, 54, 586, 249};
    rejected.visible = false;
    ControlDescription checks{kIdResultsChecks, K::VirtualList, "", 7, 54, 586, 249};
    checks.visible = false;
    // On the "Rejected" tab only.
    ControlDescription saveRejected{kIdResultsSaveRejected, K::PushButton, "Sa&ve Rejected...", 409, 309, 70, 14};
    saveRejected.visible = false;
    d.controls = {
        {kIdStatic, K::Label, "&Database:", 7, 9, 40, 8},
        sized(database, kGrowRight),
        sized({kIdResultsBrowse, K::PushButton, "&Browse...", 537, 7, 56, 14}, kFollowRight),
        sized(summary, kGrowRight),
        sized({kIdResultsTabs, K::Tabs, "", 7, 39, 586, 15}, kGrowRight),
        sized({kIdResultsRecords, K::VirtualList, "", 7, 54, 586, 249}, kGrowRight | kGrowDown),
        sized(rejected, kGrowRight | kGrowDown),
        sized(checks, kGrowRight | kGrowDown),
        sized({kIdStatic, K::Label, "Fi&nd:", 7, 311, 24, 8}, kFollowBottom),
        sized(find, kFollowBottom),
        sized({kIdResultsFindNext, K::PushButton, "&Find Next", 187, 309, 50, 14}, kFollowBottom),
        sized({kIdResultsFullNumbers, K::CheckBox, kShowFullCardNumbers, 247, 311, 110, 10}, kFollowBottom),
        sized(saveRejected, kFollowRight | kFollowBottom),
        sized({kIdResultsExport, K::PushButton, "E&xport...", 483, 309, 54, 14}, kFollowRight | kFollowBottom),
        sized({kIdCancel, K::PushButton, "Close", 543, 309, 50, 14}, kFollowRight | kFollowBottom),
    };
    return d;
}

DialogDescription recordDialogDescription(std::int64_t record) {
    DialogDescription d;
    d.caption = "Record " + std::to_string(record);
    d.cx = 420;
    d.cy = 410;
    d.resizable = true;
    d.iconResource = VELMORA_ICON_RESOURCE;
    using K = ControlKind;
    // The line under the map may name a field or a file holding '&'.
    ControlDescription mapStatus{kIdRecordMapStatus, K::Label, "", 7, 254, 406, 10};
    mapStatus.noPrefix = true;
    d.controls = {
        sized({kIdRecordFields, K::ReportList, "", 7, 7, 406, 110}, kGrowRight),
        sized({kIdRecordMap, K::RecordMap, "", 7, 121, 406, 130}, kGrowRight),
        sized(mapStatus, kGrowRight),
        {kIdStatic, K::Label, "Decoded:", 7, 268, 60, 8},
        sized({kIdRecordDecoded, K::Tree, "", 7, 278, 406, 105}, kGrowRight | kGrowDown),
        sized({kIdCancel, K::PushButton, "Close", 363, 389, 50, 14}, kFollowRight | kFollowBottom),
    };
    return d;
}

}  // namespace velmora
