// End-to-end cases of the main menu's league and credits commands: loading a
// saved league, replacing it, creating a league through the create-league
// dialog, the input box and the creature prompts, and the credits dialog.
#include "Harness.h"
#include "MenuChecks.h"
#include "Report.h"
#include "Win32Ui.h"

namespace gui {
namespace {

// A league as a player enters it.
struct LeagueEntry {
    std::string name;
    int rounds;
    int voks;
    int lives;
    std::vector<std::string> players;
};

// The league file the launcher must write for `entry` (its keys in reverse
// order of writing, every line ending in CR LF), with `creature` as the name
// read from the creature source folder.
std::string ExpectedLeagueFile(const Stage& stage, const LeagueEntry& entry,
                               const std::string& creature) {
    std::vector<std::string> lines = {
        "matches_played = 0",
        "LeagueName = \"" + entry.name + "\"",
        Format("NrPlayers = %u", static_cast<unsigned>(entry.players.size())),
        Format("LeagueRounds = %d", entry.rounds),
        Format("VoksPerTeam = %d", entry.voks),
        Format("LivesPerVok = %d", entry.lives),
    };
    for (size_t i = 0; i < entry.players.size(); ++i) {
        const unsigned p = static_cast<unsigned>(i);
        lines.push_back(Format("ply[%u].name = \"%s\"", p, entry.players[i].c_str()));
        lines.push_back(Format("ply[%u].matches_played = 0", p));
        lines.push_back(Format("ply[%u].matches_won = 0", p));
        lines.push_back(Format("ply[%u].points = 0", p));
        for (int j = 0; j < entry.voks; ++j) {
            const std::string key = Format("ply[%u].vok[%d].", p, j);
            lines.push_back(key + "name = " + creature);
            lines.push_back(key + "path = " + stage.Temp(Format("p%u_vok%d/", p, j)));
            lines.push_back(key + Format("lives = %d", entry.lives));
            lines.push_back(key + "streak = 1");
            lines.push_back(key + "health = 100.000000");
            lines.push_back(key + "rounds_won = 0");
            lines.push_back(key + "rounds_lost = 0");
            lines.push_back(key + "flawlesswins = 0");
        }
    }
    std::string file;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        file += *line + "\r\n";
    }
    return file;
}

// The value of "name" in the staged creature's data.dat ("name = Grunt").
std::string StagedCreatureName(const Stage& stage) {
    std::string bytes;
    GUI_REQUIRE(ReadBytes(stage.Root("data\\ply\\data.dat"), bytes), "read data\\ply\\data.dat");
    for (const std::string& line : LanguageLines(bytes)) {
        if (line.compare(0, 7, "name = ") == 0) {
            return line.substr(7);
        }
    }
    return "";
}

// What a creature folder must hold: a copy of every file of data\ply.
void AddCreatureFolder(const Stage& stage, const std::string& folder,
                       std::map<std::string, std::string>& listing) {
    listing[folder + "\\"] = "";
    for (const auto& entry : ListTree(stage.Root("data\\ply"))) {
        listing[folder + "\\" + entry.first] = entry.second;
    }
}

// A league left by an earlier run: its file, two players' creature folders,
// and a game copy.
std::map<std::string, std::string> StageOldLeague(const Stage& stage) {
    const std::map<std::string, std::string> files = {
        {"vokleague.dat", "LeagueName = \"Old\"\r\nNrPlayers = 2\r\n"},
        {"p0_vok0\\data.dat", "name = Old0\r\n"},
        {"p0_vok1\\data.dat", "name = Old1\r\n"},
        {"p1_vok0\\data.dat", "name = Old2\r\n"},
        {"vok.exe", "older game copy"},
    };
    StageTempFiles(stage, files);
    return ListTree(stage.Temp());
}

void WaitGone(HWND window, const std::string& what) {
    GUI_REQUIRE(WaitUntil(kExitTimeoutMs, [&] { return !IsWindow(window); }), what + " closes");
}

// Presses New League and waits for the create-league dialog.
HWND OpenCreateLeague(Launcher& launcher, HWND menu) {
    GUI_REQUIRE(Click(menu, kNewLeague), "press Start a new League");
    HWND dialog = WaitForDialog(launcher.Pid(), kCreateLeagueIds, kStartTimeoutMs);
    GUI_REQUIRE(dialog != nullptr, "the create-league dialog is shown");
    return dialog;
}

void CheckCreateLeagueOpening(HWND dialog, HWND menu, const std::vector<std::string>& lines) {
    GUI_CHECK_EQ(WindowText(dialog), LanguageLine(lines, 56), "create-league caption");
    const struct {
        int id;
        size_t line;
    } labels[] = {{1004, 57}, {1005, 58}, {1007, 59},    {1009, 60},
                  {1011, 61}, {IDOK, 62}, {IDCANCEL, 63}};
    for (const auto& label : labels) {
        GUI_CHECK_EQ(ControlText(dialog, label.id), LanguageLine(lines, label.line),
                     Format("create-league control %d", label.id));
    }
    const struct {
        int id;
        const char* text;
    } boxes[] = {{kLeagueName, "Vok"},
                 {kLeaguePlayers, "2"},
                 {kLeagueRounds, "2"},
                 {kLeagueVoks, "3"},
                 {kLeagueLives, "10"}};
    for (const auto& box : boxes) {
        GUI_CHECK_EQ(ControlText(dialog, box.id), box.text,
                     Format("initial text of box %d", box.id));
    }
    GUI_CHECK(GetWindow(dialog, GW_OWNER) == menu, "the create-league dialog belongs to the menu");
}

void FillCreateLeague(HWND dialog, const LeagueEntry& entry) {
    GUI_REQUIRE(TypeText(dialog, kLeagueName, entry.name) &&
                    TypeText(dialog, kLeaguePlayers,
                             Format("%u", static_cast<unsigned>(entry.players.size()))) &&
                    TypeText(dialog, kLeagueRounds, Format("%d", entry.rounds)) &&
                    TypeText(dialog, kLeagueVoks, Format("%d", entry.voks)) &&
                    TypeText(dialog, kLeagueLives, Format("%d", entry.lives)),
                "fill in the create-league dialog");
}

std::string DefaultPlayerName(const std::vector<std::string>& lines, size_t index) {
    return Format("%s%u", LanguageLine(lines, 65).c_str(), static_cast<unsigned>(index + 1));
}

// Waits for the next window of the gathering: a player's input box when
// `nameBox`, a message box otherwise. When the other kind comes instead, or
// the launcher ends, the case stops at once instead of waiting out the limit.
HWND WaitForGatheringStep(Launcher& launcher, bool nameBox, MessageBoxInfo& message,
                          const std::string& what) {
    HWND box = nullptr;
    bool gotMessage = false;
    bool ended = false;
    WaitUntil(kStartTimeoutMs, [&] {
        box = FindDialog(launcher.Pid(), kInputBoxIds, {kLeagueName});
        gotMessage = FindMessageBox(launcher.Pid(), message);
        ended = !launcher.Process().Running();
        return box != nullptr || gotMessage || ended;
    });
    GUI_REQUIRE(!ended, what + ": the launcher ended instead");
    if (nameBox) {
        GUI_REQUIRE(box != nullptr || !gotMessage,
                    what + ": a message box came instead: \"" + Printable(message.text) + "\"");
        GUI_REQUIRE(box != nullptr, what);
        return box;
    }
    GUI_REQUIRE(box == nullptr, what + ": a player's name is asked instead");
    GUI_REQUIRE(gotMessage, what);
    return message.window;
}

// Waits for the name prompt of player `index` (from 0) and checks its texts.
HWND WaitForNameBox(Launcher& launcher, HWND owner, const std::vector<std::string>& lines,
                    size_t index) {
    const unsigned number = static_cast<unsigned>(index + 1);
    MessageBoxInfo unused;
    HWND box = WaitForGatheringStep(launcher, true, unused,
                                    Format("the name of player %u is asked", number));
    GUI_CHECK_EQ(WindowText(box), "", "input box caption");
    GUI_CHECK_EQ(ControlText(box, kInputPrompt),
                 Format("%s %u", LanguageLine(lines, 64).c_str(), number), "player prompt");
    GUI_CHECK_EQ(ControlText(box, kInputEdit), DefaultPlayerName(lines, index),
                 "default player name");
    GUI_CHECK_EQ(ControlText(box, IDOK), LanguageLine(lines, 66), "input box OK caption");
    GUI_CHECK(GetWindow(box, GW_OWNER) == owner,
              "the input box belongs to the create-league dialog");
    return box;
}

// Answers the name prompt of player `index` (from 0) with `name`.
void AnswerPlayerName(Launcher& launcher, HWND owner, const std::vector<std::string>& lines,
                      size_t index, const std::string& name) {
    HWND box = WaitForNameBox(launcher, owner, lines, index);
    GUI_REQUIRE(TypeText(box, kInputEdit, name) && Click(box, IDOK), "enter the player's name");
    WaitGone(box, "the input box");
}

// Answers the name prompt of player `index` with the default name it offers.
void AcceptDefaultName(Launcher& launcher, HWND owner, const std::vector<std::string>& lines,
                       size_t index) {
    HWND box = WaitForNameBox(launcher, owner, lines, index);
    GUI_REQUIRE(Click(box, IDOK), "take the default name");
    WaitGone(box, "the input box");
}

// Waits for a message box of the gathering and checks what every one of them
// shares: an empty caption, `buttons`, the create-league dialog as owner.
MessageBoxInfo WaitForGatheringMessage(Launcher& launcher, HWND owner,
                                       const std::vector<int>& buttons, const std::string& what) {
    MessageBoxInfo box;
    WaitForGatheringStep(launcher, false, box, what);
    GUI_CHECK_EQ(box.caption, "", what + ": caption");
    GUI_CHECK(box.buttons == buttons, what + ": its buttons");
    GUI_CHECK(box.owner == owner, what + ": belongs to the create-league dialog");
    return box;
}

void AnswerBox(const MessageBoxInfo& box, int answer, const std::string& what) {
    GUI_REQUIRE(Answer(box, answer), what);
    WaitGone(box.window, what + ": the box closes");
}

MessageBoxInfo WaitForCreaturePrompt(Launcher& launcher, HWND owner,
                                     const std::vector<std::string>& lines, int number, int voks) {
    const MessageBoxInfo box = WaitForGatheringMessage(
        launcher, owner, {IDOK, IDCANCEL}, Format("creature prompt %d/%d is shown", number, voks));
    GUI_CHECK_EQ(box.text, Format("%s (%d/%d)", LanguageLine(lines, 67).c_str(), number, voks),
                 "creature prompt");
    return box;
}

void AnswerCreaturePrompt(Launcher& launcher, HWND owner, const std::vector<std::string>& lines,
                          int number, int voks, int answer) {
    AnswerBox(WaitForCreaturePrompt(launcher, owner, lines, number, voks), answer,
              "answer the creature prompt");
}

// The question shown while data\ply\data.dat cannot be opened.
MessageBoxInfo WaitForRetryQuestion(Launcher& launcher, HWND owner,
                                    const std::vector<std::string>& lines,
                                    const std::string& when) {
    const MessageBoxInfo box = WaitForGatheringMessage(launcher, owner, {IDCANCEL, IDRETRY},
                                                       "the missing creature is reported " + when);
    GUI_CHECK_EQ(box.text, LanguageLine(lines, 68), "missing creature question " + when);
    return box;
}

// Runs the gathering of `entry` to its end, every creature confirmed. The
// players get the names of `entry`; with `defaultNames` those must be the
// default names, and the boxes are only confirmed.
void GatherLeague(Launcher& launcher, HWND dialog, const std::vector<std::string>& lines,
                  const LeagueEntry& entry, bool defaultNames) {
    for (size_t i = 0; i < entry.players.size(); ++i) {
        if (defaultNames) {
            AcceptDefaultName(launcher, dialog, lines, i);
        } else {
            AnswerPlayerName(launcher, dialog, lines, i, entry.players[i]);
        }
        for (int number = 1; number <= entry.voks; ++number) {
            AnswerCreaturePrompt(launcher, dialog, lines, number, entry.voks, IDOK);
        }
    }
}

// After a league was gathered: the launcher ended with 1 and started the game
// with `args`, the game read exactly the league file of `entry`, and the
// temporary folder holds that file, the game copy and a creature folder with
// a copy of data\ply for every creature of the league, and nothing else.
// Returns the league file.
std::string ExpectLeagueStarted(Launcher& launcher, const Stage& stage, const LeagueEntry& entry,
                                const std::string& args) {
    GUI_CHECK_EQ(launcher.ExpectExit(), 1, "exit code after creating a league");
    const std::string league = ExpectedLeagueFile(stage, entry, StagedCreatureName(stage));
    const StartRecord start = ExpectOneGameStart(stage);
    GUI_CHECK_EQ(start.args, args, "game arguments");
    GUI_CHECK(start.leagueFound, "the game found a league file");
    GUI_CHECK_EQ(start.league, league, "the league file the game read");
    std::map<std::string, std::string> expected = {{"vokleague.dat", league}};
    for (size_t i = 0; i < entry.players.size(); ++i) {
        for (int j = 0; j < entry.voks; ++j) {
            AddCreatureFolder(stage, Format("p%u_vok%d", static_cast<unsigned>(i), j), expected);
        }
    }
    CheckTempAfterLaunch(stage, expected);
    return league;
}

// Presses Load League's command and expects line 70 with OK, which leaves the
// menu as it was.
void CheckNoLeagueMessage(Launcher& launcher, HWND menu, const std::vector<std::string>& lines) {
    // Load League is disabled whenever there is no league, so the command is
    // sent as the button would send it.
    GUI_REQUIRE(PostCommand(menu, kLoadLeague), "send Load League's command");
    MessageBoxInfo box;
    GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), box, kStartTimeoutMs),
                "Load League without a league says so");
    GUI_CHECK_EQ(box.text, LanguageLine(lines, 70), "no-league message");
    GUI_CHECK_EQ(box.caption, "", "no-league message caption");
    GUI_CHECK(box.buttons == std::vector<int>({IDOK}), "no-league message offers OK");
    GUI_CHECK(box.owner == menu, "the no-league message belongs to the menu");
    GUI_REQUIRE(Answer(box, IDOK), "answer OK");
    WaitGone(box.window, "the no-league message");
    GUI_CHECK(IsWindow(menu) && launcher.Process().Running(), "the menu stays");
}

