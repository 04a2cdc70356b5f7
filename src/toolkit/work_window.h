#pragma once
// Work that the program does itself a slice at a time, such as searching
// or exporting millions of rows: done at once when it is short, and in a
// progress window, which can stop it between slices, when it is not.
#include <cstdint>
#include <string>

#include "src/toolkit/progress_window.h"

namespace velmora {

class SteppedWork {
public:
    virtual ~SteppedWork() = default;
    // One slice; true once the work is over (done, or failed).
    virtual bool step() = 0;
    virtual std::uint64_t done() const = 0;
    virtual std::uint64_t total() const = 0;
};

// Runs slices of `work` until it is over, the first `directSlices` of them
// before any window shows. False when the operator cancelled it (or its
// window could not be shown) before it was over.
bool runSteppedWork(Prompts& prompts, SteppedWork& work, const ProgressTexts& texts, const std::string& subject,
                    int directSlices);

}  // namespace velmora
