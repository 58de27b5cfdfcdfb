// End-to-end cases of the main menu's league and credits commands: loading a
// saved league, replacing it, creating a league through the create-league
// dialog, the input box and the creature prompts, and the credits dialog.
#include "Harness.h"
#include "MenuChecks.h"
#include "Report.h"
#include "Win32Ui.h"

namespace gui {
namespace {

// Create-league dialog, input box and credits dialog control ids.
enum {
    kLeagueName = 1003,
    kLeaguePlayers = 1002,
    kLeagueRounds = 1006,
    kLeagueVoks = 1008,
    kLeagueLives = 1010,
    kInputEdit = 1006,
    kInputPrompt = 1007,
    kCreditsColumn1 = 1011,
    kCreditsColumn2 = 1012,
    kCreditsColumn3 = 1013,
};
const std::vector<int> kCreateLeagueIds = {kLeagueName, kLeaguePlayers, kLeagueRounds, kLeagueVoks,
                                           kLeagueLives};
const std::vector<int> kInputBoxIds = {IDOK, kInputEdit, kInputPrompt};
const std::vector<int> kCreditsIds = {IDOK, kCreditsColumn1, kCreditsColumn2, kCreditsColumn3};

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
    for (const auto& file : files) {
        const size_t slash = file.first.find('\\');
        if (slash != std::string::npos) {
            GUI_REQUIRE(MakeFolders(stage.Temp(file.first.substr(0, slash))), "make a folder");
        }
        GUI_REQUIRE(WriteBytes(stage.Temp(file.first), file.second), "stage " + file.first);
    }
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

// Answers the name prompt of player `index` (from 0) with `name`.
void AnswerPlayerName(Launcher& launcher, HWND owner, const std::vector<std::string>& lines,
                      size_t index, const std::string& name) {
    HWND box = WaitForDialog(launcher.Pid(), kInputBoxIds, kStartTimeoutMs, {kLeagueName});
    GUI_REQUIRE(box != nullptr,
                Format("the name of player %u is asked", static_cast<unsigned>(index + 1)));
    const unsigned number = static_cast<unsigned>(index + 1);
    GUI_CHECK_EQ(WindowText(box), "", "input box caption");
    GUI_CHECK_EQ(ControlText(box, kInputPrompt),
                 Format("%s %u", LanguageLine(lines, 64).c_str(), number), "player prompt");
    GUI_CHECK_EQ(ControlText(box, kInputEdit),
                 Format("%s%u", LanguageLine(lines, 65).c_str(), number), "default player name");
    GUI_CHECK_EQ(ControlText(box, IDOK), LanguageLine(lines, 66), "input box OK caption");
    GUI_CHECK(GetWindow(box, GW_OWNER) == owner,
              "the input box belongs to the create-league dialog");
    GUI_REQUIRE(TypeText(box, kInputEdit, name) && Click(box, IDOK), "enter the player's name");
    WaitGone(box, "the input box");
}

// Answers the creature prompt `number` of `voks` with `answer`.
void AnswerCreaturePrompt(Launcher& launcher, HWND owner, const std::vector<std::string>& lines,
                          int number, int voks, int answer) {
    MessageBoxInfo box;
    GUI_REQUIRE(WaitForMessageBox(launcher.Pid(), box, kStartTimeoutMs),
                Format("creature prompt %d/%d is shown", number, voks));
    GUI_CHECK_EQ(box.text, Format("%s (%d/%d)", LanguageLine(lines, 67).c_str(), number, voks),
                 "creature prompt");
    GUI_CHECK_EQ(box.caption, "", "creature prompt caption");
    GUI_CHECK(box.buttons == std::vector<int>({IDOK, IDCANCEL}),
              "creature prompt offers OK and Cancel");
    GUI_CHECK(box.owner == owner, "the creature prompt belongs to the create-league dialog");
    GUI_REQUIRE(Answer(box, answer), "answer the creature prompt");
    WaitGone(box.window, "the creature prompt");
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
    CancelMenu(launcher, menu);
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
    for (size_t i = 0; i < entry.players.size(); ++i) {
        AnswerPlayerName(launcher, dialog, lines, i, entry.players[i]);
        AnswerCreaturePrompt(launcher, dialog, lines, 1, entry.voks, IDOK);
    }
    GUI_CHECK_EQ(launcher.ExpectExit(), 1, "exit code after creating a league");

    const std::string league = ExpectedLeagueFile(stage, entry, StagedCreatureName(stage));
    const StartRecord start = ExpectOneGameStart(stage);
    GUI_CHECK_EQ(start.args, "league q2", "game arguments");
    GUI_CHECK(start.leagueFound, "the game found a league file");
    GUI_CHECK_EQ(start.league, league, "the league file the game read");
    std::map<std::string, std::string> expected = {{"vokleague.dat", league}};
    AddCreatureFolder(stage, "p0_vok0", expected);
    AddCreatureFolder(stage, "p1_vok0", expected);
    CheckTempAfterLaunch(stage, expected);
}

void CorrectionsKeepDialogOpen() {
    Stage stage("league-corrections");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    HWND dialog = OpenCreateLeague(launcher, menu);
    const LeagueEntry entry = {"Cup", 0, 9, 0, {"only one"}};
    FillCreateLeague(dialog, entry);
    // A correction asks nothing: the click is handled without a modal window.
    GUI_REQUIRE(ClickAndWait(dialog, IDOK, kExitTimeoutMs), "OK handled without a prompt");
    const struct {
        int id;
        const char* text;
    } boxes[] = {
        {kLeaguePlayers, "2"}, {kLeagueRounds, "1"}, {kLeagueVoks, "5"}, {kLeagueLives, "1"}};
    for (const auto& box : boxes) {
        GUI_CHECK_EQ(ControlText(dialog, box.id), box.text, Format("corrected box %d", box.id));
    }
    GUI_CHECK(
        IsWindow(dialog) && FindDialog(launcher.Pid(), kInputBoxIds, {kLeagueName}) == nullptr,
        "the dialog stays open and no name is asked");
    GUI_REQUIRE(Click(dialog, IDCANCEL), "press Cancel");
    WaitGone(dialog, "the create-league dialog");
    GUI_CHECK(ListTree(stage.Temp()).empty(), "nothing written to the temporary folder");
    CancelMenu(launcher, menu);
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

void CreditsOpenOverMenu() {
    Stage stage("league-credits");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    GUI_REQUIRE(Click(menu, kCredits), "press View Credits");
    HWND credits = WaitForDialog(launcher.Pid(), kCreditsIds, kStartTimeoutMs);
    GUI_REQUIRE(credits != nullptr, "the credits dialog is shown");
    GUI_CHECK(GetWindow(credits, GW_OWNER) == menu, "the credits belong to the menu");
    GUI_CHECK_EQ(WindowText(credits), LanguageLine(lines, 87), "credits caption");
    GUI_CHECK_EQ(ControlText(credits, IDOK), LanguageLine(lines, 101), "credits OK caption");
    // Each column starts with its first heading and holds the others in order.
    const struct {
        int id;
        std::vector<std::string> headings;
    } columns[] = {
        {kCreditsColumn1,
         {LanguageLine(lines, 88), LanguageLine(lines, 89), LanguageLine(lines, 90),
          LanguageLine(lines, 91)}},
        {kCreditsColumn2,
         {LanguageLine(lines, 92), LanguageLine(lines, 93), LanguageLine(lines, 94),
          LanguageLine(lines, 95), LanguageLine(lines, 97)}},
        {kCreditsColumn3,
         {LanguageLine(lines, 96), LanguageLine(lines, 98), "DEMO", LanguageLine(lines, 99),
          LanguageLine(lines, 100)}},
    };
    for (const auto& column : columns) {
        const std::string text = ControlText(credits, column.id);
        size_t at = 0;
        bool inOrder = text.compare(0, column.headings[0].size(), column.headings[0]) == 0;
        for (const std::string& heading : column.headings) {
            at = text.find(heading + "\n - ", at);
            inOrder = inOrder && at != std::string::npos;
        }
        GUI_CHECK(inOrder, Format("column %d holds its headings in order: \"%s\"", column.id,
                                  Printable(text).c_str()));
    }
    SaveShot(credits, "credits-english.png");
    GUI_REQUIRE(Click(credits, IDOK), "press OK in the credits");
    WaitGone(credits, "the credits dialog");
    CheckOpeningStates(menu, false);
    CheckTranslatedTexts(menu, lines, "english.txt");
    CancelMenu(launcher, menu);
}

}  // namespace
}  // namespace gui

void RegisterLeagueCases() {
    using namespace gui;
    AddCase("league: Load League starts the game with the saved league",
            LoadLeagueStartsGameWithLeague);
    AddCase("league: New League over a league, answered No, keeps it",
            NewLeagueAnsweredNoKeepsLeague);
    AddCase("league: New League over a league, Yes then Cancel, removes it",
            NewLeagueYesThenCancelRemovesLeague);
    AddCase("league: a new league is written byte for byte and started at the pressed level",
            NewLeagueIsWrittenAndStarted);
    AddCase("league: out-of-range settings are corrected and keep the dialog open",
            CorrectionsKeepDialogOpen);
    AddCase("league: Cancel at a creature prompt removes the gathered creatures",
            CancelAtCreaturePromptRemovesGathered);
    AddCase("credits: the credits open over the menu and OK returns to it", CreditsOpenOverMenu);
}
