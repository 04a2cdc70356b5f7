#include "src/results/utc_seconds.h"

#include <cstdio>

namespace velmora {

namespace {

// Days since 1970-01-01 of a date, counted in eras of 400 years (146,097
// days each) from a year that starts in March, so that February's leap day
// falls at a year's end.
std::int64_t daysSinceEpoch(int year, int month, int day) {
    const int marchYear = month <= 2 ? year - 1 : year;
    const int era = (marchYear >= 0 ? marchYear : marchYear - 399) / 400;
    const int yearOfEra = marchYear - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

}  // namespace

std::optional<std::int64_t> utcSeconds(const std::string& utc) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char zone = 0;
    if (std::sscanf(utc.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second, &zone) !=
            7 ||
        zone != 'Z')
        return std::nullopt;
    return daysSinceEpoch(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace velmora
