#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TestOs.h"
#include "common/ProcessState.h"

namespace vok::test {

// Restores the current directory on destruction, for tests whose code under
// test changes it or resolves paths against it. Declare it after any
// TempFolder it enters, so it leaves the folder before the folder is removed.
class CurrentFolderGuard {
public:
    CurrentFolderGuard() : saved_(std::filesystem::current_path()) {}
    ~CurrentFolderGuard() {
        std::error_code error;
        std::filesystem::current_path(saved_, error);
    }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    std::filesystem::path saved_;
};

// Gives the process `dir` as its temporary directory, as start-up would.
inline void UseTempDir(const std::string& dir, bool valid = true) {
    std::snprintf(Process().tempDir, sizeof Process().tempDir, "%s", dir.c_str());
    Process().tempDirValid = valid;
}

// Writes dataRoot + "data/language/" + fileName with `lines` lines reading
// prefix + their number ("en 0", "en 1", ...), separated by CR LF with no
// line break after the last, so the table has exactly `lines` lines.
inline void WriteLanguageFile(const std::string& dataRoot, const std::string& fileName, int lines,
                              const std::string& prefix) {
    std::filesystem::create_directories(dataRoot + "data/language");
    std::string text;
    for (int i = 0; i < lines; ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += prefix + std::to_string(i);
    }
    WriteFile(dataRoot + "data/language/" + fileName, text);
}

// The league file the launcher must write for the league "Cup" of 2 rounds
// and 10 lives, with these players and `voks` creatures each named
// `creature`: every key on a line of its own, in the reverse of the order in
// which they are written.
inline std::string LeagueFile(const std::string& temp, const std::vector<std::string>& players,
                              int voks, const std::string& creature) {
    std::vector<std::string> lines = {
        "matches_played = 0",
        "LeagueName = \"Cup\"",
        "NrPlayers = " + std::to_string(players.size()),
        "LeagueRounds = 2",
        "VoksPerTeam = " + std::to_string(voks),
        "LivesPerVok = 10",
    };
    for (std::size_t i = 0; i < players.size(); ++i) {
        const std::string player = "ply[" + std::to_string(i) + "].";
        lines.push_back(player + "name = \"" + players[i] + "\"");
        for (const char* key : {"matches_played", "matches_won", "points"}) {
            lines.push_back(player + key + " = 0");
        }
        for (int j = 0; j < voks; ++j) {
            const std::string vok = player + "vok[" + std::to_string(j) + "].";
            const std::string folder = "p" + std::to_string(i) + "_vok" + std::to_string(j);
            lines.push_back(vok + "name = " + creature);
            lines.push_back(vok + "path = " + temp + folder + "/");
            lines.push_back(vok + "lives = 10");
            lines.push_back(vok + "streak = 1");
            lines.push_back(vok + "health = 100.000000");
            for (const char* key : {"rounds_won", "rounds_lost", "flawlesswins"}) {
                lines.push_back(vok + key + " = 0");
            }
        }
    }
    std::string file;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        file += *line + "\r\n";
    }
    return file;
}

}  // namespace vok::test
