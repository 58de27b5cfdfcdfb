// The launcher as a player meets it: start-up, the main menu, the game launch,
// the create-league dialog with its input boxes and the credits, run through
// their real logic by a scripted player, on ordinary and hostile data roots
// and temporary folders, and with a fault at every step of a new league.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "Fakes.h"
#include "dialogs/Credits.h"
#include "dialogs/InputBox.h"
#include "i18n/LanguageTable.h"
#include "kvfile/KeyValueFile.h"
#include "league/CreateLeague.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

// What the scenarios' paths and texts name: "R/" the data root, "T/" the
// temporary folder; the command's text runs to the end of the command.
std::string Path(Stage& s, const std::string& path) {
    return (path[0] == 'R' ? s.root.path : s.os.tempDir) + path.substr(2);
}

// Gives the stage a temporary folder of `length` characters, separator
// included, in parts short enough for any file system; `make`: create it.
void LongTemp(Stage& s, std::size_t length, bool make = true) {
    while (s.os.tempDir.size() < length) {
        std::size_t rest = length - s.os.tempDir.size();
        s.os.tempDir +=
            std::string((rest <= 100 ? rest : std::min<std::size_t>(100, rest - 2)) - 1, 'd') + "/";
    }
    if (make) {
        fs::create_directories(s.os.tempDir);
    }
}

// Setup commands, separated by "; ": probe N, keys CONTROL SHIFT, window
// CLASS|TITLE, later CLASS|TITLE (appears after a pause), claim no, lines N,
// broken TEMPLATE, put PATH TEXT, ro PATH, mkdir PATH, rm PATH, old [P C] (a
// league of P players with C creatures each, 2 and 2 unless given, its file
// and game), temp +NAME (a folder in the temporary folder, made) or ~NAME (not
// made), temp none, temp N (a path of N characters, made), temp max (the
// longest that holds a new league of two players, under the system's path
// limit) or max+1.
void Apply(Stage& s, const std::string& command) {
    std::istringstream in(command);
    std::string verb, a, b;
    in >> verb >> a;
    std::getline(in >> std::ws, b);
    std::size_t longest = std::min<std::size_t>(495, s.os.PathLimit() - 18);
    if (verb == "probe")
        s.os.probe = std::stoul(a);
    if (verb == "keys")
        s.os.control = std::stoi(a, nullptr, 0), s.os.shift = std::stoi(b, nullptr, 0);
    if (verb == "window")
        s.os.windows.push_back(command.substr(7));
    if (verb == "later")
        s.os.later.push_back(command.substr(6));
    if (verb == "claim")
        s.os.claim = false;
    if (verb == "lines")
        s.Language(std::stoi(a));
    if (verb == "broken")
        s.broken.push_back(a);
    if (verb == "put")
        WriteFile(Path(s, a), command.substr(5 + a.size()));
    if (verb == "ro")
        MakeReadOnly(Path(s, a));
    if (verb == "mkdir")
        fs::create_directories(Path(s, a));
    if (verb == "rm")
        fs::remove(Path(s, a));
    if (verb == "temp" && a[0] == '+')
        fs::create_directories(s.os.tempDir += a.substr(1));
    if (verb == "temp" && a[0] == '~')
        s.os.tempDir += a.substr(1);
    if (verb == "temp" && a == "none")
        s.os.tempDir.clear();
    if (verb == "temp" && std::isdigit(a[0]))
        LongTemp(s, std::stoul(a), false);
    if (verb == "temp" && a.compare(0, 3, "max") == 0)
        LongTemp(s, longest + (a == "max+1"));
    for (int i = 0; verb == "old" && i < (a.empty() ? 2 : std::stoi(a)); ++i) {
        for (int j = 0; j < (b.empty() ? 2 : std::stoi(b)); ++j) {
            std::string folder = "p" + std::to_string(i) + "_vok" + std::to_string(j) + "/";
            WriteFile(s.temp / folder + "data.dat", "old");
            WriteFile(s.temp / folder + "skin.txt", "old");
        }
        WriteFile(s.temp / "vokleague.dat", "LeagueName = \"Old\"\r\nNrPlayers = 2\r\n");
        WriteFile(s.temp / "vok.exe", "old game");
    }
}

