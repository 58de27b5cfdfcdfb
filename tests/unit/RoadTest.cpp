// The road of a new league under what players really have: hostile data
// roots and temporary folders, and a fault at every step of the way.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "Fakes.h"
#include "league/CreateLeague.h"

namespace vok::test {
namespace {

// An old league of two players with two creatures each, its file and game.
void OldLeague(Stage& stage) {
    for (const char* folder : {"p0_vok0/", "p0_vok1/", "p1_vok0/", "p1_vok1/"}) {
        WriteFile(stage.temp / folder + "data.dat", "old");
        WriteFile(stage.temp / folder + "skin.txt", "old");
    }
    WriteFile(stage.temp / "vokleague.dat", "LeagueName = \"Old\"\r\nNrPlayers = 2\r\n");
    WriteFile(stage.temp / "vok.exe", "old game");
}

// Gives the stage a temporary folder of `length` characters, separator
// included, in parts short enough for any file system.
void LongTemp(Stage& stage, std::size_t length) {
    std::string& path = stage.os.tempDir;
    while (path.size() < length) {
        std::size_t rest = length - path.size();
        path +=
            std::string((rest <= 100 ? rest : std::min<std::size_t>(100, rest - 2)) - 1, 'd') + "/";
    }
    std::filesystem::create_directories(path);
}

// The longest temporary folder that holds a league of two players with one
// creature: a creature's file and the league file's side file must fit a path.
std::size_t Longest(Stage& stage) {
    return std::min<std::size_t>(495, stage.os.PathLimit() - 18);
}

Strings With(Strings list, std::size_t at, const std::string& entry) {
    list.insert(list.begin() + at, entry);
    return list;
}

TEST(Road, HostileDataRootsAndTemporaryFolders) {
    const std::string unusable = std::string("box Ok: ") + kTempDirUnusableText;
    const Strings practice = {"1001", "1003=Cup", "1008=1", "1", "1002"},
                  replace = With(kNewLeague, 1, "Yes");
    const Strings replaced = With(kPrompts, 0, "box YesNo: L69");
    auto data = [](const std::string& bytes) {
        return [=](Stage& s) { WriteFile(s.root / "data/ply/data.dat", bytes); };
    };
    std::string binary = "\x01\xff name ";
    for (char c = '\x80'; c != '\x9E'; ++c) {
        binary += c;
    }
    const struct {
        const char* name;
        std::function<void(Stage&)> setup;
        Strings script, boxes;
        std::string creature;  // its name in the league file; "-": no league
        std::function<void(Stage&)> check;
    } rows[] = {
        {"a folder named data.dat",
         [](Stage& s) {
             std::filesystem::remove(s.root / "data/ply/data.dat");
             std::filesystem::create_directory(s.root / "data/ply/data.dat");
         },
         {"1001", "1003=Cup", "1008=1", "1", "1006=Ann", "1", "Ok", "Retry", "Retry", "Cancel",
          "2"},
         {kPrompts[0], "box RetryCancel: L68", "box RetryCancel: L68", "box RetryCancel: L68"},
         "-",
         [](Stage& s) { EXPECT_EQ(Tree(s.temp.path), Files{}); }},
        {"an empty data.dat", data(""), kNewLeague, kPrompts, "", nullptr},
        {"a binary data.dat", data(binary + "\r\n" + std::string(5000, '\0')), kNewLeague, kPrompts,
         binary.substr(8, 24), nullptr},
        {"a quoted name", data("name = \"Big Bad, =Wolf\r\nof the North\"\r\n"), kNewLeague,
         kPrompts, "Big Bad, =Wolf  of the N", nullptr},
        {"read-only creature files and game",
         [](Stage& s) {
             MakeReadOnly(s.root / "data/ply/skin.txt");
             MakeReadOnly(s.root / "vok.exe");
         },
         kNewLeague, kPrompts, "Grunt",
         [](Stage& s) {
             EXPECT_FALSE(IsReadOnly(s.temp / "p1_vok0/skin.txt") ||
                          IsReadOnly(s.temp / "vok.exe"));
         }},
        {"a sub-folder in data/ply", [](Stage& s) { WriteFile(s.root / "data/ply/sub/x", "x"); },
         kNewLeague, kPrompts, "Grunt",
         [](Stage& s) { EXPECT_FALSE(Exists(s.temp / "p0_vok0/sub")); }},
        {"an old league with read-only files",
         [](Stage& s) {
             OldLeague(s);
             for (const char* file :
                  {"p0_vok0/data.dat", "p1_vok1/skin.txt", "vokleague.dat", "vok.exe"}) {
                 MakeReadOnly(s.temp / file);
             }
         },
         replace, replaced, "Grunt",
         [](Stage& s) { EXPECT_FALSE(Exists(s.temp / "p0_vok1") || Exists(s.temp / "p1_vok1")); }},
        {"an old league whose first folder stays",
         [](Stage& s) {
             OldLeague(s);
             WriteFile(s.temp / "p0_vok0/sub/x", "x");
         },
         replace, replaced, "Grunt",
         [](Stage& s) {
             EXPECT_EQ(ReadFile(s.temp / "p1_vok1/data.dat") + ReadFile(s.temp / "p0_vok0/sub/x"),
                       "oldx");
         }},
        {"a temporary folder beyond ASCII",
         [](Stage& s) {
             s.os.tempDir += "Spieler\xe4/";
             std::filesystem::create_directory(s.os.tempDir);
         },
         kNewLeague, kPrompts, "Grunt", nullptr},
        {"no temporary folder",
         [](Stage& s) { s.os.tempDir.clear(); },
         practice,
         {unusable},
         "-",
         [](Stage& s) { EXPECT_EQ(s.os.Log({"copy"}), Strings{}); }},
        {"a temporary folder too long",
         [](Stage& s) { LongTemp(s, Longest(s) + 1); },
         practice,
         {unusable},
         "-",
         [](Stage& s) { EXPECT_EQ(s.os.Log({"copy"}).size(), 1u); }},
        {"the longest temporary folder", [](Stage& s) { LongTemp(s, Longest(s)); }, kNewLeague,
         kPrompts, "Grunt", nullptr},
    };
    for (const auto& row : rows) {
        Stage stage;
        row.setup(stage);
        EXPECT_EQ(stage.Run(row.script), row.script.back() == "2" ? 0 : 1) << row.name;
        EXPECT_EQ(stage.Log({"box"}), row.boxes) << row.name;
        const std::string& temp = stage.os.tempDir;
        if (row.creature != "-") {
            EXPECT_EQ(ReadFile(temp + "vokleague.dat"),
                      LeagueFile(temp, {"Ann", "Bo"}, 1, row.creature))
                << row.name;
            EXPECT_EQ(ReadFile(temp + "p1_vok0/skin.txt") + ReadFile(temp + "vok.exe"), "skingame")
                << row.name;
        }
        if (row.check) {
            row.check(stage);
        }
    }
}

// A new league over an old one, with a fault at each step in turn: the
// removal, the gathering, the save and the launch. Whatever fails, the game
// starts, nothing is written outside the temporary folder, every file there is
// whole, and the league file is the new one or none.
TEST(Road, AFaultAtAnyStepLeavesNothingHalfDone) {
    int runs = 0;
    for (int n = 1;; ++n, ++runs) {
        Stage stage;
        OldLeague(stage);
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
        // A temporary folder that cannot be told to be one is refused, as
        // any unusable one: nothing is gathered and nothing started.
        bool refused = fault.compare(0, 8, "isfolder") == 0;
        EXPECT_EQ(exit, refused ? 0 : 1);
        EXPECT_EQ(stage.Log({"shell"}),
                  refused ? Strings{} : Strings{"shell open|T/vok.exe|league q0|"})
            << fault;
        EXPECT_EQ(Tree(stage.root.path), root) << fault;
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
        std::string expected = nameless(LeagueFile(stage.temp.path, {"Ann", "Bo", "Cy"}, 2));
        for (const auto& [path, bytes] : Tree(stage.temp.path)) {
            std::string name = path.substr(path.find('/') + 1);
            std::string whole = path == "vokleague.dat" ? expected
                                : path == "vok.exe"     ? "game"
                                : name == "data.dat"    ? stage.data
                                : name == "skin.txt"    ? "skin"
                                                        : "/";
            EXPECT_EQ(path == "vokleague.dat" ? nameless(bytes) : bytes, whole)
                << path << " after " << fault;
        }
    }
    EXPECT_GT(runs, 60);
}

}  // namespace
}  // namespace vok::test
