// Data roots and temporary folders that a player could really have, run
// through the whole launcher: start-up, the main menu, a new league and the
// game launch, with a player who answers every question as one who wants a
// league does. For each case: what the player is shown, what is left on disk,
// and that the run comes to its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#if defined(__linux__)
#include <sys/mount.h>
#include <unistd.h>
#endif

#include "LauncherTestSupport.h"
#include "ScriptedPlayer.h"
#include "TestOs.h"
#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"
#include "launcher/StartUp.h"
#include "league/CreateLeague.h"
#include "resources/resource.h"

namespace vok::test {
namespace {

namespace fs = std::filesystem;

using Listing = std::map<std::string, std::string>;

const char* const kCreature = "name = Grunt\r\nspecies = \"Rock troll\"\r\n";
const char* const kSkin = "skin";
const char* const kGame = "MZ the game";

// The main menu's translated buttons with their language lines.
const std::pair<int, int> kMenuLines[] = {
    {IDC_MAIN_PRACTICE, 44},   {IDC_MAIN_SINGLEMATCH, 45}, {IDC_MAIN_NEWLEAGUE, 46},
    {IDC_MAIN_LOADLEAGUE, 47}, {IDC_MAIN_CREDITS, 48},     {IDC_MAIN_DIRECTX, 49},
    {IDC_MAIN_LICENCE, 50},    {IDC_MAIN_WEBSITE, 51},     {IDC_MAIN_CANCEL, 52},
};

std::string RandomBytes(std::size_t size, unsigned seed, const std::string& without = "") {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        do {
            byte = static_cast<char>(random() & 0xFF);
        } while (without.find(byte) != std::string::npos);
    }
    return bytes;
}

std::string Lines(int count, const std::string& prefix) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += prefix + std::to_string(i) + "\r\n";
    }
    return text;
}

// Line `n` of a language file as the player sees it: the file read as
// Windows reads text (Ctrl-Z ends it, a carriage return before a line feed is
// dropped), the line cut to 499 characters, shown up to its first zero byte;
// "<error>" past the last line and past the table's 512.
std::string ShownLine(const std::optional<std::string>& file, std::size_t n) {
    if (!file || n >= 512) {
        return "<error>";
    }
    std::string text = file->substr(0, file->find('\x1A'));
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t feed = text.find('\n', start);
        if (feed == std::string::npos) {
            return "<error>";
        }
        start = feed + 1;
    }
    std::size_t feed = text.find('\n', start);
    std::string line =
        text.substr(start, feed == std::string::npos ? std::string::npos : feed - start);
    if (feed != std::string::npos && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    line.resize(std::min<std::size_t>(line.size(), 499));
    return line.substr(0, line.find('\0'));
}

// What one run of the launcher showed and left.
struct Seen {
    int result = -1;  // StartUp's own; the exit that counts is in `exits`
    std::map<int, std::string> menu;
    std::vector<ScriptedPlayer::Shown> messages;
    std::vector<TestOs::ShellCall> starts;
    std::vector<int> exits;
    int createResult = -1;
    bool loadLeagueEnabled = false;

    std::vector<std::string> TextsOf(Buttons buttons) const {
        std::vector<std::string> texts;
        for (const auto& shown : messages) {
            if (shown.buttons == buttons) {
                texts.push_back(shown.text);
            }
        }
        return texts;
    }
};

// A data root with the sample's shape (a language file of 102 lines, one
// creature, the game) and an empty temporary folder; the launcher is started
// on them as the player starts it.
class HostileInputTest : public ::testing::Test {
protected:
    HostileInputTest() {
        WriteLanguageFile(root_.Path(), "english.txt", 102, "en ");
        ResetCreature();
        WriteFile(root_ / "vok.exe", kGame);
    }

