// The stand-ins are the driver's eyes: a launcher case trusts what they record.
// These cases prove the records against programs the driver starts itself.
#include "Harness.h"
#include "Report.h"
#include "Win32Ui.h"

namespace gui {
namespace {

void GameRecordsStartLeagueAndPeerMessage() {
    const std::string base = FreshFolder("standin-game");
    const std::string temp = Join(base, "temp") + "\\";
    const std::string records = Join(base, "records");
    GUI_REQUIRE(MakeFolders(Join(base, "temp")) && MakeFolders(records), "make folders");
    // Bytes a text-mode reader would alter: the record must keep them all.
    const std::string league(
        "LeagueName = \"Cup\"\r\nply[1].name = \"Bo\"\r\n"
        "ply[0].name = \"Ann\"\r\n\x1A\n\r\x00 end",
        73);
    GUI_REQUIRE(WriteBytes(temp + "vokleague.dat", league), "write the league file");

    ChildProcess game;
    GUI_REQUIRE(game.Start(Join(Settings().standins, "vok.exe"), "league q2", base,
                           {{"TMP", temp},
                            {"TEMP", temp},
                            {"VOK_GUI_RECORDS", records},
                            {"VOK_GUI_GAME_LIFETIME_MS", "60000"}}),
                "start the game stand-in");
    const std::string recordPath = Join(records, "game.txt");
    Record record;
    GUI_REQUIRE(WaitForRecord(recordPath, "shown", kRecordTimeoutMs, record),
                "game shows its window");
    HWND window = FindGameWindow();
    GUI_REQUIRE(window != nullptr, "a window of class \"VOK \" exists");
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    GUI_CHECK_EQ(owner, game.Pid(), "process owning the \"VOK \" window");
    GUI_REQUIRE(record.starts.size() == 1, "one start recorded");
    GUI_CHECK_EQ(record.starts[0].args, "league q2", "arguments");
    GUI_CHECK_EQ(record.starts[0].temp, temp, "temporary path seen by the game");
    GUI_CHECK(record.starts[0].leagueFound, "league file found");
    GUI_CHECK_EQ(record.starts[0].league, league, "league bytes");

    HWND text = FindWindowExA(window, nullptr, "Static", nullptr);
    GUI_CHECK_EQ(WindowText(text),
                 "Mode: league, level 2\r\nLeague \"Cup\", players: \"Ann\" \"Bo\"",
                 "what the game tells the player");

    PostMessageA(window, 0x420, 0, 0);
    GUI_CHECK(WaitForRecord(recordPath, "message 0x420 0 0", kRecordTimeoutMs, record),
              "message 0x420 recorded");
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 0;
    GUI_CHECK(game.WaitExit(kExitTimeoutMs, code), "game ends on WM_CLOSE");
    GUI_CHECK(ReadRecord(recordPath).Has("closed"), "closing recorded");
}

void GameEndsByItselfWithoutLeague() {
    const std::string base = FreshFolder("standin-game-lifetime");
    const std::string records = Join(base, "records");
    GUI_REQUIRE(MakeFolders(records), "make folders");
    ChildProcess game;
    GUI_REQUIRE(game.Start(Join(Settings().standins, "vok.exe"), "practice q0", base,
                           {{"TMP", base + "\\"},
                            {"TEMP", base + "\\"},
                            {"VOK_GUI_RECORDS", records},
                            {"VOK_GUI_GAME_LIFETIME_MS", "200"}}),
                "start the game stand-in");
    DWORD code = 1;
    GUI_CHECK(game.WaitExit(kExitTimeoutMs, code), "game ends by itself");
    const Record record = ReadRecord(Join(records, "game.txt"));
    GUI_REQUIRE(record.starts.size() == 1, "one start recorded");
    GUI_CHECK(!record.starts[0].leagueFound, "no league file reported");
    GUI_CHECK(record.Has("closed"), "closing recorded");
}

void RecordersKeepTheirCommandLines() {
    struct Row {
        const char* program;
        const char* record;
        const char* args;
    };
    const Row rows[] = {
        {"DXSETUP.EXE", "dxsetup.txt", ""},
        {"Zantovid.exe", "zantovid.txt", "demo/vok.avi"},
        {"shell-open.exe", "shell-open.txt", "\"C:\\a folder\\licence.txt\""},
    };
    const std::string base = FreshFolder("standin-recorders");
    for (const Row& row : rows) {
        ChildProcess program;
        GUI_REQUIRE(program.Start(Join(Settings().standins, row.program), row.args, base,
                                  {{"VOK_GUI_RECORDS", base}}),
                    std::string("start ") + row.program);
        DWORD code = 1;
        GUI_CHECK(program.WaitExit(kExitTimeoutMs, code) && code == 0,
                  std::string(row.program) + " ends with 0");
        const Record record = ReadRecord(Join(base, row.record));
        if (GUI_CHECK(record.starts.size() == 1, std::string("one start of ") + row.program)) {
            GUI_CHECK_EQ(record.starts[0].args, row.args, std::string(row.program) + " arguments");
            GUI_CHECK_EQ(record.starts[0].cwd, base, std::string(row.program) + " folder");
        }
    }
}

}  // namespace
}  // namespace gui

void RegisterStandinCases() {
    gui::AddCase("standins: game records start, league bytes, 0x420 and close",
                 gui::GameRecordsStartLeagueAndPeerMessage);
    gui::AddCase("standins: game without league ends by itself",
                 gui::GameEndsByItselfWithoutLeague);
    gui::AddCase("standins: recorders keep their command lines",
                 gui::RecordersKeepTheirCommandLines);
}
