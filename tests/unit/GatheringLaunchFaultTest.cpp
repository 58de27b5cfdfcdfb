// The whole road of a new league, made to fail at every file operation in
// turn: New League pressed over an older league, the old league removed,
// three players with two creatures each gathered, the league saved and the
// game launched. The faults are the Nth operation of any kind (FailAfter),
// each single call of each kind (FailCall), and every call of one kind from
// the first on.
//
// After every fault the flow goes on as the player expects it to (copy
// failures are silent, the game is started and the launcher ends with 1),
// the league file is absent, or whole and byte for byte what was gathered,
// and nothing is written outside the temporary directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "LauncherTestSupport.h"
#include "LeagueFixture.h"
#include "ScriptedPlayer.h"
#include "TestOs.h"
#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

using Op = TestOs::Op;
using Listing = std::map<std::string, std::string>;

const Op kFileOps[] = {Op::CanOpen,      Op::Read,      Op::Write,      Op::Replace,
                       Op::Copy,         Op::List,      Op::MakeFolder, Op::SetNormal,
                       Op::RemoveFolder, Op::RemoveFile};

bool Writes(Op op) {
    return op == Op::Write || op == Op::Replace || op == Op::Copy || op == Op::SetNormal ||
           op == Op::MakeFolder || op == Op::RemoveFolder || op == Op::RemoveFile;
}

using Call = TestOs::PathCall;

// What one run of the flow left behind.
struct Outcome {
    std::vector<Call> calls;
    bool faultFired = false;
    std::vector<std::string> questions;  // Yes/No
    std::vector<std::string> prompts;    // OK/Cancel
    std::vector<std::string> retries;    // Retry/Cancel
    std::vector<TestOs::ShellCall> starts;
    std::vector<int> exits;
    int createResult = -1;
    bool loadLeagueEnabled = true;
    Listing temp;
    Listing root;
};

const char* const kSourceData = "name = Grunt\r\nspecies = \"Rock troll\"\r\n";
const char* const kSourceSkin = "skin";
const char* const kGame = "MZ the game";

// The temporary directory after a league whose every creature copied whole,
// before the league file and the game copy are added.
Listing GatheredFolders() {
    Listing tree;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j) {
            tree[CreatureFolder(i, j) + "/"] = "";
            tree[CreatureFolder(i, j) + "/data.dat"] = kSourceData;
            tree[CreatureFolder(i, j) + "/skin.txt"] = kSourceSkin;
        }
    }
    return tree;
}

// A data root with one creature and a temporary directory holding a league
// of two players with two creatures each, left by an earlier run.
class GatheringLaunchFaultTest : public ::testing::Test {
protected:
    GatheringLaunchFaultTest() {
        WriteLanguageFile(root_.Path(), "english.txt", 102, "en ");
        fs::create_directories(root_ / "data/ply");
        WriteFile(root_ / "data/ply/data.dat", kSourceData);
        WriteFile(root_ / "data/ply/skin.txt", kSourceSkin);
        WriteFile(root_ / "vok.exe", kGame);
        fs::current_path(root_.Path());
        rootBefore_ = Tree(root_.Path());
        {
            TestOs os;
            os.SetTempDir(temp_.Path());
            ScopedOs scope(os);
            MakeLeague(2, 2, temp_.Path(), 1).Save();
        }
        oldLeague_ = ReadFile(temp_ / "vokleague.dat");
    }

    ~GatheringLaunchFaultTest() override { ResetProcess(); }

    void StageOldLeague() {
        for (const auto& entry : fs::directory_iterator(temp_.Path())) {
            fs::remove_all(entry.path());
        }
        for (int i = 0; i < 2; ++i) {
            for (int j = 0; j < 2; ++j) {
                fs::create_directory(temp_ / CreatureFolder(i, j));
                // The source's file names with other bytes: a copy that fails
                // over one of them shows.
                WriteFile(temp_ / CreatureFolder(i, j) + "/data.dat", "name = Zork\r\n");
                WriteFile(temp_ / CreatureFolder(i, j) + "/skin.txt", "old skin");
            }
        }
        WriteFile(temp_ / "vokleague.dat", oldLeague_);
        WriteFile(temp_ / "vok.exe", "MZ an older game");

        ResetProcess();
        Process().language.Load("data/", 0);
        UseTempDir(temp_.Path());
        Process().leaguePresent = 1;
    }

