#pragma once
// The "Database Exists" question before an earlier database is deleted.
#include "src/toolkit/dialog.h"

namespace velmora {

constexpr int kIdOverwrite = 1093;

DialogDescription databaseExistsDescription();

// "Overwrite" ends with kIdOk; "Cancel", Escape and the close box with
// kIdCancel. Neither button is the default.
class DatabaseExistsDialog : public Dialog {
public:
    explicit DatabaseExistsDialog(Prompts& prompts);

protected:
    EventResult onEvent(const DialogEvent& event) override;
};

}  // namespace velmora
