#include "src/results/row_search.h"

#include <algorithm>
#include <cstddef>

namespace velmora {

namespace {

// Windows-1252 letters in their small form: ASCII, the Latin-1 range
// (but the multiplication sign) and the page's own Š, Œ, Ž and Ÿ.
unsigned char folded(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

}  // namespace

std::string foldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(folded(static_cast<unsigned char>(c)));
    return out;
}

bool containsIgnoringCase(std::string_view text, std::string_view needle) {
    auto same = [](char a, char b) { return folded(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b); };
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(), same) != text.end();
}

RowSearch::RowSearch(ResultsDatabase& database, ResultsTab tab, const std::string& text,
                     std::optional<std::uint64_t> after)
    : database_(database),
      tab_(tab),
      folded_(foldCase(text)),
      start_(after && *after + 1 < database.rowCount(tab) ? *after + 1 : 0),
      total_(database.rowCount(tab)) {
    rows_ = database_.rowsFrom(tab_, start_);
}

// The next row in the order of the search; false once every row the list
// holds was read.
bool RowSearch::nextRow(std::uint64_t& row) {
    for (;;) {
        if (rows_.step()) {
            row = database_.rowOf(tab_, rows_.integer(0));
            if (row < total_ && !(wrapped_ && row >= start_)) return true;
            if (wrapped_) return false;
        } else if (rows_.failed() || !rows_.ok()) {
            if (rows_.failed()) database_.noteReadFailure();
            return false;
        }
        if (wrapped_ || start_ == 0) return false;
        wrapped_ = true;
        rows_ = database_.rowsFrom(tab_, 0);
    }
}

bool RowSearch::step(std::uint64_t rows) {
    if (done_) return true;
    const std::vector<ResultsColumn>& columns = database_.columns(tab_);
    for (std::uint64_t n = 0; n < rows; ++n) {
        std::uint64_t row = 0;
        if (!nextRow(row)) return done_ = true;
        ++looked_;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            // An operator looks a card up by its full number; the row found shows as the list shows it.
            const std::string text = shownCell(rows_, database_.shownColumn(tab_, static_cast<int>(c)), columns[c].kind,
                                               CardMask::None, static_cast<std::size_t>(-1));
            if (containsIgnoringCase(text, folded_)) {
                found_ = row;
                return done_ = true;
            }
        }
    }
    return false;
}

}  // namespace velmora