    Outcome Run(const std::function<void(TestOs&)>& arm) {
        StageOldLeague();
        TestOs os;
        os.SetTempDir(temp_.Path());
        arm(os);
        ScriptedPlayer player(os);
        {
            ScopedOs scope(os);
            player.Press(IDC_MAIN_NEWLEAGUE);
        }
        Outcome outcome;
        outcome.calls = os.PathCalls();
        outcome.faultFired = os.Failed();
        outcome.questions = player.TextsOf(Buttons::YesNo);
        outcome.prompts = player.TextsOf(Buttons::OkCancel);
        outcome.retries = player.TextsOf(Buttons::RetryCancel);
        outcome.starts = os.ShellCalls();
        outcome.exits = os.Exits();
        outcome.createResult = player.CreateLeagueResult();
        outcome.loadLeagueEnabled = player.LoadLeagueEnabled();
        outcome.temp = Tree(temp_.Path());
        outcome.root = Tree(root_.Path());
        return outcome;
    }

    // What holds after any run: the data root unchanged, and every change the
    // flow made inside the temporary directory.
    void ExpectNothingOutside(const Outcome& outcome, const std::string& fault) {
        EXPECT_TRUE(outcome.root == rootBefore_) << fault << ": the data root changed";
        for (const Call& call : outcome.calls) {
            if (Writes(call.op)) {
                EXPECT_EQ(call.path.rfind(temp_.Path(), 0), 0u)
                    << fault << ": " << OpName(call.op) << " on " << call.path;
            }
        }
    }

    TempFolder root_;
    TempFolder temp_;
    CurrentFolderGuard folderGuard_;
    Listing rootBefore_;
    std::string oldLeague_;
};

// The fault-free run: the reference every faulted run is held to.
struct Reference {
    std::string league;
    std::map<Op, int> calls;
};

// Checks a run in which one call failed, against the fault-free reference.
void ExpectOneFaultAbsorbed(const Outcome& outcome, const Reference& reference,
                            const std::string& tempDir, const std::string& fault) {
    // Where the fault fell. Each creature makes its folder once, after its
    // presence test and before its listing, copies and name read.
    int faulted = -1;
    int creature = -1;
    int folders = 0;
    int lastFolder = -1;
    for (std::size_t k = 0; k < outcome.calls.size(); ++k) {
        const Call& call = outcome.calls[k];
        if (call.op == Op::MakeFolder) {
            ++folders;
            lastFolder = static_cast<int>(k);
        }
        if (call.faulted) {
            faulted = static_cast<int>(k);
            creature = call.op == Op::CanOpen ? folders : folders - 1;
        }
    }
    ASSERT_GE(faulted, 0) << fault << ": no call faulted";
    const Call& call = outcome.calls[faulted];
    const bool onSource = call.path.rfind("data/ply", 0) == 0;
    const bool inGathering = onSource || call.op == Op::MakeFolder ||
                             ((call.op == Op::Copy || call.op == Op::SetNormal) &&
                              call.path.find("_vok") != std::string::npos);
    const bool onSave =
        faulted > lastFolder && call.path.find("vokleague.dat") != std::string::npos;
    const bool onGameCopy = call.op == Op::Copy && call.path == tempDir + "vok.exe";
    const std::string where = fault + " (" + OpName(call.op) + " " + call.path + ")";

    // The player's side: asked once to replace, six creature prompts, a
    // missing creature only when its presence test failed, and the game.
    EXPECT_EQ(outcome.questions, std::vector<std::string>{"en 69"}) << where;
    std::vector<std::string> prompts;
    for (int i = 0; i < 3; ++i) {
        prompts.insert(prompts.end(), {"en 67 (1/2)", "en 67 (2/2)"});
    }
    EXPECT_EQ(outcome.prompts, prompts) << where;
    const bool presenceFailed = call.op == Op::CanOpen && onSource;
    EXPECT_EQ(outcome.retries,
              presenceFailed ? std::vector<std::string>{"en 68"} : std::vector<std::string>{})
        << where;
    EXPECT_EQ(outcome.createResult, 1) << where;
    ASSERT_EQ(outcome.starts.size(), 1u) << where;
    EXPECT_EQ(outcome.starts[0].file, tempDir + "vok.exe") << where;
    EXPECT_EQ(outcome.starts[0].parameters, "league q0") << where;
    EXPECT_EQ(outcome.exits, std::vector<int>{kExitHandedOver}) << where;

    // The disk's side. A failed name read leaves that creature unnamed, as a
    // data.dat without a name would; nothing else in the league may differ.
    Listing actual = outcome.temp;
    Listing expected = GatheredFolders();
    std::string league = reference.league;
    if (call.op == Op::Read && onSource) {
        const std::string line = "ply[" + std::to_string(creature / 2) + "].vok[" +
                                 std::to_string(creature % 2) + "].name = Grunt\r\n";
        std::size_t at = league.find(line);
        ASSERT_NE(at, std::string::npos) << where;
        league.replace(at, line.size(), line.substr(0, line.size() - 7) + "\r\n");
    }
    auto present = actual.find("vokleague.dat");
    if (present == actual.end()) {
        EXPECT_TRUE(onSave) << where << ": the league file is missing";
    } else {
        EXPECT_TRUE(present->second == league)
            << where << ": the league file is not the league gathered, " << present->second.size()
            << " bytes";
        actual.erase(present);
    }
    auto game = actual.find("vok.exe");
    if (game == actual.end()) {
        EXPECT_TRUE(onGameCopy) << where << ": the game copy is missing";
    } else {
        EXPECT_EQ(game->second, kGame) << where;
        actual.erase(game);
    }
    if (inGathering) {
        // That one creature may lack what its failed call would have made,
        // but what it holds is the source's.
        const std::string folder = CreatureFolder(creature / 2, creature % 2) + "/";
        for (auto it = actual.begin(); it != actual.end();) {
            if (it->first.rfind(folder, 0) == 0) {
                EXPECT_EQ(it->second, expected[it->first]) << where << ": " << it->first;
                expected.erase(it->first);
                it = actual.erase(it);
            } else {
                ++it;
            }
        }
        for (auto it = expected.begin(); it != expected.end();) {
            it = it->first.rfind(folder, 0) == 0 ? expected.erase(it) : std::next(it);
        }
    }
    EXPECT_TRUE(actual == expected) << where << ": the creature folders differ, or something "
                                    << "was left beside them (" << actual.size() << " entries)";
}