// --- cases ------------------------------------------------------------------

void LoadLeagueStartsGameWithLeague() {
    struct Row {
        std::vector<WORD> keys;
        const char* args;
    };
    const Row rows[] = {{{}, "league q0"}, {{VK_CONTROL}, "league q2"}};
    for (const Row& row : rows) {
        Stage stage(std::string("league-load-") + row.args);
        const std::string league =
            "LeagueName = \"Cup\"\r\nply[1].name = \"Bo\"\r\nply[0].name = \"Ann\"\r\n";
        GUI_REQUIRE(WriteBytes(stage.Temp("vokleague.dat"), league), "stage a league");
        GUI_REQUIRE(MakeFolders(stage.Temp("p0_vok0")) &&
                        WriteBytes(stage.Temp("p0_vok0\\data.dat"), "name = Grunt\r\n"),
                    "stage a creature folder");
        auto expected = ListTree(stage.Temp());
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, "menu shown");
        CheckOpeningStates(menu, true);
        {
            HeldKeys keys(row.keys);
            GUI_REQUIRE(keys.Confirm(menu), "keys held");
            GUI_REQUIRE(Click(menu, kLoadLeague), "press Load League");
            GUI_CHECK_EQ(launcher.ExpectExit(), 1, "exit code after Load League");
        }
        const StartRecord start = ExpectOneGameStart(stage);
        GUI_CHECK_EQ(start.args, row.args, "game arguments");
        GUI_CHECK(start.leagueFound && start.league == league,
                  "the game found the league as it was");
        HWND text = FindWindowExA(FindGameWindow(), nullptr, "Static", nullptr);
        GUI_CHECK_EQ(WindowText(text),
                     std::string("Mode: league, level ") + row.args[8] +
                         "\r\nLeague \"Cup\", players: \"Ann\" \"Bo\"",
                     "what the game tells the player");
        expected.erase("vok.exe");
        CheckTempAfterLaunch(stage, expected);
    }
}

