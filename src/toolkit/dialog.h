#pragma once
// The base of every dialog of the system: it owns its description, keeps
// the declared list of bindings between its members and its controls, runs
// push and pull from that one list, and receives every event through one
// dispatch point.
//
// A host creates the controls from description(), attaches them, delivers
// DialogEvent::Init and then every event through dispatch(), and detaches
// when the dialog is gone.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "src/toolkit/dialog_controls.h"
#include "src/toolkit/dialog_description.h"
#include "src/toolkit/dialog_event.h"
#include "src/toolkit/prompts.h"

namespace velmora {

// The toolkit's own messages for a refused pull.
extern const char* const kEnterIntegerMessage;  // "Please enter an integer."
// "Please enter no more than <limit> characters."
std::string tooLongMessage(int limit);

class Dialog {
public:
    Dialog(DialogDescription description, Prompts& prompts);
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    const DialogDescription& description() const { return description_; }

    void attach(DialogControls& controls) { controls_ = &controls; }
    void detach() { controls_ = nullptr; }

    // The one entry point for events. Clicked on kIdOk and kIdCancel arrive
    // as Ok and Cancel. Control events (Clicked, EditChanged,
    // SelectionChanged, DropDownClosed, ListClicked, ListDoubleClicked) are
    // dropped while a
    // transfer runs. Unhandled Init pushes; unhandled Ok pulls and, when the
    // pull succeeds, ends with kIdOk; unhandled Cancel ends with kIdCancel.
    EventResult dispatch(const DialogEvent& event);

    // Model to controls, in binding order. Raises no events the dialog sees.
    void push();
    // Controls to model, in binding order. Stops at the first control whose
    // content is refused: the toolkit's message is shown, the focus moves to
    // that control, earlier members keep their new values and later members
    // their old ones. Returns false then.
    bool pull();

    bool transferring() const { return transferDepth_ > 0; }

protected:
    // The dialog's handlers, one switch over the event kinds.
    virtual EventResult onEvent(const DialogEvent& event) = 0;

    DialogControls& controls();
    Prompts& prompts() { return prompts_; }
    void endDialog(int result) { controls().endDialog(result); }

    // Declaring the bindings, in binding order. `limit` 0 means none; a
    // positive limit is also the edit's input limit after every transfer.
    void bindText(int editId, std::string& member, int limit = 0);
    // Signed decimal integer; blanks or tabs may surround it.
    void bindInteger(int editId, int& member);
    void bindCheck(int checkBoxId, int& member);  // 0 or 1
    // The checked radio's index, -1 none; an enum's values are the radios'
    // positions in the group.
    template <class Choice>
    void bindRadioGroup(std::vector<int> radioIds, Choice& member) {
        bindRadioChoice(
            std::move(radioIds), [&member] { return static_cast<int>(member); },
            [&member](int index) { member = static_cast<Choice>(index); });
    }
    void bindComboIndex(int dropDownId, int& member);  // index, -1 none

    // Selects the radio and clears the others of its group (no event).
    void selectRadio(int radioId);

private:
    void bindRadioChoice(std::vector<int> radioIds, std::function<int()> position, std::function<void(int)> choose);

    struct Binding {
        enum Kind { Text, Integer, Check, RadioGroup, ComboIndex };
        Kind kind;
        std::vector<int> ids;
        std::string* text = nullptr;
        int* number = nullptr;
        int limit = 0;
        std::function<int()> position;    // a radio group's index to push
        std::function<void(int)> choose;  // and to pull
    };
    class TransferGuard;

    DialogDescription description_;
    Prompts& prompts_;
    DialogControls* controls_ = nullptr;
    std::vector<Binding> bindings_;
    int transferDepth_ = 0;
};

}  // namespace velmora
