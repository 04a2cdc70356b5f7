#pragma once
// The "Parse" dialog's controls, for both hosts.
#include "src/toolkit/dialog_description.h"

namespace velmora {

constexpr int kIdDataFileEdit = 1007;
constexpr int kIdConfigFileEdit = 1008;
constexpr int kIdOutputDatabaseEdit = 1009;
constexpr int kIdBrowseDataFile = 1031;
constexpr int kIdBrowseConfigFile = 1032;
constexpr int kIdBrowseOutputDatabase = 1033;

DialogDescription parseDialogDescription();

}  // namespace velmora
