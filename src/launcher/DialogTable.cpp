#include "launcher/DialogTable.h"

#include <cstring>

#include "common/ProcessState.h"
#include "dialogs/Credits.h"
#include "dialogs/InputBox.h"
#include "launcher/MainMenu.h"
#include "league/CreateLeague.h"

namespace vok {

namespace {

// The contexts: the main menu and the create-league dialog the process
// state, the input box its request, the credits the language table.
const DialogLogic kDialogs[] = {
    {"IDD_MAINDLG",
     [](Ui& dialog, void* context) { OpenMainMenu(dialog, *static_cast<ProcessState*>(context)); },
     [](Ui& dialog, void* context, int control, int) {
         return RunMainMenuCommand(dialog, *static_cast<ProcessState*>(context), control);
     }},
    {"IDD_CREATELEAGUE",
     [](Ui& dialog, void* context) {
         OpenCreateLeague(dialog, *static_cast<ProcessState*>(context));
     },
     [](Ui& dialog, void* context, int control, int) {
         return RunCreateLeagueCommand(dialog, *static_cast<ProcessState*>(context), control);
     }},
    {"IDD_INPUTBOX",
     [](Ui& dialog, void* context) {
         OpenInputBox(dialog, *static_cast<InputBoxRequest*>(context));
     },
     [](Ui& dialog, void* context, int control, int notification) {
         return RunInputBoxCommand(dialog, *static_cast<InputBoxRequest*>(context), control,
                                   notification);
     }},
    {"IDD_CREDITS",
     [](Ui& dialog, void* context) {
         OpenCredits(dialog, *static_cast<const LanguageTable*>(context));
     },
     [](Ui& dialog, void*, int control, int) { return RunCreditsCommand(dialog, control); }},
};

}  // namespace

const DialogLogic* FindDialogLogic(const char* templateName) {
    for (const DialogLogic& dialog : kDialogs) {
        if (templateName && std::strcmp(dialog.templateName, templateName) == 0) {
            return &dialog;
        }
    }
    return nullptr;
}

}  // namespace vok
