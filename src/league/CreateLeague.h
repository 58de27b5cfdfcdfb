#pragma once

#include "common/ProcessState.h"
#include "platform/Ui.h"

namespace vok {

// The create-league dialog's logic, driven by its dialog procedure.
//
// OK reads the league's name and four numbers. Settings out of range are
// corrected and shown, and the dialog stays open; otherwise every player is
// asked for a name and, creature by creature, confirms a team taken from the
// creature source folder "data/ply/", whose files are copied into a creature
// folder of their own in the temporary directory. The league's statistics are
// then reset and the league file written, and the dialog ends with 1. It ends
// with 2 when nothing was written.

// The name box's text is stored between double quotes; a name within them
// may therefore hold no double quote of its own (a quote typed there is
// dropped), and the quoted name has at most this many characters.
constexpr int kMaxStoredLeagueName = 23;
// The most characters a player name may have, without its quotes.
constexpr int kMaxPlayerName = 13;
// The most characters of a creature's name that the league keeps.
constexpr int kMaxVokName = 24;

// Text to signed 32-bit integer: leading white space is skipped, an optional
// sign taken, and decimal digits read up to the first other character. An
// empty or non-numeric text gives 0; a number beyond the range gives the
// nearest limit.
int TextToInt32(const char* text);

// On the dialog's initialisation: translated caption, labels and buttons,
// and the default settings. `process` gives the language and the temporary
// directory.
void OpenCreateLeague(Ui& dialog, const ProcessState& process);

// Runs the command of control `id`: OK (1) or Cancel (2, also Escape and the
// close box). False for any other id, so that the dialog reports the message
// as not handled. A league given up on the way is removed, and with it
// `process`'s league-present flag.
bool RunCreateLeagueCommand(Ui& dialog, ProcessState& process, int id);

}  // namespace vok
