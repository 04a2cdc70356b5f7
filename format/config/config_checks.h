#pragma once
// The file-level checks that run before a configuration is saved.
#include <optional>
#include <string>

#include "format/config/parse_configuration.h"

namespace velmora {

// One sign at the front, digits and at most one point.
bool isNumeric(const std::string& text);

// Length in characters, a backslash-x group counting as one.
int separatorLength(const std::string& separator);

enum class CheckIcon { Information, Warning };
enum class CheckFocus { Unchanged, FixedLengthEdit, CharacterSequenceEdit, FirSeparatorEdit };

struct FileCheckFailure {
    std::string message;
    CheckIcon icon;
    CheckFocus focus;
};

// The first failing check, or nothing when the configuration may be saved.
std::optional<FileCheckFailure> checkFileSettings(const ParseConfiguration& config, int fieldRowCount,
                                                  bool fixedLengthEditEnabled);

}  // namespace velmora
