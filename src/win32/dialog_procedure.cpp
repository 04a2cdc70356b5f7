#include "src/win32/dialog_procedure.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "src/win32/display_scale.h"
#include "src/win32/function_keys.h"
#include "src/win32/record_map_window.h"
#include "src/win32/win32_window.h"

namespace velmora {

namespace {

// Posted to the dialog by a report list's key (wParam: the list's id).
constexpr UINT kListKeyHandled = WM_APP + 16;

bool isButton(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
        return true;
    default:
        return false;
    }
}

// The control event a WM_COMMAND notification stands for, if any. The
// codes of different control classes overlap, so the kind decides.
std::optional<DialogEvent> commandEvent(const Win32Window& window, int id, UINT code) {
    DialogEvent event;
    event.id = id;
    const ControlDescription* control = window.describe(id);
    if (code == BN_CLICKED && (id == kIdOk || id == kIdCancel || (control && isButton(control->kind)))) {
        // Enter and Escape arrive as IDOK and IDCANCEL whether or not the
        // dialog has such a button.
        event.kind = DialogEvent::Clicked;
        return event;
    }
    if (!control) return std::nullopt;
    if (control->kind == ControlKind::Edit && code == EN_CHANGE) {
        event.kind = DialogEvent::EditChanged;
        return event;
    }
    if (control->kind == ControlKind::DropDownList && code == CBN_SELCHANGE) {
        event.kind = DialogEvent::SelectionChanged;
        return event;
    }
    if (control->kind == ControlKind::RecordMap && code == kMapSelectionChanged) {
        event.kind = DialogEvent::SelectionChanged;
        return event;
    }
    if (control->kind == ControlKind::DropDownList && code == CBN_CLOSEUP) {
        event.kind = DialogEvent::DropDownClosed;
        return event;
    }
    return std::nullopt;
}

// The entries the dialog adds to its system menu, below one separator.
void addSystemMenuItems(HWND hwnd, const DialogDescription& description) {
    if (description.systemMenuItems.empty()) return;
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (const SystemMenuItem& item : description.systemMenuItems)
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.id), item.text.c_str());
}

// The window's big and small icons, and the icons its controls show, each
// drawn from the program's own at the size of the window's scale and owned
// by this showing; the platform's own when the program has no icon of that
// number.
void showIcons(Win32Window& window, const DialogDescription& description) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const UINT dpi = window.dpi();
    std::vector<HICON> loaded;
    auto load = [&](int resource, int sizeMetric, UINT flags) {
        const int size = systemMetricForDpi(sizeMetric, dpi);
        auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_ICON, size, size, flags));
        if (icon) loaded.push_back(icon);
        return icon;
    };
    if (description.iconResource != 0) {
        if (HICON bigIcon = load(description.iconResource, SM_CXICON, 0))
            SendMessageA(window.hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
        if (HICON smallIcon = load(description.iconResource, SM_CXSMICON, LR_VGACOLOR))
            SendMessageA(window.hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    }
    for (const DialogLayout::Placed& placed : window.layout().controls())
        if (placed.described.kind == ControlKind::Icon && placed.described.iconResource != 0)
            if (HICON icon = load(placed.described.iconResource, SM_CXICON, 0))
                SendMessageA(placed.control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    window.ownIcons(std::move(loaded));
}

// Moved to a monitor of another scale: the controls in a font for it,
// placed again, the lists' columns and the icons at that scale, in the
// window rectangle the system suggests.
void changeScale(Win32Window& window, UINT dpi, const RECT& suggested) {
    HWND hwnd = window.hwnd();
    DialogLayout& layout = window.layout();
    const UINT before = layout.dpi();
    if (layout.captured() && dpi != before) {
        layout.rescale(hwnd, dpi);
        window.scaleColumns(before, layout.dpi());
        showIcons(window, window.dialog().description());
    }
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(hwnd, &client);
    layout.apply(hwnd, client.right, client.bottom, true);
}

HICON bigIconOf(HWND hwnd) { return reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)); }

bool isList(ControlKind kind) { return kind == ControlKind::ReportList || kind == ControlKind::VirtualList; }

// A virtual list's cell into the list's own buffer, cut to fit.
void giveCell(const Win32Window& window, const NMHDR& header, LPARAM lParam) {
    VirtualRows* rows = window.virtualRows(static_cast<int>(header.idFrom));
    if (header.code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
        if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
        const std::string text = rows ? rows->cell(item.iItem, item.iSubItem) : "";
        const std::size_t size = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
        std::memcpy(item.pszText, text.data(), size);
        item.pszText[size] = '\0';
        return;
    }
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const std::string text = rows ? rows->cell(item.iItem, item.iSubItem) : "";
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), item.pszText, item.cchTextMax - 1);
    item.pszText[std::max(size, 0)] = L'\0';
}

