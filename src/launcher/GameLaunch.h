#pragma once

#include "platform/Ui.h"

namespace vok {

// Copies the game "vok.exe" from the data root into the temporary directory,
// starts the copy with the command line of `modeId` (IDC_MAIN_PRACTICE,
// IDC_MAIN_SINGLEMATCH or IDC_MAIN_NEWLEAGUE for a league) and the launch
// level `level` (0 to 3), and ends the process with kExitHandedOver. When the
// temporary directory is unusable, the copy fails or the shell cannot start
// it, nothing is started: the player is told in a message box owned by
// `owner`, and the result is false. True only where the OS seam's EndProcess
// returns (in tests) after a start.
bool LaunchGame(Ui& owner, int modeId, int level);

// Formats the game's parameters for `modeId` and `level` into `buffer`
// (zero-filled first); false, with `buffer` empty, for an unknown mode.
bool FormatGameParameters(int modeId, int level, char (&buffer)[512]);

}  // namespace vok
