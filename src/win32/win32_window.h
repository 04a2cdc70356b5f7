#pragma once
// A dialog's controls on a real dialog window: each DialogControls call is
// the matching window message, nothing more. The dialog procedure
// (dialog_procedure.h) creates one of these per showing and binds it.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <map>
#include <string>
#include <vector>

#include "src/toolkit/dialog.h"
#include "src/toolkit/dialog_controls.h"
#include "src/win32/dialog_layout.h"

namespace velmora {

class Win32Window : public DialogControls {
public:
    enum class Mode { Modal, Modeless };
    Win32Window(Dialog& dialog, Mode mode) : dialog_(dialog), mode_(mode) {}
    // Destroys the icons it was given; the window is gone by then.
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    Dialog& dialog() { return dialog_; }
    HWND hwnd() const { return hwnd_; }
    // The control window of `id`; nullptr when the dialog has none.
    HWND item(int id) const;
    const ControlDescription* describe(int id) const { return dialog_.description().find(id); }

    void bind(HWND hwnd) { hwnd_ = hwnd; }
    // The icons loaded for the window at its current scale; those of the
    // scale before are destroyed.
    void ownIcons(std::vector<HICON> icons);
    // The DPI its controls are laid out for.
    UINT dpi() const;
    // Every list's columns, as wide at `to` DPI as they were at `from`.
    void scaleColumns(UINT from, UINT to);
    bool ended() const { return ended_; }
    int result() const { return result_; }
    // A virtual list's rows; nullptr when none were given.
    VirtualRows* virtualRows(int id) const;
    DialogLayout& layout() { return layout_; }

    // A handler threw: the exception is kept to be thrown again once the
    // window system has returned, and the dialog ends with kDialogFailed.
    void fail(std::exception_ptr failure);
    void rethrowFailure();

    // DialogControls
    void enable(int id, bool enabled) override;
    bool isEnabled(int id) const override;
    void show(int id, bool visible) override;
    bool isVisible(int id) const override;
    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void setTextLimit(int id, int limit) override;
    void setChecked(int id, bool checked) override;
    bool isChecked(int id) const override;
    void addItem(int id, const std::string& item) override;
    int itemCount(int id) const override;
    std::string itemText(int id, int index) const override;
    void setItemText(int id, int index, const std::string& text) override;
    void setSelectedIndex(int id, int index) override;
    int selectedIndex(int id) const override;
    void setFocus(int id) override;
    int focusedId() const override;
    void setCaption(const std::string& caption) override;
    std::string caption() const override;
    void insertColumn(int id, int column, const std::string& header, int width) override;
    void deleteColumn(int id, int column) override;
    void replaceColumns(int id, const std::vector<ListColumn>& columns) override;
    int columnCount(int id) const override;
    int columnWidth(int id, int column) const override;
    void setColumnWidth(int id, int column, int width) override;
    int clientWidth(int id) const override;
    unsigned listStyles(int id) const override;
    void setListStyles(int id, unsigned styles) override;
    int rowCount(int id) const override;
    int insertRow(int id, int row, const std::string& firstCell) override;
    void setCell(int id, int row, int column, const std::string& text) override;
    std::string cell(int id, int row, int column) const override;
    void deleteRow(int id, int row) override;
    void replaceRows(int id, const std::vector<std::vector<std::string>>& rows) override;
    int hitTest(int id, ListPoint point) const override;
    int selectedRow(int id) const override;
    void selectRow(int id, int row) override;
    void setVirtualRows(int id, VirtualRows* rows) override;
    void clearTree(int id) override;
    int addTreeItem(int id, int parent, const std::string& text) override;
    std::vector<TreeLine> treeLines(int id) const override;
    void setProgress(int id, int percent) override;
    int progress(int id) const override;
    void startTimer(int id, int milliseconds) override;
    void endDialog(int result) override;

private:
    Dialog& dialog_;
    Mode mode_;
    HWND hwnd_ = nullptr;
    bool ended_ = false;
    int result_ = 0;
    std::exception_ptr failure_;
    std::vector<HICON> icons_;
    std::map<int, VirtualRows*> virtualRows_;
    std::map<int, std::vector<HTREEITEM>> treeItems_;  // by number, from 1
    DialogLayout layout_;
};

// A window's text as narrow characters.
std::string windowText(HWND hwnd);

}  // namespace velmora
