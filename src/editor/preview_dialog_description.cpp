#include "src/editor/preview_dialog_description.h"

#include "src/viewer/full_card_numbers.h"

namespace velmora {

// Wide and tall enough for a dozen field columns, a dozen records and the
// record map under them on a 1024 x 768 screen; the list and the map
// scroll for the rest. A suggestion's reasons take a dozen lines above the
// list.
DialogDescription previewDialogDescription(PreviewMode mode) {
    const bool suggestion = mode == PreviewMode::Suggestion;
    const int summaryHeight = suggestion ? 98 : 16;
    DialogDescription d;
    d.caption = suggestion ? "Suggested Configuration" : "Preview";
    d.cx = 600;
    d.cy = 420;
    using K = ControlKind;
    ControlDescription dataFile{kIdPreviewDataFile, K::Edit, "", 50, 7, 482, 14};
    dataFile.autoHScroll = true;
    // A message may hold a path with '&' in it.
    ControlDescription summary{kIdPreviewSummary, K::Label, "", 7, 27, 586, summaryHeight};
    summary.noPrefix = true;
    ControlDescription mapStatus{kIdPreviewMapStatus, K::Label, "", 7, 386, 586, 10};
    mapStatus.noPrefix = true;  // field names may hold '&'
    d.controls = {
        {kIdStatic, K::Label, "Data &File:", 7, 9, 40, 8},
        dataFile,
        {kIdPreviewBrowse, K::PushButton, "&Browse...", 537, 7, 56, 14},
        summary,
        {kIdPreviewList, K::ReportList, "", 7, 29 + summaryHeight, 586, 200 - summaryHeight},
        {kIdPreviewMap, K::RecordMap, "", 7, 233, 586, 150},
        mapStatus,
    };
    d.controls.push_back({kIdPreviewFullNumbers, K::CheckBox, kShowFullCardNumbers, 7, 401, 110, 10});
    if (suggestion) d.controls.push_back({kIdPreviewUse, K::PushButton, "&Use", 487, 399, 50, 14});
    d.controls.push_back({kIdCancel, K::PushButton, "Close", 543, 399, 50, 14});
    return d;
}

}  // namespace velmora
