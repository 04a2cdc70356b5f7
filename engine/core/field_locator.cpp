#include "engine/core/field_locator.h"

#include <algorithm>
#include <map>

#include "format/config/byte_escapes.h"
#include "engine/core/ber_tlv.h"
#include "engine/core/byte_places.h"
#include "engine/core/find_bytes.h"
#include "format/base/check.h"

namespace velmora {

namespace {

constexpr size_t npos = std::string_view::npos;
// What searching for a configuration's codes may take at most.
constexpr uint64_t kLargestLocator = 256u << 20;
// How many bytes a pass reads between two looks at the stop.
constexpr size_t kStopCheck = 1u << 16;

// The distinct start and end codes, in the order fields first use them.
std::vector<std::string_view> distinctCodes(const EngineConfiguration& config, std::vector<int>& startCode,
                                            std::vector<int>& endCode) {
    std::vector<std::string_view> codes;
    std::map<std::string_view, int> index;
    auto codeOf = [&](const std::string& code) {
        auto it = index.emplace(code, static_cast<int>(codes.size())).first;
        if (it->second == static_cast<int>(codes.size())) codes.push_back(it->first);
        return it->second;
    };
    for (const FieldPlan& f : config.fields) {
        startCode.push_back(f.start == StartMethod::ByCode ? codeOf(f.startCode) : -1);
        endCode.push_back(f.end == EndMethod::ByCode ? codeOf(f.endCode) : -1);
    }
    return codes;
}

}  // namespace

FieldLocator::FieldLocator(const EngineConfiguration& config) : config_(config) {
    codes_ = distinctCodes(config, startCode_, endCode_);
    for (size_t i = 0; i < config.fields.size(); ++i)
        if (config.fields[i].start == StartMethod::ByPosition)
            positions_.emplace_back(config.fields[i].startPosition - 1, i);
    startCodeUsers_.assign(codes_.size(), 0);
    for (int code : startCode_)
        if (code >= 0) ++startCodeUsers_[static_cast<size_t>(code)];
    std::sort(positions_.begin(), positions_.end());
    if (config.fieldsInOrder) {
        direct_ = std::all_of(config.fields.begin(), config.fields.end(),
                              [](const FieldPlan& f) { return f.start == StartMethod::None; });
        if (!direct_) sweep_ = CodeSweep(codes_);
        delimited_ = direct_ && std::all_of(config.fields.begin(), config.fields.end(), [](const FieldPlan& f) {
                         return f.end == EndMethod::ByCode || f.end == EndMethod::None;
                     });
        for (size_t i = 0; delimited_ && i < config.fields.size(); ++i)
            delimiters_.push_back(endCode_[i] >= 0 ? codes_[static_cast<size_t>(endCode_[i])] : std::string_view());
        if (delimited_ && codes_.size() == 1 && codes_[0].size() == 1) oneByte_ = codes_[0][0];
        return;
    }
    std::vector<std::string_view> starts;
    std::vector<char> isStart(codes_.size(), 0), isEnd(codes_.size(), 0);
    for (size_t c = 0; c < codes_.size(); ++c) {
        if (startCodeUsers_[c] == 0) continue;
        isStart[c] = 1;
        startCodes_.push_back(static_cast<int>(c));
        starts.push_back(codes_[c]);
    }
    for (int code : endCode_)
        if (code >= 0) isEnd[static_cast<size_t>(code)] = 1;
    forward_ = CodeAutomaton(starts, false);
    backward_ = CodeAutomaton(codes_, true);
    firstStartIn_ = backward_.firstKept(isStart);
    nearestEnds_ = NearestCodes(backward_, isEnd);
}

uint64_t FieldLocator::bytesFor(const EngineConfiguration& config) {
    std::vector<int> startCode, endCode;
    const std::vector<std::string_view> codes = distinctCodes(config, startCode, endCode);
    // Per field and per code a few numbers beside the automata.
    const uint64_t tables = (config.fields.size() + codes.size()) * 16 * sizeof(size_t);
    if (config.fieldsInOrder) return CodeSweep::bytesFor(codes) + tables;
    std::vector<std::string_view> starts;
    std::vector<char> isStart(codes.size(), 0);
    for (int code : startCode)
        if (code >= 0 && !isStart[static_cast<size_t>(code)]) {
            isStart[static_cast<size_t>(code)] = 1;
            starts.push_back(codes[static_cast<size_t>(code)]);
        }
    return CodeAutomaton::bytesFor(starts) + CodeAutomaton::bytesFor(codes) + tables;
}

std::string locatorTooLarge(const EngineConfiguration& config) {
    const uint64_t bytes = FieldLocator::bytesFor(config);
    if (bytes <= kLargestLocator) return "";
    return "configuration too large: searching for its codes would take " +
           std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB, more than " + std::to_string(kLargestLocator >> 20) +
           " MB";
}

// End None with fields in order: up to where the next field begins, found
// from this field's start, or the record's end.
size_t FieldLocator::inOrderEnd(size_t field, size_t start) {
    if (field + 1 >= config_.fields.size()) return record_.size();
    const FieldPlan& next = config_.fields[field + 1];
    size_t end = npos;
    if (next.start == StartMethod::ByCode) {
        end = sweep_.find(startCode_[field + 1], start);
    } else if (next.start == StartMethod::ByPosition && next.startPosition - 1 > start &&
               next.startPosition - 1 < record_.size()) {
        end = next.startPosition - 1;
    }
    return end == npos ? record_.size() : end;
}

// Fields not in order: the first occurrence of every start code, in one
// pass forward. A code found at a byte means every shorter code it ends
// with was found there too, so the matches need only be followed to the
// first code already found.
void FieldLocator::findStartCodes() {
    firstStart_.assign(codes_.size(), npos);
    size_t left = startCodes_.size();
    int state = CodeAutomaton::kStart;
    size_t at = 0;
    for (; at < record_.size() && left > 0; ++at) {
        if (at % kStopCheck == 0 && halted()) break;
        state = forward_.step(state, static_cast<unsigned char>(record_[at]));
        forward_.matches(state, [&](int found) {
            const size_t code = static_cast<size_t>(startCodes_[static_cast<size_t>(found)]);
            ++work_;
            if (firstStart_[code] != npos) return false;
            firstStart_[code] = at + 1 - codes_[code].size();
            --left;
            return true;
        });
    }
    work_ += at;
}

// Fields not in order: END_CODE and End None need the codes after each
// field's start. One pass backward from the record's end meets the starts
// from the last to the first, knowing at each byte the nearest occurrence of
// every end code after it, and the nearest place where another field's
// start code begins. What begins at a byte is told by the longest code
// beginning there, whatever the number of codes beginning with it.
void FieldLocator::resolveDeferred(std::vector<FieldSlice>& slices) {
    std::sort(deferred_.begin(), deferred_.end(),
              [](const Deferred& a, const Deferred& b) { return a.start > b.start; });
    nearestEnds_.clear();
    // The nearest place where start codes begin: `code` is the one code
    // beginning there, or kSeveral. `other` is the nearest place where a
    // start code other than that one code begins.
    constexpr int kSeveral = -2;
    struct Place {
        size_t at = npos;
        int code = -1;
    } nearestStart, other;
    int state = CodeAutomaton::kStart;
    size_t at = record_.size();
    for (const Deferred& d : deferred_) {
        while (at > d.start) {
            if ((record_.size() - at) % kStopCheck == 0 && halted()) return;
            --at;
            state = backward_.step(state, static_cast<unsigned char>(record_[at]));
            const int longest = backward_.longest(state);
            if (longest < 0) continue;
            nearestEnds_.begins(longest, at);
            const int first = firstStartIn_[static_cast<size_t>(longest)];
            if (first < 0) continue;
            const int shorter = backward_.shorter(first);
            if (shorter >= 0 && firstStartIn_[static_cast<size_t>(shorter)] >= 0) {
                nearestStart = other = Place{at, kSeveral};
            } else {
                if (nearestStart.code != first) other = nearestStart;
                nearestStart = Place{at, first};
            }
        }
        const FieldPlan& f = config_.fields[d.field];
        FieldSlice& slice = slices[d.field];
        if (f.end == EndMethod::ByCode) {
            const size_t code = nearestEnds_.nearest(endCode_[d.field], work_);
            VELMORA_ASSERT(code == npos || (code >= d.start && code <= record_.size()));
            slice.length = (code == npos ? record_.size() : code) - d.start;
            continue;
        }
        // End None. A code that only this field starts with is no boundary for it.
        const int own = startCode_[d.field] >= 0 && startCodeUsers_[static_cast<size_t>(startCode_[d.field])] == 1
                            ? startCode_[d.field]
                            : -1;
        size_t end = nearestStart.code == own && own >= 0 ? other.at : nearestStart.at;
        auto p = std::upper_bound(positions_.begin(), positions_.end(), std::make_pair(d.start, npos));
        if (p != positions_.end() && p->second == d.field) ++p;
        if (p != positions_.end() && p->first < record_.size()) end = std::min(end, p->first);
        VELMORA_ASSERT(end == npos || (end >= d.start && end <= record_.size()));
        slice.length = (end == npos ? record_.size() : end) - d.start;
    }
    work_ += record_.size() - at;
}

// Fields in order that all start where the one before ended: the cursor
// only moves forward, and each search begins at it and stops at the code
// (or the record's end, where the cursor then stays), so a record is read
// once at most, whatever the codes, with no need of the sweep.
size_t FieldLocator::directFind(std::string_view code, size_t from) {
    const size_t at = findBytes(record_.substr(from), code);
    work_ += at == npos ? record_.size() - from : at + code.size();
    return at == npos ? npos : from + at;
}

// The commonest shape, fields cut by a code.
bool FieldLocator::locateDelimited(std::string_view record, LocatedFields& out) {
    out.slices.resize(delimiters_.size());
    out.rejectedField = -1;
    out.rejection.clear();
    record_ = record;
    if (oneByte_) {
        // One code of one byte: its next place is always the next field's
        // end, as the cursor only ever passes the one before. The work is
        // counted in a local, which the slices written cannot alias.
        BytePlaces places(record, *oneByte_);
        uint64_t work = 0;
        cutAtEnds(record, out.slices.data(), [&](std::string_view, size_t cursor) {
            const size_t at = places.next();
            work += (at == npos ? record.size() : at + 1) - cursor;
            return at;
        });
        work_ += work;
    } else {
        cutAtEnds(record, out.slices.data(),
                  [&](std::string_view code, size_t cursor) { return directFind(code, cursor); });
    }
    if (halted()) {
        out.rejection = "the search was stopped";
        return false;
    }
    return true;
}

// Each field starts where the one before ended and runs to its code, which
// the cursor then passes, or to the record's end (End None, or a code not
// there), where the cursor stays. `find(code, cursor)`: the code's place
// from the cursor on, or npos.
template <class Find>
void FieldLocator::cutAtEnds(std::string_view record, FieldSlice* slice, Find find) {
    const size_t size = record.size();
    size_t cursor = 0;
    for (const std::string_view& code : delimiters_) {
        const size_t at = code.empty() || cursor >= size ? npos : find(code, cursor);
        VELMORA_ASSERT(at == npos || (at >= cursor && at < size));
        *slice++ = FieldSlice{true, cursor, (at == npos ? size : at) - cursor};
        cursor = at == npos ? size : at + code.size();
    }
}

bool FieldLocator::reject(LocatedFields& out, size_t field, std::string reason) {
    out.rejectedField = static_cast<int>(field);
    out.rejection = std::move(reason);
    return false;
}

// Each record starts from a clean list, set in place: the list keeps its
// size from record to record.
void FieldLocator::beginRecord(std::string_view record, LocatedFields& out) {
    record_ = record;
    if (config_.fieldsInOrder && !direct_) sweep_.begin(record, stop_);
    deferred_.clear();
    if (!config_.fieldsInOrder && !startCodes_.empty()) findStartCodes();
    out.slices.resize(config_.fields.size());
    std::fill(out.slices.begin(), out.slices.end(), FieldSlice());
    out.rejectedField = -1;
    out.rejection.clear();
}

// Where field `i` begins when searched for from `from`; npos when the
// record has no such start.
inline size_t FieldLocator::fieldStart(size_t i, size_t from) {
    const FieldPlan& f = config_.fields[i];
    if (f.start == StartMethod::ByCode) {
        VELMORA_ASSERT(startCode_[i] >= 0);
        const size_t at =
            config_.fieldsInOrder ? sweep_.find(startCode_[i], from) : firstStart_[static_cast<size_t>(startCode_[i])];
        return at == npos ? npos : at + f.startCode.size();
    }
    if (f.start == StartMethod::ByPosition) return f.startPosition - 1 < record_.size() ? f.startPosition - 1 : npos;
    return from;
}

// Field `i`, beginning at `start`, cut by its end method into `cut`; false
// when that rejects the record, with the reason in `out`. Ends found only
// after all the starts (fields not in order) are left to resolveDeferred.
inline bool FieldLocator::cutField(size_t i, size_t start, Cut& cut, LocatedFields& out) {
    const FieldPlan& f = config_.fields[i];
    const size_t left = record_.size() - start;
    cut = Cut{start, 0, 0};
    switch (f.end) {
    case EndMethod::ByCode: {
        if (!config_.fieldsInOrder) {
            deferred_.push_back({start, i});  // no cursor to move: settled after the loop
            return true;
        }
        const size_t at = direct_ ? directFind(f.endCode, start) : sweep_.find(endCode_[i], start);
        // A missing end code lets the data run to the record's end.
        cut.length = (at == npos ? record_.size() : at) - start;
        cut.next = at == npos ? record_.size() : at + f.endCode.size();
        return true;
    }
    case EndMethod::FixedLength:
        if (f.fixedLength > left) return rejectFixedLength(out, i, left);
        cut.length = f.fixedLength;
        cut.next = start + cut.length;
        return true;
    case EndMethod::EmbeddedLength:
        return cutEmbeddedLength(i, start, cut, out);
    case EndMethod::Tesselgram: {
        // Checked whole here; its objects are decoded again, one at a
        // time, by whoever stores them.
        std::string error;
        const size_t size = decodeTlv(record_.substr(start), start, error);
        if (size == 0) return reject(out, i, error);
        cut.length = size;
        cut.next = start + size;
        return true;
    }
    case EndMethod::None:
        if (!config_.fieldsInOrder) {
            deferred_.push_back({start, i});
            return true;
        }
        cut.length = inOrderEnd(i, start) - start;
        cut.next = start + cut.length;
        return true;
    }
    return true;
}

// Four decimal digits of length, then the data.
bool FieldLocator::cutEmbeddedLength(size_t i, size_t start, Cut& cut, LocatedFields& out) {
    const size_t left = record_.size() - start;
    if (left < 4)
        return reject(
            out, i,
            "the 4-digit length prefix runs past the end of the record (" + std::to_string(left) + " bytes left)");
    size_t value = 0;
    for (size_t k = 0; k < 4; ++k) {
        const char c = record_[start + k];
        if (c < '0' || c > '9')
            return reject(out, i,
                          "malformed length prefix \"" + escapeBytes(record_.substr(start, 4)) +
                              "\": four decimal digits expected");
        value = value * 10 + static_cast<size_t>(c - '0');
    }
    if (value > left - 4)
        return reject(out, i,
                      "embedded length " + std::to_string(value) + " runs past the end of the record (" +
                          std::to_string(left - 4) + " bytes left)");
    cut = Cut{start + 4, value, start + 4 + value};
    return true;
}

bool FieldLocator::rejectFixedLength(LocatedFields& out, size_t field, size_t left) {
    return reject(out, field,
                  "FIXED_LENGTH " + std::to_string(config_.fields[field].fixedLength) +
                      " runs past the end of the record (" + std::to_string(left) + " bytes left)");
}

bool FieldLocator::locate(std::string_view record, LocatedFields& out) {
    if (delimited_) return locateDelimited(record, out);
    beginRecord(record, out);
    size_t cursor = 0;
    Cut cut;
    for (size_t i = 0; i < config_.fields.size(); ++i) {
        const size_t start = fieldStart(i, config_.fieldsInOrder ? cursor : 0);
        if (start == npos) continue;  // absent: NULL, the cursor stays
        if (!cutField(i, start, cut, out)) return false;
        VELMORA_ASSERT(cut.begin + cut.length <= record.size());
        out.slices[i] = FieldSlice{true, cut.begin, cut.length};
        cursor = cut.next;
    }
    if (!deferred_.empty()) resolveDeferred(out.slices);
    if (halted()) {
        // Given up half searched: no record to keep.
        out.rejectedField = -1;
        out.rejection = "the search was stopped";
        return false;
    }
    return true;
}

bool locateFields(std::string_view record, const EngineConfiguration& config, LocatedFields& out) {
    return FieldLocator(config).locate(record, out);
}

}  // namespace velmora
