#pragma once
// The "Sentinels" dialog's controls, for both hosts.
#include "src/toolkit/dialog_description.h"

namespace velmora {

constexpr int kIdTrack1Start = 1007;
constexpr int kIdTrack2Start = 1008;
constexpr int kIdTrack3Start = 1085;
constexpr int kIdTrack1End = 1086;
constexpr int kIdTrack2End = 1087;
constexpr int kIdTrack3End = 1088;
constexpr int kIdResetSentinels = 1103;

DialogDescription sentinelsDialogDescription();

}  // namespace velmora
