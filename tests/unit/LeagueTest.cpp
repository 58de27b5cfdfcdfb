#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Fakes.h"
#include "common/ProcessState.h"
#include "league/LeagueFiles.h"
#include "league/VokLeagueData.h"

namespace vok::test {
namespace {

VokLeagueData League(const std::string& temp, const Strings& players, int voks,
                     const std::string& creature = "Grunt") {
    VokLeagueData league;
    std::snprintf(league.LeagueName, sizeof league.LeagueName, "\"Cup\"");
    league.NrPlayers = static_cast<int>(players.size());
    league.LeagueRounds = 2;
    league.VoksPerTeam = voks;
    league.LivesPerVok = 10;
    for (std::size_t i = 0; i < players.size(); ++i) {
        std::snprintf(league.ply[i].name, sizeof league.ply[i].name, "\"%s\"", players[i].c_str());
        for (int j = 0; j < voks; ++j) {
            VokEntry& vok = league.ply[i].vok[j];
            std::snprintf(vok.name, sizeof vok.name, "%s", creature.c_str());
            std::snprintf(vok.path, sizeof vok.path, "%s/", CreatureFolder(temp, i, j).c_str());
        }
    }
    league.Reset();
    return league;
}

// The temporary directory as start-up records it; empty: none.
void UseTemp(const std::string& temp) {
    std::snprintf(Process().tempDir, sizeof Process().tempDir, "%s", temp.c_str());
    Process().tempDirValid = !temp.empty();
}

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
    league.NrPlayers = 0;
    league.matches_played = 9;
    p.vok[0].rounds_won = 7;
    league.Reset();
    league.UpdateStandings();
    EXPECT_EQ(league.matches_played, 0);
    EXPECT_EQ(Standings(p), "5/15/1/2/12");
}

// Save finds keys only where lines begin: a name that spells a key of the
// league file, over a file that already holds some keys (they keep their
// places), keeps every other value its own, and a line break in a name is a
// blank. The file is replaced once, by a side file flushed to the disk first.
TEST(VokLeagueData, SavesTheLeagueFileInOneStep) {
    TestOs os;
    TempFolder temp;
    UseTemp(temp.path);
    const std::string file = temp / kLeagueFileName, side = file + ".new";
    WriteFile(file, "junk = 1\r\nNrPlayers = 7\r\n");
    EXPECT_TRUE(League(temp.path, {"ply[1].points", "Bo"}, 1, "x\r\nPLY[1].VOK[0].LIVES").Save());
    std::string expected =
        LeagueFile(temp.path, {"ply[1].points", "Bo"}, 1, "x  PLY[1].VOK[0].LIVES");
    expected.erase(expected.find("NrPlayers = 2\r\n"), 15).append("junk = 1\r\nNrPlayers = 2\r\n");
    EXPECT_EQ(ReadFile(file), expected);  // written beside, onto the disk, moved over
    EXPECT_EQ(os.Log({"write", "flush", "replace"}),
              (Strings{"write " + side, "flush " + side, "replace " + file}));
    EXPECT_FALSE(Exists(side));
}

TEST(VokLeagueData, KnowsItsKeys) {
    for (const char* key :
         {"matches_played", "lIVESpERvOK", "PLY[0].NAME", "ply[11].vok[4].flawlesswins",
          "ply[3].matches_won", "ply[7].vok[2].path"}) {
        EXPECT_TRUE(VokLeagueData::IsKey(key)) << key;
    }
    for (const char* text : {"matches_won", "ply[12].name", "ply[0].vok[5].name", "ply[01].name",
                             "ply[0]", "ply[0].name ", ""}) {
        EXPECT_FALSE(VokLeagueData::IsKey(text)) << text;
    }
}

TEST(VokLeagueData, SavesNothingWithoutAUsableTemporaryPath) {
    for (const std::string& temp : {std::string(), std::string(500, 't') + "/"}) {
        TestOs os;
        UseTemp(temp);
        EXPECT_FALSE(League("/x/", {"Ann", "Bo"}, 1).Save());
        EXPECT_EQ(os.log, Strings()) << temp.size();
    }
}

}  // namespace
}  // namespace vok::test
