// The launcher's whole-program start-up under Wine: the time from
// CreateProcess until its main menu is visible (found by its control ids,
// that is after WM_INITDIALOG has translated it and the DirectDraw probe has
// run), beside two bare one-dialog programs measured in the same run: one
// without a manifest, and one with the launcher's, which loads the common
// controls 6 and the visual styles as the launcher does (the fair floor). It
// prints figures; it asserts nothing, for a time is a measurement and not a
// test.
//
//   vok_startup_timer --launcher EXE --standins DIR --sample DIR --bare EXE
//                     --bare-manifest EXE [--runs N] [--work DIR]
//
// The programs take turns, one start each per round, so that a change in the
// machine's load falls on all of them alike; the first round is not counted
// (it loads what the later ones find cached). The launcher runs in a data
// root staged from the sample data, once with the GUI tests' stand-in
// DDRAW.DLL that offers DirectDraw 7 and once with Wine's own ddraw.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "BareDialog.h"

namespace {

const DWORD kWindowTimeoutMs = 30000;
const char kOverrideKey[] = "Software\\Wine\\AppDefaults\\VokLauncher.exe\\DllOverrides";

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A path given on the command line in Unix form as a path on Wine's drive Z:.
std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return (!path.empty() && path[0] == '\\' ? "Z:" : "") + path;
}

bool CopyTree(const std::string& from, const std::string& to) {
    if (!(GetFileAttributesA(from.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
        return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
    }
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    bool ok = search != INVALID_HANDLE_VALUE;
    for (BOOL more = ok; more; more = FindNextFileA(search, &found)) {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") {
            ok = CopyTree(from + "\\" + name, to + "\\" + name) && ok;
        }
    }
    FindClose(search);
    return ok;
}

void RemoveTree(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str())) {
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") {
            RemoveTree(path + "\\" + name);
        }
    }
    FindClose(search);
    RemoveDirectoryA(path.c_str());
}

struct Search {
    DWORD pid;
    std::vector<int> ids;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    bool all = pid == search->pid && IsWindowVisible(window);
    for (int id : search->ids) {
        all = all && GetDlgItem(window, id) != nullptr;
    }
    if (all) {
        search->found = window;
    }
    return !all;
}

struct Program {
    std::string label;
    std::string exe;
    std::vector<int> ids;  // what its first window is recognised by
    int closeId;           // the button that ends it
    std::string ddraw;     // the launcher's DllOverrides value for ddraw; "" to leave it
    std::vector<double> times;
    std::string problem;  // why it was given up, if it was
};

// One start: milliseconds until the window is visible, or a negative value
// with `program.problem` set.
double TimeOneStart(Program& program, std::string& environment, const std::string& folder) {
    if (!program.ddraw.empty()) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kOverrideKey, "ddraw", REG_SZ, program.ddraw.c_str(),
                        static_cast<DWORD>(program.ddraw.size() + 1));
    }
    std::string commandLine = "\"" + program.exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = NowMs();
    if (!CreateProcessA(program.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                        &environment[0], folder.c_str(), &startup, &process)) {
        char problem[64];
        snprintf(problem, sizeof problem, "cannot start (error %lu)", GetLastError());
        program.problem = problem;
        return -1;
    }
    CloseHandle(process.hThread);
    Search search = {process.dwProcessId, program.ids, nullptr};
    // Polled every millisecond: the figure is at most that much late.
    while (NowMs() - start < kWindowTimeoutMs && search.found == nullptr &&
           WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        Sleep(search.found ? 0 : 1);
    }
    const double elapsed = NowMs() - start;
    double result = elapsed;
    if (search.found == nullptr) {
        program.problem = "showed no window within 30 s, or another one first";
        result = -1;
    } else if (!PostMessageA(GetDlgItem(search.found, program.closeId), BM_CLICK, 0, 0) ||
               WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        program.problem = "did not end when closed";
        result = -1;
    }
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return result;
}

// The value at `fraction` of the sorted times, between neighbours.
double Quantile(std::vector<double> times, double fraction) {
    std::sort(times.begin(), times.end());
    const double at = fraction * static_cast<double>(times.size() - 1);
    const size_t below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, times.size() - 1);
    return times[below] + (at - static_cast<double>(below)) * (times[above] - times[below]);
}

