#include "src/headless/headless_window.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace velmora {

namespace {

// List geometry in pixels, close to an 8-point dialog font on Windows: a
// dialog unit is 6/4 pixels wide; the list has a 2-pixel border, a header
// row and rows of fixed height.
constexpr int kListBorder = 2;
constexpr int kHeaderHeight = 20;
constexpr int kRowHeight = 16;

bool isPushButton(const ControlDescription& d) {
    return d.kind == ControlKind::PushButton || d.kind == ControlKind::DefaultPushButton;
}

bool isList(const ControlDescription& d) {
    return d.kind == ControlKind::ReportList || d.kind == ControlKind::VirtualList;
}

}  // namespace

HeadlessWindow::HeadlessWindow(Dialog& dialog) : dialog_(dialog) {
    const DialogDescription& description = dialog.description();
    caption_ = description.caption;
    for (const ControlDescription& d : description.controls) {
        if (d.id == kIdStatic) continue;
        Control control;
        control.description = d;
        control.visible = d.visible;
        control.limit = d.textLimit;
        if (d.kind != ControlKind::Edit && d.kind != ControlKind::DropDownList && d.kind != ControlKind::ReportList)
            control.text = d.caption;
        controls_[d.id] = control;
    }
    dialog_.attach(*this);
}

HeadlessWindow::~HeadlessWindow() { dialog_.detach(); }

void HeadlessWindow::open() {
    if (dialog_.dispatch({DialogEvent::Init}) == EventResult::FocusSet) return;
    const DialogDescription& description = dialog_.description();
    for (const ControlDescription& d : inTemplateOrder(description)) {
        if (d.id == kIdStatic || !isTabStop(description, d)) continue;
        const Control& c = at(d.id);
        if (c.enabled && c.visible) {
            focus_ = d.id;
            return;
        }
    }
}

HeadlessWindow::Control& HeadlessWindow::at(int id) {
    auto it = controls_.find(id);
    if (it == controls_.end())
        throw std::out_of_range("no control " + std::to_string(id) + " in dialog \"" + caption_ + "\"");
    return it->second;
}

const HeadlessWindow::Control& HeadlessWindow::at(int id) const { return const_cast<HeadlessWindow*>(this)->at(id); }

HeadlessWindow::Control* HeadlessWindow::usable(int id) {
    Control& c = at(id);
    if (ended_ || !c.enabled || !c.visible) return nullptr;
    return &c;
}

void HeadlessWindow::raise(DialogEvent::Kind kind, int id, ListPoint point) {
    DialogEvent event;
    event.kind = kind;
    event.id = id;
    event.point = point;
    dialog_.dispatch(event);
}

// The user's side ------------------------------------------------------------

void HeadlessWindow::type(int id, const std::string& text) {
    Control* c = usable(id);
    if (!c || c->description.kind != ControlKind::Edit) return;
    focus_ = id;
    if (text.empty()) {
        if (c->text.empty()) return;
        c->text.clear();
        raise(DialogEvent::EditChanged, id);
        return;
    }
    bool selectionReplaced = false;
    for (char ch : text) {
        if (ended_) return;
        Control& edit = at(id);
        std::string next = selectionReplaced ? edit.text + ch : std::string(1, ch);
        if (edit.limit > 0 && static_cast<int>(next.size()) > edit.limit) continue;
        selectionReplaced = true;
        edit.text = next;
        raise(DialogEvent::EditChanged, id);
    }
}

void HeadlessWindow::click(int id) {
    Control* c = usable(id);
    if (!c) return;
    const ControlDescription& d = c->description;
    if (d.kind == ControlKind::RadioButton) {
        focus_ = id;
        for (int member : radioGroupOf(dialog_.description(), id)) at(member).checked = member == id;
    } else if (d.kind == ControlKind::CheckBox) {
        focus_ = id;
        c->checked = !c->checked;
    } else if (isPushButton(d)) {
        focus_ = id;
    } else {
        return;
    }
    raise(DialogEvent::Clicked, id);
}

void HeadlessWindow::choose(int id, int index) {
    Control* c = usable(id);
    if (!c || (c->description.kind != ControlKind::DropDownList && c->description.kind != ControlKind::Tabs)) return;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return;
    focus_ = id;
    c->selected = index;
    raise(DialogEvent::SelectionChanged, id);
    if (!ended_ && c->description.kind == ControlKind::DropDownList) raise(DialogEvent::DropDownClosed, id);
}

