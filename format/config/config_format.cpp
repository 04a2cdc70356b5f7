#include "format/config/config_format.h"

#include "format/fields/keywords.h"
#include "format/fields/sentinels.h"

namespace velmora {

namespace {

enum class LineForm { None, SevenSlots, EightSlots, SentinelTuple };

LineForm formOf(const std::string& fieldType) {
    if (fieldType == kw::BinaryField || fieldType == kw::TextField || fieldType == kw::SorvinaPmField ||
        fieldType == kw::IgnoreField)
        return LineForm::SevenSlots;
    if (isScriptType(fieldType) || isApplicationType(fieldType)) return LineForm::EightSlots;
    if (isMagstripeType(fieldType)) return LineForm::SentinelTuple;
    return LineForm::None;
}

std::string quoted(const std::string& text) { return '"' + text + '"'; }

}  // namespace

std::string escapeQuotes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '"') out += '\\';
        out += c;
    }
    return out;
}

std::optional<std::string> formatFieldDef(const FieldDef& f) {
    LineForm form = formOf(f.fieldType);
    if (form == LineForm::None) return std::nullopt;

    const bool startBare = f.startType == kw::StartPosition;
    const bool endBare = f.endType == kw::FixedLength;
    const std::string writtenType = f.fieldType == kw::SorvinaPmField ? kw::ScpmField : f.fieldType;

    std::string line = "FieldDef(" + quoted(escapeQuotes(f.fieldName)) + ", ";
    line += escapeQuotes(f.startType) + ", ";
    line += startBare ? escapeQuotes(f.startData) : quoted(escapeQuotes(f.startData));
    line += ", " + escapeQuotes(f.endType) + ", ";
    line += endBare ? escapeQuotes(f.endData) : quoted(escapeQuotes(f.endData));
    line += ", " + escapeQuotes(writtenType);

    if (form == LineForm::SentinelTuple) {
        // No blank before the "Y" in this form; the sentinels go out unescaped.
        Sentinels s = sentinelsFromText(f.fieldTypeData);
        line += ",\"Y\", (";
        for (int i = 0; i < kSentinelCount; ++i) {
            if (i) line += ", ";
            line += quoted(s.at(i));
        }
        line += ")),";
        return line;
    }
    line += ", \"Y\"";
    if (form == LineForm::EightSlots) line += ", " + quoted(escapeQuotes(f.fieldTypeData));
    line += "),";
    return line;
}

std::vector<std::string> formatConfiguration(const ParseConfiguration& c) {
    std::vector<std::string> lines;
    lines.push_back("fixedLength = " + (c.fixedLength.empty() ? std::string("0") : c.fixedLength));
    lines.push_back("recordSeparator = '" + escapeQuotes(c.recordSeparator) + "'");
    lines.push_back("firSeparator = '" + escapeQuotes(c.firSeparator) + "'");
    lines.push_back(std::string("fieldsInOrder = ") + (c.fieldsInOrder ? "1" : "0"));
    lines.push_back("fieldDefs = (");
    for (const FieldDef& f : c.fieldDefs.rows())
        if (auto line = formatFieldDef(f)) lines.push_back(*line);
    lines.push_back(")");
    return lines;
}

std::string configurationText(const ParseConfiguration& config) {
    std::string text;
    for (const std::string& line : formatConfiguration(config)) text += line + "\r\n";
    return text;
}

}  // namespace velmora
