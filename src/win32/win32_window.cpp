#include "src/win32/win32_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "src/win32/display_scale.h"

namespace velmora {

namespace {

LRESULT send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(control, message, wParam, lParam);
}

}  // namespace

std::string windowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

Win32Window::~Win32Window() {
    for (HICON icon : icons_) DestroyIcon(icon);
}

void Win32Window::ownIcons(std::vector<HICON> icons) {
    for (HICON icon : icons_) DestroyIcon(icon);
    icons_ = std::move(icons);
}

UINT Win32Window::dpi() const { return layout_.captured() ? layout_.dpi() : windowDpi(hwnd_); }

HWND Win32Window::item(int id) const {
    // An id the description does not hold is a fault of the dialog, as it
    // is on the headless host; never a silent no-op on a null window.
    if (!describe(id))
        throw std::out_of_range("no control " + std::to_string(id) + " in dialog \"" + dialog_.description().caption +
                                "\"");
    return GetDlgItem(hwnd_, id);
}

void Win32Window::fail(std::exception_ptr failure) {
    if (!failure_) failure_ = failure;
    if (!ended_) endDialog(kDialogFailed);
}

void Win32Window::rethrowFailure() {
    if (!failure_) return;
    std::exception_ptr failure = failure_;
    failure_ = nullptr;
    std::rethrow_exception(failure);
}

void Win32Window::enable(int id, bool enabled) { EnableWindow(item(id), enabled ? TRUE : FALSE); }
bool Win32Window::isEnabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
void Win32Window::show(int id, bool visible) { ShowWindow(item(id), visible ? SW_SHOW : SW_HIDE); }

// The control's own visibility, whether or not the dialog is shown yet.
bool Win32Window::isVisible(int id) const { return (GetWindowLongA(item(id), GWL_STYLE) & WS_VISIBLE) != 0; }

void Win32Window::setText(int id, const std::string& text) { SetWindowTextA(item(id), text.c_str()); }
std::string Win32Window::text(int id) const { return windowText(item(id)); }

void Win32Window::setTextLimit(int id, int limit) {
    HWND control = item(id);
    if (describe(id)->kind == ControlKind::Edit) send(control, EM_LIMITTEXT, static_cast<WPARAM>(std::max(limit, 0)));
}