void HeadlessWindow::clickList(int id, ListPoint point) {
    Control* c = usable(id);
    if (!c || !isList(c->description)) return;
    focus_ = id;
    const int row = hitTest(id, point);
    if (row >= 0) c->selectedRow = row;
    if (c->description.kind == ControlKind::ReportList) raise(DialogEvent::ListClicked, id, point);
}

void HeadlessWindow::doubleClickList(int id, ListPoint point) {
    clickList(id, point);
    if (usable(id)) raise(DialogEvent::ListDoubleClicked, id, point);
}

void HeadlessWindow::clickMapByte(int id, std::size_t at) {
    Control* c = usable(id);
    if (!c || ended_ || !c->mapped || at >= c->mapped->size()) return;
    focus_ = id;
    moveMapCaret(id, at);
}

void HeadlessWindow::pressMapKey(int id, MapKey key) {
    Control* c = usable(id);
    if (!c || ended_ || !c->mapped) return;
    focus_ = id;
    moveMapCaret(id, movedByte(c->selection.caret, key, c->mapped->size(), 16, 8));
}

void HeadlessWindow::pressListKey(int id, MapKey key) {
    Control* c = usable(id);
    if (!c || ended_ || c->description.kind != ControlKind::ReportList) return;
    focus_ = id;
    const int last = static_cast<int>(c->rows.size()) - 1;
    if (key == MapKey::Up || key == MapKey::Home)
        c->selectedRow = key == MapKey::Home ? 0 : std::max(0, c->selectedRow - 1);
    if (key == MapKey::Down || key == MapKey::End)
        c->selectedRow = key == MapKey::End ? last : std::min(last, c->selectedRow + 1);
    raise(DialogEvent::ListKeyed, id);
}

void HeadlessWindow::moveMapCaret(int id, std::size_t at) {
    Control& c = this->at(id);
    c.selection.toByte(*c.mapped, at);
    c.text = c.mapped->accessibleText(c.selection.field);
    raise(DialogEvent::SelectionChanged, id);
}

void HeadlessWindow::setMappedBytes(int id, const MappedBytes* bytes) {
    Control& c = at(id);
    c.mapped = bytes;
    c.selection = MapSelection();
    c.text = bytes ? bytes->accessibleText(-1) : "";
}

void HeadlessWindow::selectMappedField(int id, int field) {
    Control& c = at(id);
    if (!c.mapped) return;
    c.selection.toField(*c.mapped, field);
    c.text = c.mapped->accessibleText(field);
}

ListPoint HeadlessWindow::cellCentre(int id, int row, int column) const {
    int left = 0;
    const std::vector<Column>& columns = at(id).columns;
    for (int k = 0; k < column && k < static_cast<int>(columns.size()); ++k)
        left += columns[static_cast<std::size_t>(k)].width;
    const int width = column < static_cast<int>(columns.size()) ? columns[static_cast<std::size_t>(column)].width : 0;
    return {left + width / 2, rowCentre(id, row).y};
}

ListPoint HeadlessWindow::rowCentre(int id, int row) const {
    return {std::min(10, clientWidth(id) / 2), kHeaderHeight + row * kRowHeight + kRowHeight / 2};
}

ListPoint HeadlessWindow::belowRows(int id) const { return rowCentre(id, rowCount(id)); }

void HeadlessWindow::pressEnter() {
    if (ended_) return;
    auto focused = controls_.find(focus_);
    if (focused != controls_.end() && isPushButton(focused->second.description)) {
        if (usable(focus_)) raise(DialogEvent::Clicked, focus_);
        return;
    }
    for (const ControlDescription& d : dialog_.description().controls) {
        if (d.kind != ControlKind::DefaultPushButton) continue;
        if (at(d.id).enabled) raise(DialogEvent::Clicked, d.id);
        return;
    }
    raise(DialogEvent::Ok, kIdOk);
}

void HeadlessWindow::pressEscape() {
    if (!ended_) raise(DialogEvent::Cancel, kIdCancel);
}

void HeadlessWindow::pressF1() {
    if (!ended_) raise(DialogEvent::Help, 0);
}

void HeadlessWindow::pressFunctionKey(int number) {
    if (ended_) return;
    for (const FunctionKey& key : dialog_.description().functionKeys)
        if (key.number == number && usable(key.buttonId)) raise(DialogEvent::Clicked, key.buttonId);
}

