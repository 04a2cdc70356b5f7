#include "engine/core/suggest/record_finder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>

#include "engine/core/suggest/byte_classes.h"
#include "engine/core/suggest/card_values.h"
#include "engine/core/suggest/period_finder.h"

namespace velmora::suggest {

namespace {

// A separator is judged on at most this many records at the start of the
// sample: those in the first 64 KiB, or in the first 256 KiB when the
// first give fewer than 64.
constexpr std::size_t kJudged = 4096;
constexpr std::size_t kFirstJudgedBytes = 64u << 10;
constexpr std::size_t kJudgedBytes = 256u << 10;
constexpr std::size_t kEnoughRecords = 64;
// "Nearly every record".
constexpr double kNearlyAll = 0.9;
// A separator sequence grows by the controls that always stand beside it
// (CR before LF), up to this many bytes.
constexpr std::size_t kLongestSeparator = 4;
// Records cut at a mark, or that are not text, must be this many before
// their shape counts.
constexpr std::size_t kLeastTextRecords = 3;
constexpr std::size_t kLeastOtherRecords = 5;

std::string quoted(std::string_view bytes) { return "\"" + editorText(bytes) + "\""; }

struct Candidate {
    std::string separator;
    std::vector<std::string_view> records;
    double agreement = 0;  // share of records of the commonest shape
    double oneLength = 0;  // share of records of the commonest length
    std::string shape;
    bool text = false;  // nearly every record is text
    bool endsSample = false;
    bool tlv = false;          // every record is one BER-TLV object
    std::size_t crBefore = 0;  // records an LF ends with a CR before it
};

// Records an LF ends, each without the CR before its LF: where CR LF ends
// the lines of one part of a sample and LF alone those of another, the CR
// belongs to the line end, not to the record's shape. How many had one.
std::size_t withoutCr(std::vector<std::string_view>& records) {
    std::size_t had = 0;
    for (std::string_view& r : records)
        if (!r.empty() && r.back() == '\r') {
            r.remove_suffix(1);
            ++had;
        }
    return had;
}

// The byte that stands right before (`step` -1) or after (+1) every
// occurrence of `seq`, when it is always the same control; -1 otherwise.
int constantNeighbour(std::string_view sample, const std::string& seq, int step) {
    int seen = -1, count = 0;  // a lone occurrence grows too: one line's CR LF
    for (std::size_t at = sample.find(seq); at != std::string_view::npos && count < int(kJudged);
         at = sample.find(seq, at + seq.size())) {
        const std::size_t neighbour = step < 0 ? at - 1 : at + seq.size();
        if (step < 0 ? at == 0 : neighbour >= sample.size()) continue;
        const int c = static_cast<unsigned char>(sample[neighbour]);
        if (!isControl(static_cast<unsigned char>(c)) || (seen >= 0 && c != seen)) return -1;
        seen = c;
        ++count;
    }
    return seen;
}

std::vector<std::string> separatorCandidates(std::string_view sample) {
    std::array<bool, 256> present{};
    for (unsigned char c : sample) present[c] = true;
    std::vector<std::string> found;
    for (int b = 0; b < 256; ++b) {
        if (!present[b] || !mayCut(static_cast<unsigned char>(b))) continue;
        std::string seq(1, static_cast<char>(b));
        for (bool grew = true; grew && seq.size() < kLongestSeparator;) {
            grew = false;
            if (int before = constantNeighbour(sample, seq, -1); before >= 0) {
                seq.insert(seq.begin(), static_cast<char>(before));
                grew = true;
            } else if (int after = constantNeighbour(sample, seq, +1); after >= 0) {
                seq += static_cast<char>(after);
                grew = true;
            }
        }
        if (std::find(found.begin(), found.end(), seq) == found.end()) found.push_back(seq);
    }
    return found;
}

// For each byte, whether it may cut fields and whether it is text.
struct ByteTables {
    std::array<bool, 256> mayCut{};
    std::array<bool, 256> text{};
};

const ByteTables& byteTables() {
    static const ByteTables tables = [] {
        ByteTables t;
        for (int b = 0; b < 256; ++b) {
            t.mayCut[b] = mayCut(static_cast<unsigned char>(b));
            t.text[b] = allText(std::string(1, static_cast<char>(b)));
        }
        return t;
    }();
    return tables;
}

// What the records of a candidate hold, counted once over them all.
struct RecordCounts {
    std::map<std::size_t, std::size_t> lengths;  // records of each length
    // perByte[b][times]: the records in which b occurs that many times.
    std::array<std::vector<std::uint32_t>, 256> perByte;
    std::size_t text = 0;  // records of nothing but text
};

RecordCounts countRecords(const Candidate& c) {
    const ByteTables& tables = byteTables();
    std::array<bool, 256> counted = tables.mayCut;
    for (char b : c.separator) counted[static_cast<unsigned char>(b)] = false;
    RecordCounts counts;
    std::array<std::uint32_t, 256> inRecord{};
    std::vector<unsigned char> touched;
    for (std::string_view r : c.records) {
        ++counts.lengths[r.size()];
        touched.clear();
        for (unsigned char b : r)
            if (inRecord[b]++ == 0) touched.push_back(b);
        bool isText = true;
        for (unsigned char b : touched) {
            const std::uint32_t times = inRecord[b];
            inRecord[b] = 0;
            isText = isText && tables.text[b];
            if (!counted[b] || times > kMostDelimiters) continue;
            if (counts.perByte[b].size() <= times) counts.perByte[b].resize(times + 1);
            ++counts.perByte[b][times];
        }
        if (isText) ++counts.text;
    }
    return counts;
}

// The usual delimiters first, so that they describe the shape when other
// bytes agree as well.
const std::string& delimiterOrder() {
    static const std::string order = [] {
        std::string o(kUsualDelimiters);
        for (int b = 0; b < 256; ++b)
            if (o.find(static_cast<char>(b)) == std::string::npos) o += static_cast<char>(b);
        return o;
    }();
    return order;
}

// How alike the records are: by length, by the count of a byte that may
// cut fields, and (when `textCounts`) by holding nothing but text.
void judge(Candidate& c, bool textCounts) {
    const std::size_t n = c.records.size();
    if (n == 0) return;
    const RecordCounts counts = countRecords(c);
    auto share = [n](std::size_t k) { return static_cast<double>(k) / static_cast<double>(n); };
    c.text = share(counts.text) >= kNearlyAll;
    for (const auto& [length, records] : counts.lengths) {
        c.oneLength = std::max(c.oneLength, share(records));
        if (share(records) > c.agreement) {
            c.agreement = share(records);
            c.shape = "are " + std::to_string(length) + " bytes long";
        }
    }
    for (unsigned char b : delimiterOrder()) {
        const std::vector<std::uint32_t>& byTimes = counts.perByte[b];
        for (std::size_t times = 1; times < byTimes.size(); ++times) {
            if (share(byTimes[times]) > c.agreement) {
                c.agreement = share(byTimes[times]);
                c.shape = "hold " + std::to_string(times) + " " + quoted(std::string(1, char(b)));
            }
        }
    }
    if (textCounts && c.text && share(counts.text) > c.agreement) {
        c.agreement = share(counts.text);
        c.shape = "are text";
    }
}

bool allControls(const std::string& seq) {
    return std::all_of(seq.begin(), seq.end(), [](char c) { return isControl(static_cast<unsigned char>(c)); });
}

// Line ends first, in the order Windows, Unix and old Macintosh files use.
constexpr int kOtherRank = 3;
int lineEndRank(const std::string& seq) {
    if (seq == "\r\n") return 0;
    if (seq == "\n") return 1;
    if (seq == "\r") return 2;
    return kOtherRank;
}

// Whether `a` is the better separator: the more alike its records, then
// one the sample ends with, then the line end, then the finer cut.
bool better(const Candidate& a, const Candidate& b) {
    if (a.agreement != b.agreement) return a.agreement > b.agreement;
    if (a.endsSample != b.endsSample) return a.endsSample;
    if (lineEndRank(a.separator) != lineEndRank(b.separator))
        return lineEndRank(a.separator) < lineEndRank(b.separator);
    return a.records.size() > b.records.size();
}

RecordCut bySeparator(std::string_view sample, bool wholeFile, const Candidate& c) {
    RecordCut cut;
    cut.found = true;
    cut.separator = c.separator;
    cut.records = cutAt(sample, c.separator, wholeFile);
    const std::size_t crBefore = c.separator == "\n" ? withoutCr(cut.records) : 0;
    const std::size_t last = sample.rfind(c.separator);
    cut.end = wholeFile ? sample.size() : last == std::string_view::npos ? 0 : last + c.separator.size();
    const std::size_t alike = static_cast<std::size_t>(c.agreement * static_cast<double>(c.records.size()) + 0.5);
    cut.reason = "Records end with " + quoted(c.separator) + ": " + std::to_string(cut.records.size()) +
                 " in the sample, " + std::to_string(alike) + " of the " + std::to_string(c.records.size()) +
                 " looked at " + c.shape;
    if (crBefore > 0)
        cut.reason += "; " + std::to_string(crBefore) + " of them end with \"\\x0D\\x0A\" and " +
                      std::to_string(cut.records.size() - crBefore) +
                      " with \"\\x0A\" alone, so \"\\x0A\" ends them all (the \"\\x0D\" stays in the " +
                      std::to_string(crBefore) + ")";
    return cut;
}

// A separator's records in the judged start of the sample, and how alike
// they are.
Candidate judgedCandidate(std::string_view sample, std::string_view judged, bool wholeFile, std::string separator) {
    Candidate c;
    c.separator = std::move(separator);
    // A first look at the start; more of the sample for longer records.
    for (std::size_t bytes = kFirstJudgedBytes;; bytes = kJudgedBytes) {
        const std::string_view part = judged.substr(0, bytes);
        c.records = cutAt(part, c.separator, wholeFile && part.size() == sample.size(), kJudged);
        if (c.records.size() >= kEnoughRecords || part.size() == judged.size()) break;
    }
    if (c.separator == "\n") c.crBefore = withoutCr(c.records);
    c.endsSample =
        sample.size() >= c.separator.size() && sample.substr(sample.size() - c.separator.size()) == c.separator;
    // Lines of text are records however they differ; other controls
    // must cut records of one shape.
    judge(c, lineEndRank(c.separator) < kOtherRank);
    c.tlv = c.records.size() >= 2 && std::all_of(c.records.begin(), c.records.end(), isWholeTlv);
    if (c.tlv) {
        c.agreement = 1;
        c.shape = "are each one BER-TLV object";
    }
    return c;
}

// The better of the candidates that `fits`, if any.
template <typename Fits>
const Candidate* bestOf(const std::vector<Candidate>& candidates, Fits fits) {
    const Candidate* best = nullptr;
    for (const Candidate& c : candidates)
        if (fits(c) && (!best || better(c, *best))) best = &c;
    return best;
}

// Controls that end records of text: line ends above all. LF after a CR in
// part of the sample ranks with CR LF: the more alike records win.
const Candidate* bestLineEnd(const std::vector<Candidate>& candidates) {
    auto rank = [](const Candidate& c) { return c.crBefore > 0 ? 0 : lineEndRank(c.separator); };
    const Candidate* best = nullptr;
    for (const Candidate& c : candidates)
        if (allControls(c.separator) && c.text && c.records.size() >= 2 && c.agreement >= kNearlyAll &&
            (!best || rank(c) < rank(*best) || (rank(c) == rank(*best) && better(c, *best))))
            best = &c;
    return best;
}

RecordCut byPeriod(std::string_view sample, const Period& period) {
    RecordCut cut;
    cut.found = true;
    cut.length = period.length;
    for (std::size_t at = 0; at + period.length <= sample.size(); at += period.length)
        cut.records.push_back(sample.substr(at, period.length));
    cut.end = sample.size() - sample.size() % period.length;
    cut.reason = "Records are " + std::to_string(period.length) +
                 " bytes long, without a separator: the classes of the bytes line up best at that period (" +
                 std::to_string(static_cast<int>(period.agreement * 100)) + "% agree)";
    return cut;
}

RecordCut noRecords(std::string reason) {
    RecordCut none;
    none.reason = std::move(reason);
    return none;
}

std::string whyNoRecords(const std::vector<Candidate>& candidates) {
    for (const Candidate& c : candidates)
        if (lineEndRank(c.separator) < kOtherRank && c.text && c.records.size() == 1)
            return "the sample holds one record, ended by " + quoted(c.separator) +
                   ": at least two are needed to see the shape of the records";
    return "no byte sequence ends records of one shape, and the classes of the bytes line up at no "
           "record length from 2 to " +
           std::to_string(kLongestRecord) + " bytes";
}

}  // namespace

std::vector<std::string_view> cutAt(std::string_view sample, std::string_view separator, bool wholeFile,
                                    std::size_t most) {
    std::vector<std::string_view> records;
    std::size_t from = 0;
    while (from < sample.size() && records.size() < most) {
        const std::size_t at = sample.find(separator, from);
        if (at == std::string_view::npos) {
            if (wholeFile) records.push_back(sample.substr(from));
            break;
        }
        if (at > from) records.push_back(sample.substr(from, at - from));
        from = at + separator.size();
    }
    return records;
}

RecordCut findRecords(std::string_view sample, bool wholeFile) {
    if (sample.empty()) return noRecords("the sample is empty");
    const std::string_view judged = sample.substr(0, kJudgedBytes);
    std::vector<Candidate> candidates;
    for (std::string& seq : separatorCandidates(judged))
        candidates.push_back(judgedCandidate(sample, judged, wholeFile, std::move(seq)));

    // Records that are each one BER-TLV object: a byte that would cut them
    // elsewhere lies inside the objects.
    if (const Candidate* best = bestOf(candidates, [](const Candidate& c) { return c.tlv; }))
        return bySeparator(sample, wholeFile, *best);
    if (const Candidate* best = bestLineEnd(candidates)) return bySeparator(sample, wholeFile, *best);

    // Records of text that differ in length and agree in shape: a mark ends
    // them. (In records of one length it may be a value's, at one column.)
    if (const Candidate* best = bestOf(candidates, [](const Candidate& c) {
            return c.text && c.agreement >= kNearlyAll && c.oneLength < kNearlyAll &&
                   c.records.size() >= kLeastTextRecords;
        }))
        return bySeparator(sample, wholeFile, *best);

    // Records of one length side by side, where controls may be data.
    if (const Period period = findPeriod(sample, kLongestRecord); period.length > 0) return byPeriod(sample, period);

    // Any other sequence after which records of one shape follow.
    if (const Candidate* best = bestOf(candidates, [](const Candidate& c) {
            return c.agreement >= kNearlyAll && c.records.size() >= (c.text ? kLeastTextRecords : kLeastOtherRecords);
        }))
        return bySeparator(sample, wholeFile, *best);
    return noRecords(whyNoRecords(candidates));
}

}  // namespace velmora::suggest
