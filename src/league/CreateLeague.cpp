#include "league/CreateLeague.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/ProcessState.h"
#include "dialogs/InputBox.h"
#include "i18n/LanguageLines.h"
#include "kvfile/KeyValueFile.h"
#include "league/LeagueFiles.h"
#include "league/LeagueRemoval.h"
#include "league/VokLeagueData.h"
#include "resources/resource.h"

namespace vok {

namespace {

using Text = Path;  // the dialog's texts have the paths' buffers

// The creature source folder, under the data root; its "data.dat" names the
// creature.
constexpr const char* kVokSourceFolder = "data/ply";

// The path of the creature source's file `name`; false when it does not fit.
bool VokSourceFile(Text& path, const char* name) {
    return Format(path, "%s/%s", kVokSourceFolder, name);
}

// The texts the dialog shows from language lines as they stand.
const struct {
    int control;
    int line;
} kTexts[] = {
    {IDC_LEAGUE_NAME_LABEL, lines::kLeagueNameLabel},
    {IDC_LEAGUE_PLAYERS_LABEL, lines::kPlayersLabel},
    {IDC_LEAGUE_ROUNDS_LABEL, lines::kRoundsLabel},
    {IDC_LEAGUE_VOKS_LABEL, lines::kCreaturesLabel},
    {IDC_LEAGUE_LIVES_LABEL, lines::kLivesLabel},
    {IDC_OK, lines::kLeagueOk},
    {IDC_CANCEL, lines::kLeagueCancel},
};

const char* Line(const ProcessState& process, int line) {
    return process.language.Text(line);
}

// Copies `text` without its double quotes, at most `size` - 1 bytes of it;
// returns the length copied.
std::size_t CopyWithoutQuotes(const char* text, char* out, std::size_t size) {
    std::size_t length = 0;
    for (; *text && length + 1 < size; ++text) {
        if (*text != '"') {
            out[length++] = *text;
        }
    }
    out[length] = '\0';
    return length;
}

// The game reads the league file by the key-value rules, where any token can
// be taken for a key. Changes the last character of `text` to '-' when it
// spells a key of the league file, so that no stored name stands in for a
// key (the league writer keeps each name one token); true when it did. No key
// ends in '-'.
bool MarkKeys(char* text) {
    const std::size_t length = std::strlen(text);
    if (length == 0 || !VokLeagueData::IsKey(text)) {
        return false;
    }
    text[length - 1] = '-';
    return true;
}

int ReadNumber(Ui& dialog, int control) {
    Text text;
    dialog.GetText(control, text, sizeof text);
    return TextToInt32(text);
}

int Clamp(int value, int low, int high, bool& corrected) {
    if (value < low || value > high) {
        corrected = true;
        return value < low ? low : high;
    }
    return value;
}

// Reads and corrects the settings into `league`. False when a correction
// keeps the dialog open; the corrected settings are then shown.
bool ReadSettings(Ui& dialog, VokLeagueData& league) {
    Text box;
    dialog.GetText(IDC_LEAGUE_NAME, box, sizeof box);
    // The name goes between quotes of its own in the league file, where a
    // quote inside it would end the value early and shift every key after it.
    Text name;
    std::size_t length = CopyWithoutQuotes(box, name, sizeof name);
    bool corrected = std::strchr(box, '"') != nullptr;
    if (length == 0) {
        std::strcpy(name, "-");
        corrected = true;
    } else if (length + 2 > kMaxStoredLeagueName) {
        // The box then shows the name as the next OK should store it.
        name[kMaxStoredLeagueName - 2] = '\0';
        corrected = true;
    }
    corrected = MarkKeys(name) || corrected;
    std::snprintf(league.LeagueName, sizeof league.LeagueName, "\"%.*s\"", kMaxStoredLeagueName - 2,
                  name);

    league.NrPlayers = ReadNumber(dialog, IDC_LEAGUE_PLAYERS);
    league.LeagueRounds = ReadNumber(dialog, IDC_LEAGUE_ROUNDS);
    league.VoksPerTeam = ReadNumber(dialog, IDC_LEAGUE_VOKS);
    league.LivesPerVok = ReadNumber(dialog, IDC_LEAGUE_LIVES);

    // Rounds and lives have no upper limit, and raising them to 1 is no
    // reason to hold the player up.
    if (league.LeagueRounds < 1) {
        league.LeagueRounds = 1;
    }
    if (league.LivesPerVok < 1) {
        league.LivesPerVok = 1;
    }
    league.NrPlayers = Clamp(league.NrPlayers, 2, VokLeagueData::kMaxPlayers, corrected);
    league.VoksPerTeam = Clamp(league.VoksPerTeam, 1, VokLeagueData::kMaxVoksPerTeam, corrected);

    if (!corrected) {
        return true;
    }
    dialog.SetText(IDC_LEAGUE_NAME, name);
    const struct {
        int control;
        int value;
    } numbers[] = {
        {IDC_LEAGUE_PLAYERS, league.NrPlayers},
        {IDC_LEAGUE_ROUNDS, league.LeagueRounds},
        {IDC_LEAGUE_VOKS, league.VoksPerTeam},
        {IDC_LEAGUE_LIVES, league.LivesPerVok},
    };
    for (const auto& number : numbers) {
        Text text;
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(number.value));
        dialog.SetText(number.control, text);
    }
    return false;
}

// Whether `folder` + "/" + `name` fits a path buffer and the system's own limit.
bool Fits(const char* folder, const char* name) {
    Text path;
    return Format(path, "%s/%s", folder, name) && std::strlen(path) < CurrentOs().PathLimit();
}

// Whether the temporary folder exists and the league file, with the file it
// is first written to beside it, fits a path buffer and the system's own
// limit. The last player's last creature has the longest folder, left in
// `folder`; with the "data.dat" every creature has it is never longer than
// that side file ("p11_vok4/data.dat" and "vokleague.dat.new" are of a
// length), so what remains to measure against it is the creature source's
// longest file name. Without this a league would be gathered for nothing:
// creatures without their files, or no league file, and the game started all
// the same.
bool TempDirHoldsLeague(const ProcessState& process, const VokLeagueData& league, Text& folder) {
    Text leagueFile;
    if (!process.tempDirValid || !CurrentOs().IsFolder(process.tempDir) ||
        !CreatureFolder(folder, process.tempDir, league.NrPlayers - 1, league.VoksPerTeam - 1) ||
        !FileIn(leagueFile, process.tempDir, kLeagueFileName)) {
        return false;
    }
    return std::strlen(leagueFile) + std::strlen(KeyValueFile::kSideSuffix) <
           CurrentOs().PathLimit();
}

// The longest name of a file in the creature source, as its copy will be
// named in each creature folder; "data.dat" when none is longer or the folder
// cannot be listed (the gathering then asks about it).
std::string LongestVokFile() {
    Os& os = CurrentOs();
    std::vector<std::string> names;
    os.ListFolder(kVokSourceFolder, names);
    std::string longest = "data.dat";
    Text from;
    for (const std::string& name : names) {
        // A sub-folder (and "." and "..") is not copied; a name too long for
        // the buffers cannot be.
        if (name.size() > longest.size() &&
            !(VokSourceFile(from, name.c_str()) && os.IsFolder(from))) {
            longest = name;
        }
    }
    return longest;
}

// Asks player `number`'s name. A name that spells a key of the league file is
// asked again, with the name changed as it would be stored as the default; a
// player who keeps typing keys gets the changed name after a few tries.
void AskPlayerName(Ui& dialog, const ProcessState& process, PlyEntry& player, int number) {
    Text prompt;
    Text name;
    Format(prompt, "%s %d", Line(process, lines::kPlayerPrompt), number);
    std::snprintf(name, sizeof name, "%s%d", Line(process, lines::kPlayerDefault), number);
    for (int asked = 0; asked == 0 || (MarkKeys(name) && asked < 5); ++asked) {
        CopyWithoutQuotes(
            InputBox(dialog, "", prompt, name, Line(process, lines::kNameOk), kMaxPlayerName)
                .c_str(),
            name, kMaxPlayerName + 1);
    }
    std::snprintf(player.name, sizeof player.name, "\"%.*s\"", kMaxPlayerName, name);
}

// Copies the creature source folder into the creature folder of (player,
// vok) and takes the creature's path and name. False when a file of it could
// not be copied, or not made writable: the creature would be incomplete.
bool AddVok(const char* temp, VokEntry& vok, int player, int index) {
    Os& os = CurrentOs();
    Text folder;
    Text path;
    // The last creature's folder was checked to fit before the first prompt,
    // and it is the longest; a path that does not fit is never cut.
    vok.name[0] = '\0';
    vok.path[0] = '\0';
    if (!CreatureFolder(folder, temp, player, index) || !Format(path, "%s%s", folder, "/")) {
        return false;
    }
    os.MakeFolder(folder);  // an existing folder is fine; a missing one fails the copies

    std::vector<std::string> names;
    bool whole = os.ListFolder(kVokSourceFolder, names);
    Text from;
    Text to;
    for (const std::string& name : names) {
        // A name too long for the buffers cannot be copied under its own name.
        if (!VokSourceFile(from, name.c_str()) || !Format(to, "%s%s", path, name.c_str())) {
            whole = false;
            continue;
        }
        if (os.IsFolder(from)) {
            continue;  // a sub-folder, "." and ".." are no files of the creature
        }
        // A read-only file that an older league left in this folder (its
        // removal stops at such a file) refuses to be overwritten, and the
        // creature would keep that league's file: make it writable and copy
        // once more.
        bool copied =
            os.CopyFileOver(from, to) || (os.SetNormalAttributes(to) && os.CopyFileOver(from, to));
        whole = copied && os.SetNormalAttributes(to) && whole;
    }
    std::snprintf(vok.path, sizeof vok.path, "%s", path);

    Text file;
    VokSourceFile(file, "data.dat");
    KeyValueFile data(file);
    const char* name = data.GetValue("name", "");
    std::snprintf(vok.name, sizeof vok.name, "%.*s", kMaxVokName, name);
    MarkKeys(vok.name);
    return whole;
}

// True when no league file is left where the new one goes. The main menu
// removed the old league before the dialog opened, but a file that resisted
// (read-only, or a failure on the way) would take the new league in: Save
// keeps an existing file's layout and puts each value in its old one's place,
// and a quoted name written over another league's quoted name reads back
// empty. What still will not go (a file held open, a folder of that name) is
// left whole rather than spliced into, and no league is made. A file that
// cannot be opened is not absent: only its attributes tell.
bool RemoveLeftoverLeague(const char* temp) {
    Text path;
    return FileIn(path, temp, kLeagueFileName) &&
           (RemoveLeagueFile(path) || !CurrentOs().Exists(path));
}

// Whether a file can be made in the temporary folder: the file the league is
// first written to, made empty and removed again, as Save will make it.
bool TempDirWritable(const char* temp) {
    Text side;
    if (!Format(side, "%s%s%s", temp, kLeagueFileName, KeyValueFile::kSideSuffix)) {
        return false;
    }
    const bool written = CurrentOs().WriteWholeFile(side, "", 0);
    CurrentOs().RemoveFile(side);  // whatever a failed write left
    return written;
}

// Answers a Retry/Cancel question until the player stops retrying; true for
// Retry. A box that cannot be shown cannot be answered with Retry either:
// asking again would never end.
bool Retry(Ui& dialog, const char* text) {
    return dialog.ShowMessage(text, "", Buttons::RetryCancel) == Answer::Retry;
}

// Asks each player's name and team. 1 when the league was written, 2 when the
// player cancelled or it could not be written; what the dialog made is then
// removed, except after Cancel at a retry question, which keeps it.
int GatherLeague(Ui& dialog, ProcessState& process, VokLeagueData& league) {
    Os& os = CurrentOs();
    for (int i = 0; i < league.NrPlayers; ++i) {
        PlyEntry& player = league.ply[i];
        AskPlayerName(dialog, process, player, i + 1);

        for (int j = 0; j < league.VoksPerTeam; ++j) {
            Text question;
            Format(question, "%s (%d/%d)", Line(process, lines::kVokPrompt), j + 1,
                   league.VoksPerTeam);
            if (dialog.ShowMessage(question, "", Buttons::OkCancel) == Answer::Cancel) {
                DeleteLeague(process);
                return IDC_CANCEL;
            }
            Text file;
            VokSourceFile(file, "data.dat");
            while (!os.CanOpen(file)) {
                if (!Retry(dialog, Line(process, lines::kVokMissing))) {
                    return IDC_CANCEL;
                }
            }
            while (!AddVok(process.tempDir, player.vok[j], i, j)) {
                if (!Retry(dialog, process.language.Message(lines::kVokNotCopied))) {
                    return IDC_CANCEL;
                }
            }
        }
    }
    league.Reset();
    if (!league.Save(process)) {
        dialog.ShowMessage(process.language.Message(lines::kLeagueNotSaved), "", Buttons::Ok);
        DeleteLeague(process);
        return IDC_CANCEL;
    }
    return IDC_OK;
}

// What keeps the league from being saved, as the player is told it, or ""
// when nothing that can be known before the first name is asked does.
std::string Refusal(const ProcessState& process, const VokLeagueData& league) {
    Text folder;
    if (!TempDirHoldsLeague(process, league, folder)) {
        return process.language.Message(lines::kTempDirUnusable);
    }
    const std::string longest = LongestVokFile();
    if (!Fits(folder, longest.c_str())) {
        Text file;
        VokSourceFile(file, longest.c_str());
        return std::string(process.language.Message(lines::kVokNameTooLong)) + "\n" + file;
    }
    if (!RemoveLeftoverLeague(process.tempDir) || !TempDirWritable(process.tempDir)) {
        return process.language.Message(lines::kLeagueNotSaved);
    }
    return "";
}

void Confirm(Ui& dialog, ProcessState& process) {
    VokLeagueData league;
    if (!ReadSettings(dialog, league)) {
        return;
    }
    // A league that could not be kept apart from another one, or saved, is
    // refused before the players are asked anything.
    const std::string refusal = Refusal(process, league);
    if (!refusal.empty()) {
        dialog.ShowMessage(refusal.c_str(), "", Buttons::Ok);
        dialog.EndDialog(IDC_CANCEL);
        return;
    }
    dialog.EndDialog(GatherLeague(dialog, process, league));
}

}  // namespace

int TextToInt32(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    // Accumulate towards the sign's limit, stopping there.
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) {
            value = limit;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

void OpenCreateLeague(Ui& dialog, const ProcessState& process) {
    dialog.SetCaption(Line(process, lines::kLeagueCaption));
    for (const auto& text : kTexts) {
        dialog.SetText(text.control, Line(process, text.line));
    }

    dialog.SetText(IDC_LEAGUE_NAME, "Vok");
    dialog.SetText(IDC_LEAGUE_PLAYERS, "2");
    dialog.SetText(IDC_LEAGUE_ROUNDS, "2");
    dialog.SetText(IDC_LEAGUE_VOKS, "3");
    dialog.SetText(IDC_LEAGUE_LIVES, "10");
}

bool RunCreateLeagueCommand(Ui& dialog, ProcessState& process, int id) {
    switch (id) {
        case IDC_OK:
            Confirm(dialog, process);
            return true;
        case IDC_CANCEL:
            dialog.EndDialog(IDC_CANCEL);
            return true;
        default:
            return false;
    }
}

}  // namespace vok
