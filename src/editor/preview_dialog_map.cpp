// The Preview's record map: the bytes of the record selected in the list,
// each field's on its shade, as the engine's locator cut them.
#include "src/editor/preview_dialog.h"
#include "src/editor/preview_dialog_description.h"

namespace velmora {

namespace {

constexpr int kOwnColumns = 2;  // "Record" and "Offset" before the fields

}  // namespace

void PreviewDialog::showMap(int row, int field) {
    DialogControls& c = controls();
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.rows.size()) {
        mapRow_ = -1;
        c.setMappedBytes(kIdPreviewMap, nullptr);
        c.setText(kIdPreviewMapStatus, "");
        return;
    }
    mapRow_ = row;
    map_ = RecordMap(preview_.mapSource(rows_, static_cast<std::size_t>(row), sample_, full_));
    c.setMappedBytes(kIdPreviewMap, &map_);
    if (field >= static_cast<int>(map_.fields().size())) field = -1;
    c.selectMappedField(kIdPreviewMap, field);
    showMapSelection();
}

void PreviewDialog::showMapSelection() {
    DialogControls& c = controls();
    if (mapRow_ < 0) return;
    const MapSelection selection = c.mapSelection(kIdPreviewMap);
    // A rejected record tells its fault until a field is chosen.
    const bool fault = selection.field < 0 && map_.faultAt() < map_.size() && selection.caret == 0;
    c.setText(kIdPreviewMapStatus, map_.statusLine(selection.field, fault ? map_.faultAt() : selection.caret));
}

// A click on a record shows its map, on a field's cell with the field's
// bytes selected.
void PreviewDialog::listClicked(ListPoint point) {
    DialogControls& c = controls();
    const int row = c.hitTest(kIdPreviewList, point);
    if (row < 0) return;
    const int column = c.hitColumn(kIdPreviewList, point) - kOwnColumns;
    const bool fieldColumn = column >= 0 && static_cast<std::size_t>(column) < preview_.columns().size();
    showMap(row, fieldColumn ? preview_.mapField(static_cast<std::size_t>(column)) : -1);
}

}  // namespace velmora
