#pragma once
// A refused field operation: the message box to show and what follows it.
#include <string>

namespace velmora {

// Where the keyboard focus goes after a refusal, or which radio button's
// handler runs as if the user had clicked it.
enum class FollowUp {
    None,
    FocusFieldName,
    FocusStartCode,
    FocusStartPosition,
    FocusEndCode,
    FocusEndFixedLength,
    StartCodeRadioStep,
    StartPositionRadioStep,
    EndCodeRadioStep,
};

struct Refusal {
    std::string message;
    std::string caption;
    FollowUp followUp = FollowUp::None;
};

inline const char* const kCaptionDataParser = "Velmora Data Parser";
// The lower-case "p" is the system's own, in the captions that use it.
inline const char* const kCaptionDataParserLower = "Velmora Data parser";
inline const char* const kCaptionTarnParser = "Velmora Tarn Parser";

}  // namespace velmora
