#include "launcher/MainMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LauncherTestSupport.h"
#include "TestOs.h"
#include "TestUi.h"
#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

class MainMenuTest : public ::testing::Test {
protected:
    MainMenuTest() {
        ResetProcess();
        os_.SetTempDir(temp_.Path());
        UseTempDir(temp_.Path());
        LoadLanguage(60);
    }

    void LoadLanguage(int lines) {
        WriteLanguageFile(root_.Path(), "english.txt", lines, "en ");
        Process().language.Load((root_.Path() + "data/").c_str(), 0);
    }

    TestOs os_;
    ScopedOs scope_{os_};
    TempFolder root_;
    TempFolder temp_;
    TestUi menu_;
};

const int kGameButtons[] = {IDC_MAIN_PRACTICE, IDC_MAIN_SINGLEMATCH, IDC_MAIN_NEWLEAGUE};

TEST_F(MainMenuTest, OpeningTranslatesTheButtonsInOrder) {
    OpenMainMenu(menu_);

    std::vector<std::pair<int, std::string>> expected = {
        {1002, "en 44"}, {1000, "en 45"}, {1001, "en 46"}, {3, "en 47"}, {5, "en 48"},
        {4, "en 49"},    {6, "en 50"},    {7, "en 51"},    {2, "en 52"},
    };
    EXPECT_EQ(menu_.Texts(), expected);  // Demo (8) keeps its own text
    EXPECT_TRUE(menu_.Messages().empty());
    EXPECT_TRUE(os_.ShellCalls().empty());
    EXPECT_TRUE(os_.Exits().empty());
}

TEST_F(MainMenuTest, ShortLanguageFileShowsErrorOnEveryTranslatedButton) {
    LoadLanguage(44);  // lines 0-43
    os_.SetProbeResult(0);
    menu_.QueueAnswer(Answer::Yes);

    OpenMainMenu(menu_);

    ASSERT_EQ(menu_.Texts().size(), 9u);
    for (const auto& text : menu_.Texts()) {
        EXPECT_EQ(text.second, "<error>") << "button " << text.first;
    }
    ASSERT_EQ(menu_.Messages().size(), 1u);
    EXPECT_EQ(menu_.Messages()[0].text, "<error>");
}

TEST_F(MainMenuTest, LoadLeagueIsEnabledExactlyWhenALeagueIsPresent) {
    for (unsigned char present : {0, 1}) {
        SCOPED_TRACE(static_cast<int>(present));
        TestUi menu;
        Process().leaguePresent = present;
        OpenMainMenu(menu);
        for (int button : kGameButtons) {
            EXPECT_TRUE(menu.IsEnabled(button)) << button;
        }
        EXPECT_TRUE(menu.WasTouched(IDC_MAIN_LOADLEAGUE));
        EXPECT_EQ(menu.IsEnabled(IDC_MAIN_LOADLEAGUE), present != 0);
    }
}

TEST_F(MainMenuTest, MissingDirectDraw7OffersTheDirectXSetup) {
    struct {
        const char* name;
        Answer answer;
        bool goesOn;
    } cases[] = {
        {"yes", Answer::Yes, true},
        {"no", Answer::No, false},
        {"box failed", Answer::None, false},
        {"cancel", Answer::Cancel, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestOs os;
        ScopedOs scope(os);
        os.SetProbeResult(0);
        TestUi menu;
        menu.QueueAnswer(c.answer);
        Process().leaguePresent = 1;

        OpenMainMenu(menu);

        ASSERT_EQ(menu.Messages().size(), 1u);
        EXPECT_EQ(menu.Messages()[0].text, "en 55");
        EXPECT_EQ(menu.Messages()[0].caption, "");
        EXPECT_EQ(menu.Messages()[0].buttons, Buttons::YesNo);
        if (c.goesOn) {
            EXPECT_TRUE(os.Exits().empty());
            ASSERT_EQ(os.ShellCalls().size(), 1u);
            EXPECT_EQ(os.ShellCalls()[0].verb, std::optional<std::string>("open"));
            EXPECT_EQ(os.ShellCalls()[0].file, "DirectX8/DXSETUP.EXE");
            EXPECT_EQ(os.ShellCalls()[0].parameters, "");
            for (int button : kGameButtons) {
                EXPECT_TRUE(menu.IsEnabled(button)) << button;
            }
            EXPECT_TRUE(menu.IsEnabled(IDC_MAIN_LOADLEAGUE));
        } else {
            EXPECT_EQ(os.Exits(), std::vector<int>{kExitHandedOver});
            EXPECT_TRUE(os.ShellCalls().empty());
            for (int button : {IDC_MAIN_PRACTICE, IDC_MAIN_SINGLEMATCH, IDC_MAIN_NEWLEAGUE,
                               IDC_MAIN_LOADLEAGUE}) {
                EXPECT_FALSE(menu.WasTouched(button)) << button;
            }
        }
    }
}

struct ShellCase {
    int command;
    std::optional<std::string> verb;
    std::string file;
    std::string parameters;
};

TEST_F(MainMenuTest, ShellCommandsHandTheirTargetsToTheShell) {
    const ShellCase cases[] = {
        {IDC_MAIN_DIRECTX, "open", "DirectX8/DXSETUP.EXE", ""},
        {IDC_MAIN_LICENCE, std::nullopt, "en 53", ""},
        {IDC_MAIN_WEBSITE, std::nullopt, "en 54", ""},
        {IDC_MAIN_DEMO, "open", "demo/Zantovid.exe", "demo/vok.avi"},
    };
    // Whether the shell succeeds changes nothing.
    for (bool shellOk : {true, false}) {
        for (const ShellCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.command << (shellOk ? " ok" : " failing"));
            TestOs os;
            ScopedOs scope(os);
            os.SetShellResult(shellOk);
            TestUi menu;

            EXPECT_TRUE(RunMainMenuCommand(menu, c.command));

            ASSERT_EQ(os.ShellCalls().size(), 1u);
            const TestOs::ShellCall& call = os.ShellCalls()[0];
            EXPECT_EQ(call.owner, menu.Window());
            EXPECT_EQ(call.verb, c.verb);
            EXPECT_EQ(call.file, c.file);
            EXPECT_EQ(call.parameters, c.parameters);
            EXPECT_EQ(call.directory, "");
            EXPECT_TRUE(os.Exits().empty());
            EXPECT_TRUE(menu.EndResults().empty());
            EXPECT_TRUE(menu.Messages().empty());
        }
    }
}

