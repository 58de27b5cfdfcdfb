#pragma once

#include "i18n/LanguageTable.h"

namespace vok {

// The messages the launcher gained after its first language files: a file
// made before a message's line, or one that leaves it empty, shows the
// English text instead, never "<error>".
constexpr int kTempDirUnusableLine = 106;  // OK: no league in this temporary folder
constexpr int kGameNotStartedLine = 107;   // OK: the game copy could not be made or started
constexpr int kVokNotCopiedLine = 108;     // Retry/Cancel: a creature's files were not copied
constexpr int kLeagueNotSavedLine = 109;   // OK: the league file could not be written
constexpr int kCannotOpenLine = 110;       // OK, then the file or address on a line of its own

// Line `line` of `language`, or the English text of a message it lacks.
const char* MessageText(const LanguageTable& language, int line);

}  // namespace vok
