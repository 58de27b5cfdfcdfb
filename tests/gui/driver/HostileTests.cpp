// End-to-end cases of hostile data roots and temporary folders: what the
// player sees of the real launcher when the language file, the creature
// source folder, an old league or the temporary folder is not what the game
// installs, and that nothing of theirs is lost. The native suite
// (tests/unit/HostileInputTest.cpp) holds the same table; these cases add
// what only Windows decides: the texts the dialogs show, locked files,
// MAX_PATH and the ANSI code page.
#include <optional>
#include <random>

#include "Harness.h"
#include "MenuChecks.h"
#include "Report.h"
#include "Win32Ui.h"

namespace gui {
namespace {

// What the create-league dialog shows when the temporary folder cannot hold a
// league. No language file has a line for it.
const char kUnusableTemp[] =
    "The league cannot be created: the temporary folder is unknown, or its path is too long.";

// The main menu's translated buttons with their language lines.
const std::pair<int, size_t> kMenuLines[] = {
    {kPractice, 44}, {kSingleMatch, 45}, {kNewLeague, 46}, {kLoadLeague, 47}, {kCredits, 48},
    {kDirectX, 49},  {kLicence, 50},     {kWebSite, 51},   {kCancel, 52},
};

std::string RandomBytes(size_t size, unsigned seed, const std::string& without = "") {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        do {
            byte = static_cast<char>(random() & 0xFF);
        } while (without.find(byte) != std::string::npos);
    }
    return bytes;
}

std::string Lines(int count, const std::string& prefix) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += prefix + Format("%d", i) + "\r\n";
    }
    return text;
}

// Line `n` of a language file as a button shows it: the file read as text
// (Ctrl-Z ends it), the line cut to 499 characters and shown up to its first
// zero byte; "<error>" past the last line.
std::string ShownLine(const std::optional<std::string>& file, size_t n) {
    if (!file) {
        return "<error>";
    }
    const std::string line =
        LanguageLine(LanguageLines(file->substr(0, file->find('\x1A'))), n).substr(0, 499);
    return line.substr(0, line.find('\0'));
}

