#include "league/VokLeagueData.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string>

#include "common/Trace.h"
#include "kvfile/KeyValueFile.h"
#include "platform/Os.h"

namespace vok {

namespace {

// The counts come from the create-league dialog, which keeps them in range;
// the arrays are the hard limit all the same.
int Bounded(int count, int limit) {
    return count < 0 ? 0 : count > limit ? limit : count;
}

// A text field as the league file holds it. A line break inside a value would
// begin a line of its own, and a key spelt after it (a creature name read from
// data.dat as the quoted "x\nply[1].points") would then be found there and the
// token after it overwritten. A blank separates the same tokens without
// beginning a line. The field is read no further than its own size.
template <std::size_t N>
std::string FileText(const char (&field)[N]) {
    std::string text(field, std::find(field, field + N, '\0'));
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

bool VokLeagueData::IsKey(const char* text) {
    static const char* const kLeague[] = {"matches_played", "LeagueName",  "NrPlayers",
                                          "LeagueRounds",   "VoksPerTeam", "LivesPerVok"};
    static const char* const kPlayer[] = {"name", "matches_played", "matches_won", "points"};
    static const char* const kVok[] = {"name",   "path",       "lives",       "streak",
                                       "health", "rounds_won", "rounds_lost", "flawlesswins"};
    char key[64];
    auto is = [&](const char* candidate) {
        return KeyValueFile::CompareNoCase(text, candidate) == 0;
    };
    bool found = std::any_of(std::begin(kLeague), std::end(kLeague), is);
    for (int i = 0; i < kMaxPlayers && !found; ++i) {
        for (const char* field : kPlayer) {
            std::snprintf(key, sizeof key, "ply[%d].%s", i, field);
            found = found || is(key);
        }
        for (int j = 0; j < kMaxVoksPerTeam; ++j) {
            for (const char* field : kVok) {
                std::snprintf(key, sizeof key, "ply[%d].vok[%d].%s", i, j, field);
                found = found || is(key);
            }
        }
    }
    return found;
}

VokLeagueData::VokLeagueData() {
    LeagueName[0] = '\0';
}

void VokLeagueData::Reset() {
    matches_played = 0;
    int players = Bounded(NrPlayers, kMaxPlayers);
    int voks = Bounded(VoksPerTeam, kMaxVoksPerTeam);
    for (int i = 0; i < players; ++i) {
        PlyEntry& player = ply[i];
        player.matches_played = 0;
        player.matches_won = 0;
        player.points = 0;
        for (int j = 0; j < voks; ++j) {
            VokEntry& vok = player.vok[j];
            vok.lives = LivesPerVok;
            vok.streak = 1;
            vok.health = 100.0f;
            vok.rounds_won = 0;
            vok.rounds_lost = 0;
            vok.flawlesswins = 0;
        }
    }
    UpdateStandings();
}

void VokLeagueData::UpdateStandings() {
    int players = Bounded(NrPlayers, kMaxPlayers);
    int voks = Bounded(VoksPerTeam, kMaxVoksPerTeam);
    for (int i = 0; i < players; ++i) {
        PlyEntry& player = ply[i];
        player.total_rounds_won = 0;
        player.total_rounds_lost = 0;
        player.total_flawlesswins = 0;
        player.voks_alive = 0;
        for (int j = 0; j < voks; ++j) {
            const VokEntry& vok = player.vok[j];
            player.total_rounds_won += vok.rounds_won;
            player.total_rounds_lost += vok.rounds_lost;
            player.total_flawlesswins += vok.flawlesswins;
            if (vok.lives != 0) {
                ++player.voks_alive;
            }
        }
        player.points =
            3 * player.matches_won + player.total_rounds_won + player.total_flawlesswins;
    }
}

void VokLeagueData::WriteKeys(KeyValueFile& file) const {
    // Every key of the league file begins a line, and no value does: finding
    // keys only there keeps a name that spells a later key (a player called
    // "ply[1].points") from having the value after it overwritten.
    file.SetKeysAtLineStart(true);

    file.WriteInt("matches_played", matches_played, true);
    file.WriteString("LeagueName", FileText(LeagueName).c_str(), true);
    file.WriteInt("NrPlayers", NrPlayers, true);
    file.WriteInt("LeagueRounds", LeagueRounds, true);
    file.WriteInt("VoksPerTeam", VoksPerTeam, true);
    file.WriteInt("LivesPerVok", LivesPerVok, true);

    int players = Bounded(NrPlayers, kMaxPlayers);
    int voks = Bounded(VoksPerTeam, kMaxVoksPerTeam);
    char key[512];
    for (int i = 0; i < players; ++i) {
        const PlyEntry& player = ply[i];
        Trace(1, "\n  VokLeagueData::Save() ply %d", i);
        std::snprintf(key, sizeof key, "ply[%d].name", i);
        file.WriteString(key, FileText(player.name).c_str(), true);
        std::snprintf(key, sizeof key, "ply[%d].matches_played", i);
        file.WriteInt(key, player.matches_played, true);
        std::snprintf(key, sizeof key, "ply[%d].matches_won", i);
        file.WriteInt(key, player.matches_won, true);
        std::snprintf(key, sizeof key, "ply[%d].points", i);
        file.WriteInt(key, player.points, true);

        for (int j = 0; j < voks; ++j) {
            const VokEntry& vok = player.vok[j];
            const std::string name = FileText(vok.name);
            const std::string path = FileText(vok.path);
            Trace(1, "\n  VokLeagueData::Save() ply %d vok %d", i, j);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].name", i, j);
            Trace(1, "\n  VokLeagueData::Save() %s=%s", key, name.c_str());
            file.WriteString(key, name.c_str(), true);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].path", i, j);
            Trace(1, "\n  VokLeagueData::Save() %s=%s", key, path.c_str());
            file.WriteString(key, path.c_str(), true);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].lives", i, j);
            Trace(1, "\n  VokLeagueData::Save() %s=%d", key, vok.lives);
            file.WriteInt(key, vok.lives, true);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].streak", i, j);
            Trace(1, "\n  VokLeagueData::Save() %s=%d", key, vok.streak);
            file.WriteInt(key, vok.streak, true);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].health", i, j);
            Trace(1, "\n  VokLeagueData::Save() %s=%f", key, static_cast<double>(vok.health));
            file.WriteFloat(key, vok.health, true);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].rounds_won", i, j);
            Trace(1, "\n  VokLeagueData::Save() %s=%d", key, vok.rounds_won);
            file.WriteInt(key, vok.rounds_won, true);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].rounds_lost", i, j);
            file.WriteInt(key, vok.rounds_lost, true);
            std::snprintf(key, sizeof key, "ply[%d].vok[%d].flawlesswins", i, j);
            file.WriteInt(key, vok.flawlesswins, true);
        }
    }
}

bool VokLeagueData::Save() {
    char temp[512];
    if (!CurrentOs().TempPath(temp, sizeof temp)) {
        return false;  // never fall back to the current directory
    }
    char path[512];
    int length = std::snprintf(path, sizeof path, "%s%s", temp, "vokleague.dat");
    if (length < 0 || length >= static_cast<int>(sizeof path)) {
        return false;
    }
    KeyValueFile file(path);
    Trace(1, "\n  VokLeagueData::Save() ");
    // All keys go into the file's image first and the file is replaced once, so
    // the game never finds a league with only some of its keys.
    file.BeginBatch();
    WriteKeys(file);
    return file.CommitBatch();
}

}  // namespace vok
