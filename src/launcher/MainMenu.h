#pragma once

#include "common/ProcessState.h"
#include "i18n/LanguageLines.h"
#include "platform/Ui.h"
#include "resources/resource.h"

namespace vok {

// The main menu's logic, driven by its dialog procedure, over the process
// state that start-up made.

// The buttons' captions, each a language line. Demo keeps the template's text.
struct MenuCaption {
    int button;
    int line;
};
inline constexpr MenuCaption kMenuCaptions[] = {
    {IDC_MAIN_PRACTICE, lines::kMenuPractice},   {IDC_MAIN_SINGLEMATCH, lines::kMenuSingleMatch},
    {IDC_MAIN_NEWLEAGUE, lines::kMenuNewLeague}, {IDC_MAIN_LOADLEAGUE, lines::kMenuLoadLeague},
    {IDC_MAIN_CREDITS, lines::kMenuCredits},     {IDC_MAIN_DIRECTX, lines::kMenuDirectX},
    {IDC_MAIN_LICENCE, lines::kMenuLicence},     {IDC_MAIN_WEBSITE, lines::kMenuWebSite},
    {IDC_MAIN_CANCEL, lines::kMenuCancel},
};

// On the dialog's initialisation: translates the buttons, offers the DirectX
// setup when DirectDraw 7 is missing (ending the process when the player
// declines), then enables the game buttons, and Load League only when a
// league is waiting.
void OpenMainMenu(Ui& menu, ProcessState& process);

// Runs the command of control `id`. False when the menu has no such command,
// so that the dialog reports the message as not handled.
bool RunMainMenuCommand(Ui& menu, ProcessState& process, int id);

// Reads Control (adds 2) and Shift (adds 1) as they are now: the launch level.
// Every command that may start the game calls it once, before anything else.
int ComputeLaunchLevel();

}  // namespace vok