void NewLeagueAnsweredNoKeepsLeague() {
    Stage stage("league-replace-no");
    const auto before = StageOldLeague(stage);
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    GUI_REQUIRE(Click(menu, kNewLeague), "press Start a new League");
    MessageBoxInfo box;
    GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), box, kStartTimeoutMs),
                "the replace question is shown");
    GUI_CHECK_EQ(box.text, LanguageLine(lines, 69), "replace question");
    GUI_CHECK_EQ(box.caption, "", "replace question caption");
    GUI_CHECK(box.buttons == std::vector<int>({IDYES, IDNO}), "replace question offers Yes and No");
    GUI_CHECK(box.owner == menu, "the replace question belongs to the menu");
    GUI_REQUIRE(Answer(box, IDNO), "answer No");
    WaitGone(box.window, "the replace question");
    GUI_CHECK(FindDialog(launcher.Pid(), kCreateLeagueIds) == nullptr, "no create-league dialog");
    CheckOpeningStates(menu, true);
    GUI_CHECK(ListTree(stage.Temp()) == before, "the old league is untouched");
    CancelMenu(launcher, menu);
}

void NewLeagueYesThenCancelRemovesLeague() {
    Stage stage("league-replace-yes-cancel");
    StageOldLeague(stage);
    GUI_REQUIRE(WriteBytes(stage.Temp("unrelated.txt"), "not the launcher's"),
                "stage an unrelated file");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    GUI_REQUIRE(Click(menu, kNewLeague), "press Start a new League");
    MessageBoxInfo box;
    GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), box, kStartTimeoutMs),
                "the replace question is shown");
    GUI_REQUIRE(Answer(box, IDYES), "answer Yes");
    HWND dialog = WaitForDialog(launcher.Pid(), kCreateLeagueIds, kStartTimeoutMs);
    GUI_REQUIRE(dialog != nullptr, "the create-league dialog is shown");
    CheckCreateLeagueOpening(dialog, menu, lines);
    GUI_REQUIRE(Click(dialog, IDCANCEL), "press Cancel in the create-league dialog");
    WaitGone(dialog, "the create-league dialog");
    GUI_CHECK(!ControlEnabled(menu, kLoadLeague), "Load League is disabled");
    GUI_CHECK(ControlEnabled(menu, kPractice) && ControlEnabled(menu, kNewLeague),
              "game buttons stay enabled");
    const std::map<std::string, std::string> left = {{"unrelated.txt", "not the launcher's"}};
    GUI_CHECK(ListTree(stage.Temp()) == left,
              "the old league, its creature folders and the game copy are gone");
    // The removal forgot the league too, not only the button: Load League's
    // command now only says there is none.
    CheckNoLeagueMessage(launcher, menu, lines);
    GUI_CHECK(!FileExists(stage.Record(kGameRecord)), "no game started");
    CancelMenu(launcher, menu);
}

