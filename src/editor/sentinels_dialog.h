#pragma once
// The "Sentinels" dialog: the six magnetic-stripe sentinels of a
// MAGSTRIPE_FIELD, each track with both sentinels or neither, and an offer
// to restore the ISO sentinels when the entries differ from them.
#include "format/fields/sentinels.h"
#include "src/editor/edit_mode.h"
#include "src/toolkit/dialog.h"

namespace velmora {

class SentinelsDialog : public Dialog {
public:
    // A value given empty shows its ISO default, unless the field is being
    // changed: then it shows exactly what the field holds.
    SentinelsDialog(Prompts& prompts, const Sentinels& current, EditMode mode);

    // The values as last read from the screen; what OK hands back.
    const Sentinels& sentinels() const { return values_; }

    // All six ISO defaults, into the members and onto the screen.
    void restoreIsoSentinels();

protected:
    EventResult onEvent(const DialogEvent& event) override;

private:
    void ok();
    // The first rule the entries break: shown, focus moved; false then.
    bool tracksComplete();
    bool isoStandard() const;

    Sentinels values_;
};

}  // namespace velmora