// Check commands, separated by "; ": league CREATURE (the league of kNewLeague,
// the game copy and the creatures' files), file PATH TEXT, has PATH TEXT,
// gone PATH, writable PATH, count KIND N (log entries), tree PATH N (entries),
// ctl TEMPLATE ID TEXT (a control as the dialog was left), boxes TEXTS (the
// create-league boxes), menu 0|1 (translated, Load League disabled or
// enabled), readable (each key of the league file, looked for in the order of
// writing and in reverse, gives its own value).
void Check(Stage& s, const std::string& command) {
    std::istringstream in(command);
    std::string verb, a, b, got, want;
    in >> verb >> a;
    std::getline(in >> std::ws, b);
    std::string text = command.substr(std::min(command.size(), verb.size() + a.size() + 2));
    if (verb == "league") {
        got = ReadFile(s.os.tempDir + "vokleague.dat") +
              ReadFile(s.os.tempDir + "p1_vok0/skin.txt") + ReadFile(s.os.tempDir + "vok.exe");
        want = LeagueFile(s.os.tempDir, {"Ann", "Bo"}, 1, command.substr(7)) + "skingame";
    }
    if (verb == "file" || verb == "has") {
        got = ReadFile(Path(s, a)), want = text;
        got = verb == "has" && got.find(text) != std::string::npos ? text : got;
    }
    if (verb == "gone" || verb == "writable") {
        got = verb == "gone" ? std::to_string(Exists(Path(s, a)))
                             : std::to_string(IsReadOnly(Path(s, a)));
        want = "0";
    }
    if (verb == "count")
        got = std::to_string(s.Log({a}).size()), want = b;
    if (verb == "tree")
        got = std::to_string(Tree(Path(s, a)).size()), want = b;
    if (verb == "ctl")
        got = s.last[a][std::stoi(b)], want = b.substr(b.find(' ') + 1);
    if (verb == "menu" || verb == "boxes") {
        const bool menu = verb == "menu";
        for (int id :
             menu ? std::vector<int>{1002, 1000, 1001, 3, 5, 4, 6, 7, 2, -1002, -1000, -1001, -3}
                  : std::vector<int>{1003, 1002, 1006, 1008, 1010}) {
            got += s.last[menu ? "IDD_MAINDLG" : "IDD_CREATELEAGUE"][id] + " ";
        }
        want = menu ? "L44 L45 L46 L47 L48 L49 L50 L51 L52 + + + " +
                          std::string(a == "1" ? "+ " : "- ")
                    : command.substr(6) + " ";
    }
    EXPECT_EQ(got, want) << command;
    if (verb == "readable") {
        std::string path = s.os.tempDir + "vokleague.dat", file = ReadFile(path);
        KeyValueFile tokens(path.c_str());
        std::vector<std::pair<std::string, std::string>> keys;
        for (int i = 0; i + 1 < tokens.TokenCount(); ++i) {
            int start = tokens.TokenStart(i);
            if (start == 0 || file[start - 1] == '\n') {
                keys.emplace_back(tokens.Token(i), tokens.Token(i + 1));
            }
        }
        EXPECT_EQ(keys.size(), 30u);
        for (int pass = 0; pass < 2; ++pass, std::reverse(keys.begin(), keys.end())) {
            KeyValueFile game(path.c_str());
            for (const auto& [key, value] : keys) {
                EXPECT_EQ(game.GetValue(key.c_str(), "?"), value) << key;
            }
        }
    }
}

Strings Split(const std::string& commands) {
    Strings list;
    for (std::size_t at = 0, end; at < commands.size(); at = end + 2) {
        end = std::min(commands.find("; ", at), commands.size());
        list.push_back(commands.substr(at, end - at));
    }
    return list;
}

