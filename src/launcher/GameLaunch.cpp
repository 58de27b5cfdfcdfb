#include "launcher/GameLaunch.h"

#include <cstdio>
#include <cstring>

#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"
#include "resources/resource.h"

namespace vok {

bool FormatGameParameters(int modeId, int level, char (&buffer)[512]) {
    std::memset(buffer, 0, sizeof buffer);
    const char* format = nullptr;
    switch (modeId) {
        case IDC_MAIN_PRACTICE:
            format = "practice q%d";
            break;
        case IDC_MAIN_SINGLEMATCH:
            format = "singlematch q%d";
            break;
        case IDC_MAIN_NEWLEAGUE:
            format = "league q%d";
            break;
        default:
            return false;
    }
    std::snprintf(buffer, sizeof buffer, format, level);
    return true;
}

void LaunchGame(Ui& owner, int modeId) {
    Os& os = CurrentOs();
    ProcessState& process = Process();

    // Without the temporary directory, or with one too long for the name, the
    // target would be the data root's own "vok.exe" or a cut path naming some
    // other file: then nothing is copied and nothing started.
    char target[512] = {};
    bool haveTarget = false;
    if (process.tempDirValid) {
        int length = std::snprintf(target, sizeof target, "%s%s", process.tempDir, "vok.exe");
        haveTarget = length > 0 && length < static_cast<int>(sizeof target);
    }

    if (haveTarget) {
        // A copy left read-only by an earlier run (the installed game may be
        // read-only, and copying keeps that) refuses to be overwritten, and the
        // stale game would start: make it writable first.
        os.SetNormalAttributes(target);
        os.CopyFileOver("vok.exe", target);
        os.SetNormalAttributes(target);
    }

    char parameters[512];
    if (!FormatGameParameters(modeId, process.launchLevel, parameters)) {
        owner.ShowMessage("No such game", "Error...", Buttons::Ok);
    }

    if (haveTarget && parameters[0] != '\0') {
        os.ShellOpen(owner.Window(), "open", target, parameters, "");
    }
    os.EndProcess(kExitHandedOver);
}

}  // namespace vok
