#pragma once

#include "common/ProcessState.h"

namespace vok {

// Deletes a file of a league, clearing its read-only attribute where that
// keeps it. True when the file was deleted.
bool RemoveLeagueFile(const char* path);

// Empties a folder of its files, read-only ones included, and removes it.
// `path` has no trailing separator. Stops at the first entry that cannot be
// deleted (a sub-folder, or a file another program holds open), leaving it
// and the rest. True when the folder is gone.
bool RemoveFolder(const char* path);

// Removes what a league leaves in `process`'s temporary directory: the
// creature folders p<i>_vok<j>, walked player by player until the first player
// whose first folder cannot be removed, and within a player until the first
// creature folder that cannot; then the league file and the game copy
// "vok.exe". Clears the league-present flag whatever happened.
void DeleteLeague(ProcessState& process);

}  // namespace vok
