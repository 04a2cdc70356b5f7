#include "engine/core/field_locator.h"

#include <algorithm>
#include <functional>
#include <map>
#include <queue>

#include "config/byte_escapes.h"
#include "engine/core/ber_tlv.h"

namespace velmora {

namespace {

constexpr size_t npos = std::string_view::npos;

}  // namespace

FieldLocator::FieldLocator(const EngineConfiguration& config) : config_(config) {
    std::map<std::string_view, int> index;
    auto codeOf = [&](const std::string& code) {
        auto it = index.emplace(code, static_cast<int>(codes_.size())).first;
        if (it->second == static_cast<int>(codes_.size())) codes_.push_back(it->first);
        return it->second;
    };
    for (size_t i = 0; i < config.fields.size(); ++i) {
        const FieldPlan& f = config.fields[i];
        startCode_.push_back(f.start == StartByCode ? codeOf(f.startCode) : -1);
        endCode_.push_back(f.end == EndByCode ? codeOf(f.endCode) : -1);
        if (f.start == StartByPosition) positions_.emplace_back(f.startPosition - 1, i);
    }
    startCodeUsers_.assign(codes_.size(), 0);
    for (int code : startCode_)
        if (code >= 0) ++startCodeUsers_[static_cast<size_t>(code)];
    std::sort(positions_.begin(), positions_.end());
    searches_.resize(codes_.size());
}

// The first occurrence of the code at or after `from`. A search covers the
// bytes from its start to its hit, so a later question inside that span
// costs nothing and one before it searches only the bytes in front.
size_t FieldLocator::find(int code, size_t from) {
    Search& s = searches_[static_cast<size_t>(code)];
    const std::string_view text = codes_[static_cast<size_t>(code)];
    if (s.known && from >= s.from && (s.hit == npos || from <= s.hit)) return s.hit;
    if (s.known && from < s.from) {
        // Only occurrences starting before s.from are unknown.
        const size_t edge = std::min(record_.size(), s.from + text.size() - 1);
        const size_t at = record_.substr(0, edge).find(text, from);
        searched_ += (at == npos ? edge : at + text.size()) - from;
        if (at != npos) s.hit = at;
        s.from = from;
        return s.hit;
    }
    s = Search{from, record_.find(text, from), true};
    searched_ +=
        std::min(record_.size(), s.hit == npos ? record_.size() : s.hit + text.size()) - std::min(from, record_.size());
    return s.hit;
}

// End None with fields in order: up to where the next field begins, found
// from this field's start, or the record's end.
size_t FieldLocator::inOrderEnd(size_t field, size_t start) {
    if (field + 1 >= config_.fields.size()) return record_.size();
    const FieldPlan& next = config_.fields[field + 1];
    size_t end = npos;
    if (next.start == StartByCode) {
        end = find(startCode_[field + 1], start);
    } else if (next.start == StartByPosition && next.startPosition - 1 > start &&
               next.startPosition - 1 < record_.size()) {
        end = next.startPosition - 1;
    }
    return end == npos ? record_.size() : end;
}

// End None with fields not in order: up to the nearest place after the
// field's start where any other field begins. The open ends are taken in the
// order of their starts, so that each start code is searched forward through
// the record once, whatever the number of fields.
void FieldLocator::resolveOpenEnds() {
    std::sort(openEnds_.begin(), openEnds_.end(), [](const OpenEnd& a, const OpenEnd& b) { return a.start < b.start; });
    using Next = std::pair<size_t, int>;  // (occurrence, code), nearest on top
    std::priority_queue<Next, std::vector<Next>, std::greater<Next>> nearest;
    for (size_t c = 0; c < codes_.size(); ++c) {
        if (startCodeUsers_[c] == 0) continue;
        size_t at = find(static_cast<int>(c), openEnds_.front().start);
        if (at != npos) nearest.emplace(at, static_cast<int>(c));
    }
    for (const OpenEnd& open : openEnds_) {
        while (!nearest.empty() && nearest.top().first < open.start) {
            int code = nearest.top().second;
            nearest.pop();
            size_t at = find(code, open.start);
            if (at != npos) nearest.emplace(at, code);
        }
        size_t end = npos;
        if (!nearest.empty()) {
            // A code that only this field starts with is no boundary for it.
            Next top = nearest.top();
            const bool own =
                top.second == startCode_[open.field] && startCodeUsers_[static_cast<size_t>(top.second)] == 1;
            if (!own) {
                end = top.first;
            } else {
                nearest.pop();
                if (!nearest.empty()) end = nearest.top().first;
                nearest.push(top);
            }
        }
        auto p = std::upper_bound(positions_.begin(), positions_.end(), std::make_pair(open.start, npos));
        if (p != positions_.end() && p->second == open.field) ++p;
        if (p != positions_.end() && p->first < record_.size()) end = std::min(end, p->first);
        FieldSlice& slice = (*slices_)[open.field];
        slice.length = (end == npos ? record_.size() : end) - open.start;
    }
}

bool FieldLocator::reject(LocatedFields& out, size_t field, std::string reason) {
    out.rejectedField = static_cast<int>(field);
    out.rejection = std::move(reason);
    return false;
}

bool FieldLocator::locate(std::string_view record, LocatedFields& out) {
    const size_t count = config_.fields.size();
    record_ = record;
    for (Search& s : searches_) s.known = false;
    openEnds_.clear();
    slices_ = &out.slices;
    out.slices.assign(count, FieldSlice());
    out.rejectedField = -1;
    out.rejection.clear();

    size_t cursor = 0;
    for (size_t i = 0; i < count; ++i) {
        const FieldPlan& f = config_.fields[i];
        const size_t from = config_.fieldsInOrder ? cursor : 0;
        size_t start = from;
        if (f.start == StartByCode) {
            size_t at = find(startCode_[i], from);
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
            size_t at = find(endCode_[i], start);
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
            if (!config_.fieldsInOrder) {
                openEnds_.push_back({start, i});  // no cursor to move: settled after the loop
                break;
            }
            length = inOrderEnd(i, start) - start;
            next = start + length;
            break;
        }
        out.slices[i] = FieldSlice{true, begin, length};
        cursor = next;
    }
    if (!openEnds_.empty()) resolveOpenEnds();
    return true;
}

bool locateFields(std::string_view record, const EngineConfiguration& config, LocatedFields& out) {
    return FieldLocator(config).locate(record, out);
}

}  // namespace velmora
