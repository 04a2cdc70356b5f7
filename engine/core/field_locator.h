#pragma once
// Finds each field of one record by its start and end methods.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/config/engine_configuration.h"
#include "engine/core/code_automaton.h"
#include "engine/core/code_sweep.h"
#include "engine/core/nearest_codes.h"

namespace velmora {

struct FieldSlice {
    bool present = false;  // false: the start was not found (NULL)
    size_t begin = 0;      // in the record
    size_t length = 0;
};

struct LocatedFields {
    std::vector<FieldSlice> slices;  // one per field, in list order
    int rejectedField = -1;          // the field at fault when rejected
    std::string rejection;           // empty when the record is sound
};

// Locates the fields of record after record for one configuration.
//
// Fields not in order are each searched for from the record's start, so
// their codes are found all at once: one pass forward finds every start
// code, one pass backward every end code and every End None boundary after
// the starts. Fields in order follow a cursor; their codes are found by one
// pass forward with all of them at once (engine/core/code_sweep.h), or,
// when no field has a start of its own and the cursor only moves forward,
// each alone from the cursor. Either way the work per record is about the
// record's length, whatever the number of fields and codes.
class FieldLocator {
public:
    explicit FieldLocator(const EngineConfiguration& config);

    // What a locator for this configuration holds at most, in bytes.
    static uint64_t bytesFor(const EngineConfiguration& config);

    // False when the record is rejected, with the field and the reason in
    // `out`. `out` is reused from record to record to spare allocations.
    // Once `*stop` is set (see setStop), a record is given up within a few
    // thousand bytes of searching, as rejected.
    bool locate(std::string_view record, LocatedFields& out);

    void setStop(const std::atomic<bool>* stop) { stop_ = stop; }

    // The bytes the searches have read and the matches and codes they have
    // looked at, over all records so far: the measure of the work above.
    uint64_t work() const { return work_ + sweep_.work(); }

private:
    struct Deferred {
        size_t start;
        size_t field;
    };

    // Where a field's data lie, and where the cursor goes after it.
    struct Cut {
        size_t begin = 0, length = 0, next = 0;
    };

    void beginRecord(std::string_view record, LocatedFields& out);
    size_t fieldStart(size_t field, size_t from);
    bool cutField(size_t field, size_t start, Cut& cut, LocatedFields& out);
    bool cutEmbeddedLength(size_t field, size_t start, Cut& cut, LocatedFields& out);
    bool rejectFixedLength(LocatedFields& out, size_t field, size_t left);
    size_t inOrderEnd(size_t field, size_t start);
    size_t directFind(std::string_view code, size_t from);
    bool locateDelimited(std::string_view record, LocatedFields& out);
    template <class Find>
    void cutAtEnds(std::string_view record, FieldSlice* slices, Find find);
    void findStartCodes();
    void resolveDeferred(std::vector<FieldSlice>& slices);
    bool reject(LocatedFields& out, size_t field, std::string reason);
    bool halted() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    const EngineConfiguration& config_;
    std::vector<std::string_view> codes_;               // distinct start and end codes
    std::vector<int> startCode_, endCode_;              // per field: index in codes_, or -1
    std::vector<size_t> startCodeUsers_;                // per code: fields that start with it
    std::vector<std::pair<size_t, size_t>> positions_;  // (start position - 1, field), sorted
    CodeSweep sweep_;                                   // in order only
    bool direct_ = false;                               // in order, no field with a start of its own: no sweep
    bool delimited_ = false;                            // direct_, and every field ends by a code or None
    std::vector<std::string_view> delimiters_;          // delimited_: per field its end code, empty for None
    std::optional<char> oneByte_;                       // delimited_ by one code of one byte: that byte
    // Not in order only.
    std::vector<int> startCodes_;  // the codes forward_ knows, by its index
    CodeAutomaton forward_, backward_;
    std::vector<int> firstStartIn_;  // per code: the first start code from it down in backward_
    NearestCodes nearestEnds_;       // the end codes, during the backward pass
    const std::atomic<bool>* stop_ = nullptr;

    // For the record at hand.
    std::string_view record_;
    std::vector<size_t> firstStart_;  // per code, not in order
    std::vector<Deferred> deferred_;  // ends settled by the backward pass
    uint64_t work_ = 0;
};

// Why a configuration's codes are too many to search for, as "configuration
// too large: ..."; empty when they are not.
std::string locatorTooLarge(const EngineConfiguration& config);

// One record, with a locator made for it.
bool locateFields(std::string_view record, const EngineConfiguration& config, LocatedFields& out);

}  // namespace velmora
