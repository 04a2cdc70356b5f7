#pragma once
// A dialog's controls placed from its description at the dialog's scale.
// A resizable dialog's controls keep their described place and size, moved
// or grown by what the dialog gained since it opened, as their ResizeRule
// bits say, and the dialog never gets smaller than it opened. Moved to a
// monitor of another scale, every control is placed again from its dialog
// units, in the dialog's font made for that scale.
#include <windows.h>

#include <vector>

#include "src/toolkit/dialog_description.h"

namespace velmora {

class DialogLayout {
public:
    DialogLayout() = default;
    ~DialogLayout();  // the font made for another scale; its controls are gone by then
    DialogLayout(const DialogLayout&) = delete;
    DialogLayout& operator=(const DialogLayout&) = delete;

    // At WM_INITDIALOG, before the dialog touches anything: the controls as
    // the template made them, and the scale the dialog manager used.
    void capture(HWND dialog, const DialogDescription& description);
    bool captured() const { return captured_; }
    // Places the controls with a ResizeRule for a client area of `width` by
    // `height` pixels; with `everyControl`, all of them.
    void apply(HWND dialog, int width, int height, bool everyControl = false) const;
    // The dialog is now shown at `dpi`: its controls get its font at that
    // scale and the dialog units that font gives. apply() places them.
    void rescale(HWND dialog, UINT dpi);
    // The DPI the controls are laid out for.
    UINT dpi() const { return dpi_; }
    // The least window size: the described size at the current scale.
    POINT leastSize() const { return least_; }

    struct Placed {
        HWND control;
        ControlDescription described;
    };
    const std::vector<Placed>& controls() const { return controls_; }

private:
    RECT pixels(int x, int y, int cx, int cy) const;

    bool captured_ = false;
    std::vector<Placed> controls_;  // in the template's order
    int describedWidth_ = 0, describedHeight_ = 0, fontSize_ = 0;
    DWORD style_ = 0, exStyle_ = 0;
    SIZE units_{};  // pixels of 4 horizontal and 8 vertical dialog units
    UINT dpi_ = 0;
    POINT least_{};
    HFONT font_ = nullptr;  // made for a later scale; the dialog manager owns the first
};

// The dialog units a font gives, as the dialog manager reckons them: the
// average width of the letters and the font's height.
SIZE dialogUnitsOf(HWND window, HFONT font);

}  // namespace velmora
