#pragma once
// The record length of a file of fixed-length records without separators:
// the period at which the classes of its bytes line up best.
#include <cstddef>
#include <string_view>

namespace velmora::suggest {

struct Period {
    std::size_t length = 0;  // 0: no period stands out
    double agreement = 0;    // share of bytes whose class equals the class one period on
};

// Periods from 2 to `longest` are weighed on the start of the sample, each
// seen at least twice. A period must stand out from what bytes of the same
// classes in no order would give, by far more than chance, and the shortest
// of those nearly as good as the best wins, so that twice a record's length
// never beats the record.
Period findPeriod(std::string_view sample, std::size_t longest);

}  // namespace velmora::suggest
