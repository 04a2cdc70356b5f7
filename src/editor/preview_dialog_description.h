#pragma once
// The "Preview" dialog's controls, for both hosts.
#include "toolkit/dialog_description.h"

namespace velmora {

constexpr int kIdPreviewDataFile = 1201;
constexpr int kIdPreviewBrowse = 1202;
constexpr int kIdPreviewSummary = 1203;
constexpr int kIdPreviewList = 1204;

DialogDescription previewDialogDescription();

}  // namespace velmora