    void ResetCreature() {
        fs::remove_all(root_ / "data/ply");
        fs::create_directories(root_ / "data/ply");
        WriteFile(root_ / "data/ply/data.dat", kCreature);
        WriteFile(root_ / "data/ply/skin.txt", kSkin);
    }

    void ClearTemp() {
        for (const auto& entry : fs::directory_iterator(temp_.Path())) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
            fs::remove_all(entry.path());
        }
    }

    ~HostileInputTest() override { ResetProcess(); }

    // Starts the launcher with `tempDir` as the system's temporary folder,
    // opens the main menu and presses `buttons` until the launcher ends.
    Seen Launch(const std::vector<int>& buttons, const std::string& tempDir,
                const std::function<void(ScriptedPlayer&)>& script = nullptr,
                const std::function<void(TestOs&)>& arm = nullptr) {
        CurrentFolderGuard folder;
        ResetProcess();
        TestOs os;
        os.SetExecutableFolder(root_.Path());
        os.SetTempDir(tempDir);
        if (arm) {
            arm(os);
        }
        ScriptedPlayer player(os);
        player.players = "2";
        player.voks = "1";
        if (script) {
            script(player);
        }
        Seen run;
        {
            ScopedOs scope(os);
            run.result = StartUp(nullptr, player.Desktop(buttons));
        }
        run.menu = player.MenuTexts();
        run.messages = player.Messages();
        run.starts = os.ShellCalls();
        run.exits = os.Exits();
        run.createResult = player.CreateLeagueResult();
        run.loadLeagueEnabled = player.LoadLeagueEnabled();
        return run;
    }

    Seen NewLeague(const std::function<void(ScriptedPlayer&)>& script = nullptr) {
        return Launch({IDC_MAIN_NEWLEAGUE, IDC_MAIN_CANCEL}, temp_.Path(), script);
    }

    // The files of the creature source folder, as every creature folder must
    // hold them; sub-folders are no part of a creature.
    Listing Creature() const {
        Listing files;
        for (const auto& entry : fs::directory_iterator(root_ / "data/ply")) {
            if (entry.is_regular_file()) {
                files[entry.path().filename().string()] = ReadFile(entry.path().string());
            }
        }
        return files;
    }

    // A temporary folder after a league of `players` players with `voks`
    // creatures named `creature`, and the game copy.
    Listing LeagueLeft(const std::string& temp, std::vector<std::string> players, int voks,
                       const std::string& creature) const {
        Listing expected = {{"vokleague.dat", LeagueFile(temp, players, voks, creature)},
                            {"vok.exe", kGame}};
        for (std::size_t i = 0; i < players.size(); ++i) {
            for (int j = 0; j < voks; ++j) {
                const std::string folder = "p" + std::to_string(i) + "_vok" + std::to_string(j);
                expected[folder + "/"] = "";
                for (const auto& file : Creature()) {
                    expected[folder + "/" + file.first] = file.second;
                }
            }
        }
        return expected;
    }

    static void ExpectLeagueStarted(const Seen& run, const std::string& temp) {
        EXPECT_EQ(run.createResult, 1);
        ASSERT_EQ(run.starts.size(), 1u);
        EXPECT_EQ(run.starts[0].file, temp + "vok.exe");
        EXPECT_EQ(run.starts[0].parameters, "league q0");
        EXPECT_EQ(run.exits, std::vector<int>{kExitHandedOver});
    }

    TempFolder root_;
    TempFolder temp_;
};

