// End-to-end cases of the launcher: start-up, the main menu, the game launch,
// the DirectX question and the shell targets, each checked as a player would
// see it and by what ends up on disk and in the stand-ins' records.
#include <algorithm>

#include "DebugText.h"
#include "Harness.h"
#include "MenuChecks.h"
#include "Report.h"
#include "Win32Ui.h"

namespace gui {
namespace {

const DWORD kExitCodeOtherInstance = static_cast<DWORD>(-1);
const char kDdrawRecord[] = "ddraw.txt";
const char kDxSetupRecord[] = "dxsetup.txt";
// What the probe writes to the debugger when "DirectDrawCreate" is missing.
const char kProbeDebugText[] = "Couldn't LoadLibrary DDraw\r\n";

// --- start-up ---------------------------------------------------------------

void RunningGameIsBroughtForward() {
    Stage stage("startup-game-running");
    ChildProcess game;
    GUI_REQUIRE(game.Start(stage.Root("vok.exe"), "practice q0", stage.Root(), stage.Environment()),
                "start the game stand-in");
    Record record;
    GUI_REQUIRE(WaitForRecord(stage.Record(kGameRecord), "shown", kRecordTimeoutMs, record),
                "the game shows its window");
    HWND gameWindow = FindGameWindow();
    GUI_REQUIRE(gameWindow != nullptr, "the game window exists");

    Launcher launcher(stage);
    bool sawWindow = false;
    WaitUntil(kExitTimeoutMs, [&] {
        sawWindow = sawWindow || !TopLevelWindows(launcher.Pid()).empty();
        return !launcher.Process().Running();
    });
    GUI_CHECK_EQ(launcher.ExpectExit(), kExitCodeOtherInstance, "exit code beside a running game");
    GUI_CHECK(!sawWindow, "the launcher showed no window");
    GUI_CHECK(
        WaitForRecord(stage.Record(kGameRecord), "message 0x420 0 0", kRecordTimeoutMs, record),
        "the game received message 0x420 with parameters 0 and 0");
    GUI_CHECK(GetForegroundWindow() == gameWindow, "the game window is in the foreground");
    GUI_CHECK(game.Running(), "the game still runs");
    GUI_CHECK(ListTree(stage.Temp()).empty(), "nothing written to the temporary folder");
    GUI_CHECK(!FileExists(stage.Record(kDdrawRecord)), "DirectDraw was not probed");
}

void SecondLauncherLeavesFirstAlone() {
    Stage stage("startup-second-launcher");
    GUI_REQUIRE(WriteBytes(stage.Temp("vokleague.dat"), ""), "stage an empty league file");
    Launcher first(stage);
    HWND menu = first.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "the first launcher shows its menu");
    std::map<int, std::string> texts;
    for (int id : MainMenuIds()) {
        texts[id] = ControlText(menu, id);
    }

    Launcher second(stage);
    bool sawWindow = false;
    WaitUntil(kExitTimeoutMs, [&] {
        sawWindow = sawWindow || !TopLevelWindows(second.Pid()).empty();
        return !second.Process().Running();
    });
    GUI_CHECK_EQ(second.ExpectExit(), kExitCodeOtherInstance, "exit code of the second launcher");
    GUI_CHECK(!sawWindow, "the second launcher showed no window");
    GUI_CHECK(GetForegroundWindow() == menu, "the first launcher's menu is in the foreground");

    // Message 0x420 must have changed nothing in the first launcher.
    GUI_REQUIRE(first.Process().Running(), "the first launcher still runs");
    GUI_CHECK(FindDialog(first.Pid(), MainMenuIds()) == menu, "the first menu is still shown");
    for (int id : MainMenuIds()) {
        GUI_CHECK_EQ(ControlText(menu, id), texts[id], Format("button %d text unchanged", id));
    }
    CheckOpeningStates(menu, true);
    CheckNoMessageBox(first.Pid(), "after the second start");
    GUI_CHECK(!FileExists(stage.Record(kGameRecord)), "no game was started");
    CancelMenu(first, menu);
}

void LoadLeagueFollowsLeagueFile() {
    struct Row {
        const char* name;
        const char* league;  // nullptr: no file; "/": a folder of that name
        bool enabled;
    };
    const Row rows[] = {
        {"none", nullptr, false},
        {"empty", "", true},
        {"written", "matches_played = 0\r\n", true},
        {"folder", "/", false},
    };
    for (const Row& row : rows) {
        Stage stage(std::string("startup-league-") + row.name);
        if (row.league != nullptr && std::string(row.league) == "/") {
            GUI_REQUIRE(MakeFolders(stage.Temp("vokleague.dat")), "make a folder vokleague.dat");
        } else if (row.league != nullptr) {
            GUI_REQUIRE(WriteBytes(stage.Temp("vokleague.dat"), row.league),
                        "stage the league file");
        }
        const auto before = ListTree(stage.Temp());
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, std::string("menu shown, league ") + row.name);
        GUI_CHECK_EQ(ControlEnabled(menu, kLoadLeague), row.enabled,
                     std::string("Load League enabled, league ") + row.name);
        CancelMenu(launcher, menu);
        GUI_CHECK(ListTree(stage.Temp()) == before,
                  std::string("temporary folder untouched, league ") + row.name);
    }
}

