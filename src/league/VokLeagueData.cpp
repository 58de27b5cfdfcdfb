#include "league/VokLeagueData.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string>

#include "common/ProcessState.h"
#include "kvfile/KeyValueFile.h"
#include "league/LeagueFiles.h"

namespace vok {

namespace {

// The counts come from the create-league dialog, which keeps them in range;
// the arrays are the hard limit all the same.
int Bounded(int count, int limit) {
    return count < 0 ? 0 : count > limit ? limit : count;
}

// A text field as the league file holds it: one token that reads back as the
// text. A line break inside a value would begin a line of its own, and a key
// spelt after it (a creature name read from data.dat as the quoted
// "x\nply[1].points") would then be found there and the token after it
// overwritten; a blank separates the same tokens without beginning a line. A
// text that would be empty, or cut into more than one token (a blank, comma,
// '=' or quote in a creature's name or a temporary folder's path), goes
// between double quotes, as the names the dialog quotes itself already stand;
// a quote cannot stand inside them and is dropped. The field is read no
// further than its own size.
template <std::size_t N>
std::string FileText(const char (&field)[N]) {
    std::string text(field, std::find(field, field + N, '\0'));
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    if (!text.empty() && text.find_first_of(KeyValueFile::kSeparators) == std::string::npos) {
        return text;
    }
    // A text already between quotes, with none inside, is written as it is.
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return '"' + text + '"';
}

// One key of the league file: its name (after "ply[i]." for a player's, after
// "ply[i].vok[j]." for a creature's) and the field it holds, of one kind.
template <typename Record>
struct Field {
    const char* name;
    int (*number)(const Record&);
    float (*real)(const Record&);
    std::string (*text)(const Record&);
};

// The key is the field's own name.
// clang-format off
#define VOK_NUMBER(R, field) {#field, [](const R& r) { return r.field; }, nullptr, nullptr}
#define VOK_REAL(R, field) {#field, nullptr, [](const R& r) { return r.field; }, nullptr}
#define VOK_TEXT(R, field) {#field, nullptr, nullptr, [](const R& r) { return FileText(r.field); }}
// clang-format on

// The keys in the order Save writes them; a new key goes here, and IsKey knows it.
const Field<VokLeagueData> kLeagueKeys[] = {
    VOK_NUMBER(VokLeagueData, matches_played), VOK_TEXT(VokLeagueData, LeagueName),
    VOK_NUMBER(VokLeagueData, NrPlayers),      VOK_NUMBER(VokLeagueData, LeagueRounds),
    VOK_NUMBER(VokLeagueData, VoksPerTeam),    VOK_NUMBER(VokLeagueData, LivesPerVok),
};
const Field<PlyEntry> kPlayerKeys[] = {
    VOK_TEXT(PlyEntry, name),
    VOK_NUMBER(PlyEntry, matches_played),
    VOK_NUMBER(PlyEntry, matches_won),
    VOK_NUMBER(PlyEntry, points),
};
const Field<VokEntry> kVokKeys[] = {
    VOK_TEXT(VokEntry, name),          VOK_TEXT(VokEntry, path),
    VOK_NUMBER(VokEntry, lives),       VOK_NUMBER(VokEntry, streak),
    VOK_REAL(VokEntry, health),        VOK_NUMBER(VokEntry, rounds_won),
    VOK_NUMBER(VokEntry, rounds_lost), VOK_NUMBER(VokEntry, flawlesswins),
};

// Writes each key of `fields` for `record`, named with `prefix`.
template <typename Record, std::size_t N>
void Write(KeyValueFile& file, const std::string& prefix, const Field<Record> (&fields)[N],
           const Record& record) {
    for (const Field<Record>& field : fields) {
        const std::string key = prefix + field.name;
        field.number ? file.WriteInt(key.c_str(), field.number(record), true)
        : field.real ? file.WriteFloat(key.c_str(), field.real(record), true)
                     : file.WriteString(key.c_str(), field.text(record).c_str(), true);
    }
}

std::string PlayerPrefix(int player) {
    return "ply[" + std::to_string(player) + "].";
}

std::string VokPrefix(int player, int vok) {
    return PlayerPrefix(player) + "vok[" + std::to_string(vok) + "].";
}

}  // namespace

bool VokLeagueData::IsKey(const char* text) {
    auto is = [&](const std::string& prefix, const char* name) {
        return KeyValueFile::CompareNoCase(text, (prefix + name).c_str()) == 0;
    };
    bool found = false;
    for (const auto& key : kLeagueKeys) {
        found = found || is("", key.name);
    }
    for (int i = 0; i < kMaxPlayers; ++i) {
        for (const auto& key : kPlayerKeys) {
            found = found || is(PlayerPrefix(i), key.name);
        }
        for (int j = 0; j < kMaxVoksPerTeam; ++j) {
            for (const auto& key : kVokKeys) {
                found = found || is(VokPrefix(i, j), key.name);
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
    Write(file, "", kLeagueKeys, *this);
    for (int i = 0; i < Bounded(NrPlayers, kMaxPlayers); ++i) {
        Write(file, PlayerPrefix(i), kPlayerKeys, ply[i]);
        for (int j = 0; j < Bounded(VoksPerTeam, kMaxVoksPerTeam); ++j) {
            Write(file, VokPrefix(i, j), kVokKeys, ply[i].vok[j]);
        }
    }
}

bool VokLeagueData::Save(const ProcessState& process) {
    // Never the current directory, should the temporary one be missing.
    Path path;
    if (!process.tempDirValid || !FileIn(path, process.tempDir, kLeagueFileName)) {
        return false;
    }
    KeyValueFile file(path);
    // All keys go into the file's image first and the file is replaced once, so
    // the game never finds a league with only some of its keys.
    file.BeginBatch();
    WriteKeys(file);
    return file.CommitBatch();
}

}  // namespace vok
