#include "launcher/StartUp.h"

#include <memory>

#include "common/ProcessState.h"
#include "launcher/ExitCodes.h"
#include "league/LeagueFiles.h"
#include "resources/resource.h"

namespace vok {

namespace {

// How long a launcher that lost the claim waits for the winner's menu: more
// than a slow start takes to show it, little enough for a player not to notice.
constexpr int kPeerWaitMs = 5000;
constexpr int kPeerPollMs = 50;

// The game raises itself, and a launcher ignores it; either way the player
// sees the program that is already running.
bool SignalRunningPeer(Os& os) {
    WindowHandle peer = os.FindTopWindow(kGameWindowClass, nullptr);
    if (!peer) {
        peer = os.FindTopWindow(nullptr, kLauncherTitle);
    }
    if (!peer) {
        return false;
    }
    os.PostToWindow(peer, VOK_PEER_MESSAGE);
    os.BringToFront(peer);
    return true;
}

}  // namespace

int StartUp(Ui& desktop) {
    Os& os = CurrentOs();
    // It lives until the process ends; a game start ends it inside the menu.
    auto state = std::make_unique<ProcessState>();
    ProcessState& process = *state;

    if (SignalRunningPeer(os)) {
        return kExitPeerRunning;
    }
    // Launchers started at the same moment find no window of each other: the
    // one that owns the claim goes on, the others wait a bounded time for its
    // menu and hand over to it, or leave without a word.
    if (!os.ClaimLauncher()) {
        for (int waited = 0; !SignalRunningPeer(os) && waited < kPeerWaitMs;
             waited += kPeerPollMs) {
            os.Pause(kPeerPollMs);
        }
        return kExitPeerRunning;
    }

    // The game installs beside its data. Without the folder, the directory the
    // launcher was started in is the best remaining guess.
    Path root;
    if (os.ExecutableFolder(root, sizeof root)) {
        os.SetCurrentFolder(root);
    }

    process.language.Load("data/", LanguageTable::kAutomatic);

    process.tempDirValid = os.TempPath(process.tempDir, sizeof process.tempDir);
    if (process.tempDirValid) {
        os.ShareTempPath(process.tempDir);
    }
    // Without a temporary directory the name below would be relative and could
    // find a file in the data root that is no league of this user's.
    Path league;
    process.leaguePresent = process.tempDirValid &&
                            FileIn(league, process.tempDir, kLeagueFileName) && os.CanOpen(league);

    if (desktop.RunDialog("IDD_MAINDLG", &process) == -1) {
        // Leaving silently with the Cancel code would look like a player's choice.
        os.DebugOutput("Couldn't create the main menu\r\n");
        return kExitMenuUnavailable;
    }
    return kExitMenuClosed;
}

}  // namespace vok
