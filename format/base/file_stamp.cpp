#include "format/base/file_stamp.h"

#include <cstdio>

namespace velmora {

namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

}  // namespace

std::string lastWriteText(std::uint64_t ticksSince1601) {
    const std::uint64_t seconds = ticksSince1601 / kTicksPerSecond;
    const unsigned long fraction = static_cast<unsigned long>(ticksSince1601 % kTicksPerSecond);
    // Days since 1601-01-01 into a civil date, counted in eras of 400 years
    // (146,097 days) from a year that starts in March, 1600-03-01 being day
    // -306.
    const std::int64_t days = static_cast<std::int64_t>(seconds / 86400) + 306;
    const std::int64_t era = days / 146097, dayOfEra = days % 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const long long year = 1600 + era * 400 + yearOfEra + (month <= 2 ? 1 : 0);
    const unsigned secondOfDay = static_cast<unsigned>(seconds % 86400);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02u:%02u:%02u.%07luZ", year, month, day, secondOfDay / 3600,
                  secondOfDay / 60 % 60, secondOfDay % 60, fraction);
    return text;
}

std::string lastWriteText(std::int64_t secondsSince1970, long nanoseconds) {
    if (secondsSince1970 < -kSecondsFrom1601To1970) return lastWriteText(std::uint64_t{0});
    return lastWriteText(static_cast<std::uint64_t>(secondsSince1970 + kSecondsFrom1601To1970) * kTicksPerSecond +
                         static_cast<std::uint64_t>(nanoseconds / 100));
}

}  // namespace velmora
