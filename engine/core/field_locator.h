#pragma once
// Finds each field of one record by its start and end methods.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/engine_configuration.h"
#include "engine/core/code_automaton.h"

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
// the starts. The work per record is about the record's length, whatever
// the number of fields. Fields in order follow a cursor; each code's next
// occurrence is searched for once and remembered for the record.
class FieldLocator {
public:
    explicit FieldLocator(const EngineConfiguration& config);

    // False when the record is rejected, with the field and the reason in
    // `out`. `out` is reused from record to record to spare allocations.
    bool locate(std::string_view record, LocatedFields& out);

    // The bytes the searches have looked at, over all records so far: the
    // measure of the work above.
    uint64_t searchedBytes() const { return searched_; }

private:
    struct Search {
        size_t from = 0;  // no occurrence starts in [from, hit)
        size_t hit = 0;   // the first at or after from, or npos
        bool known = false;
    };
    struct Deferred {
        size_t start;
        size_t field;
    };

    size_t find(int code, size_t from);
    size_t inOrderEnd(size_t field, size_t start);
    void findStartCodes();
    void resolveDeferred(std::vector<FieldSlice>& slices);
    bool reject(LocatedFields& out, size_t field, std::string reason);

    const EngineConfiguration& config_;
    std::vector<std::string_view> codes_;               // distinct start and end codes
    std::vector<int> startCode_, endCode_;              // per field: index in codes_, or -1
    std::vector<size_t> startCodeUsers_;                // per code: fields that start with it
    std::vector<std::pair<size_t, size_t>> positions_;  // (start position - 1, field), sorted
    std::vector<int> startCodes_;                       // the codes forward_ knows, by its index
    CodeAutomaton forward_, backward_;                  // not in order only

    // For the record at hand.
    std::string_view record_;
    std::vector<Search> searches_;    // per code, in order
    std::vector<size_t> firstStart_;  // per code, not in order
    std::vector<size_t> nearest_;     // per code, during the backward pass
    std::vector<Deferred> deferred_;  // ends settled by the backward pass
    uint64_t searched_ = 0;
};

// One record, with a locator made for it.
bool locateFields(std::string_view record, const EngineConfiguration& config, LocatedFields& out);

}  // namespace velmora
