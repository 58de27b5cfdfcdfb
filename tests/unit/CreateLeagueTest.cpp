#include "league/CreateLeague.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "LauncherTestSupport.h"
#include "TestOs.h"
#include "TestUi.h"
#include "common/ProcessState.h"
#include "dialogs/InputBox.h"
#include "kvfile/KeyValueFile.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

const int kNumberBoxes[] = {IDC_LEAGUE_PLAYERS, IDC_LEAGUE_ROUNDS, IDC_LEAGUE_VOKS,
                            IDC_LEAGUE_LIVES};

// What an input box showed when it opened.
struct Prompt {
    std::string title;
    std::string prompt;
    std::string defaultText;
    std::string okCaption;
};

// A data root holding the language file and a creature, entered as the
// current directory, and an empty temporary directory.
class CreateLeagueTest : public ::testing::Test {
protected:
    CreateLeagueTest() {
        ResetProcess();
        WriteLanguageFile(root_.Path(), "english.txt", 102, "en ");
        Process().language.Load((root_.Path() + "data/").c_str(), 0);
        fs::create_directories(root_ / "data/ply");
        WriteFile(root_ / "data/ply/data.dat", "name = Grunt\r\nspecies = \"Rock troll\"\r\n");
        WriteFile(root_ / "data/ply/skin.txt", "skin");
        fs::current_path(root_.Path());

        os_.SetTempDir(temp_.Path());
        UseTempDir(temp_.Path());

        Reopen();
    }

    // A fresh dialog, opened, whose input boxes run the way their dialog
    // procedure runs them: opened, typed into (the edit reports each
    // change), then OK.
    void Reopen() {
        dialog_ = TestUi();
        prompts_.clear();
        dialog_.SetDialogResult("IDD_INPUTBOX", 2, [this] {
            TestUi box;
            OpenInputBox(box);
            prompts_.push_back({box.Captions().empty() ? "?" : box.Captions().back(),
                                box.TextOf(IDC_INPUT_PROMPT), box.TextOf(IDC_INPUT_EDIT),
                                box.TextOf(1)});
            if (!names_.empty()) {
                box.Type(IDC_INPUT_EDIT, names_.front());
                names_.pop_front();
                RunInputBoxCommand(box, IDC_INPUT_EDIT, kEditChanged);
            }
            RunInputBoxCommand(box, 1, 0);
        });
        OpenCreateLeague(dialog_);
    }

    void Enter(const std::string& name, const std::string& players, const std::string& rounds,
               const std::string& voks, const std::string& lives) {
        dialog_.Type(IDC_LEAGUE_NAME, name);
        dialog_.Type(IDC_LEAGUE_PLAYERS, players);
        dialog_.Type(IDC_LEAGUE_ROUNDS, rounds);
        dialog_.Type(IDC_LEAGUE_VOKS, voks);
        dialog_.Type(IDC_LEAGUE_LIVES, lives);
    }

    void Reply(vok::Answer answer, int times = 1) {
        for (int i = 0; i < times; ++i) {
            dialog_.QueueAnswer(answer);
        }
    }

    bool Ok() { return RunCreateLeagueCommand(dialog_, 1); }

    std::string Shown(int control) {
        char text[512];
        dialog_.GetText(control, text, sizeof text);
        return text;
    }

    std::string LeagueFile() const { return temp_ / "vokleague.dat"; }

    // The value of `key` in the league file, as the game's reader sees it.
    std::string Stored(const std::string& key) {
        KeyValueFile file(LeagueFile().c_str());
        return file.GetValue(key.c_str(), "<missing>");
    }

    TempFolder root_;
    TempFolder temp_;
    CurrentFolderGuard folderGuard_;
    TestOs os_;
    ScopedOs scope_{os_};
    TestUi dialog_;
    std::deque<std::string> names_;
    std::vector<Prompt> prompts_;
};

