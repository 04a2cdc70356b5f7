#pragma once
// Find Next over a tab of a parse's database: the next row, after the one
// given, any of whose shown cells holds the text without regard to case,
// going on from the top once the end is passed. It looks a slice of rows at
// a time, so a search over millions of rows can show its progress and be
// stopped between slices.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "src/results/results_database.h"

namespace velmora {

// Whether `text` holds `folded`, a needle already in folded case, ignoring
// case in the program's code page.
bool containsIgnoringCase(std::string_view text, std::string_view folded);
std::string foldCase(std::string_view text);

class RowSearch {
public:
    // From the row after `after` (the first row when nothing is selected).
    RowSearch(ResultsDatabase& database, ResultsTab tab, const std::string& text, std::optional<std::uint64_t> after);

    // Looks at up to `rows` more rows; true once done: found, every row
    // looked at, or a read failed (the database keeps the failure).
    bool step(std::uint64_t rows);
    std::optional<std::uint64_t> found() const { return found_; }
    std::uint64_t looked() const { return looked_; }
    std::uint64_t total() const { return total_; }

private:
    bool nextRow(std::uint64_t& row);

    ResultsDatabase& database_;
    ResultsTab tab_;
    std::string folded_;
    std::uint64_t start_;
    std::uint64_t total_;
    std::uint64_t looked_ = 0;
    bool wrapped_ = false;
    Statement rows_;
    std::optional<std::uint64_t> found_;
    bool done_ = false;
};

}  // namespace velmora