// The control event a WM_NOTIFY stands for, handled; false when it is
// none of ours.
bool notify(Win32Window& window, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const ControlDescription* control = window.describe(static_cast<int>(header->idFrom));
    if (!control) return false;
    DialogEvent event;
    event.id = control->id;
    if (control->kind == ControlKind::VirtualList &&
        (header->code == LVN_GETDISPINFOA || header->code == LVN_GETDISPINFOW)) {
        giveCell(window, *header, lParam);
        return true;
    }
    if (control->kind == ControlKind::ReportList && header->code == static_cast<UINT>(LVN_KEYDOWN)) {
        // The list moves its selection after this notification: the dialog
        // hears of the key once the list has handled it.
        PostMessageA(window.hwnd(), kListKeyHandled, static_cast<WPARAM>(control->id), 0);
        return false;
    }
    if (control->kind == ControlKind::Tabs && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        event.kind = DialogEvent::SelectionChanged;
    } else if (isList(control->kind) &&
               (header->code == static_cast<UINT>(NM_DBLCLK) ||
                (header->code == static_cast<UINT>(NM_CLICK) && control->kind == ControlKind::ReportList))) {
        const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        event.kind =
            header->code == static_cast<UINT>(NM_CLICK) ? DialogEvent::ListClicked : DialogEvent::ListDoubleClicked;
        event.point = {click->ptAction.x, click->ptAction.y};
    } else {
        return false;
    }
    window.dialog().dispatch(event);
    return true;
}

INT_PTR handle(Win32Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog& dialog = window.dialog();
    switch (message) {
    case WM_INITDIALOG:
        // FALSE keeps the focus where the dialog put it.
        return dialog.dispatch({DialogEvent::Init}) == EventResult::FocusSet ? FALSE : TRUE;

    case WM_COMMAND: {
        auto event = commandEvent(window, LOWORD(wParam), HIWORD(wParam));
        if (!event) return FALSE;
        return dialog.dispatch(*event) == EventResult::Unhandled ? FALSE : TRUE;
    }

    case WM_NOTIFY:
        if (!notify(window, lParam)) return FALSE;
        SetWindowLongPtrA(window.hwnd(), DWLP_MSGRESULT, 0);
        return TRUE;

    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && dialog.description().resizable)
            window.layout().apply(window.hwnd(), LOWORD(lParam), HIWORD(lParam));
        return FALSE;

    case WM_GETMINMAXINFO: {
        if (!window.layout().captured() || !dialog.description().resizable) return FALSE;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = window.layout().leastSize();
        return TRUE;
    }

    case WM_SYSCOMMAND: {
        // Every command reaches the dialog; what it leaves is the platform's.
        DialogEvent event;
        event.kind = DialogEvent::SystemCommand;
        event.id = static_cast<int>(wParam);
        return dialog.dispatch(event) == EventResult::Unhandled ? FALSE : TRUE;
    }

    case WM_PAINT: {
        // Minimised, the window shows its big icon centred; otherwise the
        // dialog's own painting.
        HWND hwnd = window.hwnd();
        HICON icon = dialog.description().iconResource ? bigIconOf(hwnd) : nullptr;
        if (!icon || !IsIconic(hwnd)) return FALSE;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        SendMessageA(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client;
        GetClientRect(hwnd, &client);
        const int width = systemMetricForDpi(SM_CXICON, window.dpi());
        const int height = systemMetricForDpi(SM_CYICON, window.dpi());
        int x = (client.right - client.left - width + 1) / 2;
        int y = (client.bottom - client.top - height + 1) / 2;
        DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
        EndPaint(hwnd, &paint);
        return TRUE;
    }

    case WM_DPICHANGED:
        changeScale(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;

    case kListKeyHandled: {
        DialogEvent event;
        event.kind = DialogEvent::ListKeyed;
        event.id = static_cast<int>(wParam);
        dialog.dispatch(event);
        return TRUE;
    }

    case WM_TIMER: {
        DialogEvent event;
        event.kind = DialogEvent::Timer;
        event.id = static_cast<int>(wParam);
        return dialog.dispatch(event) == EventResult::Unhandled ? FALSE : TRUE;
    }

    case WM_QUERYDRAGICON:
        // Answered directly, not through DWLP_MSGRESULT.
        if (!dialog.description().iconResource) return FALSE;
        return reinterpret_cast<INT_PTR>(bigIconOf(window.hwnd()));

    case WM_HELP:
        // Consumed whatever the dialog makes of it: never passed on to an
        // owner's help.
        dialog.dispatch({DialogEvent::Help});
        return TRUE;

    case WM_CLOSE: {
        // The close box is Cancel, unless a Cancel button is there and
        // disabled.
        HWND cancel = GetDlgItem(window.hwnd(), kIdCancel);
        if (cancel && !IsWindowEnabled(cancel)) return TRUE;
        DialogEvent event;
        event.kind = DialogEvent::Cancel;
        event.id = kIdCancel;
        dialog.dispatch(event);
        return TRUE;
    }

    case WM_NCDESTROY:
        unmarkDialogWindow(window.hwnd());
        SetWindowLongPtrA(window.hwnd(), DWLP_USER, 0);
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK dialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Window* window = nullptr;
    if (message == WM_INITDIALOG) {
        window = reinterpret_cast<Win32Window*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        window->bind(hwnd);
        window->dialog().attach(*window);
    } else {
        window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!window) return FALSE;  // messages before WM_INITDIALOG
    // No exception may unwind through the window system's frames.
    try {
        if (message == WM_INITDIALOG) {
            const DialogDescription& description = window->dialog().description();
            keepDpiChangesToOurselves(hwnd);
            window->layout().capture(hwnd, description);
            addSystemMenuItems(hwnd, description);
            showIcons(*window, description);
            for (const ControlDescription& c : description.controls)
                if (c.kind == ControlKind::Edit && c.textLimit > 0) window->setTextLimit(c.id, c.textLimit);
            markDialogWindow(hwnd, *window);
        }
        return handle(*window, message, wParam, lParam);
    } catch (...) {
        window->fail(std::current_exception());
        return TRUE;
    }
}

}  // namespace velmora