void NewLeagueYesReplacesLeagueWithDefaults() {
    Stage stage("league-replace-defaults");
    // An old league larger than the new one every way: creatures beyond the
    // new team size, players beyond the new count, and files of its own in
    // the folders that the new league reuses.
    const std::map<std::string, std::string> old = {
        {"vokleague.dat", "LeagueName = \"Old\"\r\nNrPlayers = 3\r\n"},
        {"vok.exe", "older game copy"},
        {"p0_vok0\\data.dat", "name = Old\r\n"},
        {"p0_vok0\\old.txt", "left by the old league"},
        {"p0_vok1\\data.dat", "name = Old\r\n"},
        {"p0_vok2\\data.dat", "name = Old\r\n"},
        {"p0_vok3\\data.dat", "name = Old\r\n"},
        {"p0_vok4\\old.txt", "left by the old league"},
        {"p1_vok0\\data.dat", "name = Old\r\n"},
        {"p2_vok0\\data.dat", "name = Old\r\n"},
        {"p2_vok1\\old.txt", "left by the old league"},
    };
    StageTempFiles(stage, old);
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    CheckOpeningStates(menu, true);
    GUI_REQUIRE(Click(menu, kNewLeague), "press Start a new League");
    MessageBoxInfo box;
    GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), box, kStartTimeoutMs),
                "the replace question is shown");
    GUI_REQUIRE(Answer(box, IDYES), "answer Yes");
    HWND dialog = WaitForDialog(launcher.Pid(), kCreateLeagueIds, kStartTimeoutMs);
    GUI_REQUIRE(dialog != nullptr, "the create-league dialog is shown");
    // The defaults as they stand: two players with three creatures each.
    const LeagueEntry entry = {
        "Vok", 2, 3, 10, {DefaultPlayerName(lines, 0), DefaultPlayerName(lines, 1)}};
    GUI_REQUIRE(Click(dialog, IDOK), "press OK");
    GatherLeague(launcher, dialog, lines, entry, true);
    ExpectLeagueStarted(launcher, stage, entry, "league q0");
}

