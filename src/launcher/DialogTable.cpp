#include "launcher/DialogTable.h"

#include <cstring>

#include "dialogs/Credits.h"
#include "dialogs/InputBox.h"
#include "launcher/MainMenu.h"
#include "league/CreateLeague.h"

namespace vok {

namespace {

const DialogLogic kDialogs[] = {
    {"IDD_MAINDLG", OpenMainMenu,
     [](Ui& dialog, int control, int) { return RunMainMenuCommand(dialog, control); }},
    {"IDD_CREATELEAGUE", OpenCreateLeague,
     [](Ui& dialog, int control, int) { return RunCreateLeagueCommand(dialog, control); }},
    {"IDD_INPUTBOX", OpenInputBox, RunInputBoxCommand},
    {"IDD_CREDITS", OpenCredits,
     [](Ui& dialog, int control, int) { return RunCreditsCommand(dialog, control); }},
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
