#include "engine/core/suggest/digit_columns.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "engine/core/suggest/card_values.h"

namespace velmora::suggest {

namespace {

// Fewer records show no distribution: among a handful, spread digits agree
// by chance.
constexpr std::size_t kFewestRecords = 8;
// Shares of the records holding a column's commonest byte: a narrow column
// nearly always holds it, a mostly narrow one in three of four records, a
// spread one in at most half.
constexpr double kNarrow = 0.9;
constexpr double kMostlyNarrow = 0.75;
constexpr double kSpread = 0.5;
// Two columns whose distributions share less than half.
constexpr double kChanged = 0.5;
constexpr std::size_t kDateLength = 4;
// Cards in one file expire within a few years; days read as years spread
// over a month.
constexpr int kYearSpan = 10;

// How often each digit, and the blank, stands in one column.
using Histogram = std::array<std::uint32_t, 11>;

struct Columns {
    std::vector<Histogram> counts;
    std::size_t records;

    double share(std::size_t column) const {
        return static_cast<double>(*std::max_element(counts[column].begin(), counts[column].end())) /
               static_cast<double>(records);
    }
    // Whether the column's commonest byte is a zero or the blank.
    bool commonestPads(std::size_t column) const {
        const auto commonest = std::max_element(counts[column].begin(), counts[column].end()) - counts[column].begin();
        return commonest == 0 || commonest == 10;
    }
    // The total variation distance between two columns' distributions.
    double change(std::size_t a, std::size_t b) const {
        std::uint32_t apart = 0;
        for (std::size_t d = 0; d < counts[a].size(); ++d)
            apart += counts[a][d] > counts[b][d] ? counts[a][d] - counts[b][d] : counts[b][d] - counts[a][d];
        return static_cast<double>(apart) / 2 / static_cast<double>(records);
    }
};

Columns histograms(const std::vector<std::string_view>& records, std::size_t begin, std::size_t end) {
    Columns columns{std::vector<Histogram>(end - begin), records.size()};
    for (std::string_view r : records)
        for (std::size_t column = begin; column < end; ++column) {
            const unsigned char c = static_cast<unsigned char>(r[column]);
            ++columns.counts[column - begin][c >= '0' && c <= '9' ? c - '0' : 10];
        }
    return columns;
}

bool allBlank(const std::vector<std::string_view>& records, std::size_t column) {
    return std::all_of(records.begin(), records.end(), [column](std::string_view r) { return r[column] == ' '; });
}

std::vector<std::string_view> valuesAt(const std::vector<std::string_view>& records, std::size_t at,
                                       std::size_t length) {
    std::vector<std::string_view> values;
    for (std::string_view r : records) values.push_back(r.substr(at, length));
    return values;
}

// Two columns holding a day of the month in every record; a record
// number's last digits count up instead.
bool holdsDays(const std::vector<std::string_view>& records, std::size_t at) {
    const std::vector<std::string_view> values = valuesAt(records, at, 2);
    for (std::string_view v : values)
        if (v[0] < '0' || v[0] > '3' || v[1] < '0' || v[1] > '9' || v == "00" || v > "31") return false;
    return !countsUp(values);
}

// Four columns in [begin, end) holding an expiry date in every record, its
// years close together, and not the month and year of a longer date with
// its day beside them.
bool isDate(const std::vector<std::string_view>& records, std::size_t at, std::size_t begin, std::size_t end) {
    const std::vector<std::string_view> values = valuesAt(records, at, kDateLength);
    const auto order = expiryOrder(values);
    if (!order) return false;
    const std::size_t year = *order == DateOrder::YYMM ? 0 : 2;
    int lowest = 99, highest = 0;
    for (std::string_view v : values) {
        const int y = std::stoi(std::string(v.substr(year, 2)));
        lowest = std::min(lowest, y);
        highest = std::max(highest, y);
    }
    // Years of 00 alone are a number's leading zeros.
    if (highest == 0 || highest - lowest > kYearSpan) return false;
    return !(at >= begin + 2 && holdsDays(records, at - 2)) &&
           !(at + kDateLength + 2 <= end && holdsDays(records, at + kDateLength));
}

}  // namespace

std::vector<std::size_t> digitValueStarts(const std::vector<std::string_view>& records, std::size_t begin,
                                          std::size_t end) {
    if (records.size() < kFewestRecords) return {};
    while (end > begin && allBlank(records, end - 1)) --end;
    if (end - begin < 2) return {};
    const Columns columns = histograms(records, begin, end);
    const std::size_t width = end - begin;
    auto share = [&](std::size_t column) { return columns.share(column); };

    // A date begins at the run's start or where the digits' distribution
    // changes, and ends at the run's end or where a value padded on the left
    // begins; inside it its month may follow its year narrower.
    auto dateStart = [&](std::size_t column) { return column == 0 || columns.change(column - 1, column) >= kChanged; };
    auto padding = [&](std::size_t column, double least) {
        return columns.commonestPads(column) && share(column) >= least;
    };
    auto dateEnd = [&](std::size_t column) { return column == width || padding(column, kMostlyNarrow); };
    std::vector<std::size_t> starts;
    std::size_t from = 0;
    // Elsewhere a value padded on the left starts with two columns nearly
    // always zeros or blanks after a column that spreads, and spreads again:
    // narrow columns after the last spread one are the value's own (the
    // cents of round amounts).
    auto splitPadded = [&](std::size_t to) {
        bool spreadAfter = false;
        std::vector<std::size_t> found;
        for (std::size_t column = to; column-- > from + 1;) {
            if (spreadAfter && column + 1 < to && share(column - 1) <= kSpread && padding(column, kNarrow) &&
                padding(column + 1, kNarrow))
                found.push_back(column);
            spreadAfter = spreadAfter || share(column) <= kSpread;
        }
        starts.insert(starts.end(), found.rbegin(), found.rend());
        if (to < width) starts.push_back(to);
        from = to;
    };
    for (std::size_t column = 0; column + kDateLength <= width; ++column) {
        if (!dateStart(column) || !dateEnd(column + kDateLength) || !isDate(records, begin + column, begin, end))
            continue;
        if (column > from) splitPadded(column);
        from = column + kDateLength;
        if (from < width) starts.push_back(from);
        column = from - 1;
    }
    splitPadded(width);
    for (std::size_t& start : starts) start += begin;
    return starts;
}

}  // namespace velmora::suggest
