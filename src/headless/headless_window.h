#pragma once
// A dialog's controls in memory, built from its description, together with
// the user's side: typing, clicking, choosing and the keys the dialog
// manager routes. Behaves like Win32 where dialog logic can tell:
// - setText on an edit raises its change event, as SetWindowText does;
// - setChecked and setSelectedIndex raise nothing;
// - a user action on a disabled or hidden control does nothing;
// - Enter clicks the focused push button, else the default button when it
//   is enabled (nothing when it is disabled), else sends IDOK; Escape and
//   the close box send IDCANCEL; F1 asks for help; a function key the
//   description names clicks its button.
// Using an id the description does not hold throws std::out_of_range: it
// is a fault of the dialog or of the test, never of the user.
#include <map>
#include <string>
#include <vector>

#include "src/toolkit/byte_map_layout.h"
#include "src/toolkit/dialog.h"
#include "src/toolkit/dialog_controls.h"

namespace velmora {

class HeadlessWindow : public DialogControls {
public:
    // Builds the controls and attaches them to `dialog`; open() starts it.
    explicit HeadlessWindow(Dialog& dialog);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    // Delivers Init; unless the dialog placed the focus itself, the focus
    // goes to the first enabled, visible tab stop, as the dialog manager does.
    void open();
    bool ended() const { return ended_; }
    int result() const { return result_; }

    // The user's actions. Each is ignored once the dialog has ended.
    // Typing focuses the edit, selects all of its text and types the
    // characters one by one: the first replaces the selection, each
    // keystroke that changes the text raises one change event, and
    // keystrokes beyond the input limit are refused. Typing "" deletes the
    // selection (one event when there was text).
    void type(int id, const std::string& text);
    // Push buttons, radio buttons (selects it, clears its group) and check
    // boxes (toggles); the control takes the focus first.
    void click(int id);
    // Picks entry `index` of a drop-down (selection changed, then closed)
    // or a tab (selection changed).
    void choose(int id, int index);
    // A click selects the row under the point; a double click is a click,
    // then the double click.
    void clickList(int id, ListPoint point);
    void doubleClickList(int id, ListPoint point);
    // The centre of a row, and a point below the last row.
    ListPoint rowCentre(int id, int row) const;
    ListPoint cellCentre(int id, int row, int column) const;
    ListPoint belowRows(int id) const;
    // A click on byte `at` of a record map, or a key moving its caret (in
    // rows of 16 bytes, pages of 8): the map takes the focus and selects
    // the byte's field.
    void clickMapByte(int id, std::size_t at);
    void pressMapKey(int id, MapKey key);
    // An arrow, Home or End key in a report list: the list takes the focus
    // and moves its selection a row, or to its first or last row.
    void pressListKey(int id, MapKey key);
    void pressEnter();
    void pressEscape();
    void pressF1();
    void pressFunctionKey(int number);
    void closeBox();
    // Chooses a command of the window's system menu.
    void chooseSystemCommand(int id);
    // A timer the dialog started elapses once.
    void elapse(int timerId);
    // An entry the dialog added to the system menu, "" when there is none.
    std::string systemMenuEntry(int id) const;

    // Reading what is on screen besides the DialogControls queries.
    int textLimit(int id) const;
    std::vector<std::string> items(int id) const;
    std::string columnHeader(int id, int column) const;

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
    int focusedId() const override { return focus_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    std::string caption() const override { return caption_; }
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
    int hitColumn(int id, ListPoint point) const override;
    int selectedRow(int id) const override { return at(id).selectedRow; }
    void selectRow(int id, int row) override;
    void setVirtualRows(int id, VirtualRows* rows) override { at(id).virtualRows = rows; }
    void clearTree(int id) override { at(id).tree.clear(); }
    int addTreeItem(int id, int parent, const std::string& text) override;
    std::vector<TreeLine> treeLines(int id) const override;
    void setMappedBytes(int id, const MappedBytes* bytes) override;
    void selectMappedField(int id, int field) override;
    MapSelection mapSelection(int id) const override { return at(id).selection; }
    void setProgress(int id, int percent) override;
    int progress(int id) const override { return at(id).progress; }
    void startTimer(int id, int milliseconds) override { timers_[id] = milliseconds; }
    void endDialog(int result) override;

private:
    struct Column {
        std::string header;
        int width = 0;
    };
    struct TreeItem {
        int parent = 0;
        std::string text;
    };
    struct Control {
        ControlDescription description;
        bool enabled = true;
        bool visible = true;
        std::string text;
        int limit = 0;
        bool checked = false;
        std::vector<std::string> items;
        int selected = -1;
        std::vector<Column> columns;
        std::vector<std::vector<std::string>> rows;
        unsigned styles = 0;
        int progress = 0;
        int selectedRow = -1;
        VirtualRows* virtualRows = nullptr;
        std::vector<TreeItem> tree;
        const MappedBytes* mapped = nullptr;
        MapSelection selection;
    };

    Control& at(int id);
    const Control& at(int id) const;
    // The control when the user can reach it: enabled and visible.
    Control* usable(int id);
    void raise(DialogEvent::Kind kind, int id, ListPoint point = {});
    void moveMapCaret(int id, std::size_t at);

    Dialog& dialog_;
    std::map<int, Control> controls_;
    std::string caption_;
    std::map<int, int> timers_;  // id, interval
    int focus_ = 0;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace velmora