TEST_F(CreateLeagueTest, OpeningTranslatesTheDialogAndFillsTheDefaults) {
    EXPECT_EQ(dialog_.Captions(), std::vector<std::string>{"en 56"});
    EXPECT_EQ(dialog_.TextOf(IDC_LEAGUE_NAME_LABEL), "en 57");
    EXPECT_EQ(dialog_.TextOf(IDC_LEAGUE_PLAYERS_LABEL), "en 58");
    EXPECT_EQ(dialog_.TextOf(IDC_LEAGUE_ROUNDS_LABEL), "en 59");
    EXPECT_EQ(dialog_.TextOf(IDC_LEAGUE_VOKS_LABEL), "en 60");
    EXPECT_EQ(dialog_.TextOf(IDC_LEAGUE_LIVES_LABEL), "en 61");
    EXPECT_EQ(dialog_.TextOf(1), "en 62");
    EXPECT_EQ(dialog_.TextOf(2), "en 63");
    EXPECT_EQ(Shown(IDC_LEAGUE_NAME), "Vok");
    EXPECT_EQ(Shown(IDC_LEAGUE_PLAYERS), "2");
    EXPECT_EQ(Shown(IDC_LEAGUE_ROUNDS), "2");
    EXPECT_EQ(Shown(IDC_LEAGUE_VOKS), "3");
    EXPECT_EQ(Shown(IDC_LEAGUE_LIVES), "10");
}

TEST_F(CreateLeagueTest, DefaultsAskTwoNamesAndSixCreaturesThenWriteTheLeague) {
    Reply(Answer::Ok, 6);
    EXPECT_TRUE(Ok());

    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{1});
    ASSERT_EQ(prompts_.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(prompts_[i].title, "");
        EXPECT_EQ(prompts_[i].prompt, "en 64 " + std::to_string(i + 1));
        EXPECT_EQ(prompts_[i].defaultText, "en 65" + std::to_string(i + 1));
        EXPECT_EQ(prompts_[i].okCaption, "en 66");
    }
    std::vector<std::string> questions;
    for (const TestUi::Message& message : dialog_.Messages()) {
        EXPECT_EQ(message.caption, "");
        EXPECT_EQ(message.buttons, Buttons::OkCancel);
        questions.push_back(message.text);
    }
    std::vector<std::string> expected = {"en 67 (1/3)", "en 67 (2/3)", "en 67 (3/3)",
                                         "en 67 (1/3)", "en 67 (2/3)", "en 67 (3/3)"};
    EXPECT_EQ(questions, expected);

    EXPECT_EQ(Stored("LeagueName"), "Vok");
    EXPECT_NE(ReadFile(LeagueFile()).find("LeagueName = \"Vok\"\r\n"), std::string::npos);
    EXPECT_EQ(Stored("NrPlayers"), "2");
    EXPECT_EQ(Stored("LeagueRounds"), "2");
    EXPECT_EQ(Stored("VoksPerTeam"), "3");
    EXPECT_EQ(Stored("LivesPerVok"), "10");
    // The default names hold a blank, which their quotes keep in the value.
    EXPECT_EQ(Stored("ply[0].name"), "en 651");
    EXPECT_EQ(Stored("ply[1].name"), "en 652");
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 3; ++j) {
            SCOPED_TRACE(CreatureFolder(i, j));
            std::string key = "ply[" + std::to_string(i) + "].vok[" + std::to_string(j) + "].";
            EXPECT_EQ(Stored(key + "name"), "Grunt");
            EXPECT_EQ(Stored(key + "path"), temp_.Path() + CreatureFolder(i, j) + "/");
            EXPECT_EQ(Stored(key + "lives"), "10");
            EXPECT_EQ(Entries(temp_ / CreatureFolder(i, j)),
                      (std::set<std::string>{"data.dat", "skin.txt"}));
            EXPECT_EQ(ReadFile(temp_ / CreatureFolder(i, j) + "/data.dat"),
                      ReadFile(root_ / "data/ply/data.dat"));
        }
    }
}

