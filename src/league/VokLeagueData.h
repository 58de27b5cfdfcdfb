#pragma once

namespace vok {

class KeyValueFile;
struct ProcessState;

// One creature of a player's team.
struct VokEntry {
    char name[25];   // value of "name" in the creature's data.dat, without quotes
    char path[515];  // its creature folder in the temporary directory, ending in "/"
    int lives;
    int streak;
    float health;
    int rounds_won;
    int rounds_lost;
    int flawlesswins;
};

// One player of a league.
struct PlyEntry {
    char name[28];  // the player's name wrapped in double quotes
    int matches_played;
    int matches_won;
    int points;            // derived by UpdateStandings
    int total_rounds_won;  // totals over the team; not saved
    int total_rounds_lost;
    int total_flawlesswins;
    int voks_alive;
    VokEntry vok[5];
};

// A league as the launcher hands it to the game in its league file. The field
// names of the saved fields are the keys of that file. Only the first
// NrPlayers players and the first VoksPerTeam creatures of each are
// meaningful; nothing here touches the others.
class VokLeagueData {
public:
    static constexpr int kMaxPlayers = 12;
    static constexpr int kMaxVoksPerTeam = 5;

    VokLeagueData();

    // Every statistic to its starting value, then UpdateStandings. Names and
    // paths stay.
    void Reset();
    // Recomputes each player's totals and points (3 per match won, plus rounds
    // and flawless wins of the team).
    void UpdateStandings();
    // Writes the league to its file in `process`'s temporary directory,
    // replacing the file in one step. True when the file now holds the league;
    // false, with the file as it was, when it could not be written or the
    // temporary directory cannot be had.
    bool Save(const ProcessState& process);

    // Whether `text` equals, ignoring ASCII case, a key that a league file can
    // hold (any player and creature within the league's limits).
    static bool IsKey(const char* text);

    // The keyed writes of Save, in their order, applied to `file`. Each adds a
    // key that is missing on top of the file and replaces the value of one that
    // is there. A line break inside a text value is written as a blank.
    void WriteKeys(KeyValueFile& file) const;

    char LeagueName[28];
    int NrPlayers;
    int LeagueRounds;
    int VoksPerTeam;
    int LivesPerVok;
    int matches_played;
    PlyEntry ply[kMaxPlayers];
};

}  // namespace vok
