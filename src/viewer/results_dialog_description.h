#pragma once
// The "Results" dialog's and the "Record N" window's controls, for both hosts.
#include <cstdint>

#include "src/toolkit/dialog_description.h"

namespace velmora {

constexpr int kIdResultsDatabase = 1301;
constexpr int kIdResultsBrowse = 1302;
constexpr int kIdResultsSummary = 1303;
constexpr int kIdResultsTabs = 1304;
constexpr int kIdResultsRecords = 1305;
constexpr int kIdResultsRejected = 1306;
constexpr int kIdResultsFind = 1307;
constexpr int kIdResultsFindNext = 1308;
constexpr int kIdResultsExport = 1309;
constexpr int kIdResultsFullNumbers = 1310;
constexpr int kIdResultsChecks = 1311;
constexpr int kIdResultsSaveRejected = 1312;

constexpr int kIdRecordFields = 1321;
constexpr int kIdRecordDecoded = 1322;
constexpr int kIdRecordMap = 1323;
constexpr int kIdRecordMapStatus = 1324;

DialogDescription resultsDialogDescription();
// Captioned "Record N".
DialogDescription recordDialogDescription(std::int64_t record);

}  // namespace velmora
