#pragma once

#include <cstdio>
#include <string>

#include "league/VokLeagueData.h"

namespace vok::test {

// A league as the create-league dialog leaves it just before Save: names in
// their stored quotes, creature folders under `tempDir`, statistics reset.
// `variant` changes names and settings, so that two leagues differ in every
// value while keeping the same keys.
inline VokLeagueData MakeLeague(int players, int voksPerTeam, const std::string& tempDir,
                                int variant = 0) {
    VokLeagueData data;
    std::snprintf(data.LeagueName, sizeof data.LeagueName, "\"%s\"", variant ? "Old Cup" : "Cup");
    data.NrPlayers = players;
    data.LeagueRounds = 2 + variant;
    data.VoksPerTeam = voksPerTeam;
    data.LivesPerVok = 10 + variant;
    for (int i = 0; i < VokLeagueData::kMaxPlayers; ++i) {
        PlyEntry& player = data.ply[i];
        std::snprintf(player.name, sizeof player.name, "\"%s%d\"", variant ? "Old" : "Player",
                      i + 1);
        for (int j = 0; j < VokLeagueData::kMaxVoksPerTeam; ++j) {
            VokEntry& vok = player.vok[j];
            std::snprintf(vok.name, sizeof vok.name, "%s", variant ? "Zork" : "Grunt");
            std::snprintf(vok.path, sizeof vok.path, "%sp%d_vok%d/", tempDir.c_str(), i, j);
        }
    }
    // Give the players and creatures beyond the league's counts defined
    // values too; Save never reads them.
    data.NrPlayers = VokLeagueData::kMaxPlayers;
    data.VoksPerTeam = VokLeagueData::kMaxVoksPerTeam;
    data.Reset();
    data.NrPlayers = players;
    data.VoksPerTeam = voksPerTeam;
    data.Reset();
    return data;
}

}  // namespace vok::test
