#pragma once
// The "Configure Data File" dialog's controls, for both hosts.
#include <vector>

#include "src/toolkit/dialog_description.h"

namespace velmora {

constexpr int kIdRecordFixedLengthRadio = 1011;
constexpr int kIdRecordFixedLengthEdit = 1033;
constexpr int kIdCharacterSequenceRadio = 1012;
constexpr int kIdCharacterSequenceEdit = 1013;
constexpr int kIdProcessFir = 1034;
constexpr int kIdFirSeparatorEdit = 1035;
constexpr int kIdFieldsInOrder = 1005;
constexpr int kIdFieldName = 1002;
constexpr int kIdFieldType = 1004;
constexpr int kIdApplicationNameLabel = 1051;
constexpr int kIdApplicationName = 1046;
constexpr int kIdScriptDataLabel = 1050;
constexpr int kIdScriptData = 1048;
constexpr int kIdConfigureSentinelsLabel = 1090;
constexpr int kIdConfigureSentinels = 1089;
constexpr int kIdStartNone = 1016;
constexpr int kIdStartCodeRadio = 1017;
constexpr int kIdStartPositionRadio = 1018;
constexpr int kIdStartCode = 1019;
constexpr int kIdStartPosition = 1020;
constexpr int kIdEndOfFieldGroup = 1058;
constexpr int kIdEndNone = 1021;
constexpr int kIdEndCodeRadio = 1022;
constexpr int kIdEndFixedLengthRadio = 1023;
constexpr int kIdEmbeddedLengthRadio = 1024;
constexpr int kIdTesselgramRadio = 1025;
constexpr int kIdEndCode = 1026;
constexpr int kIdEndFixedLength = 1027;
constexpr int kIdAppendField = 1009;
constexpr int kIdInsertAbove = 1010;
constexpr int kIdChangeField = 1014;
constexpr int kIdDeleteField = 1015;
constexpr int kIdFieldList = 1030;
constexpr int kIdOpenExisting = 1040;
constexpr int kIdPreview = 1041;
constexpr int kIdSuggest = 1042;

// The three radio groups, each in the order of its method indexes.
inline const std::vector<int> kRecordRadioIds = {kIdRecordFixedLengthRadio, kIdCharacterSequenceRadio};
inline const std::vector<int> kStartRadioIds = {kIdStartNone, kIdStartCodeRadio, kIdStartPositionRadio};
inline const std::vector<int> kEndRadioIds = {kIdEndNone, kIdEndCodeRadio, kIdEndFixedLengthRadio,
                                              kIdEmbeddedLengthRadio, kIdTesselgramRadio};

DialogDescription configureDialogDescription();

}  // namespace velmora
