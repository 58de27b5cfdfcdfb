#include "launcher/StartUp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "LauncherTestSupport.h"
#include "TestOs.h"
#include "TestUi.h"
#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"

namespace vok::test {
namespace {

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest() {
        ResetProcess();
        os_.SetExecutableFolder(root_.Path());
        os_.SetTempDir(temp_.Path());
        WriteLanguageFile(root_.Path(), "english.txt", 60, "en ");
        desktop_.SetDialogResult("IDD_MAINDLG", 2);
    }

    TestOs os_;
    ScopedOs scope_{os_};
    TempFolder root_;
    TempFolder temp_;
    CurrentFolderGuard folder_;
    TestUi desktop_{nullptr};
    int instance_ = 0;
};

struct PeerCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> windows;  // {class, title}
    int signalled;                                             // index into windows, -1: none
};

class StartUpPeerTest : public StartUpTest, public ::testing::WithParamInterface<PeerCase> {};

TEST_P(StartUpPeerTest, SignalsTheRunningProgramOrStarts) {
    const PeerCase& c = GetParam();
    std::vector<WindowHandle> handles;
    for (const auto& window : c.windows) {
        handles.push_back(os_.AddWindow(window.first, window.second));
    }

    int result = StartUp(&instance_, desktop_);

    EXPECT_EQ(Process().instance, &instance_);
    if (c.signalled < 0) {
        EXPECT_EQ(result, kExitMenuClosed);
        EXPECT_TRUE(os_.Posts().empty());
        EXPECT_TRUE(os_.BroughtToFront().empty());
        EXPECT_EQ(desktop_.DialogsRun(), std::vector<std::string>{"IDD_MAINDLG"});
        return;
    }
    WindowHandle peer = handles[static_cast<std::size_t>(c.signalled)];
    EXPECT_EQ(result, kExitPeerRunning);
    ASSERT_EQ(os_.Posts().size(), 1u);
    EXPECT_EQ(os_.Posts()[0].first, peer);
    EXPECT_EQ(os_.Posts()[0].second, 0x420u);
    EXPECT_EQ(os_.BroughtToFront(), std::vector<WindowHandle>{peer});
    // Nothing else is set up beside a running peer.
    EXPECT_TRUE(desktop_.DialogsRun().empty());
    EXPECT_TRUE(os_.CurrentFolders().empty());
    EXPECT_EQ(os_.Calls(TestOs::Op::TempPath), 0);
    EXPECT_EQ(os_.Calls(TestOs::Op::Read), 0);
    EXPECT_EQ(os_.Calls(TestOs::Op::CanOpen), 0);
    EXPECT_EQ(Process().language.LineCount(), 0);
    EXPECT_FALSE(Process().tempDirValid);
}

INSTANTIATE_TEST_SUITE_P(
    Peers, StartUpPeerTest,
    ::testing::Values(
        PeerCase{"NoOtherWindow", {}, -1}, PeerCase{"GameWindow", {{"VOK ", "Vok - practice"}}, 0},
        PeerCase{"GameWindowWithoutTitle", {{"VOK ", ""}}, 0},
        PeerCase{"LauncherMenu", {{"#32770", "Vok "}}, 0},
        PeerCase{"GameBeforeLauncherWhateverTheirOrder", {{"#32770", "Vok "}, {"VOK ", "x"}}, 1},
        PeerCase{"NamesWithoutTheTrailingBlank", {{"VOK", "x"}, {"#32770", "Vok"}}, -1}),
    [](const ::testing::TestParamInfo<PeerCase>& info) { return std::string(info.param.name); });

TEST_F(StartUpTest, MakesTheExecutableFolderCurrentBeforeLoadingTexts) {
    WriteFile(root_ / "in-data-root", "");
    bool rootCurrent = false;
    desktop_.SetDialogResult("IDD_MAINDLG", 2, [&] { rootCurrent = Exists("in-data-root"); });

    EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);

    EXPECT_EQ(os_.CurrentFolders(), std::vector<std::string>{root_.Path()});
    EXPECT_TRUE(rootCurrent);
    EXPECT_STREQ(Process().language.Text(44), "en 44");
    EXPECT_TRUE(Process().tempDirValid);
    EXPECT_EQ(std::string(Process().tempDir), temp_.Path());
}

