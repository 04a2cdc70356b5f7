#include "format/config/strict_config_reader.h"

#include <set>

#include "format/config/config_reader.h"
#include "format/config/byte_escapes.h"
#include "format/fields/text_utils.h"

namespace velmora {

std::string ConfigReading::failureText() const { return "configuration line " + std::to_string(line) + ": " + reason; }

namespace {

// Positions and lengths beyond this can never fit a record, so larger
// numbers are held as this one: they mean the same to every record.
constexpr size_t kLargestNumber = 999999999999ULL;

struct Fault {
    std::string reason;
};

bool parseNumber(const std::string& text, bool allowPlus, size_t& value) {
    size_t i = allowPlus && !text.empty() && text[0] == '+' ? 1 : 0;
    if (i >= text.size()) return false;
    value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (value <= kLargestNumber) value = value * 10 + static_cast<size_t>(text[i] - '0');
    }
    if (value > kLargestNumber) value = kLargestNumber;
    return true;
}

// Walks one line slot by slot, in the writer's exact punctuation.
class SlotCursor {
public:
    explicit SlotCursor(const std::string& line) : line_(line) {}

    void expect(const std::string& text, const char* where) {
        if (line_.compare(pos_, text.size(), text) != 0) throw Fault{"expected '" + text + "' " + where};
        pos_ += text.size();
    }

    // A double-quoted slot; a quote after a backslash is part of the text.
    std::string quoted(const char* what, bool unescape = true) {
        if (pos_ >= line_.size() || line_[pos_] != '"') throw Fault{std::string(what) + " must be in double quotes"};
        size_t p = pos_ + 1;
        while (p < line_.size() && !(line_[p] == '"' && (unescape ? line_[p - 1] != '\\' || p == pos_ + 1 : true))) ++p;
        if (p >= line_.size()) throw Fault{std::string(what) + " has no closing double quote"};
        std::string text = line_.substr(pos_ + 1, p - pos_ - 1);
        pos_ = p + 1;
        return unescape ? unescapeQuotes(text) : text;
    }

    // A bare slot: the text up to the next comma.
    std::string bare(const char* what) {
        size_t comma = line_.find(',', pos_);
        if (comma == std::string::npos) throw Fault{std::string(what) + " is not followed by a comma"};
        std::string text = line_.substr(pos_, comma - pos_);
        pos_ = comma;
        return text;
    }