void HeadlessWindow::chooseSystemCommand(int id) {
    if (!ended_) raise(DialogEvent::SystemCommand, id);
}

void HeadlessWindow::elapse(int timerId) {
    if (!ended_ && timers_.count(timerId)) raise(DialogEvent::Timer, timerId);
}

std::string HeadlessWindow::systemMenuEntry(int id) const {
    for (const SystemMenuItem& item : dialog_.description().systemMenuItems)
        if (item.id == id) return item.text;
    return "";
}

void HeadlessWindow::closeBox() {
    if (ended_) return;
    auto cancel = controls_.find(kIdCancel);
    if (cancel != controls_.end() && !cancel->second.enabled) return;
    raise(DialogEvent::Cancel, kIdCancel);
}

int HeadlessWindow::textLimit(int id) const { return at(id).limit; }

std::vector<std::string> HeadlessWindow::items(int id) const { return at(id).items; }

std::string HeadlessWindow::columnHeader(int id, int column) const {
    const Control& c = at(id);
    if (column < 0 || column >= static_cast<int>(c.columns.size())) return {};
    return c.columns[column].header;
}

// DialogControls -------------------------------------------------------------

void HeadlessWindow::enable(int id, bool enabled) { at(id).enabled = enabled; }
bool HeadlessWindow::isEnabled(int id) const { return at(id).enabled; }
void HeadlessWindow::show(int id, bool visible) { at(id).visible = visible; }
bool HeadlessWindow::isVisible(int id) const { return at(id).visible; }

void HeadlessWindow::setText(int id, const std::string& text) {
    Control& c = at(id);
    c.text = text;
    if (c.description.kind == ControlKind::Edit) raise(DialogEvent::EditChanged, id);
}

std::string HeadlessWindow::text(int id) const { return at(id).text; }
void HeadlessWindow::setTextLimit(int id, int limit) { at(id).limit = limit; }
void HeadlessWindow::setChecked(int id, bool checked) { at(id).checked = checked; }
bool HeadlessWindow::isChecked(int id) const { return at(id).checked; }
void HeadlessWindow::addItem(int id, const std::string& item) { at(id).items.push_back(item); }
int HeadlessWindow::itemCount(int id) const { return static_cast<int>(at(id).items.size()); }

std::string HeadlessWindow::itemText(int id, int index) const {
    const std::vector<std::string>& items = at(id).items;
    return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : "";
}

void HeadlessWindow::setItemText(int id, int index, const std::string& text) {
    std::vector<std::string>& items = at(id).items;
    if (index >= 0 && index < static_cast<int>(items.size())) items[static_cast<std::size_t>(index)] = text;
}

void HeadlessWindow::setSelectedIndex(int id, int index) {
    Control& c = at(id);
    c.selected = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
}

int HeadlessWindow::selectedIndex(int id) const { return at(id).selected; }

void HeadlessWindow::setFocus(int id) {
    at(id);
    focus_ = id;
}

void HeadlessWindow::insertColumn(int id, int column, const std::string& header, int width) {
    Control& c = at(id);
    column = std::clamp(column, 0, static_cast<int>(c.columns.size()));
    c.columns.insert(c.columns.begin() + column, Column{header, width});
    for (auto& row : c.rows) row.insert(row.begin() + column, std::string());
}

void HeadlessWindow::deleteColumn(int id, int column) {
    Control& c = at(id);
    if (column < 0 || column >= static_cast<int>(c.columns.size())) return;
    c.columns.erase(c.columns.begin() + column);
    for (auto& row : c.rows) row.erase(row.begin() + column);
}

void HeadlessWindow::replaceColumns(int id, const std::vector<ListColumn>& columns) {
    Control& c = at(id);
    c.columns.clear();
    for (const ListColumn& column : columns) c.columns.push_back(Column{column.header, column.width});
    for (auto& row : c.rows) row.resize(columns.size());
}

int HeadlessWindow::columnCount(int id) const { return static_cast<int>(at(id).columns.size()); }

int HeadlessWindow::columnWidth(int id, int column) const {
    const Control& c = at(id);
    if (column < 0 || column >= static_cast<int>(c.columns.size())) return 0;
    return c.columns[column].width;
}