void NewLeagueIsWrittenAndStarted() {
    Stage stage("league-create");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    const LeagueEntry entry = {"Cup", 2, 1, 10, {"Ann", "Bo"}};
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND dialog = nullptr;
    {
        // Control counts when New League is pressed, not when the dialog ends.
        HeldKeys keys({VK_CONTROL});
        GUI_REQUIRE(keys.Confirm(menu), "Control held");
        dialog = OpenCreateLeague(launcher, menu);
    }
    CheckNoMessageBox(launcher.Pid(), "without an old league");
    FillCreateLeague(dialog, entry);
    GUI_REQUIRE(Click(dialog, IDOK), "press OK");
    GatherLeague(launcher, dialog, lines, entry, false);
    ExpectLeagueStarted(launcher, stage, entry, "league q2");
}

// The input box of player 1: at most 13 characters however many are typed,
// neither Escape nor the close box closes it, and Enter takes what it holds.
// Returns what it held.
std::string CheckInputBoxRules(Launcher& launcher, HWND dialog,
                               const std::vector<std::string>& lines) {
    HWND box = WaitForNameBox(launcher, dialog, lines, 0);
    const std::string typed = "Abcdefghijklmnopqrst";
    const std::string kept = typed.substr(0, 13);
    GUI_REQUIRE(TypeText(box, kInputEdit, "") && TypeChars(box, kInputEdit, typed),
                "type 20 characters");
    GUI_CHECK_EQ(ControlText(box, kInputEdit), kept, "the input box keeps the first 13");

    GUI_REQUIRE(PostKey(GetDlgItem(box, kInputEdit), VK_ESCAPE), "press Escape");
    GUI_REQUIRE(WaitPostedHandled(box, kInputEdit, kExitTimeoutMs),
                "Escape is handled and the input box stays open");
    GUI_CHECK(IsWindow(box) && ControlText(box, kInputEdit) == kept,
              "Escape leaves the input box open and its text as it was");
    // The close box turns into a Cancel command that is posted in turn.
    GUI_REQUIRE(PostCloseBox(box), "press the close box");
    GUI_REQUIRE(WaitPostedHandled(box, kInputEdit, kExitTimeoutMs) &&
                    WaitPostedHandled(box, kInputEdit, kExitTimeoutMs),
                "the close box is handled and the input box stays open");
    GUI_CHECK(IsWindow(box) && ControlText(box, kInputEdit) == kept,
              "the close box leaves the input box open and its text as it was");

    GUI_REQUIRE(PostKey(GetDlgItem(box, kInputEdit), VK_RETURN), "press Enter");
    WaitGone(box, "the input box after Enter");
    return kept;
}

void CorrectionsKeepDialogOpen() {
    Stage stage("league-corrections");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND dialog = OpenCreateLeague(launcher, menu);
    using Boxes = std::vector<std::pair<int, std::string>>;
    const struct {
        const char* what;
        Boxes typed;
        Boxes shown;  // name, players, rounds, creatures, lives
    } steps[] = {
        {"players 1, creatures 9, rounds and lives 0",
         {{kLeagueName, "Cup"},
          {kLeaguePlayers, "1"},
          {kLeagueRounds, "0"},
          {kLeagueVoks, "9"},
          {kLeagueLives, "0"}},
         {{kLeagueName, "Cup"},
          {kLeaguePlayers, "2"},
          {kLeagueRounds, "1"},
          {kLeagueVoks, "5"},
          {kLeagueLives, "1"}}},
        {"players 20 with rounds 0",
         {{kLeaguePlayers, "20"}, {kLeagueRounds, "0"}},
         {{kLeagueName, "Cup"},
          {kLeaguePlayers, "12"},
          {kLeagueRounds, "1"},
          {kLeagueVoks, "5"},
          {kLeagueLives, "1"}}},
        {"an empty name",
         {{kLeagueName, ""}},
         {{kLeagueName, "-"},
          {kLeaguePlayers, "12"},
          {kLeagueRounds, "1"},
          {kLeagueVoks, "5"},
          {kLeagueLives, "1"}}},
    };
    for (const auto& step : steps) {
        for (const auto& box : step.typed) {
            GUI_REQUIRE(TypeText(dialog, box.first, box.second),
                        Format("fill in box %d", box.first));
        }
        // A correction asks nothing: the click is handled without a modal window.
        GUI_REQUIRE(ClickAndWait(dialog, IDOK, kExitTimeoutMs),
                    std::string("OK handled without a prompt: ") + step.what);
        for (const auto& box : step.shown) {
            GUI_CHECK_EQ(ControlText(dialog, box.first), box.second,
                         Format("box %d after %s", box.first, step.what));
        }
        GUI_CHECK(
            IsWindow(dialog) && FindDialog(launcher.Pid(), kInputBoxIds, {kLeagueName}) == nullptr,
            std::string("the dialog stays open and no name is asked: ") + step.what);
        GUI_CHECK(ListTree(stage.Temp()).empty(),
                  std::string("nothing written to the temporary folder: ") + step.what);
    }

    // Valid now but for the lives, which are raised to 1 without a word: OK
    // goes on to the players, and the name "-" is stored quoted once.
    GUI_REQUIRE(TypeText(dialog, kLeaguePlayers, "2") && TypeText(dialog, kLeagueVoks, "1") &&
                    TypeText(dialog, kLeagueLives, "0"),
                "two players with one creature each");
    GUI_REQUIRE(Click(dialog, IDOK), "press OK");
    LeagueEntry entry = {"-", 1, 1, 1, {"", ""}};
    entry.players[0] = CheckInputBoxRules(launcher, dialog, lines);
    AnswerCreaturePrompt(launcher, dialog, lines, 1, 1, IDOK);
    // An empty name is a name too: stored as an empty quoted value.
    AnswerPlayerName(launcher, dialog, lines, 1, "");
    AnswerCreaturePrompt(launcher, dialog, lines, 1, 1, IDOK);
    ExpectLeagueStarted(launcher, stage, entry, "league q0");
}

