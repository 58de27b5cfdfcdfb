// The launcher as a player meets it: start-up, the main menu, the game launch,
// the create-league dialog with its input boxes and the credits, run through
// their real logic by a scripted player, on ordinary and hostile data roots
// and temporary folders, and with a fault at every step of a new league.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>

#include "Fakes.h"
#include "league/LeagueFiles.h"

namespace vok::test {
namespace {

// The scenarios of flows.txt, each a test of its own named after it, on a
// fresh stage.
std::vector<std::pair<std::string, std::string>> Flows() {
    std::ifstream file(VOK_TEST_DATA "flows.txt");
    return scenario::Scenarios(file);
}

class Flow : public testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(Flow, EndsAsThePlayerMustSeeIt) {
    EXPECT_EQ(Stage().Play(GetParam().second), "");
}

INSTANTIATE_TEST_SUITE_P(Flows, Flow, testing::ValuesIn(Flows()), [](const auto& flow) {
    std::string name = flow.param.first;
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
});

// A new league over an old one, with a fault at each step in turn: the
// removal, the gathering, the save and the game's start. Whatever fails,
// nothing is written outside the temporary folder, and either the league is
// whole and the game started, or no league file and no creature folder is
// left, the player was told once why, and the menu is open.
TEST(NewLeague, AFaultAtAnyStepLeavesNothingHalfDone) {
    int runs = 0;
    for (bool faulted = true; faulted; ++runs) {
        Stage stage;
        stage.os.failAt = runs + 1;
        stage.firstButtons = true;  // Yes, OK, Retry
        EXPECT_EQ(stage.Play("old"), "");
        const Files root = Tree(stage.root.path);
        stage.Play(
            "start; click New League; type league name Cup; type players 3; type creatures 2; "
            "click OK; type name Ann; click OK; type name Bo; click OK; type name Cy; click OK");
        const std::string changes = " write flush replace copy normal mkdir rmdir delete ";
        std::string fault;
        for (const std::string& call : stage.os.log) {
            const bool change =
                changes.find(" " + call.substr(0, call.find(' ')) + " ") != std::string::npos;
            EXPECT_TRUE(!change || call.find(" " + stage.temp.path) != std::string::npos) << call;
            fault += call.find(" FAILED") == std::string::npos ? "" : call;
        }
        SCOPED_TRACE(fault);
        const auto& events = stage.os.events;
        const bool started = stage.code == 1;
        const std::string game = "started " + stage.temp.path + kGameFileName + " league q0";
        EXPECT_EQ(std::count(events.begin(), events.end(), game), started);
        EXPECT_EQ(std::count(stage.boxes.begin(), stage.boxes.end(), Buttons::Ok), !started);
        EXPECT_TRUE(started || (stage.code == 0 && stage.os.exits.empty()));
        EXPECT_EQ(Tree(stage.root.path), root);
        // A creature whose data.dat could not be read has the empty name, quoted.
        auto nameless = [](const std::string& league) {
            return std::regex_replace(league, std::regex("Grunt"), "\"\"");
        };
        for (const auto& [path, bytes] : Tree(stage.temp.path)) {
            std::string name = path.substr(path.find('/') + 1);
            std::string whole =
                path == kLeagueFileName
                    ? nameless(std::regex_replace(ReadFile(VOK_TEST_DATA "cup-3x2.dat"),
                                                  std::regex("%T"), stage.temp.path))
                : path == kGameFileName ? "game"
                : name == "data.dat"    ? stage.data
                : name == "skin.txt"    ? "skin"
                                        : "";
            EXPECT_TRUE(started || path == kGameFileName) << path;
            EXPECT_EQ(path == kLeagueFileName ? nameless(bytes) : bytes, whole) << path;
        }
        faulted = stage.os.faulted;
    }
    EXPECT_GT(runs, 60);
}

}  // namespace
}  // namespace vok::test
