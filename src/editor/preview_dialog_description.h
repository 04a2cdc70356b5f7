#pragma once
// The "Preview" dialog's controls, for both hosts, and those of its
// suggest mode, "Suggested Configuration".
#include "src/toolkit/dialog_description.h"

namespace velmora {

constexpr int kIdPreviewDataFile = 1201;
constexpr int kIdPreviewBrowse = 1202;
constexpr int kIdPreviewSummary = 1203;
constexpr int kIdPreviewList = 1204;
constexpr int kIdPreviewUse = 1205;  // suggest mode only
constexpr int kIdPreviewFullNumbers = 1206;
constexpr int kIdPreviewMap = 1207;
constexpr int kIdPreviewMapStatus = 1208;

enum class PreviewMode { Configuration, Suggestion };

DialogDescription previewDialogDescription(PreviewMode mode = PreviewMode::Configuration);

}  // namespace velmora