TEST_F(MainMenuTest, MissingLicenceAndWebLinesReachTheShellAsError) {
    LoadLanguage(53);  // lines 0-52
    EXPECT_TRUE(RunMainMenuCommand(menu_, IDC_MAIN_LICENCE));
    EXPECT_TRUE(RunMainMenuCommand(menu_, IDC_MAIN_WEBSITE));
    ASSERT_EQ(os_.ShellCalls().size(), 2u);
    EXPECT_EQ(os_.ShellCalls()[0].file, "<error>");
    EXPECT_EQ(os_.ShellCalls()[1].file, "<error>");
}

TEST_F(MainMenuTest, CancelEndsTheMenuWithTwo) {
    EXPECT_TRUE(RunMainMenuCommand(menu_, IDC_MAIN_CANCEL));
    EXPECT_EQ(menu_.EndResults(), std::vector<int>{2});
    EXPECT_TRUE(os_.Exits().empty());
}

TEST_F(MainMenuTest, CommandsOutsideTheTableAreNotHandled) {
    for (int id : {0, 1, 9, 999, 1003, 0x420, 0xFFFF}) {
        EXPECT_FALSE(RunMainMenuCommand(menu_, id)) << id;
    }
    EXPECT_TRUE(menu_.EndResults().empty());
    EXPECT_TRUE(os_.ShellCalls().empty());
    EXPECT_TRUE(os_.Exits().empty());
}

struct LevelCase {
    unsigned short control;
    unsigned short shift;
    int level;
};

TEST_F(MainMenuTest, ControlAddsTwoAndShiftOneToTheLaunchLevel) {
    const LevelCase cases[] = {
        {0, 0, 0},           {0x8000, 0, 2},      {0, 0x8000, 1},
        {0x8000, 0x8000, 3}, {0x8001, 0xFFFF, 3},  // GetAsyncKeyState's negative values
        {0x0001, 0x0001, 0},  // pressed since the last query, but no longer down
        {0x7FFF, 0x8000, 1},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.control << " " << c.shift);
        os_.SetKeyState(Key::Control, c.control);
        os_.SetKeyState(Key::Shift, c.shift);
        Process().launchLevel = -1;
        EXPECT_EQ(ComputeLaunchLevel(), c.level);
        EXPECT_EQ(Process().launchLevel, c.level);
    }
}

TEST_F(MainMenuTest, GameButtonsStartTheGameWithTheLevelOfTheMoment) {
    struct {
        int command;
        unsigned short control;
        unsigned short shift;
        const char* parameters;
    } cases[] = {
        {IDC_MAIN_PRACTICE, 0x8000, 0x8000, "practice q3"},
        {IDC_MAIN_SINGLEMATCH, 0, 0x8000, "singlematch q1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parameters);
        TestOs os;
        ScopedOs scope(os);
        os.SetTempDir(temp_.Path());
        TestUi menu;
        // Keys change after the menu opened; the press decides.
        Process().launchLevel = 0;
        OpenMainMenu(menu);
        os.SetKeyState(Key::Control, c.control);
        os.SetKeyState(Key::Shift, c.shift);

        EXPECT_TRUE(RunMainMenuCommand(menu, c.command));

        ASSERT_EQ(os.ShellCalls().size(), 1u);
        EXPECT_EQ(os.ShellCalls()[0].parameters, c.parameters);
        EXPECT_EQ(os.ShellCalls()[0].file, temp_.Path() + "vok.exe");
        EXPECT_EQ(os.Exits(), std::vector<int>{kExitHandedOver});
    }
}

// The main menu's Load League, Start a new League and View Credits, with the
// dialogs they open scripted.
class MainMenuLeagueTest : public MainMenuTest {
protected:
    MainMenuLeagueTest() { LoadLanguage(102); }

    // What an earlier run left: a league of one player with two creatures.
    void StageLeague() {
        for (const char* folder : {"p0_vok0", "p0_vok1"}) {
            std::filesystem::create_directory(temp_ / folder);
            WriteFile(temp_ / folder + "/data.dat", "name = Grunt\r\n");
        }
        WriteFile(temp_ / "vokleague.dat", "matches_played = 0\r\n");
        WriteFile(temp_ / "vok.exe", "game");
        Process().leaguePresent = 1;
    }

    void HoldControl(bool down) { os_.SetKeyState(Key::Control, down ? 0x8000 : 0); }
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
