#include "engine/core/suggest/field_finder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <set>

#include "engine/core/record_columns.h"
#include "engine/core/suggest/byte_classes.h"
#include "engine/core/suggest/card_values.h"
#include "engine/core/suggest/digit_columns.h"
#include "format/fields/keywords.h"

namespace velmora::suggest {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
// Records looked at for the fields.
constexpr std::size_t kLooked = 8192;
// "Nearly every record".
constexpr double kNearlyAll = 0.9;
// Columns without a byte that does not print, this many or fewer between
// two columns with one, are taken as binary too: random bytes print now and
// then.
constexpr std::size_t kBinaryGap = 2;
// The last start position the editor takes.
constexpr std::size_t kLastStartPosition = 65534;
// The most fields whose columns a records table holds.
constexpr std::size_t kMostFields = kMostRecordColumns - kRecordOwnColumns;

double share(std::size_t part, std::size_t whole) {
    return whole ? static_cast<double>(part) / static_cast<double>(whole) : 0;
}

std::string_view trimmed(std::string_view v) {
    const std::size_t begin = v.find_first_not_of(' ');
    return begin == kNone ? std::string_view() : trimRight(v.substr(begin));
}

// What the values of one field are, and what the field is called.
struct Kind {
    const char* type = kw::TextField;
    bool tlv = false;
    bool tracks = false;
    std::string name;
    std::string why;
};

Kind kindOf(const std::vector<std::string_view>& values) {
    Kind kind;
    std::vector<std::string_view> filled;
    bool printable = true, tlv = !values.empty(), tracks = true, track1 = true, track3 = true;
    for (std::string_view v : values) {
        printable = printable && allPrintable(v);
        tlv = tlv && isWholeTlv(v);
        const std::string_view t = trimmed(v);
        if (t.empty()) continue;
        filled.push_back(t);
        const auto span = findTracks(t);
        tracks = tracks && span && span->begin == 0 && span->end == t.size();
        track1 = track1 && span && span->track1;
        track3 = track3 && span && span->track3;
    }
    const bool nearlyAllFilled = !filled.empty() && share(filled.size(), values.size()) >= kNearlyAll;
    if (tlv && !printable) {
        kind.type = kw::BinaryField;
        kind.tlv = true;
        kind.why = "one BER-TLV object in every record";
    } else if (tracks && nearlyAllFilled) {
        kind.type = kw::MagstripeField;
        kind.tracks = true;
        kind.why = std::string("magnetic-stripe ") + (track1 ? (track3 ? "tracks 1, 2 and 3" : "tracks 1 and 2")
                                                             : (track3 ? "tracks 2 and 3" : "track 2"));
    } else if (!printable) {
        kind.type = kw::BinaryField;
        kind.why = "bytes that do not print";
    } else if (nearlyAllFilled && std::all_of(filled.begin(), filled.end(), isPan)) {
        kind.name = "PAN";
        const bool oneLength =
            std::all_of(filled.begin(), filled.end(), [&](std::string_view v) { return v.size() == filled[0].size(); });
        kind.why =
            (oneLength ? std::to_string(filled[0].size()) : std::string("13 to 19")) + " digits passing the Luhn check";
    } else if (auto order = nearlyAllFilled ? expiryOrder(filled) : std::nullopt) {
        kind.name = "Expiry";
        kind.why = std::string("a plausible ") + (*order == DateOrder::YYMM ? "YYMM" : "MMYY") + " date";
    } else {
        kind.why = "printable bytes";
    }
    return kind;
}

// One field found, before it has its name.
struct Found {
    FieldEntry entry;
    Kind kind;
    std::string where;
};

void setKind(Found& f, const Kind& kind) {
    f.kind = kind;
    if (kind.tracks) f.entry.sentinels = isoSentinels();
    if (kind.tlv) f.entry.endMethod = EndMethod::Tesselgram;
}

FieldLayout named(std::vector<Found> found, std::string reason) {
    FieldLayout layout;
    layout.reason = std::move(reason);
    std::set<std::string> taken;
    for (std::size_t field = 0; field < found.size(); ++field) {
        Found& f = found[field];
        std::string name = f.kind.name.empty() ? "Field" + std::to_string(field + 1) : f.kind.name;
        // "FieldN" is unique by its number; a second account number is "PAN2".
        for (int number = 2; !taken.insert(name).second; ++number) name = f.kind.name + std::to_string(number);
        f.entry.fieldName = name;
        layout.fields.push_back({f.entry, f.kind.type,
                                 name + ": " + f.kind.type + (f.kind.tlv ? " ending by TESSELGRAM" : "") + ", " +
                                     f.kind.why + " (" + f.where + ")"});
    }
    return layout;
}

// Delimited records --------------------------------------------------------

struct Delimiter {
    unsigned char byte = 0;
    std::size_t count = 0;     // in nearly every record
    std::size_t agreeing = 0;  // records with that count
};

// The byte, outside the tracks, that occurs the same number of times in
// nearly every record and never inside the tracks (the engine cuts at every
// occurrence). The usual delimiters go first; among them the one cutting
// the most pieces.
std::optional<Delimiter> findDelimiter(const std::vector<std::string_view>& records,
                                       const std::vector<std::optional<TrackSpan>>& spans, bool usualOnly) {
    std::array<std::vector<std::uint32_t>, 256> counts;
    std::array<bool, 256> inTracks{};
    std::array<std::uint32_t, 256> inRecord{};
    std::vector<unsigned char> touched;
    for (std::size_t r = 0; r < records.size(); ++r) {
        touched.clear();
        for (std::size_t column = 0; column < records[r].size(); ++column) {
            const unsigned char b = static_cast<unsigned char>(records[r][column]);
            if (spans[r] && column >= spans[r]->begin && column < spans[r]->end) {
                inTracks[b] = true;
            } else if (inRecord[b]++ == 0) {
                touched.push_back(b);
            }
        }
        for (unsigned char b : touched) {
            const std::uint32_t times = inRecord[b];
            inRecord[b] = 0;
            if (times > kMostDelimiters) continue;
            if (counts[b].size() <= times) counts[b].resize(times + 1);
            ++counts[b][times];
        }
    }
    std::optional<Delimiter> best;
    auto rank = [](unsigned char b) { return kUsualDelimiters.find(static_cast<char>(b)); };
    for (int b = 0; b < 256; ++b) {
        const unsigned char c = static_cast<unsigned char>(b);
        if (!mayCut(c) || inTracks[c] || (usualOnly && rank(c) == kNone)) continue;
        for (std::size_t times = 1; times < counts[c].size(); ++times) {
            if (share(counts[c][times], records.size()) < kNearlyAll) continue;
            Delimiter d{c, times, counts[c][times]};
            const bool wins = !best || (rank(c) != kNone) > (rank(best->byte) != kNone) ||
                              ((rank(c) != kNone) == (rank(best->byte) != kNone) &&
                               (times > best->count || (times == best->count && rank(c) < rank(best->byte))));
            if (wins) best = d;
        }
    }
    return best;
}

std::vector<std::string_view> piecesOf(std::string_view record, char delimiter) {
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    for (std::size_t at = record.find(delimiter); at != kNone; at = record.find(delimiter, from)) {
        pieces.push_back(record.substr(from, at - from));
        from = at + 1;
    }
    pieces.push_back(record.substr(from));
    return pieces;
}

// Whether the delimiter stands at the same columns in every record that has
// it as often as nearly all do.
bool atFixedColumns(const std::vector<std::string_view>& records, const Delimiter& d) {
    std::vector<std::size_t> first;
    for (std::string_view r : records) {
        std::vector<std::size_t> at;
        for (std::size_t i = r.find(static_cast<char>(d.byte)); i != kNone;
             i = r.find(static_cast<char>(d.byte), i + 1))
            at.push_back(i);
        if (at.size() != d.count) continue;
        if (first.empty()) first = at;
        if (at != first) return false;
    }
    return true;
}

FieldLayout delimited(const std::vector<std::string_view>& records, const Delimiter& d) {
    const char byte = static_cast<char>(d.byte);
    std::vector<std::vector<std::string_view>> values(d.count + 1);
    for (std::string_view r : records) {
        std::vector<std::string_view> pieces = piecesOf(r, byte);
        if (pieces.size() != d.count + 1) continue;
        for (std::size_t piece = 0; piece < pieces.size(); ++piece) values[piece].push_back(pieces[piece]);
    }
    const std::string code = editorText(std::string(1, byte));
    std::vector<Found> found;
    bool afterTlv = false;
    for (std::size_t piece = 0; piece <= d.count; ++piece) {
        Found f;
        f.where = "piece " + std::to_string(piece + 1);
        // A BER-TLV field ends with its object: the next begins after the delimiter.
        f.entry.startMethod = afterTlv ? StartMethod::ByCode : StartMethod::None;
        if (afterTlv) f.entry.startCode = code;
        f.entry.endMethod = piece < d.count ? EndMethod::ByCode : EndMethod::None;
        if (piece < d.count) f.entry.endingCode = code;
        setKind(f, kindOf(values[piece]));
        afterTlv = f.kind.tlv;
        found.push_back(std::move(f));
    }
    return named(std::move(found), "Fields end with \"" + code + "\": it occurs " + std::to_string(d.count) +
                                       (d.count == 1 ? " time" : " times") + " in " + std::to_string(d.agreeing) +
                                       " of " + std::to_string(records.size()) + " records, so " +
                                       std::to_string(d.count + 1) + " fields, the last ending with the record");
}

// Records of one length --------------------------------------------------

enum ColumnKind { DigitColumn, TextColumn, BlankColumn, BinaryColumn, TrackColumn };

struct Segment {
    std::size_t begin, end;
};

// Where the tracks lie when every record holds them from the same column:
// from there to where the longest of them ends.
std::optional<Segment> trackColumns(const std::vector<std::string_view>& records) {
    std::optional<Segment> columns;
    for (std::string_view r : records) {
        const auto span = findTracks(r);
        if (!span || (columns && span->begin != columns->begin)) return std::nullopt;
        if (!columns) columns = Segment{span->begin, span->end};
        columns->end = std::max(columns->end, span->end);
    }
    return columns;
}

std::vector<ColumnKind> columnKinds(const std::vector<std::string_view>& records, std::size_t length,
                                    std::vector<std::array<std::uint32_t, kByteClassCount>>& counts) {
    counts.assign(length, {});
    std::vector<bool> high(length);
    for (std::string_view r : records)
        for (std::size_t column = 0; column < length; ++column) {
            const unsigned char b = static_cast<unsigned char>(r[column]);
            ++counts[column][byteClass(b)];
            if (b >= 0x80) high[column] = true;
        }
    const std::uint32_t n = static_cast<std::uint32_t>(records.size());
    std::vector<ColumnKind> kinds(length);
    for (std::size_t column = 0; column < length; ++column) {
        const auto& c = counts[column];
        // Bytes from 0x80 up are accented letters in a column of letters,
        // and a binary value's among other bytes, half of whose are as high.
        if (c[Binary] > 0 || (high[column] && c[Letter] + c[Blank] < n))
            kinds[column] = BinaryColumn;
        else if (c[Blank] == n)
            kinds[column] = BlankColumn;
        else if (c[Digit] + c[Blank] == n)
            kinds[column] = DigitColumn;
        else
            kinds[column] = TextColumn;
    }
    // Short runs between binary columns are binary bytes that happened to print.
    std::size_t lastBinary = kNone;
    for (std::size_t column = 0; column < length; ++column) {
        if (kinds[column] != BinaryColumn) continue;
        if (lastBinary != kNone && column - lastBinary - 1 <= kBinaryGap)
            std::fill(kinds.begin() + static_cast<long>(lastBinary) + 1, kinds.begin() + static_cast<long>(column),
                      BinaryColumn);
        lastBinary = column;
    }
    if (auto tracks = trackColumns(records))
        std::fill(kinds.begin() + static_cast<long>(tracks->begin), kinds.begin() + static_cast<long>(tracks->end),
                  TrackColumn);
    return kinds;
}

// Fields start where the kind of column changes, and where a column with a
// byte in every record follows a column of blanks; blanks belong to the
// field before them, and so do blanks after the tracks.
std::vector<Segment> segmentsOf(const std::vector<ColumnKind>& kinds,
                                const std::vector<std::array<std::uint32_t, kByteClassCount>>& counts) {
    std::vector<Segment> segments;
    std::size_t begin = 0;
    ColumnKind current = kinds[0];
    for (std::size_t column = 1; column < kinds.size(); ++column) {
        const ColumnKind kind = kinds[column];
        bool cut;
        if ((kind == TrackColumn) != (current == TrackColumn))
            cut = !(current == TrackColumn && kind == BlankColumn);
        else if (kind == TrackColumn || kind == BlankColumn || current == BlankColumn)
            cut = false;
        else
            cut = kind != current || (kinds[column - 1] == BlankColumn && counts[column][Blank] == 0);
        if (cut) {
            segments.push_back({begin, column});
            begin = column;
            current = kind;
        } else if (current == BlankColumn) {
            current = kind;
        }
    }
    segments.push_back({begin, kinds.size()});
    return segments;
}

std::vector<std::string_view> columnValues(const std::vector<std::string_view>& records, Segment s) {
    std::vector<std::string_view> values;
    for (std::string_view r : records) values.push_back(r.substr(s.begin, s.end - s.begin));
    return values;
}

// Digit columns side by side, each value where its digits' distribution
// says it starts.
void splitValues(const std::vector<std::string_view>& records, Segment s, std::vector<Segment>& out) {
    for (std::size_t at : digitValueStarts(records, s.begin, s.end)) {
        out.push_back({s.begin, at});
        s.begin = at;
    }
    out.push_back(s);
}

// A run of digits may hold an account number (found by the Luhn check in
// every record) and, right after it, an expiry date: each a field.
void splitDigits(const std::vector<std::string_view>& records, Segment s, std::vector<Segment>& out) {
    auto panAt = [&](std::size_t at, std::size_t length) {
        return std::all_of(records.begin(), records.end(),
                           [&](std::string_view r) { return isPan(trimRight(r.substr(at, length))); });
    };
    for (std::size_t at = s.begin; at + 13 <= s.end; ++at) {
        for (std::size_t length = std::min<std::size_t>(19, s.end - at); length >= 13; --length) {
            if (!panAt(at, length)) continue;
            if (at > s.begin) splitValues(records, {s.begin, at}, out);
            out.push_back({at, at + length});
            std::size_t rest = at + length;
            if (rest + 4 < s.end && expiryOrder(columnValues(records, {rest, rest + 4}))) {
                out.push_back({rest, rest + 4});
                rest += 4;
            }
            if (rest < s.end) splitValues(records, {rest, s.end}, out);
            return;
        }
    }
    splitValues(records, s, out);
}

// The columns the engine stores for these fields: a magnetic-stripe
// field's tracks have three of their own.
std::size_t storedColumns(const std::vector<Segment>& segments, const std::vector<ColumnKind>& kinds) {
    return segments.size() +
           3 * static_cast<std::size_t>(std::count_if(segments.begin(), segments.end(),
                                                      [&](Segment s) { return kinds[s.begin] == TrackColumn; }));
}

// Fields side by side whose columns print (digits, text, blanks) as one.
std::vector<Segment> printingJoined(const std::vector<Segment>& segments, const std::vector<ColumnKind>& kinds) {
    auto prints = [&](Segment s) { return kinds[s.begin] != BinaryColumn && kinds[s.begin] != TrackColumn; };
    std::vector<Segment> joined;
    for (Segment s : segments) {
        if (!joined.empty() && prints(joined.back()) && prints(s))
            joined.back().end = s.end;
        else
            joined.push_back(s);
    }
    return joined;
}

// The length nearly every record has, or nothing.
std::optional<std::size_t> commonLength(const std::vector<std::string_view>& records) {
    std::map<std::size_t, std::size_t> lengths;
    for (std::string_view r : records) ++lengths[r.size()];
    const auto common = std::max_element(lengths.begin(), lengths.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
    if (share(common->second, records.size()) < kNearlyAll) return std::nullopt;
    return common->first;
}

// The columns of the records of `length`; the others will be rejected.
FieldLayout fixedColumns(const std::vector<std::string_view>& all, std::size_t length) {
    std::vector<std::string_view> records;
    std::copy_if(all.begin(), all.end(), std::back_inserter(records),
                 [length](std::string_view r) { return r.size() == length; });
    std::vector<std::array<std::uint32_t, kByteClassCount>> counts;
    const std::vector<ColumnKind> kinds = columnKinds(records, length, counts);
    std::vector<Segment> segments;
    for (Segment s : segmentsOf(kinds, counts)) {
        // The editor takes start positions up to 65534; a field after that
        // belongs to the one before.
        if (s.begin >= kLastStartPosition && !segments.empty()) {
            segments.back().end = s.end;
        } else if (kinds[s.begin] == DigitColumn || kinds[s.begin] == BlankColumn) {
            splitDigits(records, s, segments);
        } else {
            segments.push_back(s);
        }
    }
    std::string reason =
        "Records of one length, " + std::to_string(length) +
        " bytes: fields start where the classes of the columns' bytes or the spread of their digits change in all " +
        std::to_string(records.size()) + " such records looked at, so ";
    if (const std::size_t columns = storedColumns(segments, kinds); columns > kMostFields) {
        reason += std::to_string(segments.size()) + " fields" +
                  (columns > segments.size() ? " in " + std::to_string(columns) + " columns" : "") +
                  ", more than the " + std::to_string(kMostFields) +
                  " a records table holds; columns that print side by side are one field, so ";
        segments = printingJoined(segments, kinds);
        if (storedColumns(segments, kinds) > kMostFields)
            return {{},
                    "records of one length, " + std::to_string(length) + " bytes, make " +
                        std::to_string(segments.size()) +
                        " fields even with the columns that print side by side as one, more than the " +
                        std::to_string(kMostFields) + " a records table holds"};
    }
    std::vector<Found> found;
    for (Segment s : segments) {
        Found f;
        f.where = "bytes " + std::to_string(s.begin + 1) + " to " + std::to_string(s.end);
        f.entry.startMethod = StartMethod::ByPosition;
        f.entry.startPosition = static_cast<int>(s.begin + 1);
        f.entry.endMethod = EndMethod::FixedLength;
        f.entry.endLength = static_cast<int>(s.end - s.begin);
        setKind(f, kindOf(columnValues(records, s)));
        found.push_back(std::move(f));
    }
    return named(std::move(found), reason + std::to_string(found.size()) + (found.size() == 1 ? " field" : " fields"));
}

}  // namespace

FieldLayout findFields(const std::vector<std::string_view>& all) {
    const std::vector<std::string_view> records(all.begin(),
                                                all.begin() + static_cast<long>(std::min(all.size(), kLooked)));
    if (records.empty()) return {};
    const Kind whole = kindOf(records);
    if (whole.tlv) {
        Found f;
        f.where = "the whole record";
        setKind(f, whole);
        return named({f}, "Each record is one BER-TLV object: one field ending by TESSELGRAM");
    }

    std::vector<std::optional<TrackSpan>> spans;
    for (std::string_view r : records) spans.push_back(findTracks(r));
    const std::optional<std::size_t> length = commonLength(records);
    // Records of one length whose delimiter wanders are fixed columns with
    // a mark in a value.
    if (auto d = findDelimiter(records, spans, true); d && (!length || atFixedColumns(records, *d)))
        return delimited(records, *d);
    if (length && *length > 0) return fixedColumns(records, *length);
    if (auto d = findDelimiter(records, spans, false)) return delimited(records, *d);

    Found f;
    f.where = "the whole record";
    setKind(f, whole);
    return named({f},
                 "One field holds the whole record: no byte occurs the same number of times in nearly every "
                 "record, and their lengths differ");
}

}  // namespace velmora::suggest