// --- main menu --------------------------------------------------------------

void EnglishMenuAndProbeCleanUp() {
    Stage stage("menu-english");
    DebugTextMonitor debugText;
    GUI_REQUIRE(debugText.Ok(), "monitor debugger output");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    CheckNoMessageBox(launcher.Pid(), "at opening");
    GUI_CHECK(debugText.TextsOf(launcher.Pid()).empty(), "no debugger output");
    CheckTranslatedTexts(menu, StagedLanguage(stage, "english.txt"), "english.txt");
    CheckOpeningStates(menu, false);

    // By the time the menu shows, the probe has created and released the
    // object and freed the library.
    const Record ddraw = ReadRecord(stage.Record(kDdrawRecord));
    const std::vector<std::string> expected = {
        "attach 4", "create-ex driver=null iid=IDirectDraw7 outer=null", "release 0", "detach"};
    GUI_CHECK(ddraw.events == expected,
              "probe: the stand-in library was loaded, the object "
              "created with IID_IDirectDraw7 and released, the library freed");
    SaveShot(menu, "main-menu-english.png");
    CancelMenu(launcher, menu);
    GUI_CHECK(ListTree(stage.Temp()).empty(), "nothing written to the temporary folder");
    GUI_CHECK(!FileExists(stage.Record(kGameRecord)), "no game was started");
}

void CloseBoxEndsWithZero() {
    Stage stage("menu-close-box");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    PostMessageA(menu, WM_CLOSE, 0, 0);
    GUI_CHECK_EQ(launcher.ExpectExit(), 0, "exit code after the close box");
}

void ShortLanguageFileShowsError() {
    struct Row {
        size_t lines;  // how many lines of english.txt the staged file keeps
    };
    const Row rows[] = {{44}, {45}, {1}};
    for (const Row& row : rows) {
        Stage stage(Format("menu-short-language-%u", static_cast<unsigned>(row.lines)));
        std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
        lines.resize(row.lines);
        std::string bytes;
        for (size_t i = 0; i < lines.size(); ++i) {
            bytes += lines[i];
            if (i + 1 < lines.size()) {
                bytes += "\r\n";  // no line feed after the last: exactly row.lines lines
            }
        }
        GUI_REQUIRE(WriteBytes(stage.Language("english.txt"), bytes), "write the short file");
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr,
                    Format("menu shown with %u lines", static_cast<unsigned>(row.lines)));
        CheckTranslatedTexts(menu, lines,
                             Format("%u-line english.txt", static_cast<unsigned>(row.lines)));
        CheckOpeningStates(menu, false);
        CancelMenu(launcher, menu);
    }
}

// --- game launch ------------------------------------------------------------

