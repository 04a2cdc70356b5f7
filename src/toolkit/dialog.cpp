#include "src/toolkit/dialog.h"

#include <cassert>
#include <climits>
#include <utility>

namespace velmora {

const char* const kEnterIntegerMessage = "Please enter an integer.";

std::string tooLongMessage(int limit) { return "Please enter no more than " + std::to_string(limit) + " characters."; }

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// An optionally signed decimal integer with blanks or tabs around it; the
// empty text and anything out of range are refused.
bool parseInteger(const std::string& text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t digitsFrom = i;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (i == digitsFrom) return false;
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i != text.size()) return false;
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX || signedValue < INT_MIN) return false;
    value = static_cast<int>(signedValue);
    return true;
}

bool isControlEvent(DialogEvent::Kind kind) {
    switch (kind) {
    case DialogEvent::Clicked:
    case DialogEvent::EditChanged:
    case DialogEvent::SelectionChanged:
    case DialogEvent::DropDownClosed:
    case DialogEvent::ListClicked:
    case DialogEvent::ListDoubleClicked:
    case DialogEvent::ListKeyed:
        return true;
    default:
        return false;
    }
}

}  // namespace

class Dialog::TransferGuard {
public:
    explicit TransferGuard(Dialog& dialog) : dialog_(dialog) { ++dialog_.transferDepth_; }
    ~TransferGuard() { --dialog_.transferDepth_; }
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

private:
    Dialog& dialog_;
};

Dialog::Dialog(DialogDescription description, Prompts& prompts)
    : description_(std::move(description)), prompts_(prompts) {}

DialogControls& Dialog::controls() {
    assert(controls_ && "dialog used before its host attached controls");
    return *controls_;
}

EventResult Dialog::dispatch(const DialogEvent& incoming) {
    DialogEvent event = incoming;
    if (event.kind == DialogEvent::Clicked && event.id == kIdOk) event.kind = DialogEvent::Ok;
    if (event.kind == DialogEvent::Clicked && event.id == kIdCancel) event.kind = DialogEvent::Cancel;
    if (isControlEvent(event.kind) && transferring()) return EventResult::Handled;

    EventResult result = onEvent(event);
    if (result != EventResult::Unhandled) return result;
    switch (event.kind) {
    case DialogEvent::Init:
        push();
        return EventResult::Handled;
    case DialogEvent::Ok:
        if (pull()) endDialog(kIdOk);
        return EventResult::Handled;
    case DialogEvent::Cancel:
        endDialog(kIdCancel);
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;
    }
}

void Dialog::push() {
    TransferGuard guard(*this);
    DialogControls& c = controls();
    for (const Binding& b : bindings_) {
        switch (b.kind) {
        case Binding::Text:
            c.setText(b.ids[0], *b.text);
            if (b.limit > 0) c.setTextLimit(b.ids[0], b.limit);
            break;
        case Binding::Integer:
            c.setText(b.ids[0], std::to_string(*b.number));
            break;
        case Binding::Check:
            c.setChecked(b.ids[0], *b.number == 1);
            break;
        case Binding::RadioGroup:
            for (std::size_t i = 0; i < b.ids.size(); ++i) c.setChecked(b.ids[i], static_cast<int>(i) == b.position());
            break;
        case Binding::ComboIndex:
            c.setSelectedIndex(b.ids[0], *b.number);
            break;
        }
    }
}

bool Dialog::pull() {
    TransferGuard guard(*this);
    DialogControls& c = controls();
    for (const Binding& b : bindings_) {
        switch (b.kind) {
        case Binding::Text: {
            std::string value = c.text(b.ids[0]);
            if (b.limit > 0) c.setTextLimit(b.ids[0], b.limit);
            if (b.limit > 0 && static_cast<int>(value.size()) > b.limit) {
                prompts().appMessage(tooLongMessage(b.limit));
                c.setFocus(b.ids[0]);
                return false;
            }
            *b.text = value;
            break;
        }
        case Binding::Integer: {
            int value = 0;
            if (!parseInteger(c.text(b.ids[0]), value)) {
                prompts().appMessage(kEnterIntegerMessage);
                c.setFocus(b.ids[0]);
                return false;
            }
            *b.number = value;
            break;
        }
        case Binding::Check:
            *b.number = c.isChecked(b.ids[0]) ? 1 : 0;
            break;
        case Binding::RadioGroup: {
            int selected = -1;
            for (std::size_t i = 0; i < b.ids.size() && selected < 0; ++i)
                if (c.isChecked(b.ids[i])) selected = static_cast<int>(i);
            b.choose(selected);
            break;
        }
        case Binding::ComboIndex:
            *b.number = c.selectedIndex(b.ids[0]);
            break;
        }
    }
    return true;
}

void Dialog::bindText(int editId, std::string& member, int limit) {
    bindings_.push_back({Binding::Text, {editId}, &member, nullptr, limit, {}, {}});
}

void Dialog::bindInteger(int editId, int& member) {
    bindings_.push_back({Binding::Integer, {editId}, nullptr, &member, 0, {}, {}});
}

void Dialog::bindCheck(int checkBoxId, int& member) {
    bindings_.push_back({Binding::Check, {checkBoxId}, nullptr, &member, 0, {}, {}});
}

void Dialog::bindRadioChoice(std::vector<int> radioIds, std::function<int()> position,
                             std::function<void(int)> choose) {
    bindings_.push_back(
        {Binding::RadioGroup, std::move(radioIds), nullptr, nullptr, 0, std::move(position), std::move(choose)});
}

void Dialog::bindComboIndex(int dropDownId, int& member) {
    bindings_.push_back({Binding::ComboIndex, {dropDownId}, nullptr, &member, 0, {}, {}});
}

void Dialog::selectRadio(int radioId) {
    for (int id : radioGroupOf(description_, radioId)) controls().setChecked(id, id == radioId);
}

}  // namespace velmora
