#include "format/fields/keywords.h"

namespace velmora {

namespace {
const char* const kStartTypes[kStartMethodCount] = {kw::None, kw::StartCode, kw::StartPosition};
const char* const kEndTypes[kEndMethodCount] = {kw::None, kw::EndCode, kw::FixedLength, kw::EmbeddedLength,
                                                kw::Tesselgram};
const char* const kFieldTypes[kFieldTypeCount] = {kw::BinaryField,    kw::TextField,      kw::SorvinaPmField,
                                                  kw::SorvinaPsField, kw::P3Field,        kw::GpField,
                                                  kw::OpField,        kw::MagstripeField, kw::IgnoreField};
}  // namespace

const char* startTypeKeyword(StartMethod method) {
    const int index = static_cast<int>(method);
    return index >= 0 && index < kStartMethodCount ? kStartTypes[index] : kw::None;
}

const char* endTypeKeyword(EndMethod method) {
    const int index = static_cast<int>(method);
    return index >= 0 && index < kEndMethodCount ? kEndTypes[index] : kw::None;
}

const char* fieldTypeEntry(int index) { return index == kIgnoreTypeIndex ? "IGNORE" : fieldTypeFromIndex(index); }

const char* fieldTypeFromIndex(int index) {
    return index >= 0 && index < kFieldTypeCount ? kFieldTypes[index] : kw::IgnoreField;
}

int indexFromFieldType(const std::string& fieldType) {
    for (int i = 0; i < kIgnoreTypeIndex; ++i)
        if (fieldType == kFieldTypes[i]) return i;
    return kIgnoreTypeIndex;
}

bool isScriptType(const std::string& t) { return t == kw::SorvinaPsField || t == kw::GpField || t == kw::OpField; }
bool isApplicationType(const std::string& t) { return t == kw::P3Field; }
bool isMagstripeType(const std::string& t) { return t == kw::MagstripeField; }

}  // namespace velmora