void GameButtonsStartCopyWithLevel() {
    struct Row {
        int button;
        std::vector<WORD> keys;
        const char* args;
    };
    const Row rows[] = {
        {kPractice, {}, "practice q0"},
        {kPractice, {VK_SHIFT}, "practice q1"},
        {kPractice, {VK_CONTROL}, "practice q2"},
        {kPractice, {VK_CONTROL, VK_SHIFT}, "practice q3"},
        {kSingleMatch, {}, "singlematch q0"},
        {kSingleMatch, {VK_SHIFT}, "singlematch q1"},
        {kSingleMatch, {VK_CONTROL}, "singlematch q2"},
        {kSingleMatch, {VK_CONTROL, VK_SHIFT}, "singlematch q3"},
    };
    for (const Row& row : rows) {
        Stage stage(std::string("launch-") + row.args);
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, std::string("menu shown for ") + row.args);
        {
            HeldKeys keys(row.keys);
            GUI_REQUIRE(keys.Confirm(menu), std::string("keys held for ") + row.args);
            GUI_REQUIRE(Click(menu, row.button), Format("press button %d", row.button));
            GUI_CHECK_EQ(launcher.ExpectExit(), 1, std::string("exit code after ") + row.args);
        }
        const StartRecord start = ExpectOneGameStart(stage);
        GUI_CHECK_EQ(start.args, row.args, "game arguments");
        GUI_CHECK_EQ(start.cmdline.find(stage.Temp("vok.exe")) != std::string::npos, true,
                     "the copy in the temporary folder was started: " + start.cmdline);
        GUI_CHECK_EQ(start.cwd, stage.Root(), "the game starts in the data root");
        GUI_CHECK(!start.leagueFound, "no league file");
        CheckTempAfterLaunch(stage);
    }
}

void StaleGameCopyIsReplaced() {
    struct Row {
        const char* name;
        bool readOnly;
    };
    const Row rows[] = {{"writable", false}, {"read-only", true}};
    for (const Row& row : rows) {
        if (row.readOnly && ReadOnlyIgnored(Settings().work)) {
            Skip(
                "read-only files can be replaced here (Wine run as root?); run as an unprivileged "
                "user");
        }
        Stage stage(std::string("launch-stale-") + row.name);
        GUI_REQUIRE(WriteBytes(stage.Temp("vok.exe"), "stale copy of an older game"),
                    "stage a stale copy");
        if (row.readOnly) {
            GUI_REQUIRE(SetFileAttributesA(stage.Temp("vok.exe").c_str(), FILE_ATTRIBUTE_READONLY),
                        "make the stale copy read-only");
        }
        Launcher launcher(stage);
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, "menu shown");
        GUI_REQUIRE(Click(menu, kSingleMatch), "press Single Match");
        GUI_CHECK_EQ(launcher.ExpectExit(), 1, std::string("exit code, stale copy ") + row.name);
        const StartRecord start = ExpectOneGameStart(stage);
        GUI_CHECK_EQ(start.args, "singlematch q0", "game arguments");
        CheckTempAfterLaunch(stage);
    }
}

