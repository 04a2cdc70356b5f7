#include "engine/core/field_locator.h"

#include <algorithm>
#include <map>

#include "format/config/byte_escapes.h"
#include "engine/core/ber_tlv.h"
#include "engine/core/byte_places.h"
#include "engine/core/find_bytes.h"

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
        startCode.push_back(f.start == StartByCode ? codeOf(f.startCode) : -1);
        endCode.push_back(f.end == EndByCode ? codeOf(f.endCode) : -1);
    }
    return codes;
}

}  // namespace

FieldLocator::FieldLocator(const EngineConfiguration& config) : config_(config) {
    codes_ = distinctCodes(config, startCode_, endCode_);
    for (size_t i = 0; i < config.fields.size(); ++i)
        if (config.fields[i].start == StartByPosition) positions_.emplace_back(config.fields[i].startPosition - 1, i);
    startCodeUsers_.assign(codes_.size(), 0);
    for (int code : startCode_)
        if (code >= 0) ++startCodeUsers_[static_cast<size_t>(code)];
    std::sort(positions_.begin(), positions_.end());
    if (config.fieldsInOrder) {
        direct_ = std::all_of(config.fields.begin(), config.fields.end(),
                              [](const FieldPlan& f) { return f.start == StartNone; });
        if (!direct_) sweep_ = CodeSweep(codes_);
        delimited_ = direct_ && std::all_of(config.fields.begin(), config.fields.end(),
                                            [](const FieldPlan& f) { return f.end == EndByCode || f.end == EndNone; });
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
    if (next.start == StartByCode) {
        end = sweep_.find(startCode_[field + 1], start);
    } else if (next.start == StartByPosition && next.startPosition - 1 > start &&
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
        if (f.end == EndByCode) {
            const size_t code = nearestEnds_.nearest(endCode_[d.field], work_);
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
        *slice++ = FieldSlice{true, cursor, (at == npos ? size : at) - cursor};
        cursor = at == npos ? size : at + code.size();
    }
}

bool FieldLocator::reject(LocatedFields& out, size_t field, std::string reason) {
    out.rejectedField = static_cast<int>(field);
    out.rejection = std::move(reason);
    return false;
}

bool FieldLocator::locate(std::string_view record, LocatedFields& out) {
    if (delimited_) return locateDelimited(record, out);
    const size_t count = config_.fields.size();
    const bool inOrder = config_.fieldsInOrder;
    record_ = record;
    if (inOrder && !direct_) sweep_.begin(record, stop_);
    deferred_.clear();
    if (!inOrder && !startCodes_.empty()) findStartCodes();
    // Set in place: the list keeps its size from record to record.
    out.slices.resize(count);
    std::fill(out.slices.begin(), out.slices.end(), FieldSlice());
    out.rejectedField = -1;
    out.rejection.clear();

    size_t cursor = 0;
    for (size_t i = 0; i < count; ++i) {
        const FieldPlan& f = config_.fields[i];
        const size_t from = inOrder ? cursor : 0;
        size_t start = from;
        if (f.start == StartByCode) {
            size_t at = inOrder ? sweep_.find(startCode_[i], from) : firstStart_[static_cast<size_t>(startCode_[i])];
            if (at == npos) continue;  // absent: NULL, the cursor stays
            start = at + f.startCode.size();
        } else if (f.start == StartByPosition) {
            if (f.startPosition - 1 >= record.size()) continue;  // the record has no such byte
            start = f.startPosition - 1;
        }

        const size_t left = record.size() - start;
        size_t begin = start, length = 0, next = 0;
        switch (f.end) {
        case EndByCode: {
            if (!inOrder) {
                deferred_.push_back({start, i});  // no cursor to move: settled after the loop
                break;
            }
            size_t at = direct_ ? directFind(f.endCode, start) : sweep_.find(endCode_[i], start);
            // A missing end code lets the data run to the record's end.
            length = (at == npos ? record.size() : at) - start;
            next = at == npos ? record.size() : at + f.endCode.size();
            break;
        }
        case EndByFixedLength:
            if (f.fixedLength > left)
                return reject(out, i,
                              "FIXED_LENGTH " + std::to_string(f.fixedLength) + " runs past the end of the record (" +
                                  std::to_string(left) + " bytes left)");
            length = f.fixedLength;
            next = start + length;
            break;
        case EndByEmbeddedLength: {
            if (left < 4)
                return reject(out, i,
                              "the 4-digit length prefix runs past the end of the record (" + std::to_string(left) +
                                  " bytes left)");
            size_t value = 0;
            for (size_t k = 0; k < 4; ++k) {
                char c = record[start + k];
                if (c < '0' || c > '9')
                    return reject(out, i,
                                  "malformed length prefix \"" + escapeBytes(record.substr(start, 4)) +
                                      "\": four decimal digits expected");
                value = value * 10 + static_cast<size_t>(c - '0');
            }
            if (value > left - 4)
                return reject(out, i,
                              "embedded length " + std::to_string(value) + " runs past the end of the record (" +
                                  std::to_string(left - 4) + " bytes left)");
            begin = start + 4;
            length = value;
            next = begin + length;
            break;
        }
        case EndByTesselgram: {
            // Checked whole here; its objects are decoded again, one at a
            // time, by whoever stores them.
            std::string error;
            size_t size = decodeTlv(record.substr(start), start, error);
            if (size == 0) return reject(out, i, error);
            length = size;
            next = start + size;
            break;
        }
        case EndNone:
            if (!inOrder) {
                deferred_.push_back({start, i});
                break;
            }
            length = inOrderEnd(i, start) - start;
            next = start + length;
            break;
        }
        out.slices[i] = FieldSlice{true, begin, length};
        cursor = next;
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