TEST_F(GatheringLaunchFaultTest, EveryFailedOperationIsAbsorbedAndTheLeagueIsWholeOrAbsent) {
    Reference reference;
    {
        Outcome clean = Run([](TestOs&) {});
        ASSERT_FALSE(clean.faultFired);
        ExpectNothingOutside(clean, "no fault");
        Listing expected = GatheredFolders();
        ASSERT_TRUE(clean.temp.count("vokleague.dat"));
        reference.league = clean.temp["vokleague.dat"];
        expected["vokleague.dat"] = reference.league;
        expected["vok.exe"] = kGame;
        ASSERT_TRUE(clean.temp == expected);
        ASSERT_EQ(std::count(reference.league.begin(), reference.league.end(), '\n'),
                  6 + 3 * (4 + 8 * 2));
        ASSERT_EQ(clean.exits, std::vector<int>{kExitHandedOver});
        for (const Call& call : clean.calls) {
            ++reference.calls[call.op];
        }
    }

    int runs = 0;
    for (int n = 1;; ++n) {
        const std::string fault = "FailAfter(" + std::to_string(n) + ")";
        Outcome outcome = Run([n](TestOs& os) { os.FailAfter(n); });
        if (!outcome.faultFired) {
            break;
        }
        ExpectNothingOutside(outcome, fault);
        ExpectOneFaultAbsorbed(outcome, reference, temp_.Path(), fault);
        ++runs;
    }
    for (Op op : kFileOps) {
        for (int n = 1; n <= reference.calls[op]; ++n) {
            const std::string fault =
                std::string("FailCall(") + OpName(op) + ", " + std::to_string(n) + ")";
            Outcome outcome = Run([op, n](TestOs& os) { os.FailCall(op, n); });
            ASSERT_TRUE(outcome.faultFired) << fault;
            ExpectNothingOutside(outcome, fault);
            ExpectOneFaultAbsorbed(outcome, reference, temp_.Path(), fault);
            ++runs;
        }
    }
    // Every kind the flow uses was failed at least once.
    for (Op op : kFileOps) {
        EXPECT_GT(reference.calls[op], 0) << OpName(op);
    }
    EXPECT_GT(runs, 100);
}

