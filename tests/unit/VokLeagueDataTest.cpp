#include "league/VokLeagueData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LauncherTestSupport.h"
#include "TestOs.h"
#include "kvfile/KeyValueFile.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

const unsigned char kSentinel = 0xA5;

// A league as the create-league dialog leaves it: settings, names and paths on
// top of whatever the record held, then Reset.
VokLeagueData League(int players, int voks, const std::string& temp = "C:\\TEMP\\") {
    VokLeagueData data;
    std::memset(static_cast<void*>(&data), kSentinel, sizeof data);
    std::strcpy(data.LeagueName, "\"Cup\"");
    data.NrPlayers = players;
    data.LeagueRounds = 2;
    data.VoksPerTeam = voks;
    data.LivesPerVok = 10;
    for (int i = 0; i < players && i < 12; ++i) {
        std::snprintf(data.ply[i].name, sizeof data.ply[i].name, "\"P%d\"", i);
        for (int j = 0; j < voks && j < 5; ++j) {
            std::strcpy(data.ply[i].vok[j].name, "Grunt");
            std::snprintf(data.ply[i].vok[j].path, sizeof data.ply[i].vok[j].path, "%sp%d_vok%d/",
                          temp.c_str(), i, j);
        }
    }
    if (players >= 2) {
        std::strcpy(data.ply[0].name, "\"Ann\"");
        std::strcpy(data.ply[1].name, "\"Bo\"");
    }
    data.Reset();
    return data;
}

bool Untouched(const void* bytes, std::size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < size; ++i) {
        if (p[i] != kSentinel) {
            return false;
        }
    }
    return true;
}

using Lines = std::vector<std::pair<std::string, std::string>>;

std::string Join(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line.first + " = " + line.second + "\r\n";
    }
    return text;
}

Lines Parse(const std::string& text) {
    Lines lines;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find("\r\n", pos);
        std::size_t eq = text.find(" = ", pos);
        if (end == std::string::npos || eq > end) {
            ADD_FAILURE() << "not a key line: " << text.substr(pos, 60);
            return lines;
        }
        lines.emplace_back(text.substr(pos, eq - pos), text.substr(eq + 3, end - eq - 3));
        pos = end + 2;
    }
    return lines;
}

// The league file of League(2, 1).
std::string WorkedExample() {
    return vok::test::LeagueFile("C:\\TEMP\\", {"Ann", "Bo"}, 1, "Grunt");
}

Lines Replaced(Lines lines, const Lines& values) {
    for (auto& line : lines) {
        for (const auto& value : values) {
            if (line.first == value.first) {
                line.second = value.second;
            }
        }
    }
    return lines;
}

// Runs Save with `temp` as the temporary directory.
void Save(VokLeagueData data, const std::string& temp, TestOs& os) {
    os.SetTempDir(temp);
    vok::ScopedOs scoped(os);
    data.Save();
}

std::string SavedFile(const VokLeagueData& data, const TempFolder& temp) {
    TestOs os;
    Save(data, temp.Path(), os);
    return ReadFile(temp / "vokleague.dat");
}

// The same keyed writes without Save's single replacement: one rewrite each.
std::string WrittenKeyByKey(const VokLeagueData& data, const TempFolder& temp) {
    std::string path = temp / "vokleague.dat";
    KeyValueFile file(path.c_str());
    data.WriteKeys(file);
    return ReadFile(path);
}

}  // namespace

