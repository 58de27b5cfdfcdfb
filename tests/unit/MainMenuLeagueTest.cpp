#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "LauncherTestSupport.h"
#include "TestOs.h"
#include "TestUi.h"
#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"
#include "launcher/MainMenu.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

// The main menu's Load League, Start a new League and View Credits, with the
// dialogs they open scripted.
class MainMenuLeagueTest : public ::testing::Test {
protected:
    MainMenuLeagueTest() {
        ResetProcess();
        os_.SetTempDir(temp_.Path());
        std::snprintf(Process().tempDir, sizeof Process().tempDir, "%s", temp_.Path().c_str());
        Process().tempDirValid = true;
        WriteLanguageFile(root_.Path(), "english.txt", 102, "en ");
        Process().language.Load((root_.Path() + "data/").c_str(), 0);
    }

    // What an earlier run left: a league of one player with two creatures.
    void StageLeague() {
        for (const char* folder : {"p0_vok0", "p0_vok1"}) {
            fs::create_directory(temp_ / folder);
            WriteFile(temp_ / folder + "/data.dat", "name = Grunt\r\n");
        }
        WriteFile(temp_ / "vokleague.dat", "matches_played = 0\r\n");
        WriteFile(temp_ / "vok.exe", "game");
        Process().leaguePresent = 1;
    }

    void HoldControl(bool down) { os_.SetKeyState(Key::Control, down ? 0x8000 : 0); }

    TempFolder root_;
    TempFolder temp_;
    TestOs os_;
    ScopedOs scope_{os_};
    TestUi menu_;
};

TEST_F(MainMenuLeagueTest, LoadLeagueStartsTheLeagueThatIsThere) {
    StageLeague();
    HoldControl(true);
    os_.SetKeyState(Key::Shift, 0x8000);

    EXPECT_TRUE(RunMainMenuCommand(menu_, IDC_MAIN_LOADLEAGUE));

    ASSERT_EQ(os_.ShellCalls().size(), 1u);
    EXPECT_EQ(os_.ShellCalls()[0].file, temp_.Path() + "vok.exe");
    EXPECT_EQ(os_.ShellCalls()[0].parameters, "league q3");
    EXPECT_EQ(os_.Exits(), std::vector<int>{kExitHandedOver});
    EXPECT_TRUE(menu_.Messages().empty());
    EXPECT_TRUE(Exists(temp_ / "vokleague.dat"));
}

TEST_F(MainMenuLeagueTest, LoadLeagueWithoutALeagueOnlySaysSo) {
    EXPECT_TRUE(RunMainMenuCommand(menu_, IDC_MAIN_LOADLEAGUE));

    ASSERT_EQ(menu_.Messages().size(), 1u);
    EXPECT_EQ(menu_.Messages()[0].text, "en 70");
    EXPECT_EQ(menu_.Messages()[0].caption, "");
    EXPECT_EQ(menu_.Messages()[0].buttons, Buttons::Ok);
    EXPECT_TRUE(os_.ShellCalls().empty());
    EXPECT_TRUE(os_.Exits().empty());
    EXPECT_TRUE(menu_.DialogsRun().empty());
    EXPECT_TRUE(menu_.EndResults().empty());
}

