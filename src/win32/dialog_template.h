#pragma once
// A dialog template built in memory from a dialog's description, so that
// the Win32 host needs no resource copy of it.
#include <windows.h>

#include <cstddef>
#include <vector>

#include "src/toolkit/dialog_description.h"

namespace velmora {

// A DLGTEMPLATE with DS_SETFONT and its DLGITEMTEMPLATEs, ready for
// DialogBoxIndirectParamA and CreateDialogIndirectParamA.
class DialogTemplate {
public:
    explicit DialogTemplate(const DialogDescription& description);
    // Heap storage is aligned for any type, so the template's DWORD
    // alignment holds.
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void add(WORD word) { words_.push_back(word); }
    void addDword(DWORD value);
    void addText(const std::string& text);  // ANSI to a zero-ended UTF-16 text
    void alignToDword();
    void addHeader(const DialogDescription& description, std::size_t controls);
    void addControl(const ControlDescription& c, DWORD style);
    void addWindowClass(ControlKind kind);

    std::vector<WORD> words_;
};

// The window styles of the dialog and of the control at `index` of
// inTemplateOrder(description).
DWORD dialogStyle(const DialogDescription& description);
DWORD controlStyle(const DialogDescription& description, std::size_t index);

}  // namespace velmora
