#pragma once
// The checks that tell whether a batch can go to the machines: each card
// number against the others and its own check digit, its expiry against
// the month of the run, and the magnetic stripe's and the chip's copies of
// both against the printed ones. Records are given one at a time, so a run
// of any size costs memory by its distinct card numbers only.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/core/suggest/card_values.h"

namespace velmora {

// One value of a record and the column (or field) it is in.
struct CheckedValue {
    std::string field;
    std::string value;
};

// What the checks read of one record.
struct CheckedRecord {
    std::int64_t record = 0;
    std::uint64_t row = 0;                   // its row in the Records list
    std::vector<CheckedValue> cardNumbers;   // each card-number column's value
    std::optional<CheckedValue> expiry;      // YYMM, or MMYY where the column is so
    std::vector<CheckedValue> tracks2;       // track 2: ";PAN=YYMM...?"
    std::vector<CheckedValue> chipNumbers;   // tag 5A of a chip field, in hexadecimal
    std::vector<CheckedValue> chipExpiries;  // tag 5F24 of a chip field, YYMMDD in hexadecimal
};

struct Finding {
    std::string check;  // "Duplicate card number", ...
    std::int64_t record = 0;
    std::uint64_t row = 0;
    std::string field;
    std::string value;        // as the record holds it
    bool cardNumber = false;  // all of it is a card number
};

// A finding's value as the screens show it: card numbers masked unless
// `full`.
std::string shownFindingValue(const Finding& finding, bool full);

class BatchChecks {
public:
    // `runMonth`: the year and month the run was made (2026, 12).
    BatchChecks(int runYear, int runMonth, suggest::DateOrder expiryOrder);

    void check(const CheckedRecord& record);
    // Every finding, in record order (those of one record in the order of
    // the checks).
    std::vector<Finding> findings();

private:
    // The first record holding a card number, until a second one does.
    struct Seen {
        bool reported = false;
        std::int64_t record = 0;
        std::uint64_t row = 0;
        std::string field;
    };
    void add(int check, std::int64_t record, std::uint64_t row, const CheckedValue& value, bool cardNumber);
    void checkNumber(const CheckedRecord& record, const CheckedValue& number);
    void checkCopies(const CheckedRecord& record);

    int runMonths_;  // months since year 0
    suggest::DateOrder order_;
    std::unordered_map<std::string, Seen> numbers_;
    std::vector<Finding> findings_;
};

}  // namespace velmora
