// The launcher's whole-program start-up under Wine: the time from
// CreateProcess until its main menu is visible (found by its control ids,
// that is after WM_INITDIALOG has translated it and the DirectDraw probe has
// run), beside a bare one-dialog program measured in the same run. It prints
// figures; it asserts nothing, for a time is a measurement and not a test.
//
//   vok_startup_timer --launcher EXE --standins DIR --sample DIR --bare EXE
//                     [--runs N] [--work DIR]
//
// The programs take turns, one start each per round, so that a change in the
// machine's load falls on all of them alike; the first round is not counted
// (it loads what the later ones find cached). The launcher runs in a data
// root staged as for the GUI cases, once with the stand-in DDRAW.DLL that
// offers DirectDraw 7 and once with Wine's own ddraw.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BareDialog.h"
#include "Harness.h"
#include "Report.h"
#include "Win32Ui.h"

namespace {

const DWORD kWindowTimeoutMs = 30000;

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

struct Program {
    std::string label;
    std::string exe;
    std::map<std::string, std::string> environment;
    std::vector<int> ids;  // what its first window is recognised by
    int closeId;           // the button that ends it
    std::string ddraw;     // the launcher's DllOverrides value for ddraw; "" to leave it
    std::vector<double> times;
    std::string problem;  // why it was given up, if it was
};

// One start: milliseconds until the window is visible, or a negative value
// with `program.problem` set.
double TimeOneStart(Program& program) {
    std::unique_ptr<gui::ScopedRegistryValue> ddraw;
    if (!program.ddraw.empty()) {
        ddraw.reset(new gui::ScopedRegistryValue(
            HKEY_CURRENT_USER,
            std::string("Software\\Wine\\AppDefaults\\") + gui::kLauncherExe + "\\DllOverrides",
            "ddraw", program.ddraw));
    }
    gui::ChildProcess process;
    const double start = NowMs();
    if (!process.Start(program.exe, "", gui::Settings().work, program.environment)) {
        program.problem = gui::Format("cannot start (error %lu)", GetLastError());
        return -1;
    }
    HWND window = nullptr;
    // Polled every millisecond: the figure is at most that much late.
    while (NowMs() - start < kWindowTimeoutMs) {
        window = gui::FindDialog(process.Pid(), program.ids);
        if (window != nullptr || !process.Running()) {
            break;
        }
        Sleep(1);
    }
    const double elapsed = NowMs() - start;
    if (window == nullptr) {
        gui::MessageBoxInfo box;
        program.problem = gui::FindMessageBox(process.Pid(), box)
                              ? "showed \"" + gui::Printable(box.text) + "\" instead"
                              : "showed no window within 30 s";
        return -1;
    }
    DWORD code = 0;
    if (!gui::Click(window, program.closeId) || !process.WaitExit(gui::kExitTimeoutMs, code)) {
        program.problem = "did not end when closed";
        return -1;
    }
    return elapsed;
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
            "[--runs N] [--work DIR]\n");
    return 2;
}

int Measure(const std::string& bare, int runs) {
    gui::Stage stage("startup-timer", gui::Ddraw::Success);
    const std::string bareCopy = stage.Root("BareDialog.exe");
    GUI_REQUIRE(CopyFileA(bare.c_str(), bareCopy.c_str(), FALSE) != FALSE,
                "copy the bare dialog program " + bare);
    auto make = [&](const char* label, const std::string& exe, std::vector<int> ids, int closeId,
                    const char* ddraw) {
        Program made;
        made.label = label;
        made.exe = exe;
        made.environment = stage.Environment();
        made.ids = std::move(ids);
        made.closeId = closeId;
        made.ddraw = ddraw;
        return made;
    };
    std::vector<Program> programs = {
        make("bare one-dialog program", bareCopy, {IDC_BARE_CLOSE}, IDC_BARE_CLOSE, ""),
        make("launcher, stand-in DDRAW.DLL", stage.Root(gui::kLauncherExe), gui::MainMenuIds(),
             gui::kCancel, ""),
        make("launcher, Wine's own ddraw", stage.Root(gui::kLauncherExe), gui::MainMenuIds(),
             gui::kCancel, "builtin"),
    };
    for (int round = 0; round <= runs; ++round) {
        for (Program& program : programs) {
            if (!program.problem.empty()) {
                continue;
            }
            const double time = TimeOneStart(program);
            if (time >= 0 && round > 0) {
                program.times.push_back(time);
            }
        }
    }

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
    if (!programs[0].times.empty()) {
        for (size_t i = 1; i < programs.size(); ++i) {
            if (!programs[i].times.empty()) {
                printf("%s minus the bare program (medians): %.1f ms\n", programs[i].label.c_str(),
                       Quantile(programs[i].times, 0.5) - Quantile(programs[0].times, 0.5));
            }
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    gui::Config& config = gui::Settings();
    std::string bare;
    int runs = 20;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) {
            return Usage();
        }
        if (arg == "--launcher") {
            config.launcher = gui::WindowsPath(argv[++i]);
        } else if (arg == "--standins") {
            config.standins = gui::WindowsPath(argv[++i]);
        } else if (arg == "--sample") {
            config.sample = gui::WindowsPath(argv[++i]);
        } else if (arg == "--bare") {
            bare = gui::WindowsPath(argv[++i]);
        } else if (arg == "--work") {
            config.work = gui::WindowsPath(argv[++i]);
        } else if (arg == "--runs") {
            runs = atoi(argv[++i]);
        } else {
            return Usage();
        }
    }
    if (config.launcher.empty() || config.standins.empty() || config.sample.empty() ||
        bare.empty() || runs < 1) {
        return Usage();
    }
    if (config.work.empty()) {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        config.work = gui::Join(temp, "vok-startup");
    }
    if (!gui::MakeFolders(config.work)) {
        fprintf(stderr, "cannot create the work folder %s\n", config.work.c_str());
        return 2;
    }
    try {
        return Measure(bare, runs);
    } catch (const gui::CaseAborted&) {
        for (const std::string& failure : gui::Current().Failures()) {
            fprintf(stderr, "%s\n", failure.c_str());
        }
        return 1;
    } catch (const gui::CaseSkipped& skipped) {
        fprintf(stderr, "cannot measure: %s\n", skipped.reason.c_str());
        return 1;
    }
}