TEST_F(StartUpTest, UnknownOrUnusableExecutableFolderLeavesTheCurrentDirectory) {
    TempFolder elsewhere;
    CurrentFolderGuard leaveElsewhere;  // a current folder cannot be removed on Windows
    WriteLanguageFile(elsewhere.Path(), "english.txt", 60, "cwd ");
    std::filesystem::current_path(elsewhere.Path());

    os_.SetExecutableFolder("");
    EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);
    EXPECT_TRUE(os_.CurrentFolders().empty());
    EXPECT_STREQ(Process().language.Text(44), "cwd 44");

    ResetProcess();
    os_.SetExecutableFolder(root_.Path());
    os_.FailCall(TestOs::Op::CurrentFolder, 1);
    EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);
    EXPECT_STREQ(Process().language.Text(44), "cwd 44");
    EXPECT_EQ(desktop_.DialogsRun().size(), 2u);
}

TEST_F(StartUpTest, LanguageFollowsTheKeyboardWithEnglishAsFallback) {
    os_.SetLangId(0x0407);
    EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);
    EXPECT_STREQ(Process().language.Text(45), "en 45");

    ResetProcess();
    WriteLanguageFile(root_.Path(), "german.txt", 60, "de ");
    EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);
    EXPECT_STREQ(Process().language.Text(45), "de 45");
}

TEST_F(StartUpTest, LeagueIsPresentWhenItsFileOpensWhateverItHolds) {
    struct {
        const char* name;
        const char* contents;  // null: no file
        unsigned char present;
    } cases[] = {
        {"none", nullptr, 0},
        {"empty", "", 1},
        {"league", "name = \"A\"\r\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProcess();
        std::filesystem::remove(temp_ / "vokleague.dat");
        if (c.contents) {
            WriteFile(temp_ / "vokleague.dat", c.contents);
        }
        EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);
        EXPECT_EQ(Process().leaguePresent, c.present);
    }
}

TEST_F(StartUpTest, WithoutATemporaryDirectoryThereIsNoLeague) {
    // A league file in the data root is not this user's league.
    WriteFile(root_ / "vokleague.dat", "");
    os_.SetTempDir("");

    EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);

    EXPECT_FALSE(Process().tempDirValid);
    EXPECT_STREQ(Process().tempDir, "");
    EXPECT_EQ(Process().leaguePresent, 0);
    EXPECT_EQ(os_.Calls(TestOs::Op::CanOpen), 0);
    EXPECT_EQ(desktop_.DialogsRun().size(), 1u);
}

TEST_F(StartUpTest, TemporaryDirectoryTooLongForTheLeagueNameMeansNoLeague) {
    // Fits the 512-byte buffer, but not with "vokleague.dat" after it.
    std::string longDir = temp_.Path() + std::string(505 - temp_.Path().size(), 'd') + "/";
    ASSERT_EQ(longDir.size(), 506u);
    os_.SetTempDir(longDir);

    EXPECT_EQ(StartUp(&instance_, desktop_), kExitMenuClosed);

    EXPECT_TRUE(Process().tempDirValid);
    EXPECT_EQ(Process().leaguePresent, 0);
    EXPECT_EQ(os_.Calls(TestOs::Op::CanOpen), 0);
}

TEST_F(StartUpTest, MenuThatCannotBeCreatedIsNotReportedAsCancel) {
    TestUi broken{nullptr};  // knows no dialog: RunDialog gives -1
    EXPECT_EQ(StartUp(&instance_, broken), kExitMenuUnavailable);
    EXPECT_EQ(broken.DialogsRun(), std::vector<std::string>{"IDD_MAINDLG"});
    EXPECT_EQ(os_.DebugTexts().size(), 1u);
}

}  // namespace
}  // namespace vok::test