    void expectEnd(const char* what) {
        if (pos_ != line_.size()) throw Fault{"unexpected text after " + std::string(what)};
    }

private:
    const std::string& line_;
    size_t pos_ = 0;
};

StartMethod startMethodOf(const std::string& keyword) {
    if (keyword == kw::None) return StartMethod::None;
    if (keyword == kw::StartCode) return StartMethod::ByCode;
    if (keyword == kw::StartPosition) return StartMethod::ByPosition;
    throw Fault{"unknown start type \"" + keyword + "\""};
}

EndMethod endMethodOf(const std::string& keyword) {
    if (keyword == kw::None) return EndMethod::None;
    if (keyword == kw::EndCode) return EndMethod::ByCode;
    if (keyword == kw::FixedLength) return EndMethod::FixedLength;
    if (keyword == kw::EmbeddedLength) return EndMethod::EmbeddedLength;
    if (keyword == kw::Tesselgram) return EndMethod::Tesselgram;
    throw Fault{"unknown end type \"" + keyword + "\""};
}

// The file spells SORVINA_PM_FIELD as SCPM_FIELD; the long name is the
// same type and is taken too.
FieldKind kindOf(const std::string& keyword, std::string& stored) {
    static const std::pair<const char*, FieldKind> kinds[] = {{kw::BinaryField, FieldKind::Binary},
                                                              {kw::TextField, FieldKind::Text},
                                                              {kw::ScpmField, FieldKind::SorvinaPm},
                                                              {kw::SorvinaPmField, FieldKind::SorvinaPm},
                                                              {kw::SorvinaPsField, FieldKind::SorvinaPs},
                                                              {kw::P3Field, FieldKind::P3},
                                                              {kw::GpField, FieldKind::Gp},
                                                              {kw::OpField, FieldKind::Op},
                                                              {kw::MagstripeField, FieldKind::Magstripe},
                                                              {kw::IgnoreField, FieldKind::Ignore}};
    for (const auto& k : kinds) {
        if (keyword == k.first) {
            stored = k.second == FieldKind::SorvinaPm ? kw::SorvinaPmField : keyword;
            return k.second;
        }
    }
    throw Fault{"unknown field type \"" + keyword + "\""};
}

bool carriesTypeData(FieldKind k) {
    return k == FieldKind::SorvinaPs || k == FieldKind::P3 || k == FieldKind::Gp || k == FieldKind::Op;
}

void readStart(SlotCursor& c, FieldDef& def, FieldPlan& plan) {
    def.startType = c.bare("the start type");
    plan.start = startMethodOf(def.startType);
    c.expect(", ", "after the start type");
    if (plan.start == StartMethod::ByPosition) {
        def.startData = c.bare("the start position");
        if (!parseNumber(def.startData, false, plan.startPosition) || plan.startPosition == 0)
            throw Fault{"start position \"" + def.startData + "\" is not a whole number of at least 1"};
        return;
    }
    def.startData = c.quoted("the start data");
    if (plan.start == StartMethod::ByCode) {
        plan.startCode = decodeByteEscapes(def.startData);
        if (plan.startCode.empty()) throw Fault{"START_CODE has an empty code"};
    } else if (!def.startData.empty()) {
        throw Fault{"start type None takes no data, found \"" + def.startData + "\""};
    }
}

void readEnd(SlotCursor& c, FieldDef& def, FieldPlan& plan) {
    def.endType = c.bare("the end type");
    plan.end = endMethodOf(def.endType);
    c.expect(", ", "after the end type");
    if (plan.end == EndMethod::FixedLength) {
        def.endData = c.bare("the fixed length");
        if (!parseNumber(def.endData, false, plan.fixedLength) || plan.fixedLength == 0)
            throw Fault{"fixed length \"" + def.endData + "\" is not a whole number of at least 1"};
        return;
    }
    def.endData = c.quoted("the end data");
    if (plan.end == EndMethod::ByCode) {
        plan.endCode = decodeByteEscapes(def.endData);
        if (plan.endCode.empty()) throw Fault{"END_CODE has an empty code"};
    } else if (!def.endData.empty()) {
        throw Fault{"end type " + def.endType + " takes no data, found \"" + def.endData + "\""};
    }
}

// The field type and, after it, what the type carries, to the line's end.
void readFieldType(SlotCursor& c, FieldDef& def, FieldPlan& plan) {
    std::string typeKeyword = c.bare("the field type");
    plan.kind = kindOf(typeKeyword, def.fieldType);
    if (plan.kind == FieldKind::Magstripe) {
        c.expect(",\"Y\", (", "after MAGSTRIPE_FIELD");
        std::string tuple;
        for (size_t k = 0; k < plan.sentinels.size(); ++k) {
            if (k > 0) c.expect(", ", "between sentinels");
            // Sentinels are written as typed, without quote escaping.
            std::string value = c.quoted("a sentinel", false);
            plan.sentinels[k] = decodeByteEscapes(value);
            tuple += (k > 0 ? ", \"" : "\"") + value + "\"";
        }
        def.fieldTypeData = tuple;
        c.expect(")),", "after the six sentinels");
    } else if (carriesTypeData(plan.kind)) {
        c.expect(", \"Y\", ", "after the field type");
        def.fieldTypeData = c.quoted("the field type data");
        c.expect("),", "at the end of the field line");
    } else {
        c.expect(", \"Y\"),", "at the end of the field line");
    }
    c.expectEnd("the field line");
}

void readFieldDef(const std::string& line, FieldDef& def, FieldPlan& plan) {
    SlotCursor c(line);
    c.expect("FieldDef(", "at the start of a field line");
    def.fieldName = c.quoted("the field name");
    if (def.fieldName.empty()) throw Fault{"the field name is empty"};
    plan.name = def.fieldName;
    c.expect(", ", "after the field name");
    readStart(c, def, plan);
    c.expect(", ", "after the start data");
    readEnd(c, def, plan);
    c.expect(", ", "after the end data");
    readFieldType(c, def, plan);
}

std::string separatorLine(const std::string& line, const std::string& key) {
    const std::string head = key + " = '";
    if (line.compare(0, head.size(), head) != 0 || line.size() < head.size() + 1 || line.back() != '\'')
        throw Fault{"expected " + key + " = '...'"};
    // Single quotes inside are the value's own: the writer does not escape them.
    return unescapeQuotes(line.substr(head.size(), line.size() - head.size() - 1));
}

// The file line by line, keeping the number of the line at hand for a fault.
class LineCursor {
public:
    LineCursor(const std::string& bytes, int& line) : lines_(splitLines(bytes)), line_(line) {}

