// Stand-in for the game "vok.exe". The launcher relies on three things of the
// game: its main window has the class "VOK ", it accepts the command lines
// "practice q%d", "singlematch q%d" and "league q%d", and in league mode it
// reads "vokleague.dat" from the temporary directory. This program does
// exactly that much, shows the player what it was asked to do, and leaves a
// record for the test driver (record file "game.txt", see StandinRecord.h):
//
//   start / args / cmdline / cwd / temp   how it was started
//   league <n>\r\n<n raw bytes>\r\n       the league file it found, or
//   league none                           when there was none
//   shown                                 its window exists
//   message 0x420 <wparam> <lparam>       a second launcher knocked
//   closed                                its window is gone
//
// It ends on WM_CLOSE or by itself after VOK_GUI_GAME_LIFETIME_MS
// milliseconds (30 s when unset), so a test that forgets it cannot hang.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>

#include "StandinRecord.h"

namespace {

const char kRecord[] = "game.txt";
const char kClassName[] = "VOK ";
const UINT kPeerMessage = 0x420;
const UINT_PTR kLifetimeTimer = 1;

std::string ReadLeagueFile(bool& found) {
    char path[MAX_PATH * 2] = {};
    GetTempPathA(MAX_PATH, path);
    lstrcatA(path, "vokleague.dat");
    std::string bytes;
    found = false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    found = true;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

// "LeagueName" and "ply[i].name" from the league file: enough to tell the
// player which league the game would run. The file lists its keys in reverse
// order, so players are sorted by index.
std::string DescribeLeague(const std::string& bytes) {
    std::string name;
    std::map<int, std::string> players;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        size_t eq = line.find(" = ");
        if (eq == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 3);
        int index = 0;
        char tail[16] = {};
        if (key == "LeagueName") {
            name = value;
        } else if (sscanf(key.c_str(), "ply[%d].%15s", &index, tail) == 2 &&
                   strcmp(tail, "name") == 0) {
            players[index] = value;
        }
    }
    std::string text = "League " + name + ", players:";
    for (const auto& player : players) {
        text += " " + player.second;
    }
    return text;
}

std::string DescribeRequest(const char* args, bool leagueFound, const std::string& league) {
    char mode[64] = {};
    int level = -1;
    std::string text;
    if (sscanf(args, "%63s q%d", mode, &level) == 2) {
        char line[160];
        wsprintfA(line, "Mode: %s, level %d", mode, level);
        text = line;
    } else {
        text = std::string("Unrecognised command line: ") + args;
    }
    if (strcmp(mode, "league") == 0) {
        text += "\r\n";
        text += leagueFound ? DescribeLeague(league) : std::string("No league file found");
    }
    return text;
}

LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kPeerMessage: {
            char value[64];
            wsprintfA(value, "0x420 %lu %ld", static_cast<unsigned long>(wParam),
                      static_cast<long>(lParam));
            standin::AppendLine(kRecord, "message", value);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kLifetimeTimer) {
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            standin::AppendLine(kRecord, "closed", "");
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    standin::RecordStart(kRecord);
    bool leagueFound = false;
    const std::string league = ReadLeagueFile(leagueFound);
    if (leagueFound) {
        char header[32];
        wsprintfA(header, "%u", static_cast<unsigned>(league.size()));
        standin::AppendLine(kRecord, "league", header);
        standin::Append(kRecord, league.data(), static_cast<DWORD>(league.size()));
        standin::Append(kRecord, "\r\n", 2);
    } else {
        standin::AppendLine(kRecord, "league", "none");
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = GameWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);

    HWND window = CreateWindowA(kClassName, "Vok game stand-in", WS_OVERLAPPEDWINDOW, 40, 40, 460,
                                140, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        standin::AppendLine(kRecord, "closed", "no window");
        return 2;
    }
    const std::string text = DescribeRequest(standin::Arguments(), leagueFound, league);
    CreateWindowA("STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 430, 80, window, nullptr,
                  instance, nullptr);

    char lifetime[32] = {};
    UINT milliseconds = 30000;
    if (GetEnvironmentVariableA("VOK_GUI_GAME_LIFETIME_MS", lifetime, sizeof lifetime) > 0) {
        milliseconds = static_cast<UINT>(strtoul(lifetime, nullptr, 10));
    }
    SetTimer(window, kLifetimeTimer, milliseconds, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    standin::AppendLine(kRecord, "shown", "");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