Strings operator+(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string kDx = "shell open|DirectX8/DXSETUP.EXE||",
                  kUnusable = std::string("box Ok: ") + kTempDirUnusableText;
std::string Game(const std::string& parameters) {
    return "shell open|T/vok.exe|" + parameters + "|";
}
TEST(Flow, EveryScenarioEndsAsThePlayerMustSeeIt) {
    // Built here, after the stage's own lists: statics of two files start in no set order.
    const Strings kPractice = {"1001", "1003=Cup", "1008=1", "1", "1002"};
    const Strings kReplace =
        Strings{"1001", "Yes"} + Strings(kNewLeague.begin() + 1, kNewLeague.end());
    const std::string kRetry = "box RetryCancel: L68", kRefused = "end IDD_CREATELEAGUE 2";
    const Strings kEnd = {"end IDD_CREATELEAGUE 1", Game("league q0"), "exit 1"},
                  kMade = kPrompts + kEnd;
    const Strings kReplaced = Strings{"box YesNo: L69"} + kMade,
                  kOpen = {"end IDD_CREATELEAGUE -2"};
    const Strings kThree = {"box OkCancel: L67 (1/3)", "box OkCancel: L67 (2/3)",
                            "box OkCancel: L67 (3/3)"};
    const struct {
        const char* name;
        const char* setup;
        Strings script, log;  // the log: boxes, shell calls, exits, signals, unhandled commands
        int exit;
        const char* checks;
    } rows[] = {
        // One scenario a row, kept on as few lines as it reads well in.
        // clang-format off
        // Start-up: a peer is signalled and nothing else happens.
        {"a running game", "window VOK |Vok; window #32770|Vok ", {}, {"post 1 1056", "front 1"}, -1, "count open 0"},
        {"a launcher's menu", "window Other|x; window #32770|Vok ", {}, {"post 2 1056", "front 2"}, -1, ""},
        {"look-alike windows", "window VOK|x; window #32770|Vok", {"2"}, {}, 0, "menu 0; count cd 1"},
        {"an empty league file", "put T/vokleague.dat ", {"2"}, {}, 0, "menu 1"},
        {"a launcher that lost the claim, then the winner's menu", "claim no; later x|y; later x|y; later #32770|Vok ",
         {"2"}, {"post 3 1056", "front 3"}, -1, "count pause 3; count open 0"},
        {"a launcher that lost the claim, and no menu", "claim no", {"2"}, {}, -1, "count pause 100; count open 0"},
        {"a main menu that cannot be made", "broken IDD_MAINDLG", {}, {}, 3, "count debug 1"},
        // Without DirectDraw 7 only a clear Yes goes on, to the setup.
        {"DirectX 6, Yes", "probe 1791", {"Yes", "2"}, {"box YesNo: L55", kDx}, 0, "menu 0"},
        {"no DirectDraw, No", "probe 0", {"No"}, {"box YesNo: L55", "exit 1"}, 1, ""},
        {"no DirectDraw, no box", "probe 0", {}, {"box YesNo: L55", "exit 1"}, 1, ""},
        {"the shell's buttons", "", {"4", "6", "7", "8", "9", "2"}, {kDx, "shell (default)|L53||",
         "shell (default)|L54||", "shell open|demo/Zantovid.exe|demo/vok.avi|", "unhandled 9"}, 0, ""},
        // The level: Control adds 2, Shift 1, read from the high bit.
        {"Practice", "", {"1002"}, {Game("practice q0"), "exit 1"}, 1, "file T/vok.exe game"},
        {"Practice with Control and Shift", "keys 0x8000 0x8001", {"1002"}, {Game("practice q3"), "exit 1"}, 1, ""},
        {"Single Match with Control", "keys 0x8000 1", {"1000"}, {Game("singlematch q2"), "exit 1"}, 1, ""},
        {"Load League with Shift", "keys 0 0x8000; put T/vokleague.dat old", {"3"}, {Game("league q1"), "exit 1"}, 1, ""},
        {"Load League without one", "", {"3", "Ok", "2"}, {"box Ok: L70"}, 0, ""},
        // Only a clear Yes replaces a league; a cancelled dialog then leaves none.
        {"New League over one, No", "put T/vokleague.dat old; put T/p0_vok0/data.dat old", {"1001", "No", "2"},
         {"box YesNo: L69"}, 0, "file T/vokleague.dat old; tree T/ 3; menu 1"},
        {"New League over one, no box", "put T/vokleague.dat old", {"1001", "2"}, {"box YesNo: L69"}, 0,
         "file T/vokleague.dat old"},
        {"New League over one, Yes, Cancel", "old", {"1001", "Yes", "2", "2"}, {"box YesNo: L69", kRefused}, 0,
         "tree T/ 0; ctl IDD_MAINDLG -3 -"},
        {"New League with Control", "keys 0x8000 0", kNewLeague,
         kPrompts + Strings{"end IDD_CREATELEAGUE 1", Game("league q2"), "exit 1"}, 1, "league Grunt"},
        // The create-league dialog corrects settings before asking anything.
        {"players 1, creatures 9", "", {"1001", "1002=1", "1008=9", "1"}, kOpen, 0, "boxes Vok 2 2 5 10; "
         "ctl IDD_CREATELEAGUE 0 L56; ctl IDD_CREATELEAGUE 1011 L61; ctl IDD_CREATELEAGUE 2 L63"},
        {"rounds 0, lives 0, players 20", "", {"1001", "1006=0", "1010=0", "1002=20", "1"}, kOpen, 0, "boxes Vok 12 1 3 1"},
        {"no name", "", {"1001", "1003=", "1"}, kOpen, 0, "boxes - 2 2 3 10"},
        {"a quoted name", "", {"1001", "1003=\"Big\"", "1"}, kOpen, 0, "boxes Big 2 2 3 10"},
        {"a name of 22", "", {"1001", "1003=abcdefghijklmnopqrstuv", "1"}, kOpen, 0, "boxes abcdefghijklmnopqrstu 2 2 3 10"},
        {"a name that is a key", "", {"1001", "1003=nrPlayers", "1"}, kOpen, 0, "boxes nrPlayer- 2 2 3 10"},
        {"numbers beyond the range", "", {"1001", "1002=99999999999", "1008=-99999999999", "1"}, kOpen, 0,
         "boxes Vok 12 2 1 10"},
        {"rounds +7x, lives -3, a name of 21", "", {"1001", "1003=abcdefghijklmnopqrstu", "1006=  +7x", "1010=-3",
         "1008=1", "1", "1", "Ok", "1", "Ok"}, kMade, 1, "has T/vokleague.dat \nLeagueRounds = 7\r; "
         "has T/vokleague.dat \nLivesPerVok = 1\r; has T/vokleague.dat \nLeagueName = \"abcdefghijklmnopqrstu\"\r"},
        // The gathering: names, creatures, and a Cancel that removes what was made.
        {"two players of three creatures", "", {"1001", "1", "1006=Ann \"A\"", "1", "Ok", "Ok", "Ok",
         "1006=abcdefghijklmnopqrst", "1", "Ok", "Ok", "Ok"}, kThree + kThree + kEnd, 1,
         "ctl IDD_INPUTBOX 1007 L64 2; ctl IDD_INPUTBOX 1 L66; ctl IDD_INPUTBOX -2006 13; ctl IDD_INPUTBOX 0 ; "
         "ctl IDD_INPUTBOX 1006 abcdefghijklm; has T/vokleague.dat \nply[0].name = \"Ann A\"\r; "
         "has T/vokleague.dat \nply[1].name = \"abcdefghijklm\"\r; has T/vokleague.dat \nLeagueName = \"Vok\"\r"},
        {"Cancel at a creature prompt", "", {"1001", "1", "1006=", "1", "Ok", "Ok", "Ok", "1", "Ok", "Cancel", "2"},
         kThree + Strings{kThree[0], kThree[1], kRefused}, 0, "tree T/ 0; ctl IDD_INPUTBOX 1006 L652"},
        {"names and a creature that spell keys", "put R/data/ply/data.dat name = \"ply[0].points NrPlayers\"\r\n",
         {"1001", "1003=NrPlayers", "1008=1", "1", "1", "1006=ply[1].points", "1", "1", "Ok", "1006=LeagueName", "1",
          "1006=Bo", "1", "Ok"}, kMade, 1, "count open 6; readable; has T/vokleague.dat \nLeagueName = \"NrPlayer-\"\r; "
         "has T/vokleague.dat \nply[0].name = \"ply[1].point-\"\r; "
         "has T/vokleague.dat \nply[0].vok[0].name = ply[0].point- NrPlayer-\r"},
        // Hostile data roots.
        {"a folder named data.dat", "rm R/data/ply/data.dat; mkdir R/data/ply/data.dat",
         {"1001", "1003=Cup", "1008=1", "1", "1006=Ann", "1", "Ok", "Retry", "Retry", "Cancel", "2"},
         {kPrompts[0], kRetry, kRetry, kRetry, kRefused}, 0, "tree T/ 0"},
        {"an empty data.dat", "put R/data/ply/data.dat ", kNewLeague, kMade, 1, "league "},
        {"a binary data.dat", "put R/data/ply/data.dat \x01\xff name \x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b"
         "\x8c\x8d\x8e\x8f\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\r\n", kNewLeague, kMade, 1,
         "league \x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8d\x8e\x8f\x90\x91\x92\x93\x94\x95\x96\x97"},
        {"a quoted creature name", "put R/data/ply/data.dat name = \"Big Bad, =Wolf\r\nof the North\"\r\n", kNewLeague,
         kMade, 1, "league Big Bad, =Wolf  of the N"},
        {"read-only creature files and game", "ro R/data/ply/skin.txt; ro R/vok.exe", kNewLeague, kMade, 1,
         "league Grunt; writable T/p1_vok0/skin.txt; writable T/vok.exe"},
        {"a sub-folder in data/ply", "put R/data/ply/sub/x x", kNewLeague, kMade, 1, "league Grunt; gone T/p0_vok0/sub"},
        // Old leagues that resist their removal.
        {"an old league with read-only files", "old; ro T/p0_vok0/data.dat; ro T/p1_vok1/skin.txt; ro T/vokleague.dat; "
         "ro T/vok.exe", kReplace, kReplaced, 1, "league Grunt; gone T/p0_vok1; gone T/p1_vok1"},
        // The removal walks each player's creature folders until the first missing one, and the
        // players until one whose first folder is missing (listings: those it tried, and the
        // gathering's two).
        {"the largest old league", "old 12 5", kReplace, kReplaced, 1, "league Grunt; tree T/ 8; count list 62"},
        {"an old league with gaps", "old 1 1; put T/p0_vok2/a x; put T/p2_vok0/a x", kReplace, kReplaced, 1,
         "league Grunt; tree T/ 12; count list 5"},
        {"an old league whose first folder stays", "old; put T/p0_vok0/sub/x x", kReplace, kReplaced, 1,
         "league Grunt; file T/p1_vok1/data.dat old; file T/p0_vok0/sub/x x"},
        // Temporary folders.
        {"a temporary folder beyond ASCII", "temp +Spieler\xe4/", kNewLeague, kMade, 1, "league Grunt"},
        {"no temporary folder", "temp none", kPractice, {kUnusable, kRefused, "exit 1"}, 1, "count copy 0"},
        {"a missing temporary folder, translated", "temp ~missing/; lines 107", kPractice,
         {"box Ok: L106", kRefused, Game("practice q0"), "exit 1"}, 1, ""},
        {"a file for a temporary folder", "put T/file x; temp ~file/", kPractice,
         {kUnusable, kRefused, Game("practice q0"), "exit 1"}, 1, ""},
        {"a temporary folder too long", "temp max+1", kPractice, {kUnusable, kRefused, Game("practice q0"), "exit 1"}, 1,
         "count copy 1"},
        {"the longest temporary folder", "temp max", kNewLeague, kMade, 1, "league Grunt"},
        {"a temporary folder too long for the game", "temp 505", {"1002"}, {"exit 1"}, 1, "count copy 0"},
        // clang-format on
    };
    for (const auto& row : rows) {
        Stage stage;
        for (const std::string& command : Split(row.setup)) {
            Apply(stage, command);
        }
        SCOPED_TRACE(row.name);
        EXPECT_EQ(stage.Run(row.script), row.exit);
        EXPECT_EQ(stage.Log(), row.log);
        for (const std::string& command : Split(row.checks)) {
            Check(stage, command);
        }
    }
}

// Texts longer than the input box's buffers are cut, never run past them.
TEST(Flow, TheInputBoxCutsTextsToItsBuffers) {
    Stage stage;
    stage.script = {"2", "1"};
    std::string longText(600, 'x');
    InputBox(stage.Desktop(), longText.c_str(), "p", "d", longText.c_str(), 13);
    auto box = stage.last["IDD_INPUTBOX"];
    EXPECT_EQ(box[0].size() + box[1].size(), 1022u);
    EXPECT_EQ(box[-2006], "13");
    EXPECT_EQ(stage.Log({"unhandled"}), Strings{"unhandled 2"});  // Escape does nothing
}

// A credits column as its headings, each with the number of names under it,
// and "|" for the empty line between sections.
std::string Sections(const std::string& column) {
    std::string out;
    int names = -1;  // before the first heading
    std::istringstream lines(column);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, 3, " - ") == 0) {
            ++names;
            continue;
        }
        out += (names >= 0 ? ":" + std::to_string(names) : "") + (line.empty() ? "|" : line);
        names = line.empty() ? -1 : 0;
    }
    return out + ":" + std::to_string(names);
}

