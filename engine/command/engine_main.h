#pragma once
// The ParseTarn command as a function: arguments in, exit status out, the
// console given, so that tests run it whole.
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "engine/core/record_cutter.h"

namespace velmora {

enum EngineExit { ExitCompleted = 0, ExitFailed = 1, ExitUsage = 2 };

// `errors`: where --suggest writes its reasons.
int parseTarnMain(const std::vector<std::string>& args, std::ostream& console, RecordLimits limits = {},
                  std::ostream& errors = std::cerr);

}  // namespace velmora
