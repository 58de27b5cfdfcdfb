#include "league/LeagueRemoval.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TestOs.h"
#include "common/ProcessState.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

void MakeCreature(const TempFolder& temp, int player, int vok) {
    std::string folder = temp / CreatureFolder(player, vok);
    fs::create_directory(folder);
    for (const char* file : {"/a.dat", "/b.dat", "/c.dat"}) {
        WriteFile(folder + file, file);
    }
}

// What stays of a folder whose entry `stopper` cannot be deleted: that entry
// and every one the system lists after it.
std::set<std::string> FromOn(const std::string& folder, const std::string& stopper) {
    std::vector<std::string> names;
    vok::SystemOs().ListFolder(folder.c_str(), names);
    std::set<std::string> rest;
    bool reached = false;
    for (const std::string& name : names) {
        reached = reached || name == stopper;
        if (reached && name != "." && name != "..") {
            rest.insert(name);
        }
    }
    return rest;
}

// Whether a read-only file resists deletion here, as it does on Windows (Wine
// run as root lets it go).
bool ReadOnlyHolds(const TempFolder& temp) {
    std::string probe = temp / "read-only-probe";
    WriteFile(probe, "x");
    MakeReadOnly(probe);
    bool holds = !vok::SystemOs().RemoveFile(probe.c_str());
    std::error_code error;
    fs::permissions(probe, fs::perms::owner_write, fs::perm_options::add, error);
    fs::remove(probe, error);
    return holds;
}

void UseTemp(const TempFolder& temp, bool valid = true) {
    vok::ResetProcess();
    std::strcpy(vok::Process().tempDir, temp.Path().c_str());
    vok::Process().tempDirValid = valid;
    vok::Process().leaguePresent = 1;
}

}  // namespace

TEST(LeagueRemovalTest, RemoveFolderStopsAtTheFirstEntryItCannotDelete) {
    TempFolder temp;
    TestOs os;
    vok::ScopedOs scoped(os);

    fs::create_directory(temp / "empty");
    EXPECT_TRUE(RemoveFolder((temp / "empty").c_str()));
    EXPECT_FALSE(RemoveFolder((temp / "empty").c_str()));
    EXPECT_FALSE(Exists(temp / "empty"));

    enum class Block { ReadOnly, Injected, SubFolder };
    for (Block block : {Block::ReadOnly, Block::Injected, Block::SubFolder}) {
        if (block == Block::ReadOnly && !ReadOnlyHolds(temp)) {
            continue;
        }
        MakeCreature(temp, 0, 0);
        std::string folder = temp / CreatureFolder(0, 0);
        std::string stopper = "b.dat";
        if (block == Block::ReadOnly) {
            MakeReadOnly(folder + "/b.dat");
        } else if (block == Block::Injected) {
            os.FailPath(TestOs::Op::RemoveFile, "p0_vok0/b.dat");
        } else {
            stopper = "sub";
            fs::create_directory(folder + "/sub");
        }
        std::set<std::string> stays = FromOn(folder, stopper);
        EXPECT_FALSE(RemoveFolder(folder.c_str()));
        EXPECT_EQ(Entries(folder), stays) << static_cast<int>(block);
        os.ClearFaults();
        std::error_code error;
        fs::permissions(folder + "/b.dat", fs::perms::owner_write, fs::perm_options::add, error);
        fs::remove_all(folder);
    }
}

TEST(LeagueRemovalTest, DeleteLeagueWalksPlayersUntilTheFirstMissingOne) {
    enum class Block { None, Injected, ReadOnly };
    const struct {
        const char* name;
        std::vector<int> teams;  // creature folders of each player; 0: none
        Block block;             // how b.dat of `blocked` resists deletion
        const char* blocked;
        int removeFolderCalls;
        std::set<std::string> stays;
    } cases[] = {
        {"no league", {}, Block::None, "", 1, {}},
        {"3 x 2", {2, 2, 2}, Block::None, "", 10, {}},
        {"12 x 5", std::vector<int>(12, 5), Block::None, "", 60, {}},
        // A missing first folder ends the walk; later players stay.
        {"p1 missing", {1, 0, 1}, Block::None, "", 3, {"p2_vok0"}},
        // A second folder that stays only moves on to the next player...
        {"p0_vok1 injected", {2, 2}, Block::Injected, "p0_vok1", 6, {"p0_vok1"}},
        {"p0_vok1 read-only", {2, 2}, Block::ReadOnly, "p0_vok1", 6, {"p0_vok1"}},
        // ...a first one that stays ends the walk.
        {"p0_vok0 injected",
         {2, 2},
         Block::Injected,
         "p0_vok0",
         1,
         {"p0_vok0", "p0_vok1", "p1_vok0", "p1_vok1"}},
        {"p0_vok0 read-only",
         {2, 2},
         Block::ReadOnly,
         "p0_vok0",
         1,
         {"p0_vok0", "p0_vok1", "p1_vok0", "p1_vok1"}},
    };
    for (const auto& c : cases) {
        TempFolder temp;
        if (c.block == Block::ReadOnly && !ReadOnlyHolds(temp)) {
            continue;
        }
        TestOs os;
        vok::ScopedOs scoped(os);
        for (std::size_t i = 0; i < c.teams.size(); ++i) {
            for (int j = 0; j < c.teams[i]; ++j) {
                MakeCreature(temp, static_cast<int>(i), j);
            }
        }
        if (!c.teams.empty()) {
            WriteFile(temp / "vokleague.dat", "matches_played = 0\r\n");
            WriteFile(temp / "vok.exe", "MZ");
        }
        if (c.block == Block::Injected) {
            os.FailPath(TestOs::Op::RemoveFile, std::string(c.blocked) + "/b.dat");
        } else if (c.block == Block::ReadOnly) {
            MakeReadOnly(temp / c.blocked + "/b.dat");
        }
        UseTemp(temp);
        DeleteLeague();
        EXPECT_EQ(os.Calls(TestOs::Op::List), c.removeFolderCalls) << c.name;
        EXPECT_EQ(Entries(temp.Path()), c.stays) << c.name;
        EXPECT_EQ(vok::Process().leaguePresent, 0) << c.name;
    }
}

TEST(LeagueRemovalTest, DeleteLeagueWithoutATemporaryDirectoryOnlyClearsTheFlag) {
    TempFolder temp;
    TestOs os;
    vok::ScopedOs scoped(os);
    MakeCreature(temp, 0, 0);
    WriteFile(temp / "vokleague.dat", "x");
    UseTemp(temp, false);
    DeleteLeague();
    EXPECT_EQ(os.Calls(TestOs::Op::List) + os.Calls(TestOs::Op::RemoveFile), 0);
    EXPECT_EQ(Entries(temp.Path()), (std::set<std::string>{"p0_vok0", "vokleague.dat"}));
    EXPECT_EQ(vok::Process().leaguePresent, 0);
}

}  // namespace vok::test