TEST(Flow, TheCreditsShowUntilOkOrEscape) {
    for (int lines : {102, 88}) {
        Stage stage(lines);
        stage.Run({"5", "0", "7", lines == 102 ? "1" : "2", "2"});
        EXPECT_EQ(stage.Log({"unhandled"}), (Strings{"unhandled 0", "unhandled 7"}));
        auto credits = stage.last["IDD_CREDITS"];
        auto h = [&](int line) { return lines == 102 ? "L" + std::to_string(line) : "<error>"; };
        EXPECT_EQ(credits[0] + credits[1], "L87" + h(101));
        EXPECT_EQ(Sections(credits[1011]),
                  h(88) + ":3|" + h(89) + ":2|" + h(90) + ":4|" + h(91) + ":2");
        EXPECT_EQ(Sections(credits[1012]),
                  h(92) + ":1|" + h(93) + ":2|" + h(94) + ":2|" + h(95) + ":2|" + h(97) + ":2");
        EXPECT_EQ(Sections(credits[1013]),
                  h(96) + ":1|" + h(98) + ":2|DEMO:2|" + h(99) + ":1|" + h(100) + ":1");
        EXPECT_EQ(stage.Log({"end"}), (Strings{"end IDD_CREDITS 2", "end IDD_MAINDLG 2"}));
    }
}

