// Every file operation of saving and removing a full league made to fail in
// turn: the Nth operation of any kind (FailAfter), each call of each kind
// (FailCall) and every call on one path (FailPath). After each failure the
// league is whole or absent, never a mixture; nothing half-written is left
// beside it; the removal still walks as far as its rules allow and clears the
// league-present flag.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "LauncherTestSupport.h"
#include "LeagueFixture.h"
#include "TestOs.h"
#include "common/ProcessState.h"
#include "league/LeagueRemoval.h"
#include "league/VokLeagueData.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

using Op = TestOs::Op;

// The operations a file flow can fail in. TempPath and the presence test are
// asked too, but fail as a whole flow does not need walking.
const Op kFileOps[] = {Op::Read,       Op::Write,        Op::Replace,   Op::List,
                       Op::MakeFolder, Op::RemoveFolder, Op::RemoveFile};

// Runs `flow` from `setUp` under FailAfter(n) for n = 1, 2, ... until a run
// completes without a fault firing, then under FailCall for the first and the
// last call of every kind the flow used (FailAfter has failed every call in
// order but the very first), and hands each outcome in which a fault fired to
// `check`. Returns the number of such runs.
int RunEveryFault(const std::function<void()>& setUp, const std::function<void()>& flow,
                  const std::function<void(const std::string&)>& check, const TempFolder& temp) {
    setUp();
    TestOs faultFree;
    faultFree.SetTempDir(temp.Path());
    {
        vok::ScopedOs scoped(faultFree);
        flow();
    }

    int fired = 0;
    auto runWith = [&](const std::string& fault, const std::function<void(TestOs&)>& arm) {
        setUp();
        TestOs os;
        os.SetTempDir(temp.Path());
        arm(os);
        {
            vok::ScopedOs scoped(os);
            flow();
        }
        if (os.Failed()) {
            ++fired;
            check(fault);
        }
        return os.Failed();
    };
    // A flow that never gets through without a fault firing would loop for
    // ever; none of these makes more than a few hundred calls.
    const int kMaxCalls = 100000;
    int n = 1;
    for (; n < kMaxCalls; ++n) {
        if (!runWith("FailAfter(" + std::to_string(n) + ")",
                     [n](TestOs& os) { os.FailAfter(n); })) {
            break;
        }
    }
    EXPECT_LT(n, kMaxCalls) << "the flow never completed without a fault";
    for (Op op : kFileOps) {
        const int calls = faultFree.Calls(op);
        for (int nth : std::set<int>{1, calls}) {
            if (nth >= 1 && nth <= calls) {
                runWith(std::string("FailCall(") + OpName(op) + ", " + std::to_string(nth) + ")",
                        [op, nth](TestOs& os) { os.FailCall(op, nth); });
            }
        }
    }
    return fired;
}

class SaveFaultTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = temp_ / "vokleague.dat";
        newLeague_ = vok::test::MakeLeague(12, 5, temp_.Path());
        // An older league of two players: its keys are replaced in place and
        // the rest are added on top, so a fault can fall in either kind of write.
        {
            TestOs os;
            os.SetTempDir(temp_.Path());
            vok::ScopedOs scoped(os);
            vok::test::MakeLeague(2, 3, temp_.Path(), 1).Save();
        }
        oldBytes_ = ReadFile(path_);
        std::remove(path_.c_str());
    }

    // The league file after a fault: `allowed` names the whole files it may be.
    void ExpectWholeOrAbsent(const std::string& fault, bool oldAllowed, bool absentAllowed) {
        bool exists = Exists(path_);
        std::string bytes = ReadFile(path_);
        bool whole = exists && (bytes == newBytes_ || (oldAllowed && bytes == oldBytes_));
        EXPECT_TRUE(whole || (!exists && absentAllowed))
            << fault << ": league file is " << (exists ? "a mixture" : "missing") << ", "
            << bytes.size() << " bytes";
        EXPECT_FALSE(Exists(path_ + ".new")) << fault << ": side file left";
        ++checked_;
    }

    TempFolder temp_;
    std::string path_;
    VokLeagueData newLeague_;
    std::string oldBytes_;
    std::string newBytes_;
    int checked_ = 0;
};

