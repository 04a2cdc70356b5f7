#include "src/editor/sentinels_dialog.h"

#include "src/editor/sentinels_dialog_description.h"
#include "format/fields/entry_checks.h"

namespace velmora {

namespace {

// Edits by sentinel position: track 1 start, track 1 end, ... track 3 end.
constexpr int kEditAt[kSentinelCount] = {kIdTrack1Start, kIdTrack1End,   kIdTrack2Start,
                                         kIdTrack2End,   kIdTrack3Start, kIdTrack3End};

bool isSentinelEdit(int id) {
    for (int edit : kEditAt)
        if (edit == id) return true;
    return false;
}

void warn(Prompts& prompts, const std::string& text) {
    prompts.messageBox(text, kAppTitle, MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace

SentinelsDialog::SentinelsDialog(Prompts& prompts, const Sentinels& current, EditMode mode)
    : Dialog(sentinelsDialogDescription(), prompts) {
    for (int i = 0; i < kSentinelCount; ++i) {
        const std::string& given = current.at(i);
        values_.at(i) = !given.empty() || changing(mode) ? given : isoSentinels().at(i);
    }
    bindText(kIdTrack1End, values_.track1End);
    bindText(kIdTrack1Start, values_.track1Start);
    bindText(kIdTrack2End, values_.track2End);
    bindText(kIdTrack2Start, values_.track2Start);
    bindText(kIdTrack3End, values_.track3End);
    bindText(kIdTrack3Start, values_.track3Start);
}

void SentinelsDialog::restoreIsoSentinels() {
    values_ = isoSentinels();
    push();
}

EventResult SentinelsDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::EditChanged:
        // The OK rules read the members, so they follow the screen.
        if (isSentinelEdit(event.id)) pull();
        return EventResult::Handled;
    case DialogEvent::Clicked:
        if (event.id != kIdResetSentinels) return EventResult::Unhandled;
        restoreIsoSentinels();
        return EventResult::Handled;
    case DialogEvent::Ok:
        ok();
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;  // opening pushes; Cancel closes
    }
}

bool SentinelsDialog::tracksComplete() {
    if (values_.allEmpty()) {
        warn(prompts(), "Must enter sentinel values for at least one track");
        controls().setFocus(kIdTrack1Start);
        return false;
    }
    for (int track = 1; track <= 3; ++track) {
        int start = 2 * (track - 1);
        int end = start + 1;
        const std::string number = std::to_string(track);
        if (!values_.at(start).empty() && values_.at(end).empty()) {
            warn(prompts(), "Enter an end sentinel for Track " + number);
            controls().setFocus(kEditAt[end]);
            return false;
        }
        if (!values_.at(end).empty() && values_.at(start).empty()) {
            warn(prompts(), "Enter a start sentinel for Track " + number);
            controls().setFocus(kEditAt[start]);
            return false;
        }
    }
    for (int position = 0; position < kSentinelCount; ++position) {
        if (sentinelCarried(values_.at(position))) continue;
        warn(prompts(), std::string("Enter ") + (position % 2 == 0 ? "a start" : "an end") + " sentinel for Track " +
                            std::to_string(position / 2 + 1) + " without a comma or a double quote");
        controls().setFocus(kEditAt[position]);
        return false;
    }
    return true;
}

bool SentinelsDialog::isoStandard() const {
    const Sentinels& v = values_;
    return v.track1Start == "%" && v.track1End == "?" && v.track2Start == ";" && v.track2End == "?" &&
           (v.track3Start.empty() || v.track3Start == "_;") && (v.track3End.empty() || v.track3End == "?");
}

void SentinelsDialog::ok() {
    if (!tracksComplete()) return;
    if (isoStandard()) {
        if (pull()) endDialog(kIdOk);
        return;
    }
    MessageAnswer answer =
        prompts().messageBox("Sentinels do not follow ISO standards.  Press OK to keep, cancel to restore to standards",
                             kAppTitle, MessageIcon::Error, MessageButtons::OkCancel);
    if (answer == MessageAnswer::Ok) {
        push();
        if (pull()) endDialog(kIdOk);
        return;
    }
    const Sentinels& iso = isoSentinels();
    values_.track1Start = iso.track1Start;
    values_.track1End = iso.track1End;
    values_.track2Start = iso.track2Start;
    values_.track2End = iso.track2End;
    if (!values_.track3Start.empty()) {
        values_.track3Start = iso.track3Start;
        values_.track3End = iso.track3End;
    }
    push();
}

}  // namespace velmora
