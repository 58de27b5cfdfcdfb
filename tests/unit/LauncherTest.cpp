// The launcher's flows as a player meets them: start-up, the main menu, the
// game launch, the create-league dialog with its input boxes and the credits,
// run through their real logic by a scripted player.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "Fakes.h"
#include "dialogs/Credits.h"
#include "dialogs/InputBox.h"
#include "i18n/LanguageTable.h"
#include "kvfile/KeyValueFile.h"
#include "league/CreateLeague.h"

namespace vok::test {
namespace {

const std::string kDx = "shell open|DirectX8/DXSETUP.EXE||";

std::string Game(const std::string& parameters) {
    return "shell open|T/vok.exe|" + parameters + "|";
}

TEST(Launcher, StartsUpAndRunsTheMenusCommands) {
    const struct {
        Strings windows;
        std::uint32_t probe;
        unsigned short control, shift;
        bool league;
        Strings script, log;
    } rows[] = {
        // A running game or launcher is signalled and nothing else happens.
        {{"VOK |Vok", "#32770|Vok "}, 0, 0, 0, false, {}, {"post 1 1056", "front 1"}},
        {{"Other|x", "#32770|Vok "}, 0, 0, 0, false, {}, {"post 2 1056", "front 2"}},
        {{"VOK|x", "#32770|Vok"}, kDirectDraw7, 0, 0, false, {"2"}, {}},
        // Without DirectDraw 7 only a clear Yes goes on, to the setup.
        {{}, 0x6FF, 0, 0, false, {"Yes", "2"}, {"box YesNo: L55", kDx}},
        {{}, 0, 0, 0, false, {"No"}, {"box YesNo: L55", "exit 1"}},
        {{}, 0, 0, 0, false, {}, {"box YesNo: L55", "exit 1"}},
        {{},
         kDirectDraw7,
         0,
         0,
         false,
         {"4", "6", "7", "8", "9", "2"},
         {kDx, "shell (default)|L53||", "shell (default)|L54||",
          "shell open|demo/Zantovid.exe|demo/vok.avi|", "unhandled 9"}},
        // The level: Control adds 2, Shift 1, read from the high bit.
        {{}, kDirectDraw7, 0, 0, false, {"1002"}, {Game("practice q0"), "exit 1"}},
        {{}, kDirectDraw7, 0x8000, 0x8001, false, {"1002"}, {Game("practice q3"), "exit 1"}},
        {{}, kDirectDraw7, 0x8000, 1, false, {"1000"}, {Game("singlematch q2"), "exit 1"}},
        {{}, kDirectDraw7, 0, 0x8000, true, {"3"}, {Game("league q1"), "exit 1"}},
        {{}, kDirectDraw7, 0, 0, false, {"3", "Ok", "2"}, {"box Ok: L70"}},
        // Only a clear Yes replaces a league; a cancelled dialog then leaves none.
        {{}, kDirectDraw7, 0, 0, true, {"1001", "No", "2"}, {"box YesNo: L69"}},
        {{}, kDirectDraw7, 0, 0, true, {"1001", "2"}, {"box YesNo: L69"}},
        {{},
         kDirectDraw7,
         0,
         0,
         true,
         {"1001", "Yes", "2", "2"},
         {"box YesNo: L69", "end IDD_CREATELEAGUE 2"}},
        {{},
         kDirectDraw7,
         0x8000,
         0,
         false,
         kNewLeague,
         {kPrompts[0], kPrompts[1], "end IDD_CREATELEAGUE 1", Game("league q2"), "exit 1"}},
    };
    for (const auto& row : rows) {
        Stage stage;
        stage.os.windows = row.windows;
        stage.os.probe = row.probe;
        stage.os.control = row.control;
        stage.os.shift = row.shift;
        if (row.league) {
            WriteFile(stage.temp / "vokleague.dat", "old");
            WriteFile(stage.temp / "p0_vok0/data.dat", "old");
        }
        int exit = stage.Run(row.script);
        EXPECT_EQ(stage.Log(), row.log) << row.script.size();
        std::string last = row.log.empty() ? "" : row.log.back();
        EXPECT_EQ(exit, last.compare(0, 5, "front") == 0 ? -1 : last == "exit 1" ? 1 : 0);
        if (exit == 1 && row.probe) {
            EXPECT_EQ(ReadFile(stage.temp / "vok.exe"), "game");
        }
        if (row.league && exit == 0) {
            bool kept = Exists(stage.temp / "vokleague.dat");
            EXPECT_EQ(stage.last["IDD_MAINDLG"][-3], kept ? "+" : "-");
            EXPECT_EQ(Tree(stage.temp.path).size(), kept ? 3u : 0u);
        }
    }
}

// Launchers started at once: the one that loses the claim waits for the
// winner's menu and hands over to it, or leaves after a bounded wait.
TEST(Launcher, ALauncherThatLosesTheClaimHandsOverToTheWinner) {
    for (bool appears : {true, false}) {
        Stage stage;
        stage.os.claim = false;
        stage.os.later = {"x|y", "x|y", appears ? "#32770|Vok " : "x|y"};
        EXPECT_EQ(stage.Run({"2"}), -1);
        Strings handedOver = {"post 3 1056", "front 3"};
        EXPECT_EQ(stage.Log({"post", "front", "open"}), appears ? handedOver : Strings{});
        EXPECT_EQ(stage.Log({"pause"}).size(), appears ? 3u : 100u);
    }
}

TEST(Launcher, OpensTheMenuTranslatedFromTheDataRoot) {
    for (bool league : {false, true}) {
        Stage stage;
        if (league) {
            WriteFile(stage.temp / "vokleague.dat", "");  // even an empty one
        }
        EXPECT_EQ(stage.Run({"2"}), 0);
        auto menu = stage.last["IDD_MAINDLG"];
        std::string texts;
        for (int id : {1002, 1000, 1001, 3, 5, 4, 6, 7, 2, -1002, -1000, -1001, -3}) {
            texts += menu[id] + " ";
        }
        EXPECT_EQ(texts, std::string("L44 L45 L46 L47 L48 L49 L50 L51 L52 + + + ") +
                             (league ? "+ " : "- "));
        EXPECT_EQ(menu.count(8), 0u);  // Demo keeps its own text
        EXPECT_EQ(stage.Log({"cd"}), Strings{"cd R/"});
    }
    Stage stage;
    stage.broken = {"IDD_MAINDLG"};
    EXPECT_EQ(stage.Run({}), 3);  // not the player's Cancel
    EXPECT_EQ(stage.Log({"debug"}), Strings{"debug Couldn't create the main menu\r\n"});
}

TEST(Launcher, CreateLeagueCorrectsSettingsBeforeAskingAnything) {
    const struct {
        Strings typed;
        std::string boxes;  // after OK; none when the gathering begins
        Strings lines;      // of the league file
    } cases[] = {
        {{"1002=1", "1008=9"}, "Vok 2 2 5 10", {}},
        {{"1006=0", "1010=0", "1002=20"}, "Vok 12 1 3 1", {}},
        {{"1003="}, "- 2 2 3 10", {}},
        {{"1003=\"Big\""}, "Big 2 2 3 10", {}},
        {{"1003=abcdefghijklmnopqrstuv"}, "abcdefghijklmnopqrstu 2 2 3 10", {}},
        {{"1002=99999999999", "1008=-99999999999"}, "Vok 12 2 1 10", {}},
        {{"1006=  +7x", "1010=-3"}, "", {"\nLeagueRounds = 7\r", "\nLivesPerVok = 1\r"}},
        {{"1003=abcdefghijklmnopqrstu"}, "", {"\nLeagueName = \"abcdefghijklmnopqrstu\"\r"}},
    };
    for (const auto& c : cases) {
        Stage stage;
        Strings script = {"1001"};
        script.insert(script.end(), c.typed.begin(), c.typed.end());
        script.push_back("1");
        stage.Run(script);
        auto dialog = stage.last["IDD_CREATELEAGUE"];
        std::string texts, boxes;
        for (int id : {0, 1004, 1005, 1007, 1009, 1011, 1, 2}) {
            texts += dialog[id];
        }
        EXPECT_EQ(texts, "L56L57L58L59L60L61L62L63");
        for (int id : {1003, 1002, 1006, 1008, 1010}) {
            boxes += (boxes.empty() ? "" : " ") + dialog[id];
        }
        bool gathered = stage.last.count("IDD_INPUTBOX");
        EXPECT_EQ(gathered ? "" : boxes, c.boxes) << c.typed[0];
        for (const std::string& line : c.lines) {
            EXPECT_NE(ReadFile(stage.temp / "vokleague.dat").find(line), std::string::npos) << line;
        }
    }
    EXPECT_EQ(TextToInt32(" \t-2147483648"), -2147483647 - 1);
}

TEST(Launcher, CreateLeagueGathersNamesAndCreatures) {
    Stage stage;
    stage.Run({"1001", "1", "1006=Ann \"A\"", "1", "Ok", "Ok", "Ok", "1006=abcdefghijklmnopqrst",
               "1", "Ok", "Ok", "Ok"});
    auto box = stage.last["IDD_INPUTBOX"];
    EXPECT_EQ(box[0] + "|" + box[1007] + "|" + box[1] + "|" + box[-2006], "|L64 2|L66|13");
    EXPECT_EQ(box[1006], "abcdefghijklm");  // cut as the edit reports its change
    std::string seen;
    for (const std::string& entry : stage.Log({"box"})) {
        seen += entry.substr(entry.size() - 5);
    }
    EXPECT_EQ(seen, "(1/3)(2/3)(3/3)(1/3)(2/3)(3/3)");
    std::string league = ReadFile(stage.temp / "vokleague.dat");
    for (const char* line : {"\nply[0].name = \"Ann A\"\r", "\nply[1].name = \"abcdefghijklm\"\r",
                             "\nLeagueName = \"Vok\"\r"}) {
        EXPECT_NE(league.find(line), std::string::npos) << line;
    }
    // Cancel at the second creature of the second player removes what was made.
    Stage cancelled;
    EXPECT_EQ(
        cancelled.Run({"1001", "1", "1006=", "1", "Ok", "Ok", "Ok", "1", "Ok", "Cancel", "2"}), 0);
    EXPECT_EQ(cancelled.Log({"end"}), (Strings{"end IDD_INPUTBOX 2", "end IDD_INPUTBOX 2",
                                               "end IDD_CREATELEAGUE 2", "end IDD_MAINDLG 2"}));
    EXPECT_EQ(Tree(cancelled.temp.path), Files{});
    EXPECT_EQ(cancelled.last["IDD_INPUTBOX"][1006], "L652");
    // Texts too long for the box's buffers are cut, never run past them.
    Stage direct;
    direct.script = {"2", "1"};
    std::string longText(600, 'x');
    InputBox(direct.Desktop(), longText.c_str(), "p", "d", longText.c_str(), 13);
    auto cut = direct.last["IDD_INPUTBOX"];
    EXPECT_EQ(cut[0].size() + cut[1].size(), 1022u);
    EXPECT_EQ(cut[-2006], "13");
    EXPECT_EQ(direct.Log({"unhandled"}), Strings{"unhandled 2"});  // Escape does nothing
}

// The game reads the league file by the key-value rules, where any token may
// be taken for a key: no name the player types or a creature brings may be one.
TEST(Launcher, NoStoredNameReadsAsAKey) {
    Stage stage;
    WriteFile(stage.root / "data/ply/data.dat", "name = \"ply[0].points NrPlayers\"\r\n");
    EXPECT_EQ(stage.Run({"1001", "1003=NrPlayers", "1008=1", "1", "1", "1006=ply[1].points", "1",
                         "1", "Ok", "1006=LeagueName", "1", "1006=Bo", "1", "Ok"}),
              1);
    EXPECT_EQ(stage.Log({"open"}).size(), 6u);  // the name prompt twice for each player
    std::string path = stage.temp / "vokleague.dat", file = ReadFile(path);
    for (const char* line :
         {"\nLeagueName = \"NrPlayer-\"\r", "\nply[0].name = \"ply[1].point-\"\r",
          "\nply[1].name = \"Bo\"\r", "\nply[0].vok[0].name = ply[0].point- NrPlayer-\r"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line;
    }
    // Every key, looked for in the order of writing and in reverse, gives its own value.
    KeyValueFile tokens(path.c_str());
    std::vector<std::pair<std::string, std::string>> keys;
    for (int i = 0; i + 1 < tokens.TokenCount(); ++i) {
        int start = tokens.TokenStart(i);
        if (start == 0 || file[start - 1] == '\n') {
            keys.emplace_back(tokens.Token(i), tokens.Token(i + 1));
        }
    }
    EXPECT_EQ(keys.size(), 30u);
    for (int pass = 0; pass < 2; ++pass) {
        KeyValueFile game(path.c_str());
        for (const auto& [key, value] : keys) {
            EXPECT_EQ(game.GetValue(key.c_str(), "?"), value) << key;
        }
        std::reverse(keys.begin(), keys.end());
    }
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

TEST(Launcher, ShowsTheCreditsUntilOkOrEscape) {
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
    // The longest headings a language file can hold are composed whole.
    TestOs os;
    TempFolder root;
    std::string file;
    for (int i = 0; i < 102; ++i) {
        file += std::string(499, 'x') + "\n";
    }
    WriteFile(root / "language/english.txt", file);
    LanguageTable headings;
    headings.Load(root.path.c_str(), 0);
    char column[kCreditsBufferSize];
    for (int i = 0; i < kCreditsColumns; ++i) {
        int length = ComposeCreditsColumn(i, headings, column);
        EXPECT_EQ(length, int(std::strlen(column)));
        EXPECT_EQ(Sections(column).find(std::string(499, 'x') + ":"), 0u);
    }
}

}  // namespace
}  // namespace vok::test
