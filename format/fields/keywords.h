#pragma once
// The keyword vocabulary of a field definition: start methods, end methods
// and field types, by the index of their radio button or drop-down entry.
#include <string>

namespace velmora {

namespace kw {
inline const char* const None = "None";
inline const char* const StartCode = "START_CODE";
inline const char* const StartPosition = "START_POSITION";
inline const char* const EndCode = "END_CODE";
inline const char* const FixedLength = "FIXED_LENGTH";
inline const char* const EmbeddedLength = "EMBEDDED_LENGTH";
inline const char* const Tesselgram = "TESSELGRAM";

inline const char* const BinaryField = "BINARY_FIELD";
inline const char* const TextField = "TEXT_FIELD";
inline const char* const SorvinaPmField = "SORVINA_PM_FIELD";
inline const char* const SorvinaPsField = "SORVINA_PS_FIELD";
inline const char* const P3Field = "P3_FIELD";
inline const char* const GpField = "GP_FIELD";
inline const char* const OpField = "OP_FIELD";
inline const char* const MagstripeField = "MAGSTRIPE_FIELD";
inline const char* const IgnoreField = "IGNORE_FIELD";
// How SORVINA_PM_FIELD is spelt in a configuration file.
inline const char* const ScpmField = "SCPM_FIELD";
}  // namespace kw

// How a field's start and end are found; each value is its radio button's
// position in its group, and its keyword's index.
enum class StartMethod { None = 0, ByCode = 1, ByPosition = 2 };
enum class EndMethod { None = 0, ByCode = 1, FixedLength = 2, EmbeddedLength = 3, Tesselgram = 4 };

constexpr int kStartMethodCount = 3;
constexpr int kEndMethodCount = 5;
constexpr int kFieldTypeCount = 9;
constexpr int kIgnoreTypeIndex = 8;

// Keyword stored in `startType` / `endType` for a method ("None" for a
// value that is no method: a group with no radio checked).
const char* startTypeKeyword(StartMethod method);
const char* endTypeKeyword(EndMethod method);

// Drop-down entry text of a field type index ("IGNORE" for index 8).
const char* fieldTypeEntry(int index);
// Keyword stored for a field type index ("IGNORE_FIELD" for index 8).
const char* fieldTypeFromIndex(int index);
// Exact, case-sensitive match against the first eight keywords; anything
// else, IGNORE_FIELD included, is the IGNORE entry.
int indexFromFieldType(const std::string& fieldType);

bool isScriptType(const std::string& fieldType);       // SORVINA_PS, GP, OP
bool isApplicationType(const std::string& fieldType);  // P3
bool isMagstripeType(const std::string& fieldType);

}  // namespace velmora