// The league file for the league "Cup" of 2 rounds and 10 lives with these
// players and `voks` creatures each named `creature`, in the temporary folder
// `temp` (ending in its separator): its keys in the reverse order of writing.
std::string ExpectedLeague(const std::string& temp, const std::vector<std::string>& players,
                           int voks, const std::string& creature) {
    std::vector<std::string> lines = {
        "matches_played = 0",
        "LeagueName = \"Cup\"",
        Format("NrPlayers = %u", static_cast<unsigned>(players.size())),
        "LeagueRounds = 2",
        Format("VoksPerTeam = %d", voks),
        "LivesPerVok = 10",
    };
    for (size_t i = 0; i < players.size(); ++i) {
        const unsigned p = static_cast<unsigned>(i);
        lines.push_back(Format("ply[%u].name = \"%s\"", p, players[i].c_str()));
        for (const char* key : {"matches_played", "matches_won", "points"}) {
            lines.push_back(Format("ply[%u].%s = 0", p, key));
        }
        for (int j = 0; j < voks; ++j) {
            const std::string vok = Format("ply[%u].vok[%d].", p, j);
            lines.push_back(vok + "name = " + creature);
            lines.push_back(vok + "path = " + temp + Format("p%u_vok%d/", p, j));
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

// The files of the staged creature source folder, as each creature folder
// must hold them: sub-folders are no part of a creature.
std::map<std::string, std::string> CreatureFiles(const Stage& stage) {
    std::map<std::string, std::string> files;
    for (const auto& entry : ListTree(stage.Root("data\\ply"))) {
        if (entry.first.find('\\') == std::string::npos) {
            files.insert(entry);
        }
    }
    return files;
}

// The temporary folder after the launch of a league of `players` players with
// `voks` creatures each: creature folders, league file and game copy.
std::map<std::string, std::string> LeagueLeft(const Stage& stage, const std::string& temp,
                                              const std::vector<std::string>& players, int voks,
                                              const std::string& creature) {
    std::string game;
    GUI_REQUIRE(ReadBytes(stage.Root("vok.exe"), game), "read the staged game");
    std::map<std::string, std::string> left = {
        {"vokleague.dat", ExpectedLeague(temp, players, voks, creature)}, {"vok.exe", game}};
    const auto files = CreatureFiles(stage);
    for (size_t i = 0; i < players.size(); ++i) {
        for (int j = 0; j < voks; ++j) {
            const std::string folder = Format("p%u_vok%d\\", static_cast<unsigned>(i), j);
            left[folder] = "";
            for (const auto& file : files) {
                left[folder + file.first] = file.second;
            }
        }
    }
    return left;
}

void WaitGone(HWND window, const std::string& what) {
    GUI_REQUIRE(WaitUntil(kExitTimeoutMs, [&] { return !IsWindow(window); }), what + " closes");
}

// Presses New League, answers Yes when an old league is to be replaced, and
// fills the create-league dialog for the league "Cup" of `players.size()`
// players with `voks` creatures, 2 rounds and 10 lives, then presses OK.
HWND OpenAndFillCreateLeague(DWORD pid, HWND menu, size_t players, int voks, bool replace,
                             const std::vector<std::string>& lines) {
    GUI_REQUIRE(Click(menu, kNewLeague), "press Start a new League");
    if (replace) {
        MessageBoxInfo box;
        GUI_REQUIRE(WaitForMessageBox(pid, box, kStartTimeoutMs), "the replace question is shown");
        GUI_CHECK_EQ(box.text, LanguageLine(lines, 69), "replace question");
        GUI_REQUIRE(Answer(box, IDYES), "answer Yes");
    }
    HWND dialog = WaitForDialog(pid, kCreateLeagueIds, kStartTimeoutMs);
    GUI_REQUIRE(dialog != nullptr, "the create-league dialog is shown");
    GUI_REQUIRE(
        TypeText(dialog, kLeagueName, "Cup") &&
            TypeText(dialog, kLeaguePlayers, Format("%u", static_cast<unsigned>(players))) &&
            TypeText(dialog, kLeagueRounds, "2") &&
            TypeText(dialog, kLeagueVoks, Format("%d", voks)) &&
            TypeText(dialog, kLeagueLives, "10"),
        "fill in the create-league dialog");
    GUI_REQUIRE(Click(dialog, IDOK), "press OK");
    return dialog;
}

// Names each player and confirms every creature, as the player who wants the
// league does, checking each prompt's text on the way.
void GatherLeague(DWORD pid, const std::vector<std::string>& players, int voks,
                  const std::vector<std::string>& lines) {
    for (size_t i = 0; i < players.size(); ++i) {
        HWND box = WaitForDialog(pid, kInputBoxIds, kStartTimeoutMs, {kLeagueName});
        GUI_REQUIRE(box != nullptr,
                    Format("player %u is asked for a name", static_cast<unsigned>(i + 1)));
        GUI_CHECK_EQ(ControlText(box, kInputPrompt),
                     Format("%s %u", LanguageLine(lines, 64).c_str(), static_cast<unsigned>(i + 1)),
                     "player prompt");
        GUI_REQUIRE(TypeText(box, kInputEdit, players[i]) && Click(box, IDOK),
                    "enter the player's name");
        WaitGone(box, "the input box");
        for (int j = 1; j <= voks; ++j) {
            MessageBoxInfo prompt;
            GUI_REQUIRE(WaitForMessageBox(pid, prompt, kStartTimeoutMs),
                        Format("creature prompt %d/%d is shown", j, voks));
            GUI_CHECK_EQ(prompt.text,
                         Format("%s (%d/%d)", LanguageLine(lines, 67).c_str(), j, voks),
                         "creature prompt");
            GUI_REQUIRE(Answer(prompt, IDOK), "confirm the creature");
            WaitGone(prompt.window, "the creature prompt");
        }
    }
}

// The launcher of `stage` started with `temp` as its temporary folder (TMP
// and TEMP), where the stage's own would not do.
class LauncherWithTemp {
public:
    LauncherWithTemp(const Stage& stage, const std::string& temp) {
        auto environment = stage.Environment();
        environment["TMP"] = temp;
        environment["TEMP"] = temp;
        const std::string exe = stage.Root(kLauncherExe);
        GUI_REQUIRE(process_.Start(exe, "", Settings().work, environment),
                    Format("start %s (error %lu)", exe.c_str(), GetLastError()));
    }
    DWORD Pid() const { return process_.Pid(); }
    HWND WaitForMenu() {
        HWND menu = nullptr;
        WaitUntil(kStartTimeoutMs, [&] {
            menu = FindDialog(process_.Pid(), MainMenuIds());
            return menu != nullptr || !process_.Running();
        });
        GUI_REQUIRE(menu != nullptr, "the main menu is shown");
        return menu;
    }
    DWORD ExpectExit() {
        DWORD code = 0;
        GUI_REQUIRE(process_.WaitExit(kExitTimeoutMs, code), "the launcher ends");
        return code;
    }

private:
    ChildProcess process_;
};

// --- cases ------------------------------------------------------------------

void LanguageFilesTheMenuStillOpensWith() {
    std::string ctrlZ = Lines(102, "en ");
    ctrlZ.insert(ctrlZ.find("en 48") + 3, "\x1A");
    std::string longLine = Lines(102, "en ");
    longLine.insert(longLine.find("en 44") + 5, std::string(1 << 20, 'w'));
    const struct {
        const char* name;
        std::optional<std::string> file;  // none: no language folder at all
    } rows[] = {
        {"none", std::nullopt},
        {"empty", std::string()},
        {"binary", RandomBytes(10 << 20, 1)},
        {"binary-without-ctrl-z", RandomBytes(10 << 20, 2, "\x1A")},
        {"100000-lines", Lines(100000, "line ")},
        {"1mb-line", longLine},
        {"ctrl-z", ctrlZ},
    };
    for (const auto& row : rows) {
        Stage stage(std::string("hostile-language-") + row.name);
        GUI_REQUIRE(RemoveTree(stage.Root("data\\language")), "remove the language folder");
        if (row.file) {
            GUI_REQUIRE(MakeFolders(stage.Root("data\\language")) &&
                            WriteBytes(stage.Language("english.txt"), *row.file),
                        "stage english.txt");
        }
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, std::string("menu shown with language file ") + row.name);
        for (const auto& button : kMenuLines) {
            GUI_CHECK_EQ(ControlText(menu, button.first), ShownLine(row.file, button.second),
                         Format("%s: button %d", row.name, button.first));
        }
        CheckOpeningStates(menu, false);
        CheckNoMessageBox(launcher.Pid(), row.name);
        CancelMenu(launcher, menu);
        GUI_CHECK(ListTree(stage.Temp()).empty(), std::string(row.name) + ": temp untouched");
    }
}

void CreatureSourcesGiveAWholeLeague() {
    std::string highName;
    for (int byte = 0x80; byte < 0x80 + 30; ++byte) {
        highName += static_cast<char>(byte);
    }
    std::string binary = RandomBytes(64 << 10, 4, "\x1A");
    binary.insert(binary.size() / 2, "\nname = " + highName + "\r\n");
    const struct {
        const char* name;
        std::optional<std::string> data;  // none: data.dat as staged, a sub-folder beside it
        std::string creature;             // as the league file holds it
    } rows[] = {
        {"empty", std::string(), ""},
        {"binary", binary, highName.substr(0, 24)},
        {"50mb", "name = Heavy\r\n" + RandomBytes(50 << 20, 3), "Heavy"},
        {"no-name", std::string("species = troll\r\n"), ""},
        {"200-characters", "name = " + std::string(200, 'n') + "\r\n", std::string(24, 'n')},
        {"quoted-separators", std::string("name = \"Big Bad, =Wolf\r\nof the North\"\r\n"),
         "Big Bad, =Wolf  of the N"},
        {"sub-folder", std::nullopt, "Grunt"},
    };
    for (const auto& row : rows) {
        Stage stage(std::string("hostile-creature-") + row.name);
        const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
        const std::string& creature = row.creature;
        if (row.data) {
            GUI_REQUIRE(WriteBytes(stage.Root("data\\ply\\data.dat"), *row.data), "stage data.dat");
        } else {
            GUI_REQUIRE(MakeFolders(stage.Root("data\\ply\\textures")) &&
                            WriteBytes(stage.Root("data\\ply\\textures\\fur.bmp"), "BM"),
                        "stage a sub-folder in data\\ply");
        }
        const auto rootBefore = ListTree(stage.Root());
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, "menu shown");
        const std::vector<std::string> players = {"Ann", "Bo"};
        OpenAndFillCreateLeague(launcher.Pid(), menu, players.size(), 1, false, lines);
        GatherLeague(launcher.Pid(), players, 1, lines);
        GUI_CHECK_EQ(launcher.ExpectExit(), 1, std::string(row.name) + ": exit code");

        const StartRecord start = ExpectOneGameStart(stage);
        const std::string league = ExpectedLeague(stage.Temp(), players, 1, creature);
        GUI_CHECK_EQ(start.args, "league q0", std::string(row.name) + ": game arguments");
        GUI_CHECK(start.leagueFound && start.league == league,
                  std::string(row.name) + ": the game read the league gathered, byte for byte");
        GUI_CHECK(ListTree(stage.Temp()) == LeagueLeft(stage, stage.Temp(), players, 1, creature),
                  std::string(row.name) + ": creature folders hold the creature's files");
        GUI_CHECK(ListTree(stage.Root()) == rootBefore,
                  std::string(row.name) + ": the data root is untouched");
    }
}

void MissingCreatureIsAskedForUntilCancel() {
    Stage stage("hostile-creature-missing");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    GUI_REQUIRE(RemoveTree(stage.Root("data\\ply\\data.dat")) &&
                    MakeFolders(stage.Root("data\\ply\\data.dat")),
                "replace data.dat by a folder of that name");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    OpenAndFillCreateLeague(launcher.Pid(), menu, 2, 1, false, lines);
    HWND box = WaitForDialog(launcher.Pid(), kInputBoxIds, kStartTimeoutMs, {kLeagueName});
    GUI_REQUIRE(box != nullptr && TypeText(box, kInputEdit, "Ann") && Click(box, IDOK),
                "name the first player");
    MessageBoxInfo prompt;
    GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), prompt, kStartTimeoutMs) && Answer(prompt, IDOK),
                "confirm the first creature");
    WaitGone(prompt.window, "the creature prompt");
    for (int answer : {IDRETRY, IDCANCEL}) {
        MessageBoxInfo retry;
        GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), retry, kStartTimeoutMs),
                    "the missing creature is reported");
        GUI_CHECK_EQ(retry.text, LanguageLine(lines, 68), "missing creature text");
        GUI_CHECK_EQ(retry.caption, "", "missing creature caption");
        GUI_CHECK(retry.buttons == std::vector<int>({IDCANCEL, IDRETRY}),
                  "Retry and Cancel are offered");
        GUI_REQUIRE(Answer(retry, answer), "answer the missing creature");
        WaitGone(retry.window, "the missing creature's box");
    }
    GUI_REQUIRE(WaitUntil(kExitTimeoutMs,
                          [&] { return FindDialog(launcher.Pid(), kCreateLeagueIds) == nullptr; }),
                "the create-league dialog closes");
    GUI_CHECK(!ControlEnabled(menu, kLoadLeague), "Load League is disabled");
    GUI_CHECK(ListTree(stage.Temp()).empty(), "nothing was made in the temporary folder");
    CancelMenu(launcher, menu);
    GUI_CHECK(!FileExists(stage.Record(kGameRecord)), "no game was started");
}