TEST_F(SaveFaultTest, ALeagueIsWrittenWholeOrTheOlderOneKept) {
    for (bool hadOld : {false, true}) {
        SCOPED_TRACE(hadOld ? "over an older league" : "no league before");
        auto setUp = [&] {
            if (hadOld) {
                WriteFile(path_, oldBytes_);
            } else {
                std::remove(path_.c_str());
            }
        };
        auto flow = [&] { newLeague_.Save(); };
        setUp();
        {
            TestOs os;
            os.SetTempDir(temp_.Path());
            vok::ScopedOs scoped(os);
            flow();
        }
        newBytes_ = ReadFile(path_);
        ASSERT_EQ(std::count(newBytes_.begin(), newBytes_.end(), '\n'), 534);
        checked_ = 0;
        int fired = RunEveryFault(
            setUp, flow,
            [&](const std::string& fault) { ExpectWholeOrAbsent(fault, hadOld, !hadOld); }, temp_);
        // Save reads twice, writes and replaces once: every one of them was failed.
        EXPECT_GE(fired, 4);
        EXPECT_EQ(fired, checked_);
    }
}

TEST_F(SaveFaultTest, PersistentFaultsOnTheLeaguePathKeepTheOldLeague) {
    const Op ops[] = {Op::Read, Op::Write, Op::Replace};
    newBytes_ = "(not expected)";
    for (Op op : ops) {
        WriteFile(path_, oldBytes_);
        TestOs os;
        os.SetTempDir(temp_.Path());
        os.FailPath(op, "vokleague.dat");
        {
            vok::ScopedOs scoped(os);
            newLeague_.Save();
        }
        ExpectWholeOrAbsent(std::string("FailPath(") + OpName(op) + ")", true, false);
        EXPECT_EQ(ReadFile(path_), oldBytes_) << OpName(op);
    }
    {
        // No temporary directory: nothing is written anywhere.
        TestOs os;
        os.SetTempDir(temp_.Path());
        os.FailCall(Op::TempPath, 1);
        std::remove(path_.c_str());
        vok::ScopedOs scoped(os);
        newLeague_.Save();
        EXPECT_FALSE(Exists(path_));
        EXPECT_EQ(os.Calls(Op::Write), 0);
    }
}

// A full league in the temporary directory: 60 creature folders of two files
// each, the league file and the game copy.
class RemovalFaultTest : public testing::Test {
protected:
    void SetUp() override {
        vok::ResetProcess();
        vok::test::UseTempDir(temp_.Path());
    }

    void TearDown() override { vok::ResetProcess(); }

    // Puts back whatever of the league is missing: hundreds of runs each
    // remove part of it, and rewriting all of it every time is most of the
    // test's cost.
    void MakeFullLeague() {
        auto put = [](const std::string& path, const char* contents) {
            if (!Exists(path)) {
                WriteFile(path, contents);
            }
        };
        for (int i = 0; i < 12; ++i) {
            for (int j = 0; j < 5; ++j) {
                std::string folder = temp_ / CreatureFolder(i, j);
                fs::create_directories(folder);
                put(folder + "/data.dat", "name = Grunt\r\n");
                put(folder + "/model.bin", "model");
            }
        }
        put(temp_ / "vokleague.dat", "matches_played = 0\r\n");
        put(temp_ / "vok.exe", "MZ");
        vok::Process().leaguePresent = 1;
    }

    int FilesIn(int player, int vok) const {
        std::error_code error;
        int files = 0;
        for (auto it = fs::directory_iterator(temp_ / CreatureFolder(player, vok), error);
             !error && it != fs::directory_iterator(); ++it) {
            ++files;
        }
        return files;
    }

