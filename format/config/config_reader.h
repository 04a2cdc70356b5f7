#pragma once
// Reading a configuration file back into the editor. The reader never fails:
// lines it does not understand are passed over. A file the engine's strict
// reader accepts is taken exactly as written instead (openConfigurationLines).
#include <string>
#include <vector>

#include "format/config/parse_configuration.h"

namespace velmora {

// The file's bytes cut into lines at LF, a CR right before the LF dropped;
// a last line without a line end is kept.
std::vector<std::string> splitLines(const std::string& bytes);

// The lines a read stopped by an error got whole: those it read the LF of.
// The line it stopped in is not one of them.
std::vector<std::string> linesReadBeforeError(const std::string& bytes);

// One slot of a FieldDef line from `pos` on, quoted or bare; advances `pos`.
bool readSlot(const std::string& line, size_t& pos, std::string& text);

// The text of a sentinel tuple "( ... ))" from `pos` on. `text` keeps what
// was collected even when no complete group is found.
bool readGroup(const std::string& line, size_t& pos, std::string& text);

// Undoes escapeQuotes: a backslash right before a double quote is dropped.
std::string unescapeQuotes(const std::string& text);

// What reading a file does to the record-separator choice in the editor.
enum class RecordChoice { Unchanged, FixedLength, CharacterSequence };

struct ReadEffects {
    RecordChoice recordChoice = RecordChoice::Unchanged;  // the last line that chose one
    bool enableFixedLengthEdit = false;
    bool enableCharacterSequenceEdit = false;
    bool enableFirSeparatorEdit = false;
};

// Applies the lines in order to `config`, whose fields the caller has reset
// as opening a file does: keys in any order, the last one wins.
ReadEffects applyConfigurationLines(const std::vector<std::string>& lines, ParseConfiguration& config);

// What Open makes of a file's lines: a file the engine's strict reader
// accepts (everything the editor saves) opens exactly as written, so nothing
// is lost or altered; any other goes through applyConfigurationLines, so
// files from elsewhere still open.
ReadEffects openConfigurationLines(const std::vector<std::string>& lines, ParseConfiguration& config);

}  // namespace velmora