TEST_F(CreateLeagueTest, TextToInt32ReadsLikeTheCLibraryAndSaturates) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"42", 42},
        {"  \t+7", 7},
        {"-3", -3},
        {"12abc", 12},
        {"1 2", 1},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"999999999999999999999999999999", INT_MAX},
        {"-999999999999999999999999999999", INT_MIN},
        {"000000000000000000000000000005", 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToInt32(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST_F(CreateLeagueTest, OutOfRangeSettingsAreShownCorrectedAndTheDialogStaysOpen) {
    const std::string k30(30, '9');
    const struct {
        const char* what;
        std::string entered[5];  // name, players, rounds, creatures, lives
        std::string shown[5];
    } cases[] = {
        {"players 1, creatures 9", {"Vok", "1", "2", "9", "10"}, {"Vok", "2", "2", "5", "10"}},
        {"rounds 0, players 20", {"Vok", "20", "0", "3", "10"}, {"Vok", "12", "1", "3", "10"}},
        {"creatures 0, lives -4", {"Vok", "2", "2", "0", "-4"}, {"Vok", "2", "2", "1", "1"}},
        {"empty name", {"", "2", "2", "3", "10"}, {"-", "2", "2", "3", "10"}},
        {"only quotes", {"\"\"", "2", "2", "3", "10"}, {"-", "2", "2", "3", "10"}},
        {"22 characters",
         {std::string(22, 'n'), "2", "2", "3", "10"},
         {std::string(21, 'n'), "2", "2", "3", "10"}},
        {"quotes in the name",
         {"Big \"Cup\"", "2", "2", "3", "10"},
         {"Big Cup", "2", "2", "3", "10"}},
        {"30 digits", {"Vok", k30, k30, "3", "-" + k30}, {"Vok", "12", "2147483647", "3", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reopen();
        Enter(c.entered[0], c.entered[1], c.entered[2], c.entered[3], c.entered[4]);
        std::size_t textsBefore = dialog_.Texts().size();

        EXPECT_TRUE(Ok());

        EXPECT_GT(dialog_.Texts().size(), textsBefore);
        EXPECT_EQ(Shown(IDC_LEAGUE_NAME), c.shown[0]);
        for (int box = 0; box < 4; ++box) {
            EXPECT_EQ(Shown(kNumberBoxes[box]), c.shown[box + 1]) << kNumberBoxes[box];
        }
        EXPECT_TRUE(dialog_.EndResults().empty());
        EXPECT_TRUE(dialog_.Messages().empty());
        EXPECT_TRUE(prompts_.empty());
        EXPECT_EQ(Entries(temp_.Path()), std::set<std::string>{});
    }
}

TEST_F(CreateLeagueTest, TheOkAfterACorrectionStoresTheShownName) {
    const struct {
        const char* what;
        std::string entered;
        std::string stored;  // between its quotes
    } cases[] = {
        {"empty", "", "-"},
        {"22 characters", std::string(22, 'n'), std::string(21, 'n')},
        {"40 characters", std::string(40, 'x'), std::string(21, 'x')},
        {"quotes", "Big \"Cup\"", "Big Cup"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reopen();
        dialog_.Type(IDC_LEAGUE_NAME, c.entered);
        dialog_.Type(IDC_LEAGUE_VOKS, "1");
        Reply(Answer::Ok, 2);
        fs::remove(LeagueFile());

        EXPECT_TRUE(Ok());
        EXPECT_TRUE(dialog_.EndResults().empty());
        EXPECT_TRUE(Ok());

        EXPECT_EQ(dialog_.EndResults(), std::vector<int>{1});
        EXPECT_NE(ReadFile(LeagueFile()).find("LeagueName = \"" + c.stored + "\"\r\n"),
                  std::string::npos);
        EXPECT_EQ(Stored("LeagueName"), c.stored);
        EXPECT_EQ(Stored("NrPlayers"), "2");
    }
}

TEST_F(CreateLeagueTest, ANameOf21CharactersIsStoredWhole) {
    Enter(std::string(21, 'n'), "2", "0", "1", "0");  // rounds and lives silently 1
    Reply(Answer::Ok, 2);

    EXPECT_TRUE(Ok());

    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{1});
    EXPECT_EQ(Stored("LeagueName"), std::string(21, 'n'));
    EXPECT_EQ(Stored("LeagueRounds"), "1");
    EXPECT_EQ(Stored("LivesPerVok"), "1");
    EXPECT_EQ(Stored("ply[1].vok[0].lives"), "1");
}

TEST_F(CreateLeagueTest, PlayerNamesAreCutToThirteenAndLoseTheirQuotes) {
    Enter("Vok", "4", "2", "1", "10");
    names_ = {std::string(20, 'a'), "Bo \"the\" Axe", "", "\"ply[3].name\""};
    Reply(Answer::Ok, 4);

    EXPECT_TRUE(Ok());

    ASSERT_EQ(dialog_.EndResults(), std::vector<int>{1});
    std::string file = ReadFile(LeagueFile());
    EXPECT_NE(file.find("ply[0].name = \"" + std::string(13, 'a') + "\"\r\n"), std::string::npos);
    EXPECT_NE(file.find("ply[1].name = \"Bo the Axe\"\r\n"), std::string::npos);
    EXPECT_NE(file.find("ply[2].name = \"\"\r\n"), std::string::npos);
    EXPECT_EQ(Stored("ply[1].name"), "Bo the Axe");
    // Every key after a name still reads back.
    for (int i = 0; i < 4; ++i) {
        std::string player = "ply[" + std::to_string(i) + "].";
        EXPECT_EQ(Stored(player + "matches_played"), "0") << i;
        EXPECT_EQ(Stored(player + "vok[0].name"), "Grunt") << i;
    }
}

TEST_F(CreateLeagueTest, FullLeagueWritesAllSixtyCreaturesAnd534Lines) {
    Enter("Grand Cup", "12", "3", "5", "7");
    Reply(Answer::Ok, 60);

    EXPECT_TRUE(Ok());

    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{1});
    EXPECT_EQ(prompts_.size(), 12u);
    EXPECT_EQ(dialog_.Messages().size(), 60u);
    EXPECT_EQ(dialog_.Messages().back().text, "en 67 (5/5)");
    std::string file = ReadFile(LeagueFile());
    std::size_t lines = 0;
    for (std::size_t at = file.find("\r\n"); at != std::string::npos;
         at = file.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 534u);
    EXPECT_EQ(file.rfind("ply[11].vok[4].flawlesswins = 0\r\n", 0), 0u);
    EXPECT_EQ(Stored("ply[11].vok[4].path"), temp_.Path() + "p11_vok4/");
    std::set<std::string> expected = {"vokleague.dat"};
    for (int i = 0; i < 12; ++i) {
        for (int j = 0; j < 5; ++j) {
            expected.insert(CreatureFolder(i, j));
        }
    }
    EXPECT_EQ(Entries(temp_.Path()), expected);
}

TEST_F(CreateLeagueTest, CancelAtACreaturePromptRemovesTheLeagueMadeSoFar) {
    // Left by an earlier league; the walk of the removal reaches them too.
    WriteFile(temp_ / "vokleague.dat", "old");
    WriteFile(temp_ / "vok.exe", "game");
    WriteFile(temp_ / "unrelated.txt", "stays");
    Process().leaguePresent = 1;
    Reply(Answer::Ok, 4);  // three for the first player, one for the second
    Reply(Answer::Cancel);

    EXPECT_TRUE(Ok());

    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{2});
    EXPECT_EQ(dialog_.Messages().size(), 5u);
    EXPECT_EQ(dialog_.Messages().back().text, "en 67 (2/3)");
    EXPECT_EQ(prompts_.size(), 2u);
    EXPECT_EQ(Entries(temp_.Path()), std::set<std::string>{"unrelated.txt"});
    EXPECT_EQ(Process().leaguePresent, 0);
    EXPECT_EQ(os_.Calls(TestOs::Op::MakeFolder), 4);
}

TEST_F(CreateLeagueTest, CancelAtTheRetryQuestionKeepsTheFoldersMadeSoFar) {
    // data.dat opens for the first creature and is gone from then on.
    os_.FailCall(TestOs::Op::CanOpen, 2, true);
    Reply(Answer::Ok, 2);
    Reply(Answer::Retry);
    Reply(Answer::Cancel);

    EXPECT_TRUE(Ok());

    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{2});
    ASSERT_EQ(dialog_.Messages().size(), 4u);
    for (int i : {2, 3}) {
        EXPECT_EQ(dialog_.Messages()[i].text, "en 68");
        EXPECT_EQ(dialog_.Messages()[i].caption, "");
        EXPECT_EQ(dialog_.Messages()[i].buttons, Buttons::RetryCancel);
    }
    EXPECT_EQ(os_.Calls(TestOs::Op::CanOpen), 3);
    EXPECT_EQ(Entries(temp_.Path()), std::set<std::string>{"p0_vok0"});
    EXPECT_EQ(Entries(temp_ / "p0_vok0"), (std::set<std::string>{"data.dat", "skin.txt"}));
}

TEST_F(CreateLeagueTest, ARetryQuestionThatCannotBeShownEndsTheGathering) {
    os_.FailCall(TestOs::Op::CanOpen, 1, true);
    Reply(Answer::Ok);  // then every box answers None

    EXPECT_TRUE(Ok());

    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{2});
    EXPECT_EQ(dialog_.Messages().size(), 2u);
    EXPECT_FALSE(Exists(LeagueFile()));
}

