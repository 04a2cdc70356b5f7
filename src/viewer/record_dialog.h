#pragma once
// The "Record N" window: a stored record's fields and tracks (name, type,
// length, value), its bytes on the record map with each field's on its
// shade, and below them what the engine decoded of it, each BER-TLV object
// under its field and the object holding it, and each FIR part under its
// field. A field's row and its bytes select each other.
#include <string>

#include "src/results/record_detail.h"
#include "src/toolkit/dialog.h"
#include "src/viewer/record_map.h"
#include "src/viewer/stored_record_map.h"

namespace velmora {

class RecordDialog : public Dialog {
public:
    // `bytes`: the record's bytes with its fields' places, or why there are
    // none; `full`: card numbers in full.
    RecordDialog(Prompts& prompts, RecordDetail detail, Result<StoredRecordMap> bytes, bool full);

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    void fill();
    void showMap();
    void rowChosen();
    void bytesSelected();
    int fieldOfRow(int row) const;

    RecordDetail detail_;
    Result<StoredRecordMap> bytes_;
    RecordMap map_;
};

}  // namespace velmora
