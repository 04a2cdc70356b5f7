#include "src/win32/record_map_window.h"

#include <algorithm>
#include <string>

#include "src/toolkit/byte_map_layout.h"
#include "src/win32/display_scale.h"

namespace velmora {

namespace {

constexpr COLORREF kFieldShades[] = {RGB(255, 214, 214), RGB(204, 228, 255), RGB(208, 245, 208), RGB(255, 240, 196),
                                     RGB(232, 214, 255), RGB(200, 245, 240), RGB(255, 222, 240), RGB(228, 228, 196)};
constexpr COLORREF kSeparatorShade = RGB(200, 200, 200);
constexpr COLORREF kBetweenShade = RGB(236, 236, 236);
constexpr COLORREF kMutedText = RGB(128, 128, 128);
constexpr COLORREF kFaultShade = RGB(230, 40, 40);

struct MapState {
    const MappedBytes* bytes = nullptr;
    MapSelection selection;
    std::size_t top = 0;  // the first row shown
    HFONT font = nullptr;
    UINT dpi = 0;
    int cellWidth = 8, cellHeight = 16;
};

// A fixed-pitch font of 9 points at the window's scale.
void fitFont(HWND hwnd, MapState& s) {
    const UINT dpi = windowDpi(hwnd);
    if (s.font && dpi == s.dpi) return;
    if (s.font) DeleteObject(s.font);
    s.dpi = dpi;
    s.font =
        CreateFontA(-pixelsForDpi(12, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, s.font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    s.cellWidth = std::max<int>(metrics.tmAveCharWidth, 1);
    s.cellHeight = std::max<int>(metrics.tmHeight, 1);
}

struct Geometry {
    int perRow = 16;
    int headerLines = 1;  // the legend, and the ruler for fixed-length records
    int rowsShown = 1;
    std::size_t rows = 0;
};

Geometry geometry(HWND hwnd, const MapState& s) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Geometry g;
    g.perRow = mapBytesPerRow(static_cast<int>(client.right) / s.cellWidth);
    g.headerLines = s.bytes && s.bytes->fixedLength() ? 2 : 1;
    g.rowsShown = std::max(static_cast<int>(client.bottom) / s.cellHeight - g.headerLines, 1);
    g.rows = s.bytes ? mapRowCount(s.bytes->size(), g.perRow) : 0;
    return g;
}

void updateScrollBar(HWND hwnd, MapState& s) {
    const Geometry g = geometry(hwnd, s);
    const std::size_t lastTop =
        g.rows > static_cast<std::size_t>(g.rowsShown) ? g.rows - static_cast<std::size_t>(g.rowsShown) : 0;
    s.top = std::min(s.top, lastTop);
    SCROLLINFO info{sizeof(info),
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    static_cast<int>(g.rows ? g.rows - 1 : 0),
                    static_cast<UINT>(g.rowsShown),
                    static_cast<int>(s.top),
                    0};
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void scrollTo(HWND hwnd, MapState& s, std::size_t top) {
    s.top = top;
    updateScrollBar(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void ensureVisible(HWND hwnd, MapState& s, std::size_t at) {
    const Geometry g = geometry(hwnd, s);
    const std::size_t row = at / static_cast<std::size_t>(g.perRow);
    if (row < s.top) scrollTo(hwnd, s, row);
    if (row >= s.top + static_cast<std::size_t>(g.rowsShown))
        scrollTo(hwnd, s, row - static_cast<std::size_t>(g.rowsShown) + 1);
}

void showSelection(HWND hwnd, MapState& s) {
    SetWindowTextA(hwnd, s.bytes ? s.bytes->accessibleText(s.selection.field).c_str() : "");
    if (s.bytes) ensureVisible(hwnd, s, s.selection.caret);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// The user's choice of a byte, told to the dialog.
void choose(HWND hwnd, MapState& s, std::size_t at) {
    if (!s.bytes || at >= s.bytes->size()) return;
    s.selection.toByte(*s.bytes, at);
    showSelection(hwnd, s);
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), kMapSelectionChanged),
                 reinterpret_cast<LPARAM>(hwnd));
}

COLORREF shadeOf(const MappedBytes& bytes, std::size_t at) {
    switch (bytes.kindAt(at)) {
    case MapByte::Field:
        return kFieldShades[static_cast<std::size_t>(bytes.fieldAt(at)) % std::size(kFieldShades)];
    case MapByte::Separator:
        return kSeparatorShade;
    case MapByte::Between:
        return kBetweenShade;
    case MapByte::Unclaimed:
        break;
    }
    return GetSysColor(COLOR_WINDOW);
}

void cellText(HDC dc, const MapState& s, int cell, int line, int cells, const std::string& text, COLORREF back,
              COLORREF fore) {
    SetBkColor(dc, back);
    SetTextColor(dc, fore);
    RECT r{cell * s.cellWidth, line * s.cellHeight, (cell + cells) * s.cellWidth, (line + 1) * s.cellHeight};
    ExtTextOutA(dc, r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void paintLegend(HDC dc, const MapState& s, int width) {
    int x = s.cellWidth;
    for (const LegendEntry& e : s.bytes->legend()) {
        const COLORREF shade = e.kind == MapByte::Field
                                   ? kFieldShades[static_cast<std::size_t>(e.field) % std::size(kFieldShades)]
                               : e.kind == MapByte::Separator ? kSeparatorShade
                               : e.kind == MapByte::Between   ? kBetweenShade
                                                              : GetSysColor(COLOR_WINDOW);
        RECT swatch{x, 2, x + s.cellHeight - 4, s.cellHeight - 2};
        HBRUSH brush = CreateSolidBrush(shade);
        FillRect(dc, &swatch, brush);
        DeleteObject(brush);
        FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        x = swatch.right + s.cellWidth / 2;
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        TextOutA(dc, x, 0, e.text.data(), static_cast<int>(e.text.size()));
        SIZE size{};
        GetTextExtentPoint32A(dc, e.text.data(), static_cast<int>(e.text.size()), &size);
        x += size.cx + s.cellWidth * 2;
        if (x >= width) break;
    }
}

void paintRows(HDC dc, const MapState& s, const Geometry& g, bool focused) {
    const MappedBytes& bytes = *s.bytes;
    const COLORREF window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    const std::size_t end = std::min(g.rows, s.top + static_cast<std::size_t>(g.rowsShown) + 1);
    for (std::size_t row = s.top; row < end; ++row) {
        const int line = g.headerLines + static_cast<int>(row - s.top);
        cellText(dc, s, 0, line, kMapOffsetCells, mapRowText(bytes, row, g.perRow).substr(0, kMapOffsetCells), window,
                 kMutedText);
        for (int c = 0; c < g.perRow; ++c) {
            const std::size_t at = row * static_cast<std::size_t>(g.perRow) + static_cast<std::size_t>(c);
            if (at >= bytes.size()) break;
            const bool selected = s.selection.field >= 0 && bytes.fieldAt(at) == s.selection.field;
            COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : shadeOf(bytes, at);
            COLORREF fore = selected                             ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                            : bytes.kindAt(at) == MapByte::Field ? text
                                                                 : kMutedText;
            if (at == bytes.faultAt()) back = kFaultShade, fore = window;
            // The shade runs on under the space to the next byte of the same field.
            const bool joined = c + 1 < g.perRow && at + 1 < bytes.size() &&
                                bytes.fieldAt(at + 1) == bytes.fieldAt(at) && bytes.kindAt(at + 1) == bytes.kindAt(at);
            cellText(dc, s, mapHexCell(c), line, joined ? 3 : 2, std::string(bytes.hexAt(at)) + " ", back, fore);
            cellText(dc, s, mapTextCell(c, g.perRow), line, 1, std::string(1, bytes.charAt(at)), back, fore);
            if (focused && at == s.selection.caret) {
                RECT caret{mapHexCell(c) * s.cellWidth, line * s.cellHeight, (mapHexCell(c) + 2) * s.cellWidth,
                           (line + 1) * s.cellHeight};
                DrawFocusRect(dc, &caret);
            }
        }
    }
}

// Drawn into a bitmap first, so the map never flickers as it scrolls.
void paint(HWND hwnd, MapState& s) {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(hwnd, &ps);
    fitFont(hwnd, s);
    RECT client{};
    GetClientRect(hwnd, &client);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, s.font);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    if (s.bytes) {
        const Geometry g = geometry(hwnd, s);
        paintLegend(dc, s, client.right);
        if (s.bytes->fixedLength())
            cellText(dc, s, 0, 1, mapRowCells(g.perRow), mapRuler(g.perRow), GetSysColor(COLOR_WINDOW), kMutedText);
        paintRows(dc, s, g, GetFocus() == hwnd);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(hwnd, &ps);
}

void scroll(HWND hwnd, MapState& s, WORD request) {
    const Geometry g = geometry(hwnd, s);
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd, SB_VERT, &info);
    std::size_t top = s.top;
    const std::size_t page = static_cast<std::size_t>(g.rowsShown);
    switch (request) {
    case SB_LINEUP:
        top = top ? top - 1 : 0;
        break;
    case SB_LINEDOWN:
        ++top;
        break;
    case SB_PAGEUP:
        top = top > page ? top - page : 0;
        break;
    case SB_PAGEDOWN:
        top += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        top = static_cast<std::size_t>(std::max(info.nTrackPos, 0));
        break;
    case SB_TOP:
        top = 0;
        break;
    case SB_BOTTOM:
        top = g.rows;
        break;
    default:
        return;
    }
    scrollTo(hwnd, s, top);
}

bool mapKey(WPARAM key, MapKey& out) {
    switch (key) {
    case VK_LEFT:
        out = MapKey::Left;
        return true;
    case VK_RIGHT:
        out = MapKey::Right;
        return true;
    case VK_UP:
        out = MapKey::Up;
        return true;
    case VK_DOWN:
        out = MapKey::Down;
        return true;
    case VK_PRIOR:
        out = MapKey::PageUp;
        return true;
    case VK_NEXT:
        out = MapKey::PageDown;
        return true;
    case VK_HOME:
        out = MapKey::Home;
        return true;
    case VK_END:
        out = MapKey::End;
        return true;
    default:
        return false;
    }
}

void click(HWND hwnd, MapState& s, LPARAM lParam) {
    SetFocus(hwnd);
    if (!s.bytes) return;
    const Geometry g = geometry(hwnd, s);
    const int line = static_cast<short>(HIWORD(lParam)) / s.cellHeight - g.headerLines;
    if (line < 0) return;
    const std::size_t at = mapByteAt(static_cast<short>(LOWORD(lParam)) / s.cellWidth,
                                     s.top + static_cast<std::size_t>(line), g.perRow, s.bytes->size());
    if (at != std::string::npos) choose(hwnd, s, at);
}

LRESULT bytePoint(HWND hwnd, MapState& s, std::size_t at) {
    ensureVisible(hwnd, s, at);
    const Geometry g = geometry(hwnd, s);
    const int column = static_cast<int>(at % static_cast<std::size_t>(g.perRow));
    const int line = g.headerLines + static_cast<int>(at / static_cast<std::size_t>(g.perRow) - s.top);
    return MAKELRESULT((mapHexCell(column) + 1) * s.cellWidth, line * s.cellHeight + s.cellHeight / 2);
}

LRESULT CALLBACK recordMapProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new MapState));
    auto* held = reinterpret_cast<MapState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!held) return DefWindowProcA(hwnd, message, wParam, lParam);
    MapState& s = *held;
    switch (message) {
    case WM_NCDESTROY:
        if (s.font) DeleteObject(s.font);
        delete held;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_PAINT:
        paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        updateScrollBar(hwnd, s);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_VSCROLL:
        scroll(hwnd, s, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        const std::size_t down = static_cast<std::size_t>(std::abs(notches) * 3);
        scrollTo(hwnd, s, notches > 0 ? (s.top > down ? s.top - down : 0) : s.top + down);
        return 0;
    }
    case WM_LBUTTONDOWN:
        click(hwnd, s, lParam);
        return 0;
    case WM_KEYDOWN: {
        MapKey key;
        if (!s.bytes || !mapKey(wParam, key)) break;
        fitFont(hwnd, s);
        const Geometry g = geometry(hwnd, s);
        choose(hwnd, s, movedByte(s.selection.caret, key, s.bytes->size(), g.perRow, g.rowsShown));
        return 0;
    }
    case kMapSetBytes:
        s.bytes = reinterpret_cast<const MappedBytes*>(lParam);
        s.selection = MapSelection();
        s.top = 0;
        fitFont(hwnd, s);
        updateScrollBar(hwnd, s);
        showSelection(hwnd, s);
        return 0;
    case kMapSelectField:
        if (!s.bytes) return 0;
        s.selection.toField(*s.bytes, static_cast<int>(wParam));
        showSelection(hwnd, s);
        return 0;
    case kMapGetSelection:
        *reinterpret_cast<MapSelection*>(lParam) = s.selection;
        return 0;
    case kMapBytePoint:
        fitFont(hwnd, s);
        return s.bytes ? bytePoint(hwnd, s, static_cast<std::size_t>(wParam)) : 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

void registerRecordMapClass() {
    static const bool registered = [] {
        WNDCLASSA c{};
        c.style = CS_DBLCLKS;
        c.lpfnWndProc = recordMapProcedure;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hCursor = LoadCursor(nullptr, IDC_ARROW);
        c.lpszClassName = kRecordMapClass;
        return RegisterClassA(&c) != 0;
    }();
    (void)registered;
}

}  // namespace velmora
