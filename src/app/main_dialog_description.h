#pragma once
// The main window's and the About box's controls, for both hosts.
#include <string>

#include "src/toolkit/dialog_description.h"

namespace velmora {

constexpr int kIdMainParse = 1094;
constexpr int kIdMainConfigure = 1095;
constexpr int kIdMainResults = 1096;
constexpr int kIdAboutCommand = 16;  // the system menu entry
constexpr int kIdAboutProduct = 1100;
constexpr int kIdAboutVersion = 1101;
constexpr int kIdAboutNotice = 1102;

// `aboutEntry` is the system menu text; empty adds no entry.
DialogDescription mainDialogDescription(const std::string& aboutEntry);
DialogDescription aboutDialogDescription();

}  // namespace velmora