void Win32Window::setChecked(int id, bool checked) {
    send(item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32Window::isChecked(int id) const { return send(item(id), BM_GETCHECK) == BST_CHECKED; }

// Drop-downs and tabs hold their entries alike.
void Win32Window::addItem(int id, const std::string& text) {
    HWND control = item(id);
    if (describe(id)->kind != ControlKind::Tabs) {
        send(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(text.c_str());
    send(control, TCM_INSERTITEMA, static_cast<WPARAM>(itemCount(id)), reinterpret_cast<LPARAM>(&tab));
}

int Win32Window::itemCount(int id) const {
    const UINT message = describe(id)->kind == ControlKind::Tabs ? TCM_GETITEMCOUNT : CB_GETCOUNT;
    return static_cast<int>(std::max<LRESULT>(send(item(id), message), 0));
}

std::string Win32Window::itemText(int id, int index) const {
    if (index < 0 || index >= itemCount(id)) return "";
    HWND control = item(id);
    if (describe(id)->kind != ControlKind::Tabs) {
        std::string text(static_cast<std::size_t>(std::max<LRESULT>(send(control, CB_GETLBTEXTLEN, index), 0)), '\0');
        send(control, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        return text;
    }
    char text[256] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof text;
    send(control, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
    return text;
}

// A drop-down's entry is put anew where it was, its selection kept.
void Win32Window::setItemText(int id, int index, const std::string& text) {
    if (index < 0 || index >= itemCount(id)) return;
    HWND control = item(id);
    if (describe(id)->kind != ControlKind::Tabs) {
        const int selected = selectedIndex(id);
        send(control, CB_DELETESTRING, static_cast<WPARAM>(index));
        send(control, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
        setSelectedIndex(id, selected);
        return;
    }
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(text.c_str());
    send(control, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
}

// An index outside the list shows no entry, as documented for
// CB_SETCURSEL; Wine would keep the old selection. Neither raises an event.
void Win32Window::setSelectedIndex(int id, int index) {
    HWND control = item(id);
    if (index < 0 || index >= itemCount(id)) index = -1;
    send(control, describe(id)->kind == ControlKind::Tabs ? TCM_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index));
}

int Win32Window::selectedIndex(int id) const {
    const bool tabs = describe(id)->kind == ControlKind::Tabs;
    LRESULT index = send(item(id), tabs ? TCM_GETCURSEL : CB_GETCURSEL);
    return index < 0 ? -1 : static_cast<int>(index);
}

void Win32Window::setFocus(int id) { SetFocus(item(id)); }

int Win32Window::focusedId() const {
    HWND focus = GetFocus();
    // A control's own child (a list's header) counts as the control.
    while (focus && GetAncestor(focus, GA_PARENT) != hwnd_) focus = GetAncestor(focus, GA_PARENT);
    if (!focus || !hwnd_) return 0;
    int id = GetDlgCtrlID(focus);
    return describe(id) ? id : 0;
}

void Win32Window::setCaption(const std::string& caption) { SetWindowTextA(hwnd_, caption.c_str()); }
std::string Win32Window::caption() const { return windowText(hwnd_); }

// Report list ----------------------------------------------------------------
// Widths cross the seam in pixels at 96 DPI and are the list's own at its
// scale. Read back, a list's width is rounded down and a column's up, so
// that columns fitted into a list never overflow it.

void Win32Window::insertColumn(int id, int column, const std::string& header, int width) {
    LVCOLUMNA lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = pixelsForDpi(width, dpi());
    lvc.pszText = const_cast<char*>(header.c_str());
    lvc.iSubItem = column;
    send(item(id), LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
}

void Win32Window::deleteColumn(int id, int column) { send(item(id), LVM_DELETECOLUMN, static_cast<WPARAM>(column)); }

void Win32Window::replaceColumns(int id, const std::vector<ListColumn>& columns) {
    HWND list = item(id);
    send(list, WM_SETREDRAW, FALSE);
    // The first column is kept and changed: a list may refuse to let it go.
    for (int column = columnCount(id); column > 1; --column) deleteColumn(id, column - 1);
    if (columns.empty() && columnCount(id) == 1) deleteColumn(id, 0);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int column = static_cast<int>(k);
        if (column < columnCount(id)) {
            LVCOLUMNA lvc{};
            lvc.mask = LVCF_TEXT;
            lvc.pszText = const_cast<char*>(columns[k].header.c_str());
            send(list, LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
            setColumnWidth(id, column, columns[k].width);
        } else {
            insertColumn(id, column, columns[k].header, columns[k].width);
        }
    }
    send(list, WM_SETREDRAW, TRUE);
    InvalidateRect(list, nullptr, TRUE);
}

int Win32Window::columnCount(int id) const {
    HWND header = reinterpret_cast<HWND>(send(item(id), LVM_GETHEADER));
    if (!header) return 0;
    return static_cast<int>(std::max<LRESULT>(send(header, HDM_GETITEMCOUNT), 0));
}

int Win32Window::columnWidth(int id, int column) const {
    const auto width = static_cast<int>(send(item(id), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    return pixelsAt96(width, dpi(), Rounding::Up);
}

void Win32Window::setColumnWidth(int id, int column, int width) {
    send(item(id), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(pixelsForDpi(width, dpi()), 0));
}

int Win32Window::clientWidth(int id) const {
    RECT rect{};
    GetClientRect(item(id), &rect);
    return pixelsAt96(rect.right - rect.left, dpi(), Rounding::Down);
}

void Win32Window::scaleColumns(UINT from, UINT to) {
    if (from == 0 || from == to) return;
    for (const ControlDescription& c : dialog_.description().controls) {
        if (c.kind != ControlKind::ReportList && c.kind != ControlKind::VirtualList) continue;
        HWND list = GetDlgItem(hwnd_, c.id);
        for (int column = 0; column < columnCount(c.id); ++column) {
            const auto width = static_cast<int>(send(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
            send(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 MAKELPARAM(MulDiv(width, static_cast<int>(to), static_cast<int>(from)), 0));
        }
    }
}

unsigned Win32Window::listStyles(int id) const {
    auto ex = static_cast<DWORD>(send(item(id), LVM_GETEXTENDEDLISTVIEWSTYLE));
    unsigned styles = 0;
    if (ex & LVS_EX_GRIDLINES) styles |= kListGridLines;
    if (ex & LVS_EX_FULLROWSELECT) styles |= kListFullRowSelect;
    return styles;
}

// Sets the two styles the seam knows and keeps the list's others.
void Win32Window::setListStyles(int id, unsigned styles) {
    DWORD ex = 0;
    if (styles & kListGridLines) ex |= LVS_EX_GRIDLINES;
    if (styles & kListFullRowSelect) ex |= LVS_EX_FULLROWSELECT;
    send(item(id), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, ex);
}

int Win32Window::rowCount(int id) const { return static_cast<int>(send(item(id), LVM_GETITEMCOUNT)); }

int Win32Window::insertRow(int id, int row, const std::string& firstCell) {
    LVITEMA lvi{};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = std::clamp(row, 0, rowCount(id));
    lvi.pszText = const_cast<char*>(firstCell.c_str());
    return static_cast<int>(send(item(id), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
}

void Win32Window::setCell(int id, int row, int column, const std::string& text) {
    if (row < 0 || row >= rowCount(id) || column < 0 || column >= columnCount(id)) return;
    LVITEMA lvi{};
    lvi.iSubItem = column;
    lvi.pszText = const_cast<char*>(text.c_str());
    send(item(id), LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&lvi));
}

std::string Win32Window::cell(int id, int row, int column) const {
    if (row < 0 || row >= rowCount(id) || column < 0 || column >= columnCount(id)) return {};
    // The list copies at most the buffer's size less one: grow until the
    // text fits with room to spare.
    constexpr std::size_t kLargest = std::size_t{1} << 24;
    for (std::size_t size = 256; size <= kLargest; size *= 2) {
        std::vector<char> buffer(size);
        LVITEMA lvi{};
        lvi.iSubItem = column;
        lvi.pszText = buffer.data();
        lvi.cchTextMax = static_cast<int>(size);
        auto copied = static_cast<std::size_t>(
            send(item(id), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&lvi)));
        if (copied + 1 < size || size == kLargest) return std::string(buffer.data(), std::min(copied, size - 1));
    }
    return {};
}

void Win32Window::deleteRow(int id, int row) { send(item(id), LVM_DELETEITEM, static_cast<WPARAM>(row)); }

// A list that draws itself after every insert takes seconds for a thousand
// rows under Wine: drawing stays off until all rows are in, and the list
// makes room for all of them at once.
void Win32Window::replaceRows(int id, const std::vector<std::vector<std::string>>& rows) {
    HWND list = item(id);
    const auto columns = static_cast<std::size_t>(columnCount(id));
    send(list, WM_SETREDRAW, FALSE);
    send(list, LVM_DELETEALLITEMS);
    send(list, LVM_SETITEMCOUNT, rows.size(), LVSICF_NOINVALIDATEALL);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = rows[r];
        LVITEMA lvi{};
        lvi.mask = LVIF_TEXT;
        lvi.iItem = static_cast<int>(r);
        lvi.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
        int at = static_cast<int>(send(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
        if (at < 0) break;
        for (std::size_t c = 1; c < std::min(cells.size(), columns); ++c) {
            LVITEMA sub{};
            sub.iSubItem = static_cast<int>(c);
            sub.pszText = const_cast<char*>(cells[c].c_str());
            send(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
        }
    }
    send(list, WM_SETREDRAW, TRUE);
    InvalidateRect(list, nullptr, TRUE);
}

int Win32Window::hitTest(int id, ListPoint point) const {
    LVHITTESTINFO info{};
    info.pt = {point.x, point.y};
    auto row = static_cast<int>(send(item(id), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    return row >= 0 && (info.flags & LVHT_ONITEM) ? row : -1;
}

int Win32Window::selectedRow(int id) const {
    return static_cast<int>(send(item(id), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// The marks are taken from the rows that hold them, not from every row: a
// list of millions would otherwise be walked row by row.
void Win32Window::selectRow(int id, int row) {
    HWND list = item(id);
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    for (UINT mark : {LVNI_SELECTED, LVNI_FOCUSED}) {
        for (int marked = -1;;) {
            marked = static_cast<int>(send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(marked), mark));
            if (marked < 0) break;
            send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(marked), reinterpret_cast<LPARAM>(&state));
        }
    }
    if (row < 0 || row >= rowCount(id)) return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// The list asks the dialog procedure for each cell it shows (LVN_GETDISPINFO).
void Win32Window::setVirtualRows(int id, VirtualRows* rows) {
    HWND list = item(id);
    virtualRows_[id] = rows;
    send(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows ? std::max(rows->rowCount(), 0) : 0), 0);
    InvalidateRect(list, nullptr, TRUE);
}

VirtualRows* Win32Window::virtualRows(int id) const {
    auto found = virtualRows_.find(id);
    return found == virtualRows_.end() ? nullptr : found->second;
}

// Tree ------------------------------------------------------------------------

void Win32Window::clearTree(int id) {
    send(item(id), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    treeItems_[id].clear();
}

int Win32Window::addTreeItem(int id, int parent, const std::string& text) {
    HWND tree = item(id);
    std::vector<HTREEITEM>& items = treeItems_[id];
    if (parent < 0 || parent > static_cast<int>(items.size())) return 0;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? items[static_cast<std::size_t>(parent) - 1] : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_STATE;
    insert.item.state = TVIS_EXPANDED;
    insert.item.stateMask = TVIS_EXPANDED;
    insert.item.pszText = const_cast<char*>(text.c_str());
    auto added = reinterpret_cast<HTREEITEM>(send(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!added) return 0;
    items.push_back(added);
    return static_cast<int>(items.size());
}

std::vector<TreeLine> Win32Window::treeLines(int id) const {
    HWND tree = item(id);
    std::vector<TreeLine> lines;
    auto next = [&](HTREEITEM from, WPARAM how) {
        return reinterpret_cast<HTREEITEM>(send(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    std::vector<std::pair<HTREEITEM, int>> pending;  // items still to show, the next last
    for (HTREEITEM top = next(nullptr, TVGN_ROOT); top; top = next(top, TVGN_NEXT))
        pending.insert(pending.begin(), {top, 0});
    while (!pending.empty()) {
        auto [at, depth] = pending.back();
        pending.pop_back();
        char text[1024] = {};
        TVITEMA shown{};
        shown.mask = TVIF_TEXT;
        shown.hItem = at;
        shown.pszText = text;
        shown.cchTextMax = sizeof text;
        send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shown));
        lines.push_back({depth, text});
        std::vector<std::pair<HTREEITEM, int>> children;
        for (HTREEITEM child = next(at, TVGN_CHILD); child; child = next(child, TVGN_NEXT))
            children.push_back({child, depth + 1});
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return lines;
}

// Progress bar and timer ------------------------------------------------------

void Win32Window::setProgress(int id, int percent) { send(item(id), PBM_SETPOS, static_cast<WPARAM>(percent)); }

int Win32Window::progress(int id) const { return static_cast<int>(send(item(id), PBM_GETPOS)); }

void Win32Window::startTimer(int id, int milliseconds) {
    SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(std::max(milliseconds, 0)), nullptr);
}

// The first end wins, as on the headless host; the dialog manager ends a
// modal run once the current message has been handled.
void Win32Window::endDialog(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    if (mode_ == Mode::Modal) EndDialog(hwnd_, result);
}

}  // namespace velmora
