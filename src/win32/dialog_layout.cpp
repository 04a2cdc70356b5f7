#include "win32/dialog_layout.h"

namespace velmora {

void DialogLayout::capture(HWND dialog, const DialogDescription& description) {
    RECT client{}, window{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    client_ = {client.right - client.left, client.bottom - client.top};
    least_ = {window.right - window.left, window.bottom - window.top};
    for (const ControlDescription& c : description.controls) {
        HWND control = c.resize && c.id != kIdStatic ? GetDlgItem(dialog, c.id) : nullptr;
        if (!control) continue;
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        controls_.push_back({c.id, c.resize, rect});
    }
    captured_ = true;
}

void DialogLayout::apply(HWND dialog, int width, int height) const {
    if (!captured_ || controls_.empty()) return;
    const int dx = width - client_.cx, dy = height - client_.cy;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const Placed& c : controls_) {
        RECT r = c.rect;
        if (c.resize & kFollowRight) OffsetRect(&r, dx, 0);
        if (c.resize & kFollowBottom) OffsetRect(&r, 0, dy);
        if (c.resize & kGrowRight) r.right += dx;
        if (c.resize & kGrowDown) r.bottom += dy;
        if (moves)
            moves = DeferWindowPos(moves, GetDlgItem(dialog, c.id), nullptr, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    // Labels and frames left behind are drawn again.
    InvalidateRect(dialog, nullptr, TRUE);
}

}  // namespace velmora