TEST_F(HostileInputTest, LanguageFilesTheMenuStillOpensWith) {
    std::string ctrlZ = Lines(102, "en ");
    ctrlZ.insert(ctrlZ.find("en 48") + 3, "\x1A");
    std::string longLine = Lines(102, "en ");
    longLine.insert(longLine.find("en 44") + 5, std::string(1 << 20, 'w'));
    const struct {
        const char* what;
        std::optional<std::string> file;  // none: no language folder at all
    } cases[] = {
        {"no language folder", std::nullopt},
        {"an empty english.txt", ""},
        {"10 MB of random bytes, ending at the first Ctrl-Z", RandomBytes(10 << 20, 1)},
        {"10 MB of random bytes without Ctrl-Z", RandomBytes(10 << 20, 2, "\x1A")},
        {"100 000 lines", Lines(100000, "line ")},
        {"a line of 1 MB as line 44", longLine},
        {"Ctrl-Z in the middle of line 48", ctrlZ},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root_ / "data/language");
        if (c.file) {
            fs::create_directories(root_ / "data/language");
            WriteFile(root_ / "data/language/english.txt", *c.file);
        }

        Seen run = Launch({IDC_MAIN_CANCEL}, temp_.Path());

        EXPECT_EQ(run.result, kExitMenuClosed);
        EXPECT_TRUE(run.exits.empty());
        EXPECT_TRUE(run.messages.empty());
        for (const auto& button : kMenuLines) {
            EXPECT_EQ(run.menu[button.first], ShownLine(c.file, button.second)) << button.first;
        }
        EXPECT_TRUE(Tree(temp_.Path()).empty());
    }
}