void HeadlessWindow::setColumnWidth(int id, int column, int width) {
    Control& c = at(id);
    if (column >= 0 && column < static_cast<int>(c.columns.size())) c.columns[column].width = width;
}

int HeadlessWindow::clientWidth(int id) const { return at(id).description.cx * 6 / 4 - 2 * kListBorder; }

unsigned HeadlessWindow::listStyles(int id) const { return at(id).styles; }
void HeadlessWindow::setListStyles(int id, unsigned styles) { at(id).styles = styles; }
int HeadlessWindow::rowCount(int id) const {
    const Control& c = at(id);
    if (c.description.kind == ControlKind::VirtualList) return c.virtualRows ? c.virtualRows->rowCount() : 0;
    return static_cast<int>(c.rows.size());
}

int HeadlessWindow::insertRow(int id, int row, const std::string& firstCell) {
    Control& c = at(id);
    if (c.columns.empty()) return -1;
    row = std::clamp(row, 0, static_cast<int>(c.rows.size()));
    std::vector<std::string> cells(c.columns.size());
    cells[0] = firstCell;
    c.rows.insert(c.rows.begin() + row, cells);
    return row;
}

void HeadlessWindow::setCell(int id, int row, int column, const std::string& text) {
    Control& c = at(id);
    if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
    if (column < 0 || column >= static_cast<int>(c.columns.size())) return;
    c.rows[row][column] = text;
}

std::string HeadlessWindow::cell(int id, int row, int column) const {
    const Control& c = at(id);
    if (row < 0 || row >= rowCount(id)) return {};
    if (c.description.kind == ControlKind::VirtualList)
        return column >= 0 && column < static_cast<int>(c.columns.size()) ? c.virtualRows->cell(row, column) : "";
    if (column < 0 || column >= static_cast<int>(c.columns.size())) return {};
    return c.rows[row][column];
}

void HeadlessWindow::deleteRow(int id, int row) {
    Control& c = at(id);
    if (row >= 0 && row < static_cast<int>(c.rows.size())) c.rows.erase(c.rows.begin() + row);
}

void HeadlessWindow::replaceRows(int id, const std::vector<std::vector<std::string>>& rows) {
    Control& c = at(id);
    c.rows.clear();
    if (c.columns.empty()) return;  // as insertRow: a list without columns takes no rows
    for (const auto& cells : rows) {
        c.rows.push_back(cells);
        c.rows.back().resize(c.columns.size());
    }
}

int HeadlessWindow::hitColumn(int id, ListPoint point) const {
    int left = 0, column = 0;
    for (const Column& c : at(id).columns) {
        if (point.x >= left && point.x < left + c.width) return column;
        left += c.width;
        ++column;
    }
    return -1;
}

int HeadlessWindow::hitTest(int id, ListPoint point) const {
    const Control& c = at(id);
    if (point.y < kHeaderHeight || point.x < 0 || c.columns.empty()) return -1;
    int reach = c.columns[0].width;
    if (c.styles & kListFullRowSelect) {
        reach = 0;
        for (const Column& column : c.columns) reach += column.width;
    }
    if (point.x >= reach) return -1;
    int row = (point.y - kHeaderHeight) / kRowHeight;
    return row < rowCount(id) ? row : -1;
}

void HeadlessWindow::selectRow(int id, int row) {
    Control& c = at(id);
    c.selectedRow = row >= 0 && row < rowCount(id) ? row : -1;
}

int HeadlessWindow::addTreeItem(int id, int parent, const std::string& text) {
    Control& c = at(id);
    if (parent < 0 || parent > static_cast<int>(c.tree.size())) return 0;
    c.tree.push_back({parent, text});
    return static_cast<int>(c.tree.size());
}

// Each item, then what sits under it, in the order added.
std::vector<TreeLine> HeadlessWindow::treeLines(int id) const {
    const std::vector<TreeItem>& items = at(id).tree;
    std::vector<TreeLine> lines;
    std::function<void(int, int)> under = [&](int parent, int depth) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].parent != parent) continue;
            lines.push_back({depth, items[i].text});
            under(static_cast<int>(i) + 1, depth + 1);
        }
    };
    under(0, 0);
    return lines;
}

// Kept within the bar's range, as the bar does.
void HeadlessWindow::setProgress(int id, int percent) { at(id).progress = std::clamp(percent, 0, 100); }

void HeadlessWindow::endDialog(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
}

}  // namespace velmora