void FullLeagueFromReadOnlySource() {
    Stage stage("league-full");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    // A creature folder with a read-only file could not be removed with the
    // league later, so the copies must lose the attribute.
    const auto source = ListTree(stage.Root("data\\ply"));
    GUI_REQUIRE(source.size() >= 2, "data\\ply holds data.dat and at least one more file");
    for (const auto& file : source) {
        GUI_REQUIRE(SetFileAttributesA(stage.Root("data\\ply\\" + file.first).c_str(),
                                       FILE_ATTRIBUTE_READONLY),
                    "make " + file.first + " read-only");
    }
    LeagueEntry entry = {"Nordic Winter Champio", 3, 5, 7, {}};
    for (size_t i = 0; i < 12; ++i) {
        entry.players.push_back(DefaultPlayerName(lines, i));
    }
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND dialog = OpenCreateLeague(launcher, menu);
    FillCreateLeague(dialog, entry);
    // A double quote would end the stored name early: it is dropped, and the
    // rest cut to what fits between the name's own quotes.
    GUI_REQUIRE(TypeText(dialog, kLeagueName, "\"Nordic\" Winter Championship"),
                "type a name with quotes");
    GUI_REQUIRE(ClickAndWait(dialog, IDOK, kExitTimeoutMs), "OK handled without a prompt");
    GUI_CHECK_EQ(ControlText(dialog, kLeagueName), entry.name, "the name without its quotes");
    GUI_CHECK_EQ(ControlText(dialog, kLeaguePlayers), "12", "players kept");
    GUI_CHECK_EQ(ControlText(dialog, kLeagueVoks), "5", "creatures kept");
    GUI_REQUIRE(Click(dialog, IDOK), "press OK again");
    GatherLeague(launcher, dialog, lines, entry, true);

    const std::string league = ExpectLeagueStarted(launcher, stage, entry, "league q0");
    size_t lineCount = 0;
    for (size_t at = league.find("\r\n"); at != std::string::npos;
         at = league.find("\r\n", at + 2)) {
        ++lineCount;
    }
    GUI_CHECK_EQ(static_cast<long long>(lineCount), 534, "lines of a full league's file");
    const DWORD kNotPlain = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    unsigned notPlain = 0;
    for (size_t i = 0; i < entry.players.size(); ++i) {
        for (int j = 0; j < entry.voks; ++j) {
            for (const auto& file : source) {
                const std::string copy = stage.Temp(
                    Format("p%u_vok%d\\%s", static_cast<unsigned>(i), j, file.first.c_str()));
                const DWORD attributes = GetFileAttributesA(copy.c_str());
                notPlain +=
                    attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotPlain) ? 1 : 0;
            }
        }
    }
    GUI_CHECK_EQ(notPlain, 0, "creature copies that are not plain writable files");
    for (const auto& file : source) {
        const DWORD attributes = GetFileAttributesA(stage.Root("data\\ply\\" + file.first).c_str());
        GUI_CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY),
                  "the source " + file.first + " is left read-only");
    }
}

