#pragma once
// What a dialog may do to its controls. The dialogs of the system talk to
// their controls only through this interface; each host implements it, on
// real windows or in memory. Controls are addressed by their id in the
// dialog's description.
//
// Faithful to Win32 where dialog logic can tell:
// - setText on an edit raises that edit's EditChanged event, as
//   SetWindowText does on a single-line edit (a transfer ignores it);
// - setChecked and setSelectedIndex raise nothing;
// - setText ignores an edit's input limit (the limit binds typing only).
#include <string>
#include <vector>

namespace velmora {

// A point in a list's client area, in pixels.
struct ListPoint {
    int x = 0;
    int y = 0;
};

// The rows of a virtual list, asked for as they are shown.
class VirtualRows {
public:
    virtual ~VirtualRows() = default;
    virtual int rowCount() = 0;
    virtual std::string cell(int row, int column) = 0;
};

// An item of a tree as shown: how deep it sits (0 at the top) and its text.
struct TreeLine {
    int depth = 0;
    std::string text;
    bool operator==(const TreeLine& other) const { return depth == other.depth && text == other.text; }
};

// A report list's column: its header and its width in pixels at 96 DPI.
struct ListColumn {
    std::string header;
    int width = 0;
};

// Extended styles of a report list, as bits.
enum ListStyle : unsigned {
    kListGridLines = 1u << 0,
    kListFullRowSelect = 1u << 1,
};

class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual void enable(int id, bool enabled) = 0;
    virtual bool isEnabled(int id) const = 0;
    virtual void show(int id, bool visible) = 0;
    virtual bool isVisible(int id) const = 0;

    // Edits, buttons' captions and labels.
    virtual void setText(int id, const std::string& text) = 0;
    virtual std::string text(int id) const = 0;
    // An edit's input limit for typing; 0 restores the default.
    virtual void setTextLimit(int id, int limit) = 0;

    // Radio buttons and check boxes. A radio set by program does not clear
    // the others of its group (the Dialog class does that).
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool isChecked(int id) const = 0;

    // Drop-down list and tabs: entries in insertion order, index -1 for none.
    virtual void addItem(int id, const std::string& item) = 0;
    virtual int itemCount(int id) const = 0;
    // An entry's text, and a new one in its place ("" past the entries).
    virtual std::string itemText(int id, int index) const = 0;
    virtual void setItemText(int id, int index, const std::string& text) = 0;
    virtual void setSelectedIndex(int id, int index) = 0;
    virtual int selectedIndex(int id) const = 0;

    virtual void setFocus(int id) = 0;
    // The control holding the keyboard focus; 0 when none of this dialog's.
    virtual int focusedId() const = 0;

    // The dialog's own caption.
    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;

    // Report list: columns, rows and cells. Widths are pixels at 96 DPI,
    // whatever the scale the list is shown at.
    virtual void insertColumn(int id, int column, const std::string& header, int width) = 0;
    virtual void deleteColumn(int id, int column) = 0;
    // Replaces every column with `columns` in one go: the list is drawn
    // once, when all are in (Wine draws a list again at each column, which
    // takes seconds for a few hundred).
    virtual void replaceColumns(int id, const std::vector<ListColumn>& columns) = 0;
    virtual int columnCount(int id) const = 0;
    virtual int columnWidth(int id, int column) const = 0;
    virtual void setColumnWidth(int id, int column, int width) = 0;
    virtual int clientWidth(int id) const = 0;
    virtual unsigned listStyles(int id) const = 0;  // ListStyle bits
    virtual void setListStyles(int id, unsigned styles) = 0;
    virtual int rowCount(int id) const = 0;
    // Inserts a row at `row` (clamped to the row count) with its first cell;
    // returns the index it got, -1 on failure.
    virtual int insertRow(int id, int row, const std::string& firstCell) = 0;
    virtual void setCell(int id, int row, int column, const std::string& text) = 0;
    virtual std::string cell(int id, int row, int column) const = 0;
    virtual void deleteRow(int id, int row) = 0;
    // Replaces every row with `rows`, each its cells in column order
    // (missing cells empty, cells past the last column dropped), in one go:
    // the list is drawn once, when all are in, not row by row.
    virtual void replaceRows(int id, const std::vector<std::vector<std::string>>& rows) = 0;
    // The row under `point`, or -1.
    virtual int hitTest(int id, ListPoint point) const = 0;
    // The selected row, -1 for none; selecting a row (-1: none) also gives
    // it the list's focus mark and scrolls it into view.
    virtual int selectedRow(int id) const = 0;
    virtual void selectRow(int id, int row) = 0;

    // Virtual list: rows and cells come from `rows` (nullptr: none), asked
    // for as they are shown; set it again when they change. rowCount() and
    // cell() of the list read them as the list does.
    virtual void setVirtualRows(int id, VirtualRows* rows) = 0;

    // Tree: items added under `parent` (0 for the top) after its others,
    // each shown expanded; the new item's number, counted from 1.
    virtual void clearTree(int id) = 0;
    virtual int addTreeItem(int id, int parent, const std::string& text) = 0;
    virtual std::vector<TreeLine> treeLines(int id) const = 0;

    // Progress bar: the position, 0 to 100.
    virtual void setProgress(int id, int percent) = 0;
    virtual int progress(int id) const = 0;

    // Starts a timer of the dialog: DialogEvent::Timer with `id`, about
    // every `milliseconds` (never sooner), until the dialog ends.
    virtual void startTimer(int id, int milliseconds) = 0;

    // Ends the modal dialog with `result` once the current handler returns.
    virtual void endDialog(int result) = 0;
};

}  // namespace velmora
