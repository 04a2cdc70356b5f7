#include "src/win32/dialog_layout.h"

#include "src/win32/display_scale.h"

namespace velmora {

DialogLayout::~DialogLayout() {
    if (font_) DeleteObject(font_);
}

SIZE dialogUnitsOf(HWND window, HFONT font) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE units{};
    HDC dc = GetDC(window);
    if (!dc) return units;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    SIZE letters{};
    if (GetTextMetricsA(dc, &metrics) && GetTextExtentPoint32A(dc, kLetters, sizeof kLetters - 1, &letters))
        units = {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return units;
}

void DialogLayout::capture(HWND dialog, const DialogDescription& description) {
    // The template's controls are the dialog's children in its order.
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlDescription& c : inTemplateOrder(description)) {
        if (!child || GetDlgCtrlID(child) != (c.id == kIdStatic ? 0xFFFF : c.id)) {
            controls_.clear();
            return;
        }
        controls_.push_back({child, c});
        child = GetWindow(child, GW_HWNDNEXT);
    }
    RECT units{0, 0, 4, 8}, window{};
    MapDialogRect(dialog, &units);
    GetWindowRect(dialog, &window);
    units_ = {units.right, units.bottom};
    describedWidth_ = description.cx;
    describedHeight_ = description.cy;
    fontSize_ = description.fontSize;
    style_ = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
    exStyle_ = static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE));
    dpi_ = windowDpi(dialog);
    least_ = {window.right - window.left, window.bottom - window.top};
    captured_ = true;
}

RECT DialogLayout::pixels(int x, int y, int cx, int cy) const {
    const int left = MulDiv(x, units_.cx, 4), top = MulDiv(y, units_.cy, 8);
    return {left, top, left + MulDiv(cx, units_.cx, 4), top + MulDiv(cy, units_.cy, 8)};
}

void DialogLayout::apply(HWND dialog, int width, int height, bool everyControl) const {
    if (!captured_) return;
    const RECT described = pixels(0, 0, describedWidth_, describedHeight_);
    const int dx = width - described.right, dy = height - described.bottom;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const Placed& placed : controls_) {
        const ControlDescription& c = placed.described;
        if (!c.resize && !everyControl) continue;
        RECT r = pixels(c.x, c.y, c.cx, c.cy);
        if (c.resize & kFollowRight) OffsetRect(&r, dx, 0);
        if (c.resize & kFollowBottom) OffsetRect(&r, 0, dy);
        if (c.resize & kGrowRight) r.right += dx;
        if (c.resize & kGrowDown) r.bottom += dy;
        // An icon's control is as large as its icon.
        const UINT keepSize = c.kind == ControlKind::Icon ? SWP_NOSIZE : 0;
        if (moves)
            moves = DeferWindowPos(moves, placed.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
    }
    if (moves) EndDeferWindowPos(moves);
    // Labels and frames left behind are drawn again.
    InvalidateRect(dialog, nullptr, TRUE);
}

void DialogLayout::rescale(HWND dialog, UINT dpi) {
    if (!captured_ || dpi == 0) return;
    LOGFONTA face{};
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!dialogFont || !GetObjectA(dialogFont, sizeof face, &face)) return;
    face.lfHeight = -MulDiv(fontSize_, static_cast<int>(dpi), 72);
    HFONT font = CreateFontIndirectA(&face);
    if (!font) return;
    const SIZE units = dialogUnitsOf(dialog, font);
    if (units.cx <= 0 || units.cy <= 0) {
        DeleteObject(font);
        return;
    }
    for (const Placed& placed : controls_) SendMessageA(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    if (font_) DeleteObject(font_);
    font_ = font;
    units_ = units;
    dpi_ = dpi;
    const RECT window = windowRectForClient(pixels(0, 0, describedWidth_, describedHeight_), style_, exStyle_, dpi);
    least_ = {window.right - window.left, window.bottom - window.top};
}

}  // namespace velmora
