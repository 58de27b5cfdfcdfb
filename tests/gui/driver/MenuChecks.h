// Checks and steps shared by the launcher's cases: what the main menu must
// show, how a case leaves it, and what a game start leaves behind.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "Harness.h"

namespace gui {

const char kGameRecord[] = "game.txt";

// Control ids of the create-league dialog, the input box and the credits.
enum {
    kLeagueName = 1003,
    kLeaguePlayers = 1002,
    kLeagueRounds = 1006,
    kLeagueVoks = 1008,
    kLeagueLives = 1010,
    kInputEdit = 1006,
    kInputPrompt = 1007,
    kCreditsColumn1 = 1011,
    kCreditsColumn2 = 1012,
    kCreditsColumn3 = 1013,
};
inline const std::vector<int> kCreateLeagueIds = {kLeagueName, kLeaguePlayers, kLeagueRounds,
                                                  kLeagueVoks, kLeagueLives};
inline const std::vector<int> kInputBoxIds = {IDOK, kInputEdit, kInputPrompt};
inline const std::vector<int> kCreditsIds = {IDOK, kCreditsColumn1, kCreditsColumn2,
                                             kCreditsColumn3};

// Writes `files` (names relative to the stage's temporary folder, at most one
// folder deep, separated by a backslash) into the temporary folder.
void StageTempFiles(const Stage& stage, const std::map<std::string, std::string>& files);

// The lines of a language file of the staged root; the case stops when the
// file cannot be read.
std::vector<std::string> StagedLanguage(const Stage& stage, const std::string& file);

// The menu's caption and the texts of its buttons against `lines`.
void CheckTranslatedTexts(HWND menu, const std::vector<std::string>& lines,
                          const std::string& file);
// The enabled states right after opening: game buttons on, Load League only
// with a league, the rest always.
void CheckOpeningStates(HWND menu, bool leaguePresent);
void CheckNoMessageBox(DWORD pid, const std::string& when);
// Presses Cancel and expects the launcher to end with 0.
void CancelMenu(Launcher& launcher, HWND menu);
// Saves a screenshot of `window` when the driver was asked for screenshots.
void SaveShot(HWND window, const std::string& name);

// Waits for the single game start after a launch and returns it.
StartRecord ExpectOneGameStart(const Stage& stage);
// After a launch the temporary folder holds the game copy, byte for byte the
// data root's and writable, plus exactly what `extra` lists (see ListTree).
void CheckTempAfterLaunch(const Stage& stage, std::map<std::string, std::string> extra = {});

}  // namespace gui
