#include "src/toolkit/prompts.h"

namespace velmora {

const char* const kAppTitle = "Velmora Data Parser";

}  // namespace velmora
