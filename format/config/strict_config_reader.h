#pragma once
// The engine's reader of a configuration file: exactly the text the editor
// writes, CR LF or LF line ends. Anything else fails with the line number
// and the reason; it never guesses.
#include <string>

#include "format/config/engine_configuration.h"

namespace velmora {

struct ConfigReading {
    bool ok = false;
    EngineConfiguration config;
    int line = 0;  // 1-based line of the fault when !ok
    std::string reason;

    // "line 3: ..." for the results file.
    std::string failureText() const;
};

ConfigReading readStrictConfiguration(const std::string& bytes);

}  // namespace velmora
