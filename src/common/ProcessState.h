#pragma once

#include "i18n/LanguageTable.h"

namespace vok {

// The launcher's process-wide state, in one place. Start-up fills it once;
// everything else reads it from here (and the league commands clear the
// league-present flag). Tests replace it with a fresh one through ResetProcess.
struct ProcessState {
    char tempDir[512] = {};           // the user's temporary directory, with its separator
    bool tempDirValid = false;        // false when the system could not supply it
    unsigned char leaguePresent = 0;  // a league file was in tempDir at start-up
    LanguageTable language;
};

ProcessState& Process();

// Starts over with a fresh state (for tests).
void ResetProcess();

}  // namespace vok
