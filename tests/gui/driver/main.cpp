// End-to-end tests of the launcher under Wine: this console program starts the
// real launcher in freshly staged data roots and checks what a player sees and
// what ends up on disk.
//
//   vok_gui_tests --launcher EXE --standins DIR --sample DIR
//                 [--work DIR] [--screenshots DIR] [FILTER...]
//
// Unix paths are accepted (they are found on Wine's drive Z:). Only the cases
// whose names contain one of the FILTERs run. The last line of the output is
// "N passed, M failed"; the exit code is 1 when a case failed.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "Harness.h"
#include "Report.h"

void RegisterStandinCases();
void RegisterLauncherCases();
void RegisterLeagueCases();
void RegisterHostileCases();

namespace {

int Usage() {
    fprintf(stderr,
            "usage: vok_gui_tests --launcher EXE --standins DIR --sample DIR "
            "[--work DIR] [--screenshots DIR] [FILTER...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    gui::Config& config = gui::Settings();
    std::vector<std::string> filters;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--launcher" && hasValue) {
            config.launcher = gui::WindowsPath(argv[++i]);
        } else if (arg == "--standins" && hasValue) {
            config.standins = gui::WindowsPath(argv[++i]);
        } else if (arg == "--sample" && hasValue) {
            config.sample = gui::WindowsPath(argv[++i]);
        } else if (arg == "--work" && hasValue) {
            config.work = gui::WindowsPath(argv[++i]);
        } else if (arg == "--screenshots" && hasValue) {
            config.shots = gui::WindowsPath(argv[++i]);
        } else if (arg.compare(0, 2, "--") == 0) {
            return Usage();
        } else {
            filters.push_back(arg);
        }
    }
    if (config.standins.empty() || config.sample.empty()) {
        return Usage();
    }
    if (config.work.empty()) {
        // The user's own temporary folder: writable for whoever runs Wine,
        // unlike a build tree that another user may own.
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        config.work = gui::Join(temp, "vok-gui-tests");
    }
    if (!gui::MakeFolders(config.work)) {
        fprintf(stderr, "cannot create the work folder %s\n", config.work.c_str());
        return 2;
    }
    if (!config.launcher.empty() && !gui::FileExists(config.launcher)) {
        fprintf(stderr, "no launcher at %s\n", config.launcher.c_str());
        return 2;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);

    RegisterStandinCases();
    RegisterLauncherCases();
    RegisterLeagueCases();
    RegisterHostileCases();
    return gui::RunCases(filters) == 0 ? 0 : 1;
}
