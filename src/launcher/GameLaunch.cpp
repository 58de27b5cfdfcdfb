#include "launcher/GameLaunch.h"

#include <cstdio>
#include <cstring>

#include "i18n/LanguageLines.h"
#include "launcher/ExitCodes.h"
#include "league/LeagueFiles.h"

namespace vok {

void FormatGameParameters(GameMode mode, int level, char (&buffer)[kGameParametersSize]) {
    std::memset(buffer, 0, sizeof buffer);
    const char* format = mode == GameMode::Practice      ? "practice q%d"
                         : mode == GameMode::SingleMatch ? "singlematch q%d"
                                                         : "league q%d";
    std::snprintf(buffer, sizeof buffer, format, level);
}

bool LaunchGame(Ui& owner, const ProcessState& process, GameMode mode, int level) {
    Os& os = CurrentOs();
    char parameters[kGameParametersSize];
    FormatGameParameters(mode, level, parameters);

    // The copy in the temporary folder is started only when it is this
    // game's own, copied just now and writable: an older copy left there (held
    // open by a running game, or the game's folder without vok.exe) would
    // start with a league it may not understand. Without a usable folder the
    // target would be the data root's own "vok.exe", or a cut path naming
    // another file.
    Path target;
    bool started = process.tempDirValid && os.IsFolder(process.tempDir) &&
                   FileIn(target, process.tempDir, kGameFileName) &&
                   std::strlen(target) < os.PathLimit();
    if (started) {
        // A copy left read-only by an earlier run (the installed game may be
        // read-only, and copying keeps that) refuses to be overwritten.
        os.SetNormalAttributes(target);
        started = os.CopyFileOver(kGameFileName, target);
        if (!started) {
            os.RemoveFile(target);  // what a failed copy left is no game to start later
        }
        started = started && os.SetNormalAttributes(target) &&
                  os.ShellOpen(owner.Window(), "open", target, parameters, "");
    }
    if (!started) {
        owner.ShowMessage(process.language.Message(lines::kGameNotStarted), "", Buttons::Ok);
        return false;
    }
    os.EndProcess(kExitHandedOver);
    return true;
}

}  // namespace vok
