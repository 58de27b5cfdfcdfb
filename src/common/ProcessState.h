#pragma once

#include "i18n/LanguageTable.h"
#include "platform/Os.h"

namespace vok {

// The launcher's process-wide state, in one place. Start-up makes it and
// hands it down: whatever reads it is given it by its caller, and whatever
// changes it (the league commands clear the league-present flag) is given it
// to change. Tests make one of their own.
struct ProcessState {
    Path tempDir = {};                // the user's temporary directory, with its separator
    bool tempDirValid = false;        // false when the system could not supply it
    unsigned char leaguePresent = 0;  // a league file was in tempDir at start-up
    LanguageTable language;
};

}  // namespace vok