int Usage() {
    fprintf(stderr,
            "usage: vok_startup_timer --launcher EXE --standins DIR --sample DIR --bare EXE "
            "--bare-manifest EXE [--runs N] [--work DIR]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options = {{"--runs", "20"}};
    for (int i = 1; i + 1 < argc; i += 2) {
        options[argv[i]] = argv[i + 1];
    }
    const int runs = atoi(options["--runs"].c_str());
    for (const char* required :
         {"--launcher", "--standins", "--sample", "--bare", "--bare-manifest"}) {
        if (options[required].empty()) {
            return Usage();
        }
    }
    if (argc % 2 == 0 || runs < 1) {
        return Usage();
    }
    std::string work = WindowsPath(options["--work"]);
    if (work.empty()) {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        work = std::string(temp) + "vok-startup";
    }
    // A data root as the player has it, and an empty temporary folder.
    RemoveTree(work);
    const std::string root = work + "\\root", temp = work + "\\temp\\";
    const std::string ddraw = WindowsPath(options["--standins"]) + "\\ddraw\\both\\DDRAW.DLL";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA(temp.c_str(), nullptr);
    if (!CopyTree(WindowsPath(options["--sample"]), root) ||
        !CopyTree(WindowsPath(options["--launcher"]), root + "\\VokLauncher.exe") ||
        !CopyTree(ddraw, root + "\\DDRAW.DLL") ||
        !CopyTree(WindowsPath(options["--bare"]), root + "\\BareDialog.exe") ||
        !CopyTree(WindowsPath(options["--bare-manifest"]), root + "\\BareDialogManifest.exe")) {
        fprintf(stderr, "cannot stage the data root in %s\n", root.c_str());
        return 1;
    }
    // Wine takes TMP and TEMP from its registry unless the environment block
    // names them.
    std::string environment;
    LPCH own = GetEnvironmentStringsA();
    for (const char* entry = own; *entry != '\0'; entry += strlen(entry) + 1) {
        if (_strnicmp(entry, "TMP=", 4) != 0 && _strnicmp(entry, "TEMP=", 5) != 0) {
            environment.append(entry, strlen(entry) + 1);
        }
    }
    FreeEnvironmentStringsA(own);
    environment += "TMP=" + temp + '\0' + "TEMP=" + temp + '\0' + '\0';

    const std::vector<int> menu = {1002, 1000, 1001, 3, 8, 5, 4, 6, 7, 2};
    std::vector<Program> programs = {
        {"bare, no manifest",
         root + "\\BareDialog.exe",
         {IDC_BARE_CLOSE},
         IDC_BARE_CLOSE,
         "",
         {},
         ""},
        {"bare, launcher's manifest",
         root + "\\BareDialogManifest.exe",
         {IDC_BARE_CLOSE},
         IDC_BARE_CLOSE,
         "",
         {},
         ""},
        {"launcher, stand-in DDRAW.DLL",
         root + "\\VokLauncher.exe",
         menu,
         IDCANCEL,
         "native",
         {},
         ""},
        {"launcher, Wine's own ddraw",
         root + "\\VokLauncher.exe",
         menu,
         IDCANCEL,
         "builtin",
         {},
         ""},
    };
    for (int round = 0; round <= runs; ++round) {
        for (Program& program : programs) {
            if (!program.problem.empty()) {
                continue;
            }
            const double time = TimeOneStart(program, environment, work);
            if (time >= 0 && round > 0) {
                program.times.push_back(time);
            }
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\VokLauncher.exe");

    printf("Start-up until the first window is visible, %d runs each after one not counted (ms)\n",
           runs);
    printf("%-32s %8s %8s %8s %8s %8s\n", "program", "median", "p25", "p75", "min", "max");
    for (const Program& program : programs) {
        if (program.times.empty()) {
            printf("%-32s %s\n", program.label.c_str(), program.problem.c_str());
            continue;
        }
        printf("%-32s %8.1f %8.1f %8.1f %8.1f %8.1f\n", program.label.c_str(),
               Quantile(program.times, 0.5), Quantile(program.times, 0.25),
               Quantile(program.times, 0.75), Quantile(program.times, 0.0),
               Quantile(program.times, 1.0));
    }
    // Each launcher against each floor: the bare programs are the first two.
    for (size_t i = 2; i < programs.size(); ++i) {
        for (size_t floor = 0; floor < 2; ++floor) {
            if (!programs[i].times.empty() && !programs[floor].times.empty()) {
                const double launcher = Quantile(programs[i].times, 0.5);
                const double bare = Quantile(programs[floor].times, 0.5);
                printf("%s / %s (medians): %+.1f ms, %.2f times\n", programs[i].label.c_str(),
                       programs[floor].label.c_str(), launcher - bare, launcher / bare);
            }
        }
    }
    return 0;
}