void CancelAtCreaturePromptRemovesGathered() {
    Stage stage("league-cancel-creature");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND dialog = OpenCreateLeague(launcher, menu);
    CheckCreateLeagueOpening(dialog, menu, lines);
    // The defaults: two players with three creatures each.
    GUI_REQUIRE(Click(dialog, IDOK), "press OK");
    AnswerPlayerName(launcher, dialog, lines, 0, "Ann");
    for (int number = 1; number <= 3; ++number) {
        AnswerCreaturePrompt(launcher, dialog, lines, number, 3, IDOK);
    }
    AnswerPlayerName(launcher, dialog, lines, 1, "Bo");
    AnswerCreaturePrompt(launcher, dialog, lines, 1, 3, IDOK);
    std::map<std::string, std::string> gathered;
    for (const char* folder : {"p0_vok0", "p0_vok1", "p0_vok2", "p1_vok0"}) {
        AddCreatureFolder(stage, folder, gathered);
    }
    GUI_CHECK(ListTree(stage.Temp()) == gathered, "each confirmed creature has its folder");
    AnswerCreaturePrompt(launcher, dialog, lines, 2, 3, IDCANCEL);
    WaitGone(dialog, "the create-league dialog");
    GUI_CHECK(ListTree(stage.Temp()).empty(), "the gathered creature folders are removed");
    GUI_CHECK(!ControlEnabled(menu, kLoadLeague), "Load League is disabled");
    CancelMenu(launcher, menu);
}

void CancelAtRetryKeepsGathered() {
    Stage stage("league-retry-cancel");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    const std::string data = stage.Root("data\\ply\\data.dat");
    const std::string away = stage.Root("data.dat.away");
    std::map<std::string, std::string> first;
    AddCreatureFolder(stage, "p0_vok0", first);
    std::map<std::string, std::string> gathered = first;
    AddCreatureFolder(stage, "p0_vok1", gathered);

    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND dialog = OpenCreateLeague(launcher, menu);
    GUI_REQUIRE(Click(dialog, IDOK), "press OK with the defaults");
    AnswerPlayerName(launcher, dialog, lines, 0, "Ann");
    AnswerCreaturePrompt(launcher, dialog, lines, 1, 3, IDOK);

    // The creature goes missing before the second one is confirmed: the
    // question comes back for as long as it is missing, and Retry goes on as
    // soon as it is there again.
    GUI_REQUIRE(MoveFileA(data.c_str(), away.c_str()), "take data.dat away");
    AnswerCreaturePrompt(launcher, dialog, lines, 2, 3, IDOK);
    AnswerBox(WaitForRetryQuestion(launcher, dialog, lines, "while data.dat is missing"), IDRETRY,
              "answer Retry while data.dat is missing");
    const MessageBoxInfo again = WaitForRetryQuestion(launcher, dialog, lines, "after Retry");
    GUI_CHECK(ListTree(stage.Temp()) == first, "no folder for a creature that is missing");
    GUI_REQUIRE(MoveFileA(away.c_str(), data.c_str()), "put data.dat back");
    AnswerBox(again, IDRETRY, "answer Retry with data.dat back");

    // The third creature goes missing too, and the player gives up.
    const MessageBoxInfo third = WaitForCreaturePrompt(launcher, dialog, lines, 3, 3);
    GUI_CHECK(ListTree(stage.Temp()) == gathered, "Retry gathered the second creature");
    GUI_REQUIRE(MoveFileA(data.c_str(), away.c_str()), "take data.dat away again");
    AnswerBox(third, IDOK, "confirm the third creature");
    AnswerBox(WaitForRetryQuestion(launcher, dialog, lines, "for the third creature"), IDCANCEL,
              "answer Cancel");
    WaitGone(dialog, "the create-league dialog");
    GUI_CHECK(IsWindow(menu) && !ControlEnabled(menu, kLoadLeague),
              "back in the menu, Load League disabled");
    GUI_CHECK(ListTree(stage.Temp()) == gathered,
              "the creature folders made so far stay, and no league file is written");
    CancelMenu(launcher, menu);
}

void LoadLeagueWithoutLeagueSaysSo() {
    Stage stage("league-load-none");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    CheckOpeningStates(menu, false);
    CheckNoLeagueMessage(launcher, menu, lines);
    CheckOpeningStates(menu, false);
    GUI_CHECK(!FileExists(stage.Record(kGameRecord)), "no game started");
    GUI_CHECK(ListTree(stage.Temp()).empty(), "nothing written to the temporary folder");
    CancelMenu(launcher, menu);
}

// The three credits columns as the player must read them: each section a
// heading (language line, or the untranslated "DEMO"), then " - " and a name
// per line, sections apart by an empty line.
std::vector<std::string> ExpectedCreditsColumns(const std::vector<std::string>& lines) {
    const int kDemo = -1;
    struct Section {
        int line;
        std::vector<const char*> names;
    };
    const std::vector<std::vector<Section>> columns = {
        {{88, {"Maren Holt", "Jonas Brink", "Elsa Varg"}},
         {89, {"Pekka Ruusu", "Ida Stenvall"}},
         {90, {"Rune Falkner", "Lotta Grahn", "Nils Ekberg", "Saga Lindmark"}},
         {91, {"Viktor Ahlgren", "Hedda Moss"}}},
        {{92, {"Arvid Kralle"}},
         {93, {"Tove Bergsand", "Jonas Brink"}},
         {94, {"Mikko Salvela", "Frida Norrby"}},
         {95, {"Elsa Varg", "Oskar Tennby"}},
         {97, {"Sigrid Haver", "Pekka Ruusu"}}},
        {{96, {"Halvard Ostmark"}},
         {98, {"Linnea Dahlquist", "Teodor Vinge"}},
         {kDemo, {"Rune Falkner", "Ida Stenvall"}},
         {99, {"Greta Solberg"}},
         {100, {"Brackenmoor Games"}}},
    };
    std::vector<std::string> texts;
    for (const auto& column : columns) {
        std::string text;
        for (const Section& section : column) {
            text += text.empty() ? "" : "\n\n";
            text += section.line == kDemo ? std::string("DEMO")
                                          : LanguageLine(lines, static_cast<size_t>(section.line));
            for (const char* name : section.names) {
                text += std::string("\n - ") + name;
            }
        }
        texts.push_back(text);
    }
    return texts;
}

