#pragma once
// The moment a run's facts name, "2026-12-07T14:03:12Z", as seconds since
// 1970-01-01 00:00 UTC, by the proleptic Gregorian calendar: the reader
// shows it on the operator's clock without asking the C library to undo
// a time zone.
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// Nothing when the text is not in that form.
std::optional<std::int64_t> utcSeconds(const std::string& utc);

}  // namespace velmora
