#include "src/results/emv_tags.h"

#include <algorithm>
#include <iterator>

#include "src/results/iso_codes.h"

namespace velmora {

namespace {

// How a tag's value reads beyond its hexadecimal.
enum class EmvValue { Bytes, Date, Country, Currency };

struct EmvTag {
    const char* tag;
    const char* name;
    EmvValue value;
};

// The data elements of EMV Integrated Circuit Card Specifications for
// Payment Systems, Book 3 (version 4.3), Annex A1, by tag, in tag order;
// 9F6B from the contactless kernels (Book C-2), where a card's track 2 sits.
constexpr EmvTag kEmvTags[] = {
    {"42", "Issuer Identification Number (IIN)", EmvValue::Bytes},
    {"4F", "Application Dedicated File (ADF) Name", EmvValue::Bytes},
    {"50", "Application Label", EmvValue::Bytes},
    {"57", "Track 2 Equivalent Data", EmvValue::Bytes},
    {"5A", "Application Primary Account Number (PAN)", EmvValue::Bytes},
    {"5F20", "Cardholder Name", EmvValue::Bytes},
    {"5F24", "Application Expiration Date", EmvValue::Date},
    {"5F25", "Application Effective Date", EmvValue::Date},
    {"5F28", "Issuer Country Code", EmvValue::Country},
    {"5F2A", "Transaction Currency Code", EmvValue::Currency},
    {"5F2D", "Language Preference", EmvValue::Bytes},
    {"5F30", "Service Code", EmvValue::Bytes},
    {"5F34", "Application Primary Account Number (PAN) Sequence Number", EmvValue::Bytes},
    {"5F36", "Transaction Currency Exponent", EmvValue::Bytes},
    {"5F50", "Issuer URL", EmvValue::Bytes},
    {"5F53", "International Bank Account Number (IBAN)", EmvValue::Bytes},
    {"5F54", "Bank Identifier Code (BIC)", EmvValue::Bytes},
    {"5F55", "Issuer Country Code (alpha2 format)", EmvValue::Bytes},
    {"5F56", "Issuer Country Code (alpha3 format)", EmvValue::Bytes},
    {"61", "Application Template", EmvValue::Bytes},
    {"6F", "File Control Information (FCI) Template", EmvValue::Bytes},
    {"70", "READ RECORD Response Message Template", EmvValue::Bytes},
    {"71", "Issuer Script Template 1", EmvValue::Bytes},
    {"72", "Issuer Script Template 2", EmvValue::Bytes},
    {"73", "Directory Discretionary Template", EmvValue::Bytes},
    {"77", "Response Message Template Format 2", EmvValue::Bytes},
    {"80", "Response Message Template Format 1", EmvValue::Bytes},
    {"81", "Amount, Authorised (Binary)", EmvValue::Bytes},
    {"82", "Application Interchange Profile", EmvValue::Bytes},
    {"83", "Command Template", EmvValue::Bytes},
    {"84", "Dedicated File (DF) Name", EmvValue::Bytes},
    {"86", "Issuer Script Command", EmvValue::Bytes},
    {"87", "Application Priority Indicator", EmvValue::Bytes},
    {"88", "Short File Identifier (SFI)", EmvValue::Bytes},
    {"89", "Authorisation Code", EmvValue::Bytes},
    {"8A", "Authorisation Response Code", EmvValue::Bytes},
    {"8C", "Card Risk Management Data Object List 1 (CDOL1)", EmvValue::Bytes},
    {"8D", "Card Risk Management Data Object List 2 (CDOL2)", EmvValue::Bytes},
    {"8E", "Cardholder Verification Method (CVM) List", EmvValue::Bytes},
    {"8F", "Certification Authority Public Key Index", EmvValue::Bytes},
    {"90", "Issuer Public Key Certificate", EmvValue::Bytes},
    {"91", "Issuer Authentication Data", EmvValue::Bytes},
    {"92", "Issuer Public Key Remainder", EmvValue::Bytes},
    {"93", "Signed Static Application Data", EmvValue::Bytes},
    {"94", "Application File Locator (AFL)", EmvValue::Bytes},
    {"95", "Terminal Verification Results", EmvValue::Bytes},
    {"97", "Transaction Certificate Data Object List (TDOL)", EmvValue::Bytes},
    {"98", "Transaction Certificate (TC) Hash Value", EmvValue::Bytes},
    {"99", "Transaction Personal Identification Number (PIN) Data", EmvValue::Bytes},
    {"9A", "Transaction Date", EmvValue::Date},
    {"9B", "Transaction Status Information", EmvValue::Bytes},
    {"9C", "Transaction Type", EmvValue::Bytes},
    {"9D", "Directory Definition File (DDF) Name", EmvValue::Bytes},
    {"9F01", "Acquirer Identifier", EmvValue::Bytes},
    {"9F02", "Amount, Authorised (Numeric)", EmvValue::Bytes},
    {"9F03", "Amount, Other (Numeric)", EmvValue::Bytes},
    {"9F04", "Amount, Other (Binary)", EmvValue::Bytes},
    {"9F05", "Application Discretionary Data", EmvValue::Bytes},
    {"9F06", "Application Identifier (AID) - terminal", EmvValue::Bytes},
    {"9F07", "Application Usage Control", EmvValue::Bytes},
    {"9F08", "Application Version Number (card)", EmvValue::Bytes},
    {"9F09", "Application Version Number (terminal)", EmvValue::Bytes},
    {"9F0B", "Cardholder Name Extended", EmvValue::Bytes},
    {"9F0D", "Issuer Action Code - Default", EmvValue::Bytes},
    {"9F0E", "Issuer Action Code - Denial", EmvValue::Bytes},
    {"9F0F", "Issuer Action Code - Online", EmvValue::Bytes},
    {"9F10", "Issuer Application Data", EmvValue::Bytes},
    {"9F11", "Issuer Code Table Index", EmvValue::Bytes},
    {"9F12", "Application Preferred Name", EmvValue::Bytes},
    {"9F13", "Last Online Application Transaction Counter (ATC) Register", EmvValue::Bytes},
    {"9F14", "Lower Consecutive Offline Limit", EmvValue::Bytes},
    {"9F15", "Merchant Category Code", EmvValue::Bytes},
    {"9F16", "Merchant Identifier", EmvValue::Bytes},
    {"9F17", "Personal Identification Number (PIN) Try Counter", EmvValue::Bytes},
    {"9F18", "Issuer Script Identifier", EmvValue::Bytes},
    {"9F1A", "Terminal Country Code", EmvValue::Country},
    {"9F1B", "Terminal Floor Limit", EmvValue::Bytes},
    {"9F1C", "Terminal Identification", EmvValue::Bytes},
    {"9F1D", "Terminal Risk Management Data", EmvValue::Bytes},
    {"9F1E", "Interface Device (IFD) Serial Number", EmvValue::Bytes},
    {"9F1F", "Track 1 Discretionary Data", EmvValue::Bytes},
    {"9F20", "Track 2 Discretionary Data", EmvValue::Bytes},
    {"9F21", "Transaction Time", EmvValue::Bytes},
    {"9F22", "Certification Authority Public Key Index (terminal)", EmvValue::Bytes},
    {"9F23", "Upper Consecutive Offline Limit", EmvValue::Bytes},
    {"9F24", "Payment Account Reference (PAR)", EmvValue::Bytes},
    {"9F26", "Application Cryptogram", EmvValue::Bytes},
    {"9F27", "Cryptogram Information Data", EmvValue::Bytes},
    {"9F2D", "Integrated Circuit Card (ICC) PIN Encipherment Public Key Certificate", EmvValue::Bytes},
    {"9F2E", "Integrated Circuit Card (ICC) PIN Encipherment Public Key Exponent", EmvValue::Bytes},
    {"9F2F", "Integrated Circuit Card (ICC) PIN Encipherment Public Key Remainder", EmvValue::Bytes},
    {"9F32", "Issuer Public Key Exponent", EmvValue::Bytes},
    {"9F33", "Terminal Capabilities", EmvValue::Bytes},
    {"9F34", "Cardholder Verification Method (CVM) Results", EmvValue::Bytes},
    {"9F35", "Terminal Type", EmvValue::Bytes},
    {"9F36", "Application Transaction Counter (ATC)", EmvValue::Bytes},
    {"9F37", "Unpredictable Number", EmvValue::Bytes},
    {"9F38", "Processing Options Data Object List (PDOL)", EmvValue::Bytes},
    {"9F39", "Point-of-Service (POS) Entry Mode", EmvValue::Bytes},
    {"9F3A", "Amount, Reference Currency", EmvValue::Bytes},
    {"9F3B", "Application Reference Currency", EmvValue::Bytes},
    {"9F3C", "Transaction Reference Currency Code", EmvValue::Currency},
    {"9F3D", "Transaction Reference Currency Exponent", EmvValue::Bytes},
    {"9F40", "Additional Terminal Capabilities", EmvValue::Bytes},
    {"9F41", "Transaction Sequence Counter", EmvValue::Bytes},
    {"9F42", "Application Currency Code", EmvValue::Currency},
    {"9F43", "Application Reference Currency Exponent", EmvValue::Bytes},
    {"9F44", "Application Currency Exponent", EmvValue::Bytes},
    {"9F45", "Data Authentication Code", EmvValue::Bytes},
    {"9F46", "Integrated Circuit Card (ICC) Public Key Certificate", EmvValue::Bytes},
    {"9F47", "Integrated Circuit Card (ICC) Public Key Exponent", EmvValue::Bytes},
    {"9F48", "Integrated Circuit Card (ICC) Public Key Remainder", EmvValue::Bytes},
    {"9F49", "Dynamic Data Authentication Data Object List (DDOL)", EmvValue::Bytes},
    {"9F4A", "Static Data Authentication Tag List", EmvValue::Bytes},
    {"9F4B", "Signed Dynamic Application Data", EmvValue::Bytes},
    {"9F4C", "ICC Dynamic Number", EmvValue::Bytes},
    {"9F4D", "Log Entry", EmvValue::Bytes},
    {"9F4E", "Merchant Name and Location", EmvValue::Bytes},
    {"9F4F", "Log Format", EmvValue::Bytes},
    {"9F6B", "Track 2 Data", EmvValue::Bytes},
    {"A5", "File Control Information (FCI) Proprietary Template", EmvValue::Bytes},
    {"BF0C", "File Control Information (FCI) Issuer Discretionary Data", EmvValue::Bytes},
};

// The lookup halves the table.
constexpr bool sortedByTag() {
    for (std::size_t i = 1; i < std::size(kEmvTags); ++i)
        if (!(std::string_view(kEmvTags[i - 1].tag) < std::string_view(kEmvTags[i].tag))) return false;
    return true;
}
static_assert(sortedByTag(), "the tags are in order");

const EmvTag* findTag(std::string_view tag) {
    const auto at = std::lower_bound(std::begin(kEmvTags), std::end(kEmvTags), tag,
                                     [](const EmvTag& known, std::string_view t) { return known.tag < t; });
    return at != std::end(kEmvTags) && at->tag == tag ? at : nullptr;
}

// The digits of a value in BCD ("\x29\x12\x31": "291231"); "" when a nibble
// is no digit.
std::string bcdDigits(std::string_view value) {
    std::string digits;
    for (unsigned char byte : value)
        for (const unsigned nibble : {unsigned{byte} >> 4, unsigned{byte} & 0x0Fu}) {
            if (nibble > 9) return "";
            digits += static_cast<char>('0' + nibble);
        }
    return digits;
}

int number(std::string_view digits) {
    int n = 0;
    for (char c : digits) n = n * 10 + (c - '0');
    return n;
}

// YYMMDD as a date; "" for a day no calendar has.
std::string dateOf(const std::string& digits) {
    if (digits.size() != 6) return "";
    const int yy = number(digits.substr(0, 2)), month = number(digits.substr(2, 2)), day = number(digits.substr(4));
    const int year = fullYear(yy);
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > days[month - 1]) return "";
    return std::to_string(year) + "-" + digits.substr(2, 2) + "-" + digits.substr(4);
}

}  // namespace

int fullYear(int twoDigits) { return (twoDigits < 50 ? 2000 : 1900) + twoDigits; }

std::string emvTagLabel(std::string_view tag) {
    const EmvTag* known = findTag(tag);
    return known ? std::string(tag) + " " + known->name : std::string(tag);
}

std::string emvValueMeaning(std::string_view tag, std::string_view value) {
    const EmvTag* known = findTag(tag);
    if (!known || known->value == EmvValue::Bytes) return "";
    const std::string digits = bcdDigits(value);
    const char* meaning = nullptr;
    std::string date;
    switch (known->value) {
    case EmvValue::Date:
        date = dateOf(digits);
        meaning = date.empty() ? nullptr : date.c_str();
        break;
    case EmvValue::Country:
        meaning = digits.size() == 4 ? countryName(number(digits)) : nullptr;
        break;
    case EmvValue::Currency:
        meaning = digits.size() == 4 ? currencyCode(number(digits)) : nullptr;
        break;
    case EmvValue::Bytes:
        break;
    }
    return meaning ? std::string("(") + meaning + ")" : "";
}

}  // namespace velmora