    // What the walk leaves after one failed operation. The first creature
    // folder still there, in walk order, is where the fault fell: if it is a
    // player's first, the walk stopped and every later folder is whole; if
    // not, that player's later creatures are whole and every later player is
    // gone. Without a folder left, the fault fell on the league file or the
    // game copy, and only that one is left. Everything left is whole, except
    // the folder where the fault fell, which may have lost files.
    void ExpectWhatTheWalkAllows(const std::string& fault) {
        EXPECT_EQ(vok::Process().leaguePresent, 0) << fault;
        int stopPlayer = -1;
        int stopVok = -1;
        for (int f = 0; f < 60 && stopPlayer < 0; ++f) {
            if (Exists(temp_ / CreatureFolder(f / 5, f % 5))) {
                stopPlayer = f / 5;
                stopVok = f % 5;
            }
        }
        bool league = Exists(temp_ / "vokleague.dat");
        bool game = Exists(temp_ / "vok.exe");
        if (stopPlayer < 0) {
            EXPECT_EQ(league + game, 1) << fault << ": exactly the file that failed is left";
            return;
        }
        EXPECT_FALSE(league) << fault;
        EXPECT_FALSE(game) << fault;
        EXPECT_LE(FilesIn(stopPlayer, stopVok), 2) << fault;
        for (int f = stopPlayer * 5 + stopVok + 1; f < 60; ++f) {
            int i = f / 5;
            int j = f % 5;
            bool kept = stopVok == 0 || i == stopPlayer;
            EXPECT_EQ(Exists(temp_ / CreatureFolder(i, j)), kept)
                << fault << ": " << CreatureFolder(i, j);
            if (kept) {
                EXPECT_EQ(FilesIn(i, j), 2) << fault << ": " << CreatureFolder(i, j);
            }
        }
    }

    TempFolder temp_;
};

TEST_F(RemovalFaultTest, EveryFailedOperationLeavesWhatTheWalkAllows) {
    int fired =
        RunEveryFault([&] { MakeFullLeague(); }, [] { DeleteLeague(); },
                      [&](const std::string& fault) { ExpectWhatTheWalkAllows(fault); }, temp_);
    // 60 listings, 120 file deletions, 60 folder removals, the league file and
    // the game copy, each failed once by FailCall or FailAfter.
    EXPECT_GE(fired, 242);
}

TEST_F(RemovalFaultTest, PersistentFaultsFollowTheWalkRules) {
    struct Case {
        Op op;
        std::string fragment;
        // Creature folders expected to remain, by index player * 5 + vok.
        std::vector<int> kept;
        bool leagueKept;
        bool gameKept;
    };
    auto range = [](int from, int to) {
        std::vector<int> folders;
        for (int f = from; f < to; ++f) {
            folders.push_back(f);
        }
        return folders;
    };
    const Case cases[] = {
        // A player's first folder that cannot be listed ends the walk.
        {Op::List, "p4_vok0", range(20, 60), false, false},
        // A later one only ends that player's creatures.
        {Op::List, "p2_vok3", {13, 14}, false, false},
        {Op::RemoveFile, "p0_vok1/", {1, 2, 3, 4}, false, false},
        {Op::RemoveFolder, "p11_vok4", {59}, false, false},
        {Op::RemoveFile, "vokleague.dat", {}, true, false},
        {Op::RemoveFile, "vok.exe", {}, false, true},
        // Nothing can be deleted: the first folder stops everything.
        {Op::RemoveFile, "", range(0, 60), true, true},
        // No folder can be listed or removed: the walk stops at once, and the
        // league file and the game copy still go.
        {Op::List, "", range(0, 60), false, false},
        {Op::RemoveFolder, "", range(0, 60), false, false},
    };
    for (const Case& c : cases) {
        MakeFullLeague();
        TestOs os;
        os.FailPath(c.op, c.fragment);
        {
            vok::ScopedOs scoped(os);
            DeleteLeague();
        }
        std::string label = std::string(OpName(c.op)) + " on \"" + c.fragment + "\"";
        std::vector<int> kept;
        for (int f = 0; f < 60; ++f) {
            if (Exists(temp_ / CreatureFolder(f / 5, f % 5))) {
                kept.push_back(f);
            }
        }
        EXPECT_EQ(kept, c.kept) << label;
        EXPECT_EQ(Exists(temp_ / "vokleague.dat"), c.leagueKept) << label;
        EXPECT_EQ(Exists(temp_ / "vok.exe"), c.gameKept) << label;
        EXPECT_EQ(vok::Process().leaguePresent, 0) << label;
    }
}

}  // namespace

}  // namespace vok::test
