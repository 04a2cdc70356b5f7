#include "format/config/config_reader.h"

#include "format/config/strict_config_reader.h"
#include "format/fields/keywords.h"
#include "format/fields/text_utils.h"

namespace velmora {

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < bytes.size()) {
        size_t lf = bytes.find('\n', from);
        size_t end = lf == std::string::npos ? bytes.size() : lf;
        size_t len = end - from;
        if (lf != std::string::npos && len > 0 && bytes[end - 1] == '\r') --len;
        lines.push_back(bytes.substr(from, len));
        if (lf == std::string::npos) break;
        from = lf + 1;
    }
    return lines;
}

std::vector<std::string> linesReadBeforeError(const std::string& bytes) {
    size_t lastLf = bytes.rfind('\n');
    return lastLf == std::string::npos ? std::vector<std::string>{} : splitLines(bytes.substr(0, lastLf + 1));
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool closesSlot(char c) { return c == ',' || c == ')'; }

}  // namespace

bool readSlot(const std::string& line, size_t& pos, std::string& text) {
    text.clear();
    if (pos >= line.size()) return false;
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos >= line.size()) return false;
    if (line[pos] == ')') return false;

    if (line[pos] != '"') {
        for (size_t p = pos; p < line.size(); ++p) {
            if (line[p] == ',') {
                text = line.substr(pos, p - pos);
                pos = p + 1;
                return true;
            }
            if (line[p] == ')') {
                text = line.substr(pos, p - pos);
                pos = p;
                return true;
            }
        }
        return false;
    }

    std::string collected;
    for (size_t p = pos + 1; p < line.size(); ++p) {
        char c = line[p];
        if (c == '"' && p + 1 < line.size() && closesSlot(line[p + 1])) {
            text = collected;
            pos = p + 2;
            return true;
        }
        collected += c;
        if (c == '"') {
            // A quote that closes nothing: the rest up to the next comma or
            // ")" is the slot, and the character before that stands for the
            // closing quote.
            size_t close = line.find_first_of(",)", p + 1);
            if (close == std::string::npos) return false;
            collected += line.substr(p + 1, close - 1 - (p + 1));
            text = collected;
            pos = close + 1;
            return true;
        }
    }
    return false;
}

bool readGroup(const std::string& line, size_t& pos, std::string& text) {
    text.clear();
    if (pos >= line.size()) return false;
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (line.compare(pos, 2, "))") == 0) return false;
    if (pos >= line.size() || line[pos] != '(') return false;
    size_t close = line.find("))", pos + 1);
    if (close == std::string::npos) {
        text = line.substr(pos + 1);
        pos = line.size();
        return false;
    }
    text = line.substr(pos + 1, close - (pos + 1));
    pos = close;
    return true;
}

std::string unescapeQuotes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '"') continue;
        out += text[i];
    }
    return out;
}

namespace {

// A separator line as the writer makes it, "key = '<escaped text>'", gives
// its text back whole: blanks, single quotes and "=" included.
bool readWrittenSeparator(const std::string& line, const std::string& key, std::string& value) {
    const std::string head = key + "= '";
    if (line.size() < head.size() + 1 || line.compare(0, head.size(), head) != 0 || line.back() != '\'') return false;
    value = unescapeQuotes(line.substr(head.size(), line.size() - head.size() - 1));
    return true;
}

std::string separatorValue(const std::string& line, const std::string& key, const std::string& piece) {
    std::string value;
    if (readWrittenSeparator(line, key, value)) return value;
    return removeAll(piece, " '");
}

// One FieldDef line into a new row at `row`; false when the line holds no
// field name slot, so that no row is made from it. The writer escapes the
// quotes of every slot, bare or quoted, so every slot is unescaped.
bool readFieldDefLine(const std::string& line, int row, FieldList& list) {
    size_t pos = line.find("FieldDef") + 9;
    std::string slot;
    std::string fieldType;
    if (!readSlot(line, pos, slot)) return false;
    list.setCell(row, 0, unescapeQuotes(slot));
    for (int column = 1; column <= 6; ++column) {  // slots 2 to 7; column 6 takes the "Y" first
        if (!readSlot(line, pos, slot)) continue;
        slot = unescapeQuotes(slot);
        if (column == 5) {
            if (slot == kw::ScpmField) slot = kw::SorvinaPmField;
            fieldType = slot;
        }
        list.setCell(row, column, slot);
    }
    if (fieldType == kw::MagstripeField) {
        readGroup(line, pos, slot);
        list.setCell(row, 6, slot);
    } else if (readSlot(line, pos, slot)) {
        list.setCell(row, 6, unescapeQuotes(slot));
    }
    return true;
}

}  // namespace

ReadEffects applyConfigurationLines(const std::vector<std::string>& lines, ParseConfiguration& c) {
    ReadEffects fx;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::vector<std::string> pieces = splitAt(line, '=');
        if (pieces.size() < 2) continue;  // no key line: empty, or without "="
        const std::string& key = pieces[0];
        const std::string& value = pieces[1];

        if (key == "fixedLength ") {
            std::string rest = removeAll(value, " '");
            if (rest != "0") {
                c.fixedLength = rest;
                fx.recordChoice = RecordChoice::FixedLength;
                fx.enableFixedLengthEdit = true;
            } else {
                c.fixedLength.clear();
            }
        } else if (key == "recordSeparator ") {
            c.recordSeparator = separatorValue(line, key, value);
            if (!c.recordSeparator.empty()) {
                fx.recordChoice = RecordChoice::CharacterSequence;
                fx.enableCharacterSequenceEdit = true;
            }
        } else if (key == "firSeparator ") {
            c.firSeparator = separatorValue(line, key, value);
            if (!c.firSeparator.empty()) {
                c.processFir = true;
                fx.enableFirSeparatorEdit = true;
            }
        } else if (key == "fieldsInOrder ") {
            if (value == " 1") c.fieldsInOrder = true;
        } else if (key == "fieldDefs ") {
            int row = 0;
            for (++i; i < lines.size() && contains(lines[i], "FieldDef"); ++i)
                if (readFieldDefLine(lines[i], row, c.fieldDefs)) ++row;
            // lines[i] ended the block and is passed over.
        }
    }
    return fx;
}

ReadEffects openConfigurationLines(const std::vector<std::string>& lines, ParseConfiguration& c) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    ConfigReading strict = readStrictConfiguration(text);
    if (!strict.ok) return applyConfigurationLines(lines, c);
    // The same effects the lenient rules have on the writer's lines, which
    // set exactly one of the fixed length and the separator.
    c = strict.config.text;
    ReadEffects fx;
    fx.enableFixedLengthEdit = !c.fixedLength.empty();
    fx.enableCharacterSequenceEdit = !c.recordSeparator.empty();
    fx.recordChoice = fx.enableFixedLengthEdit ? RecordChoice::FixedLength : RecordChoice::CharacterSequence;
    fx.enableFirSeparatorEdit = !c.firSeparator.empty();
    return fx;
}

}  // namespace velmora