TEST(VokLeagueDataTest, ResetStartsTheStatisticsOfTheTeamsInUseOnly) {
    const struct {
        int players, voks;
    } cases[] = {{2, 3}, {12, 5}, {1, 0}, {0, 3}, {-1, 3}, {13, 6}};
    for (const auto& c : cases) {
        VokLeagueData data = League(c.players, c.voks);
        int players = c.players < 0 ? 0 : c.players > 12 ? 12 : c.players;
        int voks = c.voks < 0 ? 0 : c.voks > 5 ? 5 : c.voks;
        EXPECT_EQ(data.matches_played, 0);
        for (int i = 0; i < 12; ++i) {
            const PlyEntry& p = data.ply[i];
            if (i >= players) {
                EXPECT_TRUE(Untouched(&p, sizeof p)) << c.players << " players, player " << i;
                continue;
            }
            EXPECT_EQ(p.matches_played + p.matches_won + p.points, 0);
            EXPECT_EQ(p.total_rounds_won + p.total_rounds_lost + p.total_flawlesswins, 0);
            EXPECT_EQ(p.voks_alive, voks);
            for (int j = 0; j < 5; ++j) {
                const VokEntry& v = p.vok[j];
                if (j >= voks) {
                    EXPECT_TRUE(Untouched(&v, sizeof v)) << c.voks << " voks, vok " << j;
                    continue;
                }
                EXPECT_STREQ(v.name, "Grunt");
                EXPECT_EQ(v.lives, 10);
                EXPECT_EQ(v.streak, 1);
                EXPECT_EQ(v.health, 100.0f);
                EXPECT_EQ(v.rounds_won + v.rounds_lost + v.flawlesswins, 0);
            }
        }
    }
}

TEST(VokLeagueDataTest, UpdateStandingsCountsTheTeamsInUse) {
    VokLeagueData data = League(2, 3);
    PlyEntry& p = data.ply[0];
    p.matches_won = 2;
    const int won[] = {1, 0, 4}, lost[] = {5, 5, 5}, flawless[] = {0, 1, 0}, lives[] = {3, -1, 0};
    for (int j = 0; j < 3; ++j) {
        p.vok[j].rounds_won = won[j];
        p.vok[j].rounds_lost = lost[j];
        p.vok[j].flawlesswins = flawless[j];
        p.vok[j].lives = lives[j];
    }
    data.ply[1].matches_won = 1;
    data.ply[1].vok[2].lives = 0;
    data.UpdateStandings();
    EXPECT_EQ(p.total_rounds_won, 5);
    EXPECT_EQ(p.total_rounds_lost, 15);
    EXPECT_EQ(p.total_flawlesswins, 1);
    EXPECT_EQ(p.voks_alive, 2);  // -1 counts as alive, 0 does not
    EXPECT_EQ(p.points, 12);
    EXPECT_EQ(data.ply[1].voks_alive, 2);
    EXPECT_EQ(data.ply[1].points, 3);
    EXPECT_TRUE(Untouched(&p.vok[3], 2 * sizeof(VokEntry)));
    EXPECT_TRUE(Untouched(&data.ply[2], 10 * sizeof(PlyEntry)));

    for (int players : {0, -1}) {
        data.NrPlayers = players;
        VokLeagueData before = data;
        data.UpdateStandings();
        EXPECT_EQ(std::memcmp(&before, &data, sizeof data), 0) << players;
        data.matches_played = 7;
        data.Reset();
        EXPECT_EQ(data.matches_played, 0);
        data.matches_played = before.matches_played;
        EXPECT_EQ(std::memcmp(&before, &data, sizeof data), 0) << players;
    }
}

TEST(VokLeagueDataTest, SaveWritesTheKeysInReverseOrderOfWriting) {
    TempFolder temp;
    EXPECT_EQ(SavedFile(League(2, 1), temp), WorkedExample());

    // Twelve players of five: every key once, the last written on top.
    TempFolder full, fullKeyByKey;
    VokLeagueData data = League(12, 5, full.Path());
    std::string text = SavedFile(data, full);
    Lines lines = Parse(text);
    ASSERT_EQ(lines.size(), 534u);
    EXPECT_EQ(lines.front(), Lines::value_type("ply[11].vok[4].flawlesswins", "0"));
    EXPECT_EQ(lines.back(), Lines::value_type("matches_played", "0"));
    std::set<std::string> keys;
    for (const auto& line : lines) {
        keys.insert(line.first);
    }
    EXPECT_EQ(keys.size(), 534u);
    EXPECT_EQ(Join(lines), text);
    EXPECT_EQ(WrittenKeyByKey(data, fullKeyByKey), text);

    // Counts of 0 or less leave out the players, or their creatures.
    Lines leagueOnly, playersOnly;
    for (const auto& line : Parse(WorkedExample())) {
        if (line.first.compare(0, 4, "ply[") != 0) {
            leagueOnly.push_back(line);
        }
        if (line.first.find(".vok[") == std::string::npos) {
            playersOnly.push_back(line);
        }
    }
    const struct {
        int players, voks;
        Lines lines;
    } cases[] = {
        {0, 1, Replaced(leagueOnly, {{"NrPlayers", "0"}})},
        {-3, 1, Replaced(leagueOnly, {{"NrPlayers", "-3"}})},
        {2, 0, Replaced(playersOnly, {{"VoksPerTeam", "0"}})},
        {2, -1, Replaced(playersOnly, {{"VoksPerTeam", "-1"}})},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        EXPECT_EQ(SavedFile(League(c.players, c.voks), folder), Join(c.lines))
            << c.players << " players, " << c.voks << " voks";
    }
}

