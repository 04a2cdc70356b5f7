// The scenario driver on real windows: the dialog is created modeless from
// its description and driven with the messages a user's keys and clicks
// produce, pumped through the dialog manager until nothing is left. What
// the scenarios read comes back from the windows themselves.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "tests/scenarios/scenario_host.h"
#include "src/win32/dialog_runner.h"
#include "src/win32/record_map_window.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

class Win32ScenarioHost : public ScenarioHost {
public:
    void open(Dialog& dialog) override {
        dialog_.reset();
        dialog_ = std::make_unique<ModelessDialog>(dialog);
        settle();
    }

    void type(int id, const std::string& text) override {
        HWND edit = reachable(id);
        if (!edit) return;
        // A click into the edit, then everything selected.
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        settle();
        if (text.empty()) {
            keyChar(edit, '\b');
            return;
        }
        for (char ch : text) {
            if (window().ended()) return;
            keyChar(edit, ch);
        }
    }

    void click(int id) override {
        HWND button = reachable(id);
        if (!button) return;
        SendMessageA(button, BM_CLICK, 0, 0);
        settle();
    }

    // The list opens, the user picks an entry, the list closes: the
    // selection is set as the list sets it and the combo box reports it to
    // the dialog as it does for a pick; closing reports itself.
    void choose(int id, int index) override {
        HWND combo = reachable(id);
        if (!combo) return;
        if (window().describe(id)->kind == ControlKind::Tabs) {
            RECT tab{};
            if (SendMessageA(combo, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab)))
                clickAt(combo, {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
            return;
        }
        int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        if (index < 0 || index >= count) return;
        SetFocus(combo);
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        settle();
        if (!window().ended()) SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        settle();
    }

    void clickListRow(int id, int row) override {
        HWND list = reachable(id);
        POINT centre{};
        if (list && rowCentre(list, row, centre)) clickAt(list, centre);
    }

    void doubleClickListRow(int id, int row) override {
        HWND list = reachable(id);
        POINT centre{};
        if (!list || !rowCentre(list, row, centre)) return;
        clickAt(list, centre);
        LPARAM at = MAKELPARAM(centre.x, centre.y);
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
        settle();
    }

    void clickListBelowRows(int id) override {
        HWND list = reachable(id);
        if (!list) return;
        int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        POINT point{10, 0};
        if (rows > 0) {
            RECT last{};
            last.left = LVIR_BOUNDS;
            SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(rows - 1), reinterpret_cast<LPARAM>(&last));
            point.y = last.bottom + (last.bottom - last.top) / 2;
        } else {
            RECT header{};
            GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
            point.y = (header.bottom - header.top) + 8;
        }
        clickAt(list, point);
    }

    void clickListCell(int id, int row, int column) override {
        HWND list = reachable(id);
        POINT centre{};
        if (!list || !rowCentre(list, row, centre)) return;
        RECT cell{};
        cell.top = column;
        cell.left = LVIR_LABEL;  // the first column's own, not the whole row's
        SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        clickAt(list, {(cell.left + cell.right) / 2, centre.y});
    }
    void clickMapByte(int id, std::size_t at) override {
        HWND map = reachable(id);
        if (!map) return;
        const auto point = static_cast<DWORD>(SendMessageA(map, kMapBytePoint, at, 0));
        settle();
        clickAt(map, {LOWORD(point), HIWORD(point)});
    }
    void pressMapKey(int id, MapKey key) override {
        HWND map = reachable(id);
        if (!map) return;
        SetFocus(map);
        const UINT keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
        this->key(keys[static_cast<int>(key)]);
    }
    void pressListKey(int id, MapKey key) override { pressMapKey(id, key); }
    void clickListAt(int id, ListPoint point) override {
        if (HWND list = reachable(id)) clickAt(list, {point.x, point.y});
    }