// An older league of two players with two creatures each, in the staged
// creature's file names with other bytes, so that a file not replaced shows.
void StageOldLeague(const Stage& stage) {
    for (const char* folder : {"p0_vok0", "p0_vok1", "p1_vok0", "p1_vok1"}) {
        GUI_REQUIRE(MakeFolders(stage.Temp(folder)), "make an old creature folder");
        for (const auto& file : CreatureFiles(stage)) {
            GUI_REQUIRE(WriteBytes(stage.Temp(std::string(folder) + "\\" + file.first), "old"),
                        "stage an old creature file");
        }
    }
    GUI_REQUIRE(WriteBytes(stage.Temp("vokleague.dat"), "LeagueName = \"Old Cup\"\r\n"),
                "stage an old league file");
    GUI_REQUIRE(WriteBytes(stage.Temp("vok.exe"), "older game"), "stage an old game copy");
}

void OldLeagueThatResistsRemoval() {
    const struct {
        const char* name;
        const char* file;  // in the temporary folder
        bool locked;       // held open without sharing; otherwise read-only
    } rows[] = {
        {"read-only-creature-file", "p0_vok1\\skin.txt", false},
        {"locked-creature-file", "p0_vok1\\skin.txt", true},
        {"read-only-league-file", "vokleague.dat", false},
        // A league file that cannot be opened is no league to the launcher:
        // nothing is asked and nothing removed, and the new league's
        // creatures take the old folders.
        {"locked-league-file", "vokleague.dat", true},
    };
    for (const auto& row : rows) {
        Stage stage(std::string("hostile-old-league-") + row.name);
        if (!row.locked && ReadOnlyIgnored(stage.Temp())) {
            Skip("Wine runs as root here, which ignores the read-only attribute");
        }
        const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
        StageOldLeague(stage);
        std::string oldBytes;
        GUI_REQUIRE(ReadBytes(stage.Temp(row.file), oldBytes), "read the old file");
        HANDLE lock = INVALID_HANDLE_VALUE;
        if (row.locked) {
            lock = CreateFileA(stage.Temp(row.file).c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            GUI_REQUIRE(lock != INVALID_HANDLE_VALUE, "hold the old file open without sharing");
        } else {
            GUI_REQUIRE(SetFileAttributesA(stage.Temp(row.file).c_str(), FILE_ATTRIBUTE_READONLY),
                        "make the old file read-only");
        }

        const bool leagueLocked = row.locked && std::string(row.file) == "vokleague.dat";
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, "menu shown");
        CheckOpeningStates(menu, !leagueLocked);
        const std::vector<std::string> players = {"Ann", "Bo"};
        OpenAndFillCreateLeague(launcher.Pid(), menu, players.size(), 2, !leagueLocked, lines);
        GatherLeague(launcher.Pid(), players, 2, lines);
        GUI_CHECK_EQ(launcher.ExpectExit(), 1, std::string(row.name) + ": exit code");
        const StartRecord start = ExpectOneGameStart(stage);
        if (lock != INVALID_HANDLE_VALUE) {
            CloseHandle(lock);
        }

        // A locked file can be neither removed nor replaced: it stays as it
        // was, and everything else is the new league's.
        auto expected = LeagueLeft(stage, stage.Temp(), players, 2, "Grunt");
        const std::string league = expected["vokleague.dat"];
        if (row.locked) {
            expected[row.file] = oldBytes;
        }
        const auto left = ListTree(stage.Temp());
        GUI_CHECK(left == expected, std::string(row.name) + ": what the temporary folder holds");
        GUI_CHECK(leagueLocked ? !start.leagueFound : start.league == league,
                  std::string(row.name) + ": the league the game read");
    }
}

