#include "format/config/config_checks.h"

#include "format/fields/text_utils.h"

namespace velmora {

bool isNumeric(const std::string& text) {
    if (text.empty()) return false;
    static const char* const allowed[3] = {"-+0123456789.", "0123456789.", "0123456789"};
    int state = 0;
    for (char c : text) {
        if (std::string(allowed[state]).find(c) == std::string::npos) return false;
        if (c == '.')
            state = 2;
        else if (state == 0)
            state = 1;
    }
    return true;
}

int separatorLength(const std::string& separator) {
    int count = 0;
    for (size_t i = 0; i < separator.size(); ++i, ++count)
        if (separator[i] == '\\' && i + 1 < separator.size() && separator[i + 1] == 'x') i += 3;
    return count;
}

std::optional<FileCheckFailure> checkFileSettings(const ParseConfiguration& c, int fieldRowCount,
                                                  bool fixedLengthEditEnabled) {
    using F = FileCheckFailure;
    const bool hasFixed = !c.fixedLength.empty();
    if (hasFixed && !isNumeric(c.fixedLength))
        return F{"Fixed length should be numeric.", CheckIcon::Information, CheckFocus::FixedLengthEdit};
    if (hasFixed && (contains(c.fixedLength, "-") || contains(c.fixedLength, ".")))
        return F{"Fixed length should be positive/integer.", CheckIcon::Information, CheckFocus::FixedLengthEdit};
    if (separatorLength(c.recordSeparator) > 7)
        return F{"A Record Separator should have only 7 chars.", CheckIcon::Information,
                 CheckFocus::CharacterSequenceEdit};
    if (!hasFixed && c.recordSeparator.empty())
        return F{"You must enter a record separator or a fixed length value", CheckIcon::Warning,
                 fixedLengthEditEnabled ? CheckFocus::FixedLengthEdit : CheckFocus::CharacterSequenceEdit};
    if (hasFixed && leadingInteger(c.fixedLength) < 1)
        return F{"Please enter a fixed length greater than 0", CheckIcon::Warning, CheckFocus::FixedLengthEdit};
    if (c.processFir && c.firSeparator.empty())
        return F{"You must enter FIR separation characters in order to process FIR", CheckIcon::Warning,
                 CheckFocus::FirSeparatorEdit};
    if (fieldRowCount == 0) return F{"Please enter the field details", CheckIcon::Warning, CheckFocus::Unchanged};
    return std::nullopt;
}

}  // namespace velmora