    // Keys go to the focused control and reach the dialog through its
    // dialog manager, as in the modal loop.
    void pressEnter() override { key(VK_RETURN); }
    void pressEscape() override { key(VK_ESCAPE); }
    // F1 arrives at the focused control as WM_HELP (the system makes it of
    // the key), and the control's default handling passes it up.
    void pressFunctionKey(int number) override { key(static_cast<UINT>(VK_F1 + number - 1)); }
    void pressF1() override {
        if (window().ended()) return;
        HWND focus = GetFocus();
        HWND target = focus && IsChild(hwnd(), focus) ? focus : hwnd();
        HELPINFO help{};
        help.cbSize = sizeof(help);
        help.iContextType = HELPINFO_WINDOW;
        help.iCtrlId = GetDlgCtrlID(target);
        help.hItemHandle = target;
        SendMessageA(target, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        settle();
    }

    void closeBox() override {
        if (window().ended()) return;
        PostMessageA(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        settle();
    }

    void chooseSystemCommand(int id) override {
        if (window().ended()) return;
        PostMessageA(hwnd(), WM_SYSCOMMAND, static_cast<WPARAM>(id), 0);
        // A platform command such as Move runs a loop until the mouse
        // button is released; on the dialog's own background a release
        // does nothing.
        PostMessageA(hwnd(), WM_LBUTTONUP, 0, 0);
        settle();
    }

    std::string systemMenuEntry(int id) const override {
        HMENU menu = GetSystemMenu(hwnd(), FALSE);
        int count = GetMenuItemCount(menu);
        // Only what follows the menu's last separator was added by the dialog.
        int first = 0;
        for (int i = 0; i < count; ++i)
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) first = i + 1;
        for (int i = first; i < count; ++i) {
            if (static_cast<int>(GetMenuItemID(menu, i)) != id) continue;
            char text[256] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            return text;
        }
        return "";
    }

    bool isEnabled(int id) const override { return window().isEnabled(id); }
    bool isVisible(int id) const override { return window().isVisible(id); }
    std::string text(int id) const override { return window().text(id); }
    bool isChecked(int id) const override { return window().isChecked(id); }
    int selectedIndex(int id) const override { return window().selectedIndex(id); }
    std::string itemText(int id, int index) const override { return window().itemText(id, index); }
    int listRowCount(int id) const override { return window().rowCount(id); }
    std::string listCell(int id, int row, int column) const override { return window().cell(id, row, column); }
    std::string listHeader(int id, int column) const override {
        char text[260] = "";
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT;
        lvc.pszText = text;
        lvc.cchTextMax = sizeof text;
        if (!SendMessageA(GetDlgItem(hwnd(), id), LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                          reinterpret_cast<LPARAM>(&lvc)))
            return "";
        return text;
    }
    int selectedRow(int id) const override { return window().selectedRow(id); }
    int focusedId() const override { return window().focusedId(); }
    std::string caption() const override { return window().caption(); }
    bool ended() const override { return window().ended(); }
    int result() const override { return window().result(); }

private:
    HWND hwnd() const { return dialog_->hwnd(); }
    Win32Window& window() { return dialog_->window(); }
    const Win32Window& window() const { return dialog_->window(); }

    // Runs what the last action queued; a handler's exception surfaces here.
    void settle() {
        pumpMessages(hwnd());
        window().rethrowFailure();
    }

    // The control when a user can reach it: the dialog still open, the
    // control enabled and shown.
    HWND reachable(int id) {
        if (window().ended()) return nullptr;
        HWND control = window().item(id);
        if (!control || !IsWindowEnabled(control) || !window().isVisible(id)) return nullptr;
        return control;
    }

    void keyChar(HWND edit, char ch) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
        settle();
    }

    void key(UINT virtualKey) {
        if (window().ended()) return;
        HWND focus = GetFocus();
        HWND target = focus && IsChild(hwnd(), focus) ? focus : hwnd();
        PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
        PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
        settle();
    }

    // The row scrolled into sight first, as the user would scroll to it.
    bool rowCentre(HWND list, int row, POINT& centre) {
        SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        settle();
        RECT rect{};
        rect.left = LVIR_LABEL;
        if (!SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)))
            return false;
        centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        return true;
    }

    void clickAt(HWND list, POINT point) {
        LPARAM at = MAKELPARAM(point.x, point.y);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
        settle();
    }

    std::unique_ptr<ModelessDialog> dialog_;
};

}  // namespace

std::unique_ptr<ScenarioHost> makeScenarioHost() { return std::make_unique<Win32ScenarioHost>(); }

}  // namespace velmora::test