TEST_F(HostileInputTest, CreatureSourcesGiveAWholeLeague) {
    const std::string heavy = "name = Heavy\r\n" + RandomBytes(50 << 20, 3);
    std::string highName;
    for (int byte = 0x80; byte < 0x80 + 30; ++byte) {
        highName += static_cast<char>(byte);
    }
    std::string binary = RandomBytes(64 << 10, 4, "\x1A");
    binary.insert(binary.size() / 2, "\nname = " + highName + "\r\n");
    const struct {
        const char* what;
        std::function<void(const std::string& ply)> prepare;
        std::string creature;  // as the league file holds it
    } cases[] = {
        {"an empty data.dat", [](const std::string& ply) { WriteFile(ply + "data.dat", ""); }, ""},
        {"a binary data.dat whose name is 30 high bytes",
         [&](const std::string& ply) { WriteFile(ply + "data.dat", binary); },
         highName.substr(0, 24)},
        {"a data.dat of 50 MB", [&](const std::string& ply) { WriteFile(ply + "data.dat", heavy); },
         "Heavy"},
        {"no \"name\" key",
         [](const std::string& ply) { WriteFile(ply + "data.dat", "species = troll\r\n"); }, ""},
        {"a name of exactly 24 characters, under an upper-case key",
         [](const std::string& ply) {
             WriteFile(ply + "data.dat", "NAME = " + std::string(24, 'n') + "\r\n");
         },
         std::string(24, 'n')},
        {"a name of 200 characters",
         [](const std::string& ply) {
             WriteFile(ply + "data.dat", "name = " + std::string(200, 'n') + "\r\n");
         },
         std::string(24, 'n')},
        {"a quoted name with blanks, '=', ',' and a line break",
         [](const std::string& ply) {
             WriteFile(ply + "data.dat", "name = \"Big Bad, =Wolf\r\nof the North\"\r\n");
         },
         "Big Bad, =Wolf  of the N"},
        {"a name that spells a later key after a line break",
         [](const std::string& ply) {
             WriteFile(ply + "data.dat", "name = \"x\r\nply[1].points\"\r\n");
         },
         "x  ply[1].points"},
        {"a sub-folder with a file of its own",
         [](const std::string& ply) {
             fs::create_directories(ply + "textures");
             WriteFile(ply + "textures/fur.bmp", "BM");
         },
         "Grunt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetCreature();
        c.prepare(root_ / "data/ply/");
        ClearTemp();
        const Listing rootBefore = Tree(root_.Path());

        Seen run = NewLeague();

        EXPECT_EQ(run.TextsOf(Buttons::OkCancel),
                  (std::vector<std::string>{"en 67 (1/1)", "en 67 (1/1)"}));
        EXPECT_TRUE(run.TextsOf(Buttons::RetryCancel).empty());
        ExpectLeagueStarted(run, temp_.Path());
        EXPECT_TRUE(Tree(temp_.Path()) == LeagueLeft(temp_.Path(), {"Ann", "Bo"}, 1, c.creature));
        EXPECT_TRUE(Tree(root_.Path()) == rootBefore);
    }
}

TEST_F(HostileInputTest, AMissingCreatureIsAskedForUntilThePlayerCancels) {
    const struct {
        const char* what;
        std::function<void(const std::string& ply)> prepare;
    } cases[] = {
        {"no data.dat", [](const std::string& ply) { fs::remove(ply + "data.dat"); }},
        // Windows cannot open a folder as a file: the same as none.
        {"a folder named data.dat",
         [](const std::string& ply) {
             fs::remove(ply + "data.dat");
             fs::create_directory(ply + "data.dat");
         }},
        {"no data/ply at all", [](const std::string& ply) { fs::remove_all(ply); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetCreature();
        c.prepare(root_ / "data/ply/");

        Seen run = NewLeague();

        EXPECT_EQ(run.TextsOf(Buttons::OkCancel), std::vector<std::string>{"en 67 (1/1)"});
        EXPECT_EQ(run.TextsOf(Buttons::RetryCancel), std::vector<std::string>(3, "en 68"));
        EXPECT_EQ(run.createResult, 2);
        EXPECT_FALSE(run.loadLeagueEnabled);
        EXPECT_TRUE(run.starts.empty());
        EXPECT_EQ(run.result, kExitMenuClosed);
        EXPECT_TRUE(run.exits.empty());
        EXPECT_TRUE(Tree(temp_.Path()).empty());
    }
}

TEST_F(HostileInputTest, AnOldLeagueThatResistsRemovalIsReplacedByAWholeLeague) {
    const struct {
        const char* what;
        std::function<void(const std::string& temp)> harden;
        Listing leftOver;  // beside the new league
    } cases[] = {
        {"a read-only file in a later creature folder",
         [](const std::string& temp) { MakeReadOnly(temp + "p0_vok1/skin.txt"); },
         {}},
        {"a read-only file in the first creature folder",
         [](const std::string& temp) { MakeReadOnly(temp + "p0_vok0/data.dat"); },
         {}},
        {"a read-only league file",
         [](const std::string& temp) { MakeReadOnly(temp + "vokleague.dat"); },
         {}},
        {"a read-only game copy",
         [](const std::string& temp) { MakeReadOnly(temp + "vok.exe"); },
         {}},
        // The removal does not enter sub-folders: what is in one stays.
        {"a sub-folder in the first creature folder",
         [](const std::string& temp) {
             fs::create_directory(temp + "p0_vok0/saves");
             WriteFile(temp + "p0_vok0/saves/slot1", "saved");
         },
         {{"p0_vok0/saves/", ""}, {"p0_vok0/saves/slot1", "saved"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTemp();
        // An older league of two players with two creatures each, in the
        // creature's own file names, so that a file not replaced shows.
        for (const char* folder : {"p0_vok0", "p0_vok1", "p1_vok0", "p1_vok1"}) {
            fs::create_directory(temp_ / folder);
            WriteFile(temp_ / folder + "/data.dat", "name = Zork\r\n");
            WriteFile(temp_ / folder + "/skin.txt", "old skin");
        }
        WriteFile(temp_ / "vokleague.dat", "LeagueName = \"Old Cup\"\r\nNrPlayers = 2\r\n");
        WriteFile(temp_ / "vok.exe", "MZ an older game");
        c.harden(temp_.Path());

        Seen run = Launch({IDC_MAIN_NEWLEAGUE, IDC_MAIN_CANCEL}, temp_.Path(),
                          [](ScriptedPlayer& player) { player.voks = "2"; });

        EXPECT_EQ(run.TextsOf(Buttons::YesNo), std::vector<std::string>{"en 69"});
        EXPECT_EQ(run.TextsOf(Buttons::OkCancel).size(), 4u);
        EXPECT_TRUE(run.TextsOf(Buttons::RetryCancel).empty());
        ExpectLeagueStarted(run, temp_.Path());
        Listing expected = LeagueLeft(temp_.Path(), {"Ann", "Bo"}, 2, "Grunt");
        expected.insert(c.leftOver.begin(), c.leftOver.end());
        EXPECT_TRUE(Tree(temp_.Path()) == expected);
    }
}

// Makes `name` in `folder` through the system's own calls, so that its bytes
// are taken as the launcher takes them (the ANSI code page on Windows).
std::string MakeFolderIn(const std::string& folder, const std::string& name) {
    const std::string path = folder + name;
    SystemOs().MakeFolder(path.c_str());
    return path + "/";
}

// A folder of exactly `length` bytes with its separator, made of nested
// folders under `base` that each fit a file name.
std::string FolderOfLength(const std::string& base, std::size_t length) {
    std::string folder = base;
    while (length - folder.size() > 201) {
        folder =
            MakeFolderIn(folder, std::string(length - folder.size() - 201 >= 2 ? 200 : 150, 'd'));
    }
    return MakeFolderIn(folder, std::string(length - folder.size() - 1, 'd'));
}

TEST_F(HostileInputTest, TemporaryFoldersALeagueIsMadeInOrRefusedFrom) {
    enum class Outcome { League, Refused, NoFolder };
    auto ofLength = [](std::size_t length) {
        return [length](const std::string& t) { return FolderOfLength(t, length); };
    };
    const struct {
        const char* what;
        std::function<std::string(const std::string& temp)> folder;
        Outcome outcome;
        // Under Windows, whose ANSI file functions stop at MAX_PATH (260);
        // folders longer than 250 bytes cannot be made there and are left out.
        Outcome windows;
        bool gameFits;  // the game copy's name fits its buffer
    } cases[] = {
        {"a name in the ANSI code page",
         [](const std::string& t) { return MakeFolderIn(t, "Spieler\xE4"); }, Outcome::League,
         Outcome::League, true},
        {"a folder that does not exist", [](const std::string& t) { return t + "gone/"; },
         Outcome::NoFolder, Outcome::NoFolder, true},
        // "vokleague.dat.new", beside the league file, would pass MAX_PATH.
        {"250 bytes", ofLength(250), Outcome::League, Outcome::Refused, true},
        {"495 bytes: the longest a league of two fits in", ofLength(495), Outcome::League,
         Outcome::Refused, true},
        // A creature folder would fit, but not its data.dat in it.
        {"496 bytes", ofLength(496), Outcome::Refused, Outcome::Refused, true},
        // The creature files would fit, but not "vokleague.dat".
        {"499 bytes", ofLength(499), Outcome::Refused, Outcome::Refused, true},
        {"505 bytes: not even the game copy's name fits", ofLength(505), Outcome::Refused,
         Outcome::Refused, false},
        {"511 bytes", ofLength(511), Outcome::Refused, Outcome::Refused, false},
        // The system's answer does not fit the 512-byte buffer: no folder.
        {"600 bytes", ofLength(600), Outcome::Refused, Outcome::Refused, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTemp();
        const std::string temp = c.folder(temp_.Path());
#if defined(_WIN32)
        if (temp.size() > 250) {
            continue;
        }
        const Outcome outcome = c.windows;
#else
        const Outcome outcome = c.outcome;
#endif

        Seen run = Launch({IDC_MAIN_NEWLEAGUE, IDC_MAIN_PRACTICE}, temp);

        switch (outcome) {
            case Outcome::League:
                EXPECT_TRUE(run.TextsOf(Buttons::Ok).empty());
                ExpectLeagueStarted(run, temp);
                EXPECT_TRUE(Tree(temp) == LeagueLeft(temp, {"Ann", "Bo"}, 1, "Grunt"));
                break;
            case Outcome::NoFolder:
                // Nothing can be made; the game is asked for all the same.
                EXPECT_TRUE(run.TextsOf(Buttons::Ok).empty());
                ExpectLeagueStarted(run, temp);
                EXPECT_TRUE(Tree(temp_.Path()).empty());
                break;
            case Outcome::Refused:
                EXPECT_EQ(run.TextsOf(Buttons::Ok), std::vector<std::string>{kTempDirUnusableText});
                EXPECT_TRUE(run.TextsOf(Buttons::OkCancel).empty());
                EXPECT_EQ(run.createResult, 2);
                EXPECT_FALSE(run.loadLeagueEnabled);
                // Practice afterwards: the game is copied and started when
                // its name fits, and the launcher ends either way.
                EXPECT_EQ(run.exits, std::vector<int>{kExitHandedOver});
                EXPECT_EQ(run.starts.size(), c.gameFits ? 1u : 0u);
                EXPECT_TRUE(Tree(temp) == (c.gameFits ? Listing{{"vok.exe", kGame}} : Listing{}));
                break;
        }
    }
}

#if defined(__linux__)
// A tmpfs of 64 KiB mounted on a fresh folder for as long as it lives, when
// the test may mount (as root with the right to); Mounted() says whether it is.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder) : folder_(folder) {
        fs::create_directories(folder_);
        mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                         "size=64k,mode=0777") == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_ = false;
};
#endif

// The disk fills while the second creature is copied: the flow goes on, the
// league file is absent or whole (never cut short, nothing half-written left
// beside it), the game is still asked for and the launcher ends with 1.
TEST_F(HostileInputTest, AFullDiskLeavesNoLeagueOrAWholeOne) {
    const std::string model = RandomBytes(40 << 10, 5);
    WriteFile(root_ / "data/ply/model.bin", model);
    const std::string temp = temp_.Path() + "disk/";
    bool realDisk = false;
#if defined(__linux__)
    SmallDisk disk(temp);
    realDisk = disk.Mounted();
#endif
    RecordProperty("disk", realDisk ? "tmpfs of 64 KiB" : "write failures through the seam");
    const Listing rootBefore = Tree(root_.Path());

    // Without a file system of our own, the seam fails what a full disk
    // would, from the second creature's model on.
    fs::create_directories(temp);
    Seen run = Launch({IDC_MAIN_NEWLEAGUE}, temp, nullptr, [realDisk](TestOs& os) {
        if (!realDisk) {
            os.FailPath(TestOs::Op::Copy, "p1_vok0/model.bin");
            os.FailPath(TestOs::Op::Write, "vokleague.dat");
            os.FailPath(TestOs::Op::Copy, "vok.exe");
        }
    });

    EXPECT_EQ(run.TextsOf(Buttons::OkCancel).size(), 2u);
    EXPECT_TRUE(run.TextsOf(Buttons::RetryCancel).empty());
    ExpectLeagueStarted(run, temp);
    Listing left = Tree(temp);
    EXPECT_EQ(left.count("vokleague.dat.new"), 0u);
    if (left.count("vokleague.dat")) {
        EXPECT_EQ(left["vokleague.dat"], LeagueFile(temp, {"Ann", "Bo"}, 1, "Grunt"));
    }
    // The first creature is whole; the second may be cut short, but only
    // cut: every byte it has is the source's.
    EXPECT_EQ(left["p0_vok0/model.bin"], model);
    EXPECT_EQ(left["p0_vok0/data.dat"], kCreature);
    const std::string cut = left["p1_vok0/model.bin"];
    EXPECT_LT(cut.size(), model.size());
    EXPECT_EQ(model.compare(0, cut.size(), cut), 0);
    EXPECT_TRUE(Tree(root_.Path()) == rootBefore);
}

}  // namespace
}  // namespace vok::test
