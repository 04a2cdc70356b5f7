#pragma once
// Running the parser engine on the paths of the Parse dialog and telling
// the user the outcome.
#include <string>

#include "src/toolkit/prompts.h"
#include "src/toolkit/services.h"

namespace velmora {

struct ParseInputs {
    std::string dataFile;
    std::string configFile;
    std::string outputDatabase;
};

// What a run needs of the dialog it runs from.
class ParseForm {
public:
    virtual ~ParseForm() = default;
    // Reads the fields back from the screen; false when that was refused
    // (the refusal has been shown).
    virtual bool readBack(ParseInputs& inputs) = 0;
    virtual void focusDataFile() = 0;
    virtual void focusConfigFile() = 0;
    // Closes the dialog as accepted.
    virtual void closeAccepted() = 0;
};

extern const char* const kEngineRegistryValue;  // root\key\value of the install folder

// Leaves the dialog open after every check or failure before the engine
// starts, and after a run the operator cancelled; closes it after every
// other engine run, whatever its outcome.
void runParse(ParseForm& form, Prompts& prompts, const Services& services);

}  // namespace velmora