void TemporaryFolderInTheAnsiCodePage() {
    if (GetACP() != 1252) {
        Skip(Format("the ANSI code page is %u, not 1252", GetACP()));
    }
    Stage stage("hostile-temp-ansi");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    const std::string temp = stage.Temp("Spieler\xE4") + "\\";
    GUI_REQUIRE(MakeFolders(temp.substr(0, temp.size() - 1)), "make the folder Spieler\\xE4");
    LauncherWithTemp launcher(stage, temp);
    HWND menu = launcher.WaitForMenu();
    const std::vector<std::string> players = {"J\xFCrgen", "Bo"};
    OpenAndFillCreateLeague(launcher.Pid(), menu, players.size(), 1, false, lines);
    GatherLeague(launcher.Pid(), players, 1, lines);
    GUI_CHECK_EQ(launcher.ExpectExit(), 1, "exit code");
    const StartRecord start = ExpectOneGameStart(stage);
    const std::string league = ExpectedLeague(temp, players, 1, "Grunt");
    GUI_CHECK_EQ(start.temp, temp, "the game's temporary folder");
    GUI_CHECK(start.leagueFound && start.league == league,
              "the game read the league, its paths in the ANSI code page");
    GUI_CHECK(ListTree(temp) == LeagueLeft(stage, temp, players, 1, "Grunt"),
              "the league and its creatures are in the folder");
}

