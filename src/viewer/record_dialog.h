#pragma once
// The "Record N" window: a stored record's fields and tracks (name, type,
// length, value), and below them what the engine decoded of it, each
// BER-TLV object under its field and the object holding it, and each FIR
// part under its field.
#include "src/results/record_detail.h"
#include "src/toolkit/dialog.h"

namespace velmora {

class RecordDialog : public Dialog {
public:
    RecordDialog(Prompts& prompts, RecordDetail detail);

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    void fill();

    RecordDetail detail_;
};

}  // namespace velmora