TEST_F(GatheringLaunchFaultTest, AKindOfOperationThatAlwaysFailsLeavesAWholeLeagueOrNone) {
    enum class Folders { Gathered, Empty, None, OldKept };
    enum class League { New, Absent, Old };
    const struct {
        Op op;
        Folders folders;
        League league;
        bool gameCopied;
        bool started;
    } cases[] = {
        // No creature file can be read: Retry, Retry, Cancel, and the league
        // that was replaced is gone with nothing in its place.
        {Op::CanOpen, Folders::None, League::Absent, false, false},
        // The league file cannot be read, written or moved into place.
        {Op::Read, Folders::Gathered, League::Absent, true, true},
        {Op::Write, Folders::Gathered, League::Absent, true, true},
        {Op::Replace, Folders::Gathered, League::Absent, true, true},
        // Nothing copies: empty creatures, and the start of a missing game.
        {Op::Copy, Folders::Empty, League::New, false, true},
        // No folder can be listed: the removal stops at the first creature,
        // whose old files then stay under the new league's names.
        {Op::List, Folders::OldKept, League::New, true, true},
        {Op::MakeFolder, Folders::None, League::New, true, true},
        {Op::SetNormal, Folders::Gathered, League::New, true, true},
        // The removal stops at the first creature; the gathering copies over
        // what stayed.
        {Op::RemoveFolder, Folders::Gathered, League::New, true, true},
        // Nothing can be deleted: the old league file stays whole, for the
        // new league must not be spliced into it.
        {Op::RemoveFile, Folders::Gathered, League::Old, true, true},
    };
    for (const auto& c : cases) {
        const std::string fault = std::string("every ") + OpName(c.op) + " fails";
        SCOPED_TRACE(fault);
        Outcome outcome = Run([&c](TestOs& os) { os.FailCall(c.op, 1, true); });

        ExpectNothingOutside(outcome, fault);
        Listing expected;
        switch (c.folders) {
            case Folders::Gathered:
                expected = GatheredFolders();
                break;
            case Folders::Empty:
                for (const auto& entry : GatheredFolders()) {
                    if (entry.first.back() == '/') {
                        expected.insert(entry);
                    }
                }
                break;
            case Folders::None:
                break;
            case Folders::OldKept:
                for (int i = 0; i < 3; ++i) {
                    for (int j = 0; j < 2; ++j) {
                        expected[CreatureFolder(i, j) + "/"] = "";
                        if (i < 2) {
                            expected[CreatureFolder(i, j) + "/data.dat"] = "name = Zork\r\n";
                            expected[CreatureFolder(i, j) + "/skin.txt"] = "old skin";
                        }
                    }
                }
                break;
        }
        if (c.league == League::Old) {
            expected["vokleague.dat"] = oldLeague_;
        }
        if (c.gameCopied) {
            expected["vok.exe"] = kGame;
        }
        Listing actual = outcome.temp;
        if (c.league == League::New) {
            ASSERT_TRUE(actual.count("vokleague.dat"));
            const std::string& league = actual["vokleague.dat"];
            EXPECT_EQ(std::count(league.begin(), league.end(), '\n'), 66);
            EXPECT_EQ(league.rfind("ply[2].vok[1].flawlesswins = 0\r\n", 0), 0u);
            EXPECT_NE(league.find("\r\nLeagueName = \"Cup\"\r\n"), std::string::npos);
            actual.erase("vokleague.dat");
        }
        EXPECT_TRUE(actual == expected) << actual.size() << " entries";

        if (c.started) {
            EXPECT_EQ(outcome.createResult, 1);
            ASSERT_EQ(outcome.starts.size(), 1u);
            EXPECT_EQ(outcome.starts[0].file, temp_.Path() + "vok.exe");
            EXPECT_EQ(outcome.starts[0].parameters, "league q0");
            EXPECT_EQ(outcome.exits, std::vector<int>{kExitHandedOver});
        } else {
            EXPECT_EQ(outcome.createResult, 2);
            EXPECT_EQ(outcome.retries, std::vector<std::string>(3, "en 68"));
            EXPECT_TRUE(outcome.starts.empty());
            EXPECT_TRUE(outcome.exits.empty());
            EXPECT_FALSE(outcome.loadLeagueEnabled);
        }
    }
}

}  // namespace
}  // namespace vok::test