TEST_F(MainMenuLeagueTest, ReplacingALeagueNeedsAYes) {
    const struct {
        const char* what;
        Answer answer;
        bool replaced;
    } cases[] = {
        {"no", Answer::No, false},
        {"box not shown", Answer::None, false},
        {"yes", Answer::Yes, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StageLeague();
        TestUi menu;
        menu.QueueAnswer(c.answer);
        menu.SetDialogResult("IDD_CREATELEAGUE", 2);

        EXPECT_TRUE(RunMainMenuCommand(menu, IDC_MAIN_NEWLEAGUE));

        ASSERT_EQ(menu.Messages().size(), 1u);
        EXPECT_EQ(menu.Messages()[0].text, "en 69");
        EXPECT_EQ(menu.Messages()[0].caption, "");
        EXPECT_EQ(menu.Messages()[0].buttons, Buttons::YesNo);
        EXPECT_TRUE(os_.Exits().empty());
        if (c.replaced) {
            // Cancelled in the create-league dialog: the old league is gone
            // and there is nothing left to load.
            EXPECT_EQ(menu.DialogsRun(), std::vector<std::string>{"IDD_CREATELEAGUE"});
            EXPECT_EQ(Entries(temp_.Path()), std::set<std::string>{});
            EXPECT_EQ(Process().leaguePresent, 0);
            EXPECT_TRUE(menu.WasTouched(IDC_MAIN_LOADLEAGUE));
            EXPECT_FALSE(menu.IsEnabled(IDC_MAIN_LOADLEAGUE));
        } else {
            EXPECT_TRUE(menu.DialogsRun().empty());
            EXPECT_EQ(Entries(temp_.Path()),
                      (std::set<std::string>{"p0_vok0", "p0_vok1", "vokleague.dat", "vok.exe"}));
            EXPECT_EQ(Process().leaguePresent, 1);
            EXPECT_FALSE(menu.WasTouched(IDC_MAIN_LOADLEAGUE));
        }
    }
}

TEST_F(MainMenuLeagueTest, NewLeagueWithoutALeagueAsksNothingAndStartsWhatWasWritten) {
    menu_.SetDialogResult("IDD_CREATELEAGUE", 1);

    EXPECT_TRUE(RunMainMenuCommand(menu_, IDC_MAIN_NEWLEAGUE));

    EXPECT_TRUE(menu_.Messages().empty());
    EXPECT_EQ(menu_.DialogsRun(), std::vector<std::string>{"IDD_CREATELEAGUE"});
    ASSERT_EQ(os_.ShellCalls().size(), 1u);
    EXPECT_EQ(os_.ShellCalls()[0].parameters, "league q0");
    EXPECT_EQ(os_.Exits(), std::vector<int>{kExitHandedOver});
}

TEST_F(MainMenuLeagueTest, TheLevelIsTheOneOfThePress) {
    const struct {
        const char* what;
        bool leaguePresent;
        bool downAtPress;
        bool downAtEnd;
        const char* parameters;
    } cases[] = {
        {"released before the dialog ends", false, true, false, "league q2"},
        {"released while asked to replace", true, true, false, "league q2"},
        {"pressed only in the dialog", false, false, true, "league q0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestOs os;
        ScopedOs scope(os);
        os.SetTempDir(temp_.Path());
        Process().leaguePresent = c.leaguePresent ? 1 : 0;
        TestUi menu;
        menu.QueueAnswer(Answer::Yes);
        os.SetKeyState(Key::Control, c.downAtPress ? 0x8000 : 0);
        menu.SetDialogResult("IDD_CREATELEAGUE", 1,
                             [&] { os.SetKeyState(Key::Control, c.downAtEnd ? 0x8000 : 0); });

        EXPECT_TRUE(RunMainMenuCommand(menu, IDC_MAIN_NEWLEAGUE));

        ASSERT_EQ(os.ShellCalls().size(), 1u);
        EXPECT_EQ(os.ShellCalls()[0].parameters, c.parameters);
        EXPECT_EQ(os.Exits(), std::vector<int>{kExitHandedOver});
    }
}

TEST_F(MainMenuLeagueTest, ADialogThatCannotOpenLeavesLoadLeagueDisabled) {
    EXPECT_TRUE(RunMainMenuCommand(menu_, IDC_MAIN_NEWLEAGUE));  // no script: -1
    EXPECT_TRUE(menu_.WasTouched(IDC_MAIN_LOADLEAGUE));
    EXPECT_FALSE(menu_.IsEnabled(IDC_MAIN_LOADLEAGUE));
    EXPECT_TRUE(os_.ShellCalls().empty());
    EXPECT_TRUE(os_.Exits().empty());
}

TEST_F(MainMenuLeagueTest, ViewCreditsRunsTheCreditsAndChangesNothing) {
    StageLeague();
    for (int result : {2, -1}) {
        TestUi menu;
        menu.SetDialogResult("IDD_CREDITS", result);

        EXPECT_TRUE(RunMainMenuCommand(menu, IDC_MAIN_CREDITS));

        EXPECT_EQ(menu.DialogsRun(), std::vector<std::string>{"IDD_CREDITS"});
        EXPECT_TRUE(menu.Texts().empty());
        EXPECT_TRUE(menu.Messages().empty());
        EXPECT_TRUE(menu.EndResults().empty());
        EXPECT_FALSE(menu.WasTouched(IDC_MAIN_LOADLEAGUE));
    }
    EXPECT_TRUE(os_.ShellCalls().empty());
    EXPECT_TRUE(os_.Exits().empty());
    EXPECT_EQ(Process().leaguePresent, 1);
}

}  // namespace
}  // namespace vok::test
