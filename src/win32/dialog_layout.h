#pragma once
// A resizable dialog's controls following its size: each keeps its place
// and size as described, moved or grown by what the dialog gained since it
// opened, as its ResizeRule bits say; and the dialog never gets smaller
// than it opened.
#include <windows.h>

#include <vector>

#include "toolkit/dialog_description.h"

namespace velmora {

class DialogLayout {
public:
    // Takes the dialog's and its controls' places as they opened.
    void capture(HWND dialog, const DialogDescription& description);
    bool captured() const { return captured_; }
    // Places the controls for a client area of `width` by `height` pixels.
    void apply(HWND dialog, int width, int height) const;
    // The least window size: the size it opened at.
    POINT leastSize() const { return least_; }

private:
    struct Placed {
        int id;
        unsigned resize;
        RECT rect;  // in the dialog's client area, as it opened
    };
    bool captured_ = false;
    SIZE client_{};
    POINT least_{};
    std::vector<Placed> controls_;
};

}  // namespace velmora