void TemporaryFoldersNearAndBeyondMaxPath() {
    const struct {
        const char* name;
        size_t length;  // of the temporary folder, with its separator
        bool refused;   // the create-league dialog says the folder cannot hold a league
        bool started;   // Practice starts the game afterwards
    } rows[] = {
        // The longest path of a league, "vokleague.dat.new" beside the league
        // file, still has fewer than MAX_PATH characters.
        {"240", 240, false, true},
        // It would not: the league is refused, the game copy still fits.
        {"250", 250, true, true},
        // GetTempPath itself refuses a folder beyond MAX_PATH.
        {"300", 300, true, false},
    };
    for (const auto& row : rows) {
        Stage stage(std::string("hostile-temp-") + row.name);
        const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
        std::string temp = stage.Temp();
        while (temp.size() < row.length) {
            const size_t room = row.length - temp.size();
            temp += std::string(room > 101 ? 99 : room - 1, 'd') + "\\";
            CreateDirectoryA(temp.c_str(), nullptr);
        }
        LauncherWithTemp launcher(stage, temp);
        HWND menu = launcher.WaitForMenu();
        const std::vector<std::string> players = {"Ann", "Bo"};
        if (!row.refused) {
            OpenAndFillCreateLeague(launcher.Pid(), menu, players.size(), 1, false, lines);
            GatherLeague(launcher.Pid(), players, 1, lines);
            GUI_CHECK_EQ(launcher.ExpectExit(), 1, std::string(row.name) + ": exit code");
            const StartRecord start = ExpectOneGameStart(stage);
            const auto expected = LeagueLeft(stage, temp, players, 1, "Grunt");
            GUI_CHECK_EQ(start.args, "league q0", "game arguments");
            GUI_CHECK(start.leagueFound && start.league == expected.at("vokleague.dat"),
                      "the game read the league");
            GUI_CHECK(ListTree(temp) == expected, "the league and its creatures are in the folder");
            continue;
        }
        OpenAndFillCreateLeague(launcher.Pid(), menu, players.size(), 1, false, lines);
        MessageBoxInfo box;
        GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), box, kStartTimeoutMs), "a message is shown");
        GUI_CHECK_EQ(box.text, kUnusableTemp, std::string(row.name) + ": the player is told why");
        GUI_CHECK(box.buttons == std::vector<int>({IDOK}), "with OK only");
        GUI_REQUIRE(Answer(box, IDOK), "answer OK");
        GUI_REQUIRE(
            WaitUntil(kExitTimeoutMs,
                      [&] { return FindDialog(launcher.Pid(), kCreateLeagueIds) == nullptr; }),
            "the create-league dialog closes");
        GUI_CHECK(!ControlEnabled(menu, kLoadLeague), "Load League is disabled");
        GUI_REQUIRE(Click(menu, kPractice), "press Practice");
        GUI_CHECK_EQ(launcher.ExpectExit(), 1,
                     std::string(row.name) + ": exit code after Practice");
        std::map<std::string, std::string> files;
        for (const auto& entry : ListTree(stage.Temp())) {
            if (entry.first.back() != '\\') {
                files.insert(entry);
            }
        }
        if (row.started) {
            const StartRecord start = ExpectOneGameStart(stage);
            GUI_CHECK_EQ(start.args, "practice q0", "game arguments");
            GUI_CHECK(
                files.size() == 1 && files.begin()->first.find("vok.exe") != std::string::npos,
                std::string(row.name) + ": only the game copy was written");
        } else {
            // With no temporary folder the game has nowhere to be copied to:
            // nothing is started, and the launcher still ends with 1.
            GUI_CHECK(files.empty(), std::string(row.name) + ": nothing was written");
            GUI_CHECK(!FileExists(stage.Record(kGameRecord)) && FindGameWindow() == nullptr,
                      "no game was started");
        }
    }
}

}  // namespace
}  // namespace gui

void RegisterHostileCases() {
    using namespace gui;
    AddCase("hostile: language files the menu still opens with",
            LanguageFilesTheMenuStillOpensWith);
    AddCase("hostile: creature sources that still give a whole league",
            CreatureSourcesGiveAWholeLeague);
    AddCase("hostile: a folder named data.dat is asked for until Cancel",
            MissingCreatureIsAskedForUntilCancel);
    AddCase("hostile: an old league with a read-only or locked file is replaced",
            OldLeagueThatResistsRemoval);
    AddCase("hostile: a temporary folder named in the ANSI code page",
            TemporaryFolderInTheAnsiCodePage);
    AddCase("hostile: temporary folders near and beyond MAX_PATH",
            TemporaryFoldersNearAndBeyondMaxPath);
}
