#include "src/results/batch_checks.h"

#include <algorithm>

#include "src/results/card_numbers.h"
#include "src/results/emv_tags.h"

namespace velmora {

namespace {

// The checks, in the order a record's findings are listed.
enum Check {
    kDuplicate,
    kLuhn,
    kExpired,
    kNotADate,
    kTrackNumber,
    kTrackExpiry,
    kChipNumber,
    kChipExpiry,
};
const char* const kCheckTexts[] = {
    "Duplicate card number",
    "Card number fails the Luhn check",
    "Expired",
    "Not a date",
    "Track 2 card number differs",
    "Track 2 expiry differs",
    "Chip card number differs",
    "Chip expiry differs",
};

std::string_view trimmed(std::string_view value) {
    const std::size_t begin = value.find_first_not_of(' ');
    return begin == std::string_view::npos ? std::string_view() : suggest::trimRight(value.substr(begin));
}

// YYMM of a four-digit expiry in `order`, or of YYMMDD; nothing when the
// digits are no month.
std::optional<std::string> yymm(std::string_view digits, suggest::DateOrder order) {
    if (!suggest::allDigits(digits) || (digits.size() != 4 && digits.size() != 6)) return std::nullopt;
    const bool mmyy = digits.size() == 4 && order == suggest::DateOrder::MMYY;
    std::string date =
        mmyy ? std::string(digits.substr(2, 2)) + std::string(digits.substr(0, 2)) : std::string(digits.substr(0, 4));
    const int month = (date[2] - '0') * 10 + (date[3] - '0');
    if (month < 1 || month > 12) return std::nullopt;
    return date;
}

// Months since year 0 of a YYMM.
int monthsOf(const std::string& date) {
    const int yy = (date[0] - '0') * 10 + (date[1] - '0');
    return fullYear(yy) * 12 + (date[2] - '0') * 10 + (date[3] - '0') - 1;
}

// Track 2 (";" PAN "=" YYMM ...): its card number and expiry; nothing when
// the value holds no card number before a separator.
struct Track2 {
    std::string_view number, expiry;
};
std::optional<Track2> track2(std::string_view value) {
    value = trimmed(value);
    if (!value.empty() && value.front() == ';') value.remove_prefix(1);
    const std::size_t separator = value.find_first_of("=D");
    if (separator == std::string_view::npos || !suggest::allDigits(value.substr(0, separator))) return std::nullopt;
    return Track2{value.substr(0, separator), value.substr(separator + 1, 4)};
}

// The digits of BCD in hexadecimal, the padding F after them dropped.
std::string_view bcdNumber(std::string_view hex) {
    while (!hex.empty() && (hex.back() == 'F' || hex.back() == 'f')) hex.remove_suffix(1);
    return hex;
}

}  // namespace

std::string shownFindingValue(const Finding& finding, bool full) {
    std::string shown = finding.value;
    maskCardText(shown, cardMask(full, finding.cardNumber));
    return shown;
}

BatchChecks::BatchChecks(int runYear, int runMonth, suggest::DateOrder expiryOrder)
    : runMonths_(runYear * 12 + runMonth - 1), order_(expiryOrder) {}

void BatchChecks::add(int check, std::int64_t record, std::uint64_t row, const CheckedValue& value, bool cardNumber) {
    findings_.push_back(Finding{kCheckTexts[check], record, row, value.field, value.value, cardNumber});
}

BatchChecks::Seen& BatchChecks::seen(const std::string& number, const Seen& first, bool& isFirst) {
    if (number.size() < numbers_.size() && suggest::allDigits(number)) {
        auto [at, added] = numbers_[number.size()].try_emplace(std::stoull(number), first);
        isFirst = added;
        return at->second;
    }
    auto [at, added] = otherNumbers_.try_emplace(number, first);
    isFirst = added;
    return at->second;
}

void BatchChecks::checkNumber(const CheckedRecord& record, const CheckedValue& number) {
    const std::string digits(trimmed(number.value));
    if (digits.empty()) return;
    auto field = std::find(fieldNames_.begin(), fieldNames_.end(), number.field);
    if (field == fieldNames_.end()) field = fieldNames_.insert(field, number.field);
    const auto fieldIndex = static_cast<std::uint32_t>(field - fieldNames_.begin());
    bool first = false;
    Seen& holder = seen(digits, Seen{record.record, record.row, fieldIndex, false}, first);
    if (!first) {
        if (!holder.reported)
            add(kDuplicate, holder.record, holder.row, CheckedValue{fieldNames_[holder.field], digits}, true);
        holder.reported = true;
        add(kDuplicate, record.record, record.row, number, true);
    }
    if (!suggest::allDigits(digits) || !suggest::passesLuhn(digits))
        add(kLuhn, record.record, record.row, number, true);
}

void BatchChecks::checkCopies(const CheckedRecord& record) {
    if (record.cardNumbers.empty() && !record.expiry) return;
    const std::string_view printed = record.cardNumbers.empty() ? "" : trimmed(record.cardNumbers[0].value);
    const std::optional<std::string> expiry =
        record.expiry ? yymm(trimmed(record.expiry->value), order_) : std::nullopt;
    auto differs = [&](int check, std::string_view copy, std::string_view original, const CheckedValue& value) {
        if (!original.empty() && copy != original) add(check, record.record, record.row, value, false);
    };
    for (const CheckedValue& track : record.tracks2)
        if (auto t = track2(track.value)) {
            differs(kTrackNumber, t->number, printed, track);
            differs(kTrackExpiry, t->expiry, expiry.value_or(""), track);
        }
    for (const CheckedValue& chip : record.chipNumbers) differs(kChipNumber, bcdNumber(chip.value), printed, chip);
    for (const CheckedValue& chip : record.chipExpiries)
        differs(kChipExpiry, std::string_view(chip.value).substr(0, 4), expiry.value_or(""), chip);
}

void BatchChecks::check(const CheckedRecord& record) {
    for (const CheckedValue& number : record.cardNumbers) checkNumber(record, number);
    if (record.expiry && !trimmed(record.expiry->value).empty()) {
        const std::optional<std::string> date = yymm(trimmed(record.expiry->value), order_);
        if (!date)
            add(kNotADate, record.record, record.row, *record.expiry, false);
        else if (monthsOf(*date) < runMonths_)
            add(kExpired, record.record, record.row, *record.expiry, false);
    }
    checkCopies(record);
}

std::vector<Finding> BatchChecks::findings() {
    auto rank = [](const Finding& f) {
        return std::find(std::begin(kCheckTexts), std::end(kCheckTexts), f.check) - std::begin(kCheckTexts);
    };
    std::stable_sort(findings_.begin(), findings_.end(), [&](const Finding& a, const Finding& b) {
        return a.record != b.record ? a.record < b.record : rank(a) < rank(b);
    });
    return findings_;
}

}  // namespace velmora