void FailedCopyStillStartsTarget() {
    Stage stage("launch-copy-fails");
    // An older program stands where the copy goes and is held open so that it
    // cannot be replaced: the launcher must start whatever is there and still
    // end with 1.
    GUI_REQUIRE(CopyTree(Join(Settings().standins, "shell-open.exe"), stage.Temp("vok.exe")),
                "stage an older program as the game copy");
    std::string older;
    GUI_REQUIRE(ReadBytes(stage.Temp("vok.exe"), older), "read the older program");
    HANDLE held = CreateFileA(stage.Temp("vok.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    GUI_REQUIRE(held != INVALID_HANDLE_VALUE, "hold the game copy open");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    if (menu != nullptr) {
        GUI_CHECK(Click(menu, kPractice), "press Practice");
    }
    DWORD code = 0;
    const bool ended = launcher.Process().WaitExit(kExitTimeoutMs, code);
    CloseHandle(held);
    GUI_REQUIRE(menu != nullptr, "menu shown");
    GUI_REQUIRE(ended, "the launcher ends");
    GUI_CHECK_EQ(code, 1, "exit code after a failed copy");
    Record record;
    GUI_CHECK(WaitForRecord(stage.Record("shell-open.txt"), "end", kRecordTimeoutMs, record),
              "the program at the target path was started");
    if (!record.starts.empty()) {
        GUI_CHECK_EQ(record.starts[0].args, "practice q0", "its arguments");
    }
    std::string now;
    GUI_CHECK(ReadBytes(stage.Temp("vok.exe"), now) && now == older, "the held copy is unchanged");
}

// --- DirectX question ---------------------------------------------------------

// What the stand-in library must have seen by the time the question shows.
// Only the library without "DirectDrawCreate" makes the probe write to the
// debugger, although it offers a working "DirectDrawCreateEx".
struct ProbePath {
    Ddraw ddraw;
    std::vector<std::string> events;
    std::vector<std::string> debugText;
};
const ProbePath kMissingDirectDraw7[] = {
    {Ddraw::Off, {}, {}},
    {Ddraw::NoCreate, {"attach 1", "detach"}, {kProbeDebugText}},
    {Ddraw::NoCreateEx, {"attach 2", "detach"}, {}},
    {Ddraw::CreateExFails,
     {"attach 3", "create-ex driver=null iid=IDirectDraw7 outer=null", "detach"},
     {}},
};

// Waits for the DirectX question and checks it; returns it.
MessageBoxInfo ExpectDirectXQuestion(const Stage& stage, Launcher& launcher) {
    MessageBoxInfo box;
    bool sawMenu = false;
    WaitUntil(kStartTimeoutMs, [&] {
        sawMenu = sawMenu || FindDialog(launcher.Pid(), MainMenuIds()) != nullptr;
        return FindMessageBox(launcher.Pid(), box) || !launcher.Process().Running();
    });
    GUI_REQUIRE(box.window != nullptr, "the DirectX question is shown");
    GUI_CHECK(!sawMenu, "the menu is not shown before the question is answered");
    GUI_CHECK_EQ(box.caption, "", "question caption");
    GUI_CHECK_EQ(box.text, LanguageLine(StagedLanguage(stage, "english.txt"), 55), "question text");
    GUI_CHECK(box.buttons == std::vector<int>({IDYES, IDNO}), "question offers Yes and No");
    GUI_CHECK(box.owner != nullptr && GetDlgItem(box.owner, kPractice) != nullptr,
              "the question belongs to the main menu");
    return box;
}

void DirectXRefusedEndsWithOne() {
    for (const ProbePath& path : kMissingDirectDraw7) {
        const std::string name = DdrawName(path.ddraw);
        Stage stage("directx-no-" + name, path.ddraw);
        DebugTextMonitor debugText;
        GUI_REQUIRE(debugText.Ok(), "monitor debugger output");
        Launcher launcher(stage);
        const MessageBoxInfo box = ExpectDirectXQuestion(stage, launcher);
        GUI_CHECK(ReadRecord(stage.Record(kDdrawRecord)).events == path.events,
                  "probe path through the " + name + " library");
        std::vector<std::string> texts;
        WaitUntil(path.debugText.empty() ? 0 : kRecordTimeoutMs, [&] {
            texts = debugText.TextsOf(launcher.Pid());
            return texts.size() >= path.debugText.size();
        });
        GUI_CHECK(texts == path.debugText, "debugger output with the " + name + " library");
        GUI_REQUIRE(Answer(box, IDNO), "answer No");
        bool sawMenu = false;
        WaitUntil(kExitTimeoutMs, [&] {
            sawMenu = sawMenu || FindDialog(launcher.Pid(), MainMenuIds()) != nullptr;
            return !launcher.Process().Running();
        });
        GUI_CHECK_EQ(launcher.ExpectExit(), 1, "exit code after No, library " + name);
        GUI_CHECK(!sawMenu, "no menu after No, library " + name);
        GUI_CHECK(!FileExists(stage.Record(kDxSetupRecord)), "no DirectX setup started");
        GUI_CHECK(!FileExists(stage.Record(kGameRecord)), "no game started");
        GUI_CHECK(ListTree(stage.Temp()).empty(), "nothing written to the temporary folder");
    }
}

void DirectXAcceptedStartsSetupAndShowsMenu() {
    const Ddraw variants[] = {Ddraw::Off, Ddraw::CreateExFails};
    for (Ddraw ddraw : variants) {
        const std::string name = DdrawName(ddraw);
        Stage stage("directx-yes-" + name, ddraw);
        Launcher launcher(stage);
        const MessageBoxInfo box = ExpectDirectXQuestion(stage, launcher);
        GUI_REQUIRE(Answer(box, IDYES), "answer Yes");
        HWND menu = launcher.WaitForMenu();
        GUI_REQUIRE(menu != nullptr, "menu shown after Yes, library " + name);
        CheckOpeningStates(menu, false);
        Record record;
        GUI_CHECK(WaitForRecord(stage.Record(kDxSetupRecord), "end", kRecordTimeoutMs, record),
                  "the DirectX setup was started");
        if (GUI_CHECK(record.starts.size() == 1, "one start of the DirectX setup")) {
            GUI_CHECK_EQ(record.starts[0].args, "", "setup arguments");
            GUI_CHECK_EQ(record.starts[0].cwd, stage.Root(), "setup starts in the data root");
        }
        CancelMenu(launcher, menu);
    }
}

// --- shell targets ------------------------------------------------------------

// While it lives, the shell opens web addresses of `scheme` and documents of
// `extension` with the shell-open stand-in instead of a browser or an editor.
// Wine's shell reads HKEY_CLASSES_ROOT, which is HKLM\Software\Classes (it does
// not merge the per-user classes).
class ShellHandlers {
public:
    ShellHandlers(const std::string& scheme, const std::string& extension) {
        const std::string command =
            "\"" + Join(Settings().standins, "shell-open.exe") + "\" \"%1\"";
        const std::string classes = "Software\\Classes\\";
        values_.emplace_back(new ScopedRegistryValue(
            HKEY_LOCAL_MACHINE, classes + scheme + "\\shell\\open\\command", "", command));
        values_.emplace_back(new ScopedRegistryValue(HKEY_LOCAL_MACHINE, classes + extension, "",
                                                     "VokGuiTest.Document"));
        values_.emplace_back(new ScopedRegistryValue(
            HKEY_LOCAL_MACHINE, classes + "VokGuiTest.Document\\shell\\open\\command", "",
            command));
        for (const auto& value : values_) {
            GUI_REQUIRE(value->Ok(), "register the shell-open stand-in");
        }
    }

private:
    std::vector<std::unique_ptr<ScopedRegistryValue>> values_;
};

std::string Extension(const std::string& file) {
    const size_t dot = file.rfind('.');
    return dot == std::string::npos ? ".none" : file.substr(dot);
}

void ShellButtonsHandOverTargets() {
    Stage stage("shell-targets");
    const std::vector<std::string> lines = StagedLanguage(stage, "english.txt");
    const std::string licence = LanguageLine(lines, 53);
    const std::string web = LanguageLine(lines, 54);
    GUI_REQUIRE(FileExists(stage.Root(licence)),
                "the licence document of line 53 is in the data root");
    const std::string scheme = web.substr(0, web.find(':'));
    ShellHandlers handlers(scheme, Extension(licence));

    struct Row {
        int button;
        const char* record;
        std::string args;  // as the started program sees them
    };
    const Row rows[] = {
        {kDirectX, "dxsetup.txt", ""},
        {kDemo, "zantovid.txt", "demo/vok.avi"},
        // The shell resolves the document against the caller's folder, the
        // data root, and hands the handler the full path.
        {kLicence, "shell-open.txt", "\"" + stage.Root(licence) + "\""},
        {kWebSite, "shell-open.txt", "\"" + web + "\""},
    };
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    for (const Row& row : rows) {
        const size_t before = ReadRecord(stage.Record(row.record)).starts.size();
        GUI_REQUIRE(ClickAndWait(menu, row.button, kExitTimeoutMs),
                    Format("button %d handled without a modal window", row.button));
        Record record;
        const bool started = WaitUntil(kRecordTimeoutMs, [&] {
            record = ReadRecord(stage.Record(row.record));
            return record.starts.size() > before && record.Count("end") > before;
        });
        if (GUI_CHECK(started, Format("button %d started its target", row.button))) {
            GUI_CHECK_EQ(record.starts.back().args, row.args,
                         Format("button %d target", row.button));
            GUI_CHECK_EQ(record.starts.back().cwd, stage.Root(),
                         Format("button %d target starts in the data root", row.button));
        }
        CheckNoMessageBox(launcher.Pid(), Format("after button %d", row.button));
        GUI_CHECK(FindDialog(launcher.Pid(), MainMenuIds()) == menu,
                  Format("menu still shown after button %d", row.button));
    }
    CheckOpeningStates(menu, false);
    CancelMenu(launcher, menu);
    GUI_CHECK(ListTree(stage.Temp()).empty(), "nothing written to the temporary folder");
    GUI_CHECK(!FileExists(stage.Record(kGameRecord)), "no game was started");
}

void MissingTargetsFailSilently() {
    Stage stage("shell-missing-targets");
    GUI_REQUIRE(RemoveTree(stage.Root("demo")) && RemoveTree(stage.Root("DirectX8")),
                "remove the demo player and the DirectX setup");
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    for (int button : {kDemo, kDirectX}) {
        GUI_CHECK(ClickAndWait(menu, button, kExitTimeoutMs),
                  Format("button %d handled without a modal window", button));
        CheckNoMessageBox(launcher.Pid(), Format("after button %d", button));
    }
    CheckOpeningStates(menu, false);
    CancelMenu(launcher, menu);
}

// --- language -----------------------------------------------------------------

// The keyboard layout comes from the Unix LC_ALL of the driver (see
// Stage::Environment), so each of these cases runs only in a driver started
// with its locale; ctest starts one driver per locale.
struct LanguageRow {
    const char* locale;
    WORD layout;          // what Wine derives from the locale
    const char* removed;  // a language file taken out of the staged root, or nullptr
    const char* shown;    // the file whose texts the menu must show
    const char* shot;     // screenshot name, or nullptr
};
const LanguageRow kLanguageRows[] = {
    {"de_CH.UTF-8", 0x0807, nullptr, "german.txt", "main-menu-german.png"},
    {"sv_FI.UTF-8", 0x081D, nullptr, "swedish.txt", nullptr},
    {"sv_FI.UTF-8", 0x081D, "swedish.txt", "english.txt", nullptr},
    // Only complete identifiers count: French (Monaco) and Spanish (United
    // States) are not in the table although French and Spanish files exist.
    {"fr_MC.UTF-8", 0x180C, nullptr, "english.txt", nullptr},
    {"es_US.UTF-8", 0x540A, nullptr, "english.txt", nullptr},
};

void KeyboardLayoutChoosesLanguage(const LanguageRow& row) {
    const WORD layout = LOWORD(reinterpret_cast<ULONG_PTR>(GetKeyboardLayout(0)));
    if (layout != row.layout) {
        Skip(Format("keyboard layout is %04X, not %04X: run the driver with LC_ALL=%s", layout,
                    row.layout, row.locale));
    }
    Stage stage(Format("language-%s-%s", row.locale, row.removed ? "without" : "with"));
    if (row.removed != nullptr) {
        GUI_REQUIRE(RemoveTree(stage.Language(row.removed)), std::string("remove ") + row.removed);
    }
    const std::vector<std::string> lines = StagedLanguage(stage, row.shown);
    Launcher launcher(stage);
    HWND menu = launcher.WaitForMenu();
    GUI_REQUIRE(menu != nullptr, "menu shown");
    CheckNoMessageBox(launcher.Pid(), "at opening");
    CheckTranslatedTexts(menu, lines, row.shown);
    CheckOpeningStates(menu, false);
    if (row.shot != nullptr) {
        SaveShot(menu, row.shot);
    }
    CancelMenu(launcher, menu);
}

}  // namespace
}  // namespace gui

