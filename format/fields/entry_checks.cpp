#include "format/fields/entry_checks.h"

#include "format/fields/keywords.h"
#include "format/fields/text_utils.h"

namespace velmora {

bool endsInBackslash(const std::string& value) { return !value.empty() && value.back() == '\\'; }

bool sentinelCarried(const std::string& sentinel) { return sentinel.find_first_of(",\"") == std::string::npos; }

bool isValidFieldName(const std::string& name) {
    for (unsigned char c : name) {
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        bool digit = c >= '0' && c <= '9';
        bool space = c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
        if (!letter && !digit && !space && c != '_') return false;
    }
    return true;
}

std::variant<FieldDef, Refusal> buildFieldDef(const FieldEntry& e) {
    FieldDef f;
    f.fieldName = e.fieldName;
    f.startType = startTypeKeyword(e.startMethod);
    if (e.startMethod == StartMethod::ByCode) {
        if (e.startCode.empty())
            return Refusal{"Enter a valid Start code", kCaptionTarnParser, FollowUp::FocusStartCode};
        if (endsInBackslash(e.startCode))
            return Refusal{"Enter a valid Start code: it can not end with a backslash", kCaptionTarnParser,
                           FollowUp::FocusStartCode};
        f.startData = e.startCode;
    } else if (e.startMethod == StartMethod::ByPosition) {
        if (e.startPosition < 1 || e.startPosition > 65534)
            return Refusal{"Enter a valid START_POSITION", kCaptionTarnParser, FollowUp::FocusStartPosition};
        f.startData = std::to_string(e.startPosition);
    }
    f.endType = endTypeKeyword(e.endMethod);
    if (e.endMethod == EndMethod::ByCode) {
        if (e.endingCode.empty()) return Refusal{"Enter a valid End code", kCaptionTarnParser, FollowUp::FocusEndCode};
        if (endsInBackslash(e.endingCode))
            return Refusal{"Enter a valid End code: it can not end with a backslash", kCaptionTarnParser,
                           FollowUp::FocusEndCode};
        f.endData = e.endingCode;
    } else if (e.endMethod == EndMethod::FixedLength) {
        if (e.endLength < 1)
            // "Fixed Len", cut short, is the system's own text.
            return Refusal{"Enter a valid Fixed Len", kCaptionDataParser, FollowUp::FocusEndFixedLength};
        f.endData = std::to_string(e.endLength);
    }
    f.fieldType = fieldTypeFromIndex(e.fieldTypeIndex);
    return f;
}

std::optional<Refusal> checkFieldTypeData(const FieldEntry& e) {
    const std::string type = fieldTypeFromIndex(e.fieldTypeIndex);
    // The type's controls are hidden while a commit runs, so no focus follows.
    if (isScriptType(type) && endsInBackslash(e.scriptData))
        return Refusal{"Enter valid Script Data: it can not end with a backslash", kCaptionDataParser};
    if (isApplicationType(type) && endsInBackslash(e.applicationName))
        return Refusal{"Enter a valid Application Name: it can not end with a backslash", kCaptionDataParser};
    return std::nullopt;
}

std::string composeFieldTypeData(const FieldEntry& e, RowKind kind) {
    const std::string type = fieldTypeFromIndex(e.fieldTypeIndex);
    if (isScriptType(type)) return e.scriptData;
    if (isApplicationType(type)) return e.applicationName;
    if (!isMagstripeType(type)) return "";

    std::vector<std::string> values;
    if (kind == RowKind::NewRow) {
        for (int i = 0; i < kSentinelCount; ++i)
            values.push_back(e.sentinels.at(i).empty() ? isoSentinels().at(i) : e.sentinels.at(i));
    } else {
        for (int i = 0; i < 4; ++i) values.push_back(e.sentinels.at(i));
        if (!e.sentinels.track3Start.empty()) values.push_back(e.sentinels.track3Start);
        if (!e.sentinels.track3End.empty()) values.push_back(e.sentinels.track3End);
    }
    return sentinelText(values);
}

std::optional<Refusal> checkFieldName(const std::string& name) {
    if (isValidFieldName(name)) return std::nullopt;
    // "shoud" is the system's own spelling, kept as operators know it.
    return Refusal{"Field Name shoud be alpha numeric characters.", kCaptionDataParserLower, FollowUp::FocusFieldName};
}

std::variant<FieldDef, Refusal> checkFieldEntry(const FieldEntry& entry) {
    if (auto refusal = checkFieldName(entry.fieldName)) return *refusal;
    return buildFieldDef(entry);
}

}  // namespace velmora
