#pragma once

#include "platform/Ui.h"

namespace vok {

// The logic behind one dialog template: what fills the dialog when it opens,
// and what runs its commands (control id, notification code), each given the
// context its opener handed to RunDialog. A command that returns false is
// none of the dialog's and is reported as not handled, so the system's
// default applies (for the main menu, a second launcher's peer message does
// nothing).
struct DialogLogic {
    const char* templateName;
    void (*open)(Ui& dialog, void* context);
    bool (*command)(Ui& dialog, void* context, int control, int notification);
};

// The logic of `templateName`, or null for a template the launcher does not
// have. Every front end runs its dialogs through this one table.
const DialogLogic* FindDialogLogic(const char* templateName);

}  // namespace vok