void RegisterLauncherCases() {
    using namespace gui;
    AddCase("startup: a running game is brought forward, launcher leaves with -1",
            RunningGameIsBroughtForward);
    AddCase("startup: a second launcher leaves with -1, the first is unchanged",
            SecondLauncherLeavesFirstAlone);
    AddCase("startup: Load League is enabled exactly when vokleague.dat opens",
            LoadLeagueFollowsLeagueFile);
    AddCase("menu: English texts and states, probe cleaned up, Cancel ends with 0",
            EnglishMenuAndProbeCleanUp);
    AddCase("menu: the close box ends with 0", CloseBoxEndsWithZero);
    AddCase("menu: a short language file shows <error> on every missing line",
            ShortLanguageFileShowsError);
    AddCase("launch: game buttons start the copy with the level from Control and Shift",
            GameButtonsStartCopyWithLevel);
    AddCase("launch: a stale game copy, even read-only, is replaced", StaleGameCopyIsReplaced);
    AddCase("launch: when the copy fails the target path is still started",
            FailedCopyStillStartsTarget);
    AddCase("directx: without DirectDraw 7, No ends with 1 and shows no menu",
            DirectXRefusedEndsWithOne);
    AddCase("directx: Yes starts the setup and shows the menu with game buttons enabled",
            DirectXAcceptedStartsSetupAndShowsMenu);
    AddCase("shell: DirectX, demo, licence and web buttons hand their targets to the shell",
            ShellButtonsHandOverTargets);
    AddCase("shell: a missing demo player or DirectX setup fails silently",
            MissingTargetsFailSilently);
    for (const LanguageRow& row : kLanguageRows) {
        AddCase(Format("language[%s]: %s%s%s", row.locale, row.shown,
                       row.removed ? " because there is no " : "", row.removed ? row.removed : ""),
                [row] { KeyboardLayoutChoosesLanguage(row); });
    }
}