TEST_F(CreateLeagueTest, ReadOnlySourceFilesAreCopiedWithNormalAttributes) {
    MakeReadOnly(root_ / "data/ply/data.dat");
    MakeReadOnly(root_ / "data/ply/skin.txt");
    dialog_.Type(IDC_LEAGUE_VOKS, "1");
    Reply(Answer::Ok, 2);

    EXPECT_TRUE(Ok());

    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{1});
    EXPECT_EQ(os_.Calls(TestOs::Op::SetNormal), 4);
    for (int player : {0, 1}) {
        for (const char* name : {"/data.dat", "/skin.txt"}) {
            std::string copy = temp_ / CreatureFolder(player, 0) + name;
            ASSERT_TRUE(Exists(copy)) << copy;
            EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none)
                << copy;
        }
    }
}

TEST_F(CreateLeagueTest, UnusableTemporaryDirectoryIsRefusedBeforeAnythingIsTouched) {
    const struct {
        const char* what;
        bool valid;
        std::size_t length;  // of the temporary directory
        const char* players;
    } cases[] = {
        {"unknown", false, 100, "2"},
        {"p1_vok2/ does not fit", true, 504, "2"},
        {"p11_vok2/ does not fit", true, 503, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestUi dialog;
        OpenCreateLeague(dialog);
        dialog.Type(IDC_LEAGUE_PLAYERS, c.players);
        std::string dir = temp_.Path() + std::string(c.length - temp_.Path().size() - 1, 'd') + "/";
        UseTempDir(dir, c.valid);

        EXPECT_TRUE(RunCreateLeagueCommand(dialog, 1));

        EXPECT_EQ(dialog.EndResults(), std::vector<int>{2});
        ASSERT_EQ(dialog.Messages().size(), 1u);
        EXPECT_EQ(dialog.Messages()[0].text, kTempDirUnusableText);
        EXPECT_EQ(dialog.Messages()[0].caption, "");
        EXPECT_TRUE(dialog.DialogsRun().empty());
        EXPECT_EQ(os_.Calls(TestOs::Op::MakeFolder), 0);
    }
    // With two players of one creature, "p1_vok0/data.dat" and
    // "vokleague.dat" just fit the buffers, and "vokleague.dat.new" the
    // system's own limit (MAX_PATH under Windows, far lower). The folder
    // itself cannot be made (its name is too long for the file system), which
    // is as silent as any failure to make it.
    TestUi dialog;
    OpenCreateLeague(dialog);
    dialog.Type(IDC_LEAGUE_VOKS, "1");
    const std::size_t longest = std::min<std::size_t>(495, SystemOs().PathLimit() - 18);
    std::string dir = temp_.Path() + std::string(longest - temp_.Path().size() - 1, 'd') + "/";
    UseTempDir(dir);
    dialog.QueueAnswer(Answer::Ok);
    dialog.QueueAnswer(Answer::Ok);
    dialog.SetDialogResult("IDD_INPUTBOX", 2, nullptr);

    EXPECT_TRUE(RunCreateLeagueCommand(dialog, 1));

    EXPECT_EQ(dialog.Messages().size(), 2u);
    EXPECT_EQ(os_.Calls(TestOs::Op::MakeFolder), 2);
}

TEST_F(CreateLeagueTest, CancelEndsWithTwoAndOtherCommandsAreNotHandled) {
    for (int id : {0, 3, IDC_LEAGUE_NAME, IDC_LEAGUE_PLAYERS, 0xFFFF}) {
        EXPECT_FALSE(RunCreateLeagueCommand(dialog_, id)) << id;
    }
    EXPECT_TRUE(dialog_.EndResults().empty());
    EXPECT_TRUE(RunCreateLeagueCommand(dialog_, 2));
    EXPECT_EQ(dialog_.EndResults(), std::vector<int>{2});
    EXPECT_TRUE(dialog_.Messages().empty());
    EXPECT_EQ(Entries(temp_.Path()), std::set<std::string>{});
}

}  // namespace
}  // namespace vok::test