// Opens the credits over `menu` and checks the caption, the button and the
// three columns against `lines`.
HWND OpenAndCheckCredits(Launcher& launcher, HWND menu, const std::vector<std::string>& lines) {
    GUI_REQUIRE(Click(menu, kCredits), "press View Credits");
    HWND credits = WaitForDialog(launcher.Pid(), kCreditsIds, kStartTimeoutMs);
    GUI_REQUIRE(credits != nullptr, "the credits dialog is shown");
    GUI_CHECK(GetWindow(credits, GW_OWNER) == menu, "the credits belong to the menu");
    GUI_CHECK_EQ(WindowText(credits), LanguageLine(lines, 87), "credits caption");
    GUI_CHECK_EQ(ControlText(credits, IDOK), LanguageLine(lines, 101), "credits OK caption");
    const std::vector<std::string> expected = ExpectedCreditsColumns(lines);
    const int ids[] = {kCreditsColumn1, kCreditsColumn2, kCreditsColumn3};
    for (size_t i = 0; i < expected.size(); ++i) {
        GUI_CHECK_EQ(ControlText(credits, ids[i]), expected[i],
                     Format("credits column %d", ids[i]));
    }
    return credits;
}

void CreditsOpenOverMenu() {
    Stage stage("league-credits");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND credits = OpenAndCheckCredits(launcher, menu, lines);
    SaveShot(credits, "credits-english.png");
    GUI_REQUIRE(Click(credits, IDOK), "press OK in the credits");
    WaitGone(credits, "the credits dialog");
    CheckOpeningStates(menu, false);
    CheckTranslatedTexts(menu, lines, "english.txt");
    CancelMenu(launcher, menu);
}

void CreditsOfShortLanguageFile() {
    Stage stage("credits-88-lines");
    // Exactly 88 lines: the caption (line 87) is the last one there is, so
    // every heading and the button read "<error>". No line feed at the end,
    // which would make an 89th, empty line.
    std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    GUI_REQUIRE(lines.size() > 88, "the English file has the credits lines");
    lines.resize(88);
    std::string bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
        bytes += (i == 0 ? "" : "\r\n") + lines[i];
    }
    GUI_REQUIRE(WriteBytes(stage.Language("english.txt"), bytes), "write the short file");
    GUI_REQUIRE(StagedLanguage(stage, "english.txt").size() == 88, "the file has 88 lines");
    GUI_REQUIRE(LanguageLine(lines, 87) != "<error>" && LanguageLine(lines, 88) == "<error>",
                "line 87 is the last");

    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND credits = OpenAndCheckCredits(launcher, menu, lines);
    GUI_CHECK_EQ(ControlText(credits, IDOK), "<error>", "credits OK caption without its line");
    // Escape closes the credits as OK does.
    GUI_REQUIRE(PostKey(GetDlgItem(credits, IDOK), VK_ESCAPE), "press Escape in the credits");
    WaitGone(credits, "the credits dialog after Escape");
    CheckOpeningStates(menu, false);
    CancelMenu(launcher, menu);
}

}  // namespace
}  // namespace gui

void RegisterLeagueCases() {
    using namespace gui;
    AddCase("league: Load League starts the game with the saved league",
            LoadLeagueStartsGameWithLeague);
    AddCase("league: Load League without a league says so and keeps the menu",
            LoadLeagueWithoutLeagueSaysSo);
    AddCase("league: New League over a league, answered No, keeps it",
            NewLeagueAnsweredNoKeepsLeague);
    AddCase("league: New League over a league, Yes then Cancel, removes it",
            NewLeagueYesThenCancelRemovesLeague);
    AddCase("league: New League over a league, Yes and the defaults, replaces it",
            NewLeagueYesReplacesLeagueWithDefaults);
    AddCase("league: a new league is written byte for byte and started at the pressed level",
            NewLeagueIsWrittenAndStarted);
    AddCase(
        "league: corrections keep the dialog open; the corrected league and the input "
        "box's limits reach the file",
        CorrectionsKeepDialogOpen);
    AddCase("league: a full league from read-only creature files, its name's quotes dropped",
            FullLeagueFromReadOnlySource);
    AddCase("league: Cancel at a creature prompt removes the gathered creatures",
            CancelAtCreaturePromptRemovesGathered);
    AddCase("league: Retry waits for a missing creature, Cancel keeps the creatures gathered",
            CancelAtRetryKeepsGathered);
    AddCase("credits: the credits open over the menu and OK returns to it", CreditsOpenOverMenu);
    AddCase("credits: a language file of 88 lines, and Escape", CreditsOfShortLanguageFile);
}