// A new league over an old one, with a fault at each step in turn: the
// removal, the gathering, the save and the launch. Whatever fails, nothing is
// written outside the temporary folder, every file there is whole, the league
// file is the new one or none, and the game starts (unless the temporary
// folder could not be told to be one, which refuses the league as any
// unusable one).
TEST(Flow, AFaultAtAnyStepOfANewLeagueLeavesNothingHalfDone) {
    int runs = 0;
    for (int n = 1;; ++n, ++runs) {
        Stage stage;
        Apply(stage, "old");
        Files root = Tree(stage.root.path);
        stage.os.failAt = n;
        stage.answers = {{"YesNo", "Yes"}, {"OkCancel", "Ok"}, {"RetryCancel", "Retry"}};
        int exit = stage.Run({"1001", "1003=Cup", "1002=3", "1008=2", "1", "1006=Ann", "1",
                              "1006=Bo", "1", "1006=Cy", "1"});
        if (!stage.os.faulted) {
            break;
        }
        std::string fault;
        for (const std::string& call : stage.os.log) {
            fault += call.find(" FAILED") == std::string::npos ? "" : call;
        }
        SCOPED_TRACE(fault);
        bool refused = fault.compare(0, 8, "isfolder") == 0;
        EXPECT_EQ(exit, refused ? 0 : 1);
        EXPECT_EQ(stage.Log({"shell"}), refused ? Strings{} : Strings{Game("league q0")});
        EXPECT_EQ(Tree(stage.root.path), root);
        for (const std::string& call :
             stage.Log({"write", "replace", "copy", "normal", "mkdir", "rmdir", "delete"})) {
            EXPECT_NE(call.find(" T/"), std::string::npos) << call;
        }
        // A creature whose data.dat could not be read has no name.
        auto nameless = [](std::string league) {
            for (std::size_t at; (at = league.find("Grunt")) != std::string::npos;) {
                league.erase(at, 5);
            }
            return league;
        };
        for (const auto& [path, bytes] : Tree(stage.temp.path)) {
            std::string name = path.substr(path.find('/') + 1);
            std::string whole = path == "vokleague.dat"
                                    ? nameless(LeagueFile(stage.temp.path, {"Ann", "Bo", "Cy"}, 2))
                                : path == "vok.exe"  ? "game"
                                : name == "data.dat" ? stage.data
                                : name == "skin.txt" ? "skin"
                                                     : "/";
            EXPECT_EQ(path == "vokleague.dat" ? nameless(bytes) : bytes, whole) << path;
        }
    }
    EXPECT_GT(runs, 60);
}

}  // namespace
}  // namespace vok::test
