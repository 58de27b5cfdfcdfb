#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include <string>

#include "Fakes.h"
#include "kvfile/KeyValueFile.h"
#include "league/VokLeagueData.h"

namespace vok::test {
namespace {

std::string Standings(const PlyEntry& p) {
    return std::to_string(p.total_rounds_won) + "/" + std::to_string(p.total_rounds_lost) + "/" +
           std::to_string(p.total_flawlesswins) + "/" + std::to_string(p.voks_alive) + "/" +
           std::to_string(p.points);
}

// What Reset gives the saved fields, the league file shows (below).
TEST(VokLeagueData, ResetsStatisticsAndComputesStandings) {
    VokLeagueData league;
    std::memset(static_cast<void*>(&league), 0x5A, sizeof league);
    league.NrPlayers = 2;
    league.VoksPerTeam = 3;
    league.LivesPerVok = 10;
    league.Reset();
    EXPECT_EQ(Standings(league.ply[1]), "0/0/0/3/0");
    EXPECT_EQ(league.ply[1].vok[3].lives, 0x5A5A5A5A);  // beyond the team: untouched
    EXPECT_EQ(league.ply[2].points, 0x5A5A5A5A);

    PlyEntry& p = league.ply[0];
    p.matches_won = 2;
    const int won[] = {1, 0, 4}, flawless[] = {0, 1, 0}, lives[] = {-1, 0, 3};
    for (int j = 0; j < 3; ++j) {
        p.vok[j] = {"", "", lives[j], 1, 100, won[j], 5, flawless[j]};
    }
    league.UpdateStandings();
    EXPECT_EQ(Standings(p), "5/15/1/2/12");
    league.NrPlayers = -1;  // none, as 0
    league.matches_played = 9;
    p.vok[0].rounds_won = 7;
    league.Reset();
    league.UpdateStandings();
    EXPECT_EQ(league.matches_played, 0);
    EXPECT_EQ(Standings(p), "5/15/1/2/12");
}

// Keys are found only where a line begins: a name that spells a later key
// keeps its place, and that key gets a line of its own.
TEST(VokLeagueData, WritesKeysOnlyAtLineStarts) {
    TestOs os;
    TempFolder folder;
    VokLeagueData league;
    std::memset(static_cast<void*>(&league), 0, sizeof league);
    league.NrPlayers = 2;
    std::snprintf(league.ply[0].name, sizeof league.ply[0].name, "\"ply[1].points\"");
    league.ply[1].points = 7;
    KeyValueFile file((folder / "league.dat").c_str());
    league.WriteKeys(file);
    EXPECT_STREQ(file.GetValue("ply[0].name", ""), "ply[1].points");
    file.SetKeysAtLineStart(true);
    EXPECT_STREQ(file.GetValue("ply[1].points", ""), "7");
}

}  // namespace
}  // namespace vok::test