TEST(VokLeagueDataTest, SaveWritesTheSameBytesAsKeyByKeyWrites) {
    // A file that holds some of the keys already: their values change in place
    // and the missing keys go on top.
    const std::string old = "NrPlayers = 99\r\nnote = kept\r\nply[0].vok[0].lives = 123456\r\n";
    Lines expected;
    for (const auto& line : Parse(WorkedExample())) {
        if (line.first != "NrPlayers" && line.first != "ply[0].vok[0].lives") {
            expected.push_back(line);
        }
    }
    std::string expectedText =
        Join(expected) + "NrPlayers = 2\r\nnote = kept\r\nply[0].vok[0].lives = 10\r\n";
    TempFolder saved, keyByKey;
    WriteFile(saved / "vokleague.dat", old);
    WriteFile(keyByKey / "vokleague.dat", old);
    EXPECT_EQ(SavedFile(League(2, 1), saved), expectedText);
    EXPECT_EQ(WrittenKeyByKey(League(2, 1), keyByKey), expectedText);

    // Names that spell keys written after them must not take those keys'
    // values: each key keeps its own. A line break would put such a name at
    // the start of a line, where keys are found: it is written as a blank.
    VokLeagueData data = League(2, 1);
    std::strcpy(data.LeagueName, "\"NrPlayers\"");
    std::strcpy(data.ply[0].name, "\"ply[1].points\"");
    std::strcpy(data.ply[1].name, "\"PLY[1].MATCHES_WON\"");
    std::strcpy(data.ply[0].vok[0].name, "PLY[1].VOK[0].LIVES");
    std::strcpy(data.ply[1].vok[0].name, "x\r\nply[1].vok[0].streak");
    std::strcpy(data.ply[1].vok[0].path, "ply[1].vok[0].lives");
    const Lines values = {
        {"LeagueName", "\"NrPlayers\""},
        {"ply[0].name", "\"ply[1].points\""},
        {"ply[1].name", "\"PLY[1].MATCHES_WON\""},
        {"ply[0].vok[0].name", "PLY[1].VOK[0].LIVES"},
        {"ply[1].vok[0].name", "x  ply[1].vok[0].streak"},
        {"ply[1].vok[0].path", "ply[1].vok[0].lives"},
    };
    TempFolder tricky, trickyKeyByKey;
    std::string text = SavedFile(data, tricky);
    EXPECT_EQ(Parse(text), Replaced(Parse(WorkedExample()), values));
    EXPECT_EQ(WrittenKeyByKey(data, trickyKeyByKey), text);
}

TEST(VokLeagueDataTest, SaveWritesNothingWithoutAFittingLeaguePath) {
    TempFolder temp;
    vok::test::CurrentFolderGuard restore;
    fs::current_path(temp.Path());

    // "vokleague.dat" is 13 characters: a 498-character directory leaves room
    // for the zero, 499 does not.
    for (std::size_t length : {0u, 498u, 499u}) {
        std::string dir;
        if (length > 0) {
            dir = temp.Path() + std::string(length - temp.Path().size() - 1, 'd') + "/";
        }
        TestOs os;
        Save(League(2, 1), dir, os);
        bool fits = length == 498;
        EXPECT_EQ(os.Calls(TestOs::Op::Read) > 0, fits) << length;
        if (!fits) {
            EXPECT_EQ(os.Calls(TestOs::Op::Write) + os.Calls(TestOs::Op::Replace), 0) << length;
        }
    }
    EXPECT_TRUE(Entries(temp.Path()).empty());
}

}  // namespace vok::test
