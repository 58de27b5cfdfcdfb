#pragma once

#include "platform/Ui.h"

namespace vok {

// The launcher's entry sequence: refuses to run beside the game or another
// launcher (signalling that one instead), makes the executable's folder the
// current directory (the data root), loads the language table, records the
// temporary directory and whether a league is waiting there, and runs the
// main menu through `desktop` until the player leaves it. Returns the
// process exit code (ExitCodes.h); a game start ends the process inside.
int StartUp(Ui& desktop);

// Class name of the game's main window and title of the launcher's main menu;
// both end in one blank.
constexpr const char* kGameWindowClass = "VOK ";
constexpr const char* kLauncherTitle = "Vok ";

}  // namespace vok
