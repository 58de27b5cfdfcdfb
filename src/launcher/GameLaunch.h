#pragma once

#include "common/ProcessState.h"
#include "platform/Ui.h"

namespace vok {

// What the game is started for; each has its own command line.
enum class GameMode { Practice, SingleMatch, League };

// The size of the game's command line buffer.
constexpr int kGameParametersSize = 512;

// Copies the game "vok.exe" from the data root into `process`'s temporary
// directory, starts the copy with the command line of `mode` and the launch
// level `level` (0 to 3), and ends the process with kExitHandedOver. When the
// temporary directory is unusable, the copy fails or the shell cannot start
// it, nothing is started: the player is told in a message box owned by
// `owner`, and the result is false. True only where the OS seam's EndProcess
// returns (in tests) after a start.
bool LaunchGame(Ui& owner, const ProcessState& process, GameMode mode, int level);

// Formats the game's parameters for `mode` and `level` into `buffer`
// (zero-filled first).
void FormatGameParameters(GameMode mode, int level, char (&buffer)[kGameParametersSize]);

}  // namespace vok
