#include "editor/preview_dialog_description.h"

namespace velmora {

// Wide and tall enough for a dozen field columns and a screenful of
// records on a 1024 x 768 screen; the list scrolls for the rest.
DialogDescription previewDialogDescription() {
    DialogDescription d;
    d.caption = "Preview";
    d.cx = 600;
    d.cy = 330;
    using K = ControlKind;
    ControlDescription dataFile{kIdPreviewDataFile, K::Edit, "", 50, 7, 482, 14};
    dataFile.autoHScroll = true;
    // A message may hold a path with '&' in it.
    ControlDescription summary{kIdPreviewSummary, K::Label, "", 7, 27, 586, 16};
    summary.noPrefix = true;
    d.controls = {
        {kIdStatic, K::Label, "Data &File:", 7, 9, 40, 8},
        dataFile,
        {kIdPreviewBrowse, K::PushButton, "&Browse...", 537, 7, 56, 14},
        summary,
        {kIdPreviewList, K::ReportList, "", 7, 45, 586, 258},
        {kIdCancel, K::PushButton, "Close", 543, 309, 50, 14},
    };
    return d;
}

}  // namespace velmora