    const std::string& next(const char* what) {
        if (i_ >= lines_.size()) {
            line_ = static_cast<int>(lines_.size()) + 1;
            throw Fault{std::string("the file ends where ") + what + " should be"};
        }
        line_ = static_cast<int>(i_) + 1;
        return lines_[i_++];
    }

    void expectEnd() {
        if (i_ >= lines_.size()) return;
        line_ = static_cast<int>(i_) + 1;
        throw Fault{"unexpected text after the closing )"};
    }

private:
    const std::vector<std::string> lines_;
    size_t i_ = 0;
    int& line_;
};

// fixedLength, recordSeparator, firSeparator and fieldsInOrder.
void readRecordSettings(LineCursor& lines, EngineConfiguration& cfg) {
    const std::string& first = lines.next("fixedLength");
    if (first.compare(0, 14, "fixedLength = ") != 0) throw Fault{"expected fixedLength = <number>"};
    cfg.text.fixedLength = first.substr(14);
    if (!parseNumber(cfg.text.fixedLength, true, cfg.recordLength))
        throw Fault{"fixedLength \"" + cfg.text.fixedLength + "\" is not a whole number"};
    if (cfg.recordLength == 0) cfg.text.fixedLength.clear();

    cfg.text.recordSeparator = separatorLine(lines.next("recordSeparator"), "recordSeparator");
    cfg.separator = decodeByteEscapes(cfg.text.recordSeparator);
    if (cfg.recordLength == 0 && cfg.separator.empty())
        throw Fault{"neither fixedLength nor recordSeparator is set, so records cannot be cut"};
    if (cfg.recordLength != 0 && !cfg.separator.empty()) throw Fault{"both fixedLength and recordSeparator are set"};

    cfg.text.firSeparator = separatorLine(lines.next("firSeparator"), "firSeparator");
    cfg.firSeparators = decodeByteEscapes(cfg.text.firSeparator);
    cfg.text.processFir = !cfg.firSeparators.empty();

    const std::string& order = lines.next("fieldsInOrder");
    if (order == "fieldsInOrder = 1")
        cfg.fieldsInOrder = true;
    else if (order != "fieldsInOrder = 0")
        throw Fault{"expected fieldsInOrder = 0 or fieldsInOrder = 1"};
    cfg.text.fieldsInOrder = cfg.fieldsInOrder;
}

// fieldDefs = ( ... ), the last thing in the file.
void readFieldList(LineCursor& lines, EngineConfiguration& cfg) {
    if (lines.next("fieldDefs") != "fieldDefs = (") throw Fault{"expected fieldDefs = ("};
    std::set<std::string> names;
    for (;;) {
        const std::string& line = lines.next("a FieldDef line or the closing )");
        if (line == ")") break;
        FieldDef def;
        FieldPlan plan;
        readFieldDef(line, def, plan);
        if (!names.insert(def.fieldName).second) throw Fault{"a second field named \"" + def.fieldName + "\""};
        cfg.text.fieldDefs.insertRow(cfg.text.fieldDefs.rowCount(), def);
        cfg.fields.push_back(plan);
    }
    if (cfg.fields.empty()) throw Fault{"the field list is empty"};
    lines.expectEnd();
}

}  // namespace

ConfigReading readStrictConfiguration(const std::string& bytes) {
    ConfigReading r;
    LineCursor lines(bytes, r.line);
    try {
        readRecordSettings(lines, r.config);
        readFieldList(lines, r.config);
    } catch (const Fault& fault) {
        r.reason = fault.reason;
        r.config = EngineConfiguration();
        return r;
    }
    r.ok = true;
    r.line = 0;
    return r;
}

}  // namespace velmora
