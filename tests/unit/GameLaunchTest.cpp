#include "launcher/GameLaunch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "LauncherTestSupport.h"
#include "TestOs.h"
#include "TestUi.h"
#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

bool IsWritable(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

// The data root is current and holds the game; the temporary directory is
// separate, as at run time.
class GameLaunchTest : public ::testing::Test {
protected:
    GameLaunchTest() {
        ResetProcess();
        UseTempDir(temp_.Path());
        WriteFile(root_ / "vok.exe", kGame);
        fs::current_path(root_.Path());
    }

    std::string Target() const { return temp_ / "vok.exe"; }

    void ExpectStartedOnce(const std::string& parameters) {
        ASSERT_EQ(os_.ShellCalls().size(), 1u);
        const TestOs::ShellCall& call = os_.ShellCalls()[0];
        EXPECT_EQ(call.owner, owner_.Window());
        EXPECT_EQ(call.verb, std::optional<std::string>("open"));
        EXPECT_EQ(call.file, Target());
        EXPECT_EQ(call.parameters, parameters);
        EXPECT_EQ(call.directory, "");
    }

    static constexpr const char* kGame = "MZ the game";

    TestOs os_;
    ScopedOs scope_{os_};
    TempFolder root_;
    TempFolder temp_;
    CurrentFolderGuard folder_;
    TestUi owner_;
};

TEST_F(GameLaunchTest, StartsACopyWithTheModeAndLevelThenExitsWithOne) {
    struct {
        int mode;
        int level;
        const char* parameters;
    } cases[] = {
        {IDC_MAIN_PRACTICE, 0, "practice q0"},       {IDC_MAIN_PRACTICE, 3, "practice q3"},
        {IDC_MAIN_SINGLEMATCH, 1, "singlematch q1"}, {IDC_MAIN_SINGLEMATCH, 2, "singlematch q2"},
        {IDC_MAIN_NEWLEAGUE, 0, "league q0"},        {IDC_MAIN_NEWLEAGUE, 2, "league q2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parameters);
        TestOs os;
        ScopedOs scope(os);
        Process().launchLevel = c.level;
        fs::remove(Target());

        LaunchGame(owner_, c.mode);

        ASSERT_EQ(os.ShellCalls().size(), 1u);
        EXPECT_EQ(os.ShellCalls()[0].verb, std::optional<std::string>("open"));
        EXPECT_EQ(os.ShellCalls()[0].file, Target());
        EXPECT_EQ(os.ShellCalls()[0].parameters, c.parameters);
        EXPECT_EQ(os.ShellCalls()[0].directory, "");
        EXPECT_EQ(os.Exits(), std::vector<int>{kExitHandedOver});
        EXPECT_EQ(ReadFile(Target()), kGame);
        EXPECT_TRUE(owner_.Messages().empty());
    }
}

TEST_F(GameLaunchTest, ReadOnlyCopyFromAnEarlierRunIsReplaced) {
    WriteFile(Target(), "stale game");
    MakeReadOnly(Target());

    LaunchGame(owner_, IDC_MAIN_PRACTICE);

    EXPECT_EQ(ReadFile(Target()), kGame);
    EXPECT_TRUE(IsWritable(Target()));
    ExpectStartedOnce("practice q0");
    EXPECT_EQ(os_.Exits(), std::vector<int>{kExitHandedOver});
}

TEST_F(GameLaunchTest, FailedCopyStillStartsTheTargetAndExits) {
    struct {
        const char* name;
        bool removeSource;
        bool failCopy;
    } cases[] = {
        {"copy fails", false, true},
        {"no game in the data root", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestOs os;
        ScopedOs scope(os);
        if (c.failCopy) {
            os.FailCall(TestOs::Op::Copy, 1);
        }
        if (c.removeSource) {
            fs::remove(root_ / "vok.exe");
        }
        Process().launchLevel = 1;

        LaunchGame(owner_, IDC_MAIN_SINGLEMATCH);

        EXPECT_FALSE(Exists(Target()));
        ASSERT_EQ(os.ShellCalls().size(), 1u);
        EXPECT_EQ(os.ShellCalls()[0].file, Target());
        EXPECT_EQ(os.ShellCalls()[0].parameters, "singlematch q1");
        EXPECT_EQ(os.Exits(), std::vector<int>{kExitHandedOver});
    }
}

TEST_F(GameLaunchTest, UnknownModeSaysSoAndStartsNothing) {
    for (int mode : {0, 2, 3, 1003, -1}) {
        SCOPED_TRACE(mode);
        TestOs os;
        ScopedOs scope(os);
        TestUi owner;

        LaunchGame(owner, mode);

        ASSERT_EQ(owner.Messages().size(), 1u);
        EXPECT_EQ(owner.Messages()[0].text, "No such game");
        EXPECT_EQ(owner.Messages()[0].caption, "Error...");
        EXPECT_EQ(owner.Messages()[0].buttons, Buttons::Ok);
        EXPECT_TRUE(os.ShellCalls().empty());
        EXPECT_EQ(os.Exits(), std::vector<int>{kExitHandedOver});
    }
}

TEST_F(GameLaunchTest, WithoutATemporaryDirectoryTheInstalledGameIsLeftAlone) {
    Process().tempDir[0] = '\0';
    Process().tempDirValid = false;
    MakeReadOnly(root_ / "vok.exe");

    LaunchGame(owner_, IDC_MAIN_PRACTICE);

    EXPECT_EQ(os_.Calls(TestOs::Op::Copy), 0);
    EXPECT_EQ(os_.Calls(TestOs::Op::SetNormal), 0);
    EXPECT_FALSE(IsWritable(root_ / "vok.exe"));
    EXPECT_TRUE(os_.ShellCalls().empty());
    EXPECT_EQ(os_.Exits(), std::vector<int>{kExitHandedOver});
}

TEST_F(GameLaunchTest, TargetNameThatWouldBeCutIsNotUsed) {
    // Fits the buffer, but not with "vok.exe" after it.
    std::string longDir = temp_.Path() + std::string(508 - temp_.Path().size(), 'd') + "/";
    std::snprintf(Process().tempDir, sizeof Process().tempDir, "%s", longDir.c_str());

    LaunchGame(owner_, IDC_MAIN_PRACTICE);

    EXPECT_EQ(os_.Calls(TestOs::Op::Copy), 0);
    EXPECT_TRUE(os_.ShellCalls().empty());
    EXPECT_EQ(os_.Exits(), std::vector<int>{kExitHandedOver});
}

}  // namespace
}  // namespace vok::test
