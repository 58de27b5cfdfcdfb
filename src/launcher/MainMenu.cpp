#include "launcher/MainMenu.h"

#include <string>

#include "common/ProcessState.h"
#include "i18n/LanguageLines.h"
#include "launcher/ExitCodes.h"
#include "launcher/GameLaunch.h"
#include "league/LeagueRemoval.h"
#include "resources/resource.h"

namespace vok {

namespace {

constexpr const char* kDirectXSetup = "DirectX8/DXSETUP.EXE";

bool KeyDown(Os& os, Key key) {
    return (os.AsyncKeyState(key) & 0x8000) != 0;
}

// A setup, demo, licence or address the shell cannot open is named to the
// player, who would otherwise see a button that does nothing.
void Open(Ui& menu, const ProcessState& process, const char* verb, const char* file,
          const char* parameters) {
    if (!CurrentOs().ShellOpen(menu.Window(), verb, file, parameters, "")) {
        std::string text = process.language.Message(lines::kCannotOpen);
        menu.ShowMessage((text + "\n" + file).c_str(), "", Buttons::Ok);
    }
}

void Leave(Ui& menu, ProcessState&) {
    menu.EndDialog(IDC_MAIN_CANCEL);
}

void InstallDirectX(Ui& menu, ProcessState& process) {
    Open(menu, process, "open", kDirectXSetup, "");
}

void OpenLicence(Ui& menu, ProcessState& process) {
    Open(menu, process, nullptr, process.language.Text(lines::kLicenceFile), "");
}

void OpenWebSite(Ui& menu, ProcessState& process) {
    Open(menu, process, nullptr, process.language.Text(lines::kWebAddress), "");
}

void PlayDemo(Ui& menu, ProcessState& process) {
    Open(menu, process, "open", "demo/Zantovid.exe", "demo/vok.avi");
}

void StartPractice(Ui& menu, ProcessState& process) {
    LaunchGame(menu, process, GameMode::Practice, ComputeLaunchLevel());
}

void StartSingleMatch(Ui& menu, ProcessState& process) {
    LaunchGame(menu, process, GameMode::SingleMatch, ComputeLaunchLevel());
}

// The level is read as the button is pressed: keys held while answering the
// questions or filling the create-league dialog do not count.
void LoadLeague(Ui& menu, ProcessState& process) {
    const int level = ComputeLaunchLevel();
    if (process.leaguePresent) {
        LaunchGame(menu, process, GameMode::League, level);
        return;
    }
    menu.ShowMessage(process.language.Text(lines::kNoLeague), "", Buttons::Ok);
}

void StartNewLeague(Ui& menu, ProcessState& process) {
    const int level = ComputeLaunchLevel();
    if (process.leaguePresent) {
        // Only a clear Yes may delete a league; a box that could not be shown
        // keeps it like No.
        Answer answer =
            menu.ShowMessage(process.language.Text(lines::kReplaceLeague), "", Buttons::YesNo);
        if (answer != Answer::Yes) {
            return;
        }
        DeleteLeague(process);
    }
    // A league whose game could not be started goes again, as any league
    // that was not handed over: a later run would find it and start it.
    if (menu.RunDialog("IDD_CREATELEAGUE", &process) == IDC_OK) {
        if (LaunchGame(menu, process, GameMode::League, level)) {
            return;
        }
        DeleteLeague(process);
    }
    // Any league there was is gone now, and none is waiting.
    menu.Enable(IDC_MAIN_LOADLEAGUE, false);
}

void ViewCredits(Ui& menu, ProcessState& process) {
    menu.RunDialog("IDD_CREDITS", &process.language);
}

struct Command {
    int id;
    void (*run)(Ui& menu, ProcessState& process);
};

const Command kCommands[] = {
    {IDC_MAIN_CANCEL, Leave},
    {IDC_MAIN_DIRECTX, InstallDirectX},
    {IDC_MAIN_LICENCE, OpenLicence},
    {IDC_MAIN_WEBSITE, OpenWebSite},
    {IDC_MAIN_DEMO, PlayDemo},
    {IDC_MAIN_PRACTICE, StartPractice},
    {IDC_MAIN_SINGLEMATCH, StartSingleMatch},
    {IDC_MAIN_LOADLEAGUE, LoadLeague},
    {IDC_MAIN_NEWLEAGUE, StartNewLeague},
    {IDC_MAIN_CREDITS, ViewCredits},
};

}  // namespace

int ComputeLaunchLevel() {
    Os& os = CurrentOs();
    return (KeyDown(os, Key::Control) ? 2 : 0) + (KeyDown(os, Key::Shift) ? 1 : 0);
}

void OpenMainMenu(Ui& menu, ProcessState& process) {
    for (const MenuCaption& caption : kMenuCaptions) {
        menu.SetText(caption.button, process.language.Text(caption.line));
    }

    Os& os = CurrentOs();
    if (os.ProbeDirectDraw() < kDirectDraw7) {
        Answer answer =
            menu.ShowMessage(process.language.Text(lines::kDirectXQuestion), "", Buttons::YesNo);
        if (answer != Answer::Yes) {
            os.EndProcess(kExitHandedOver);
            return;
        }
        InstallDirectX(menu, process);
    }

    menu.Enable(IDC_MAIN_PRACTICE, true);
    menu.Enable(IDC_MAIN_SINGLEMATCH, true);
    menu.Enable(IDC_MAIN_NEWLEAGUE, true);
    menu.Enable(IDC_MAIN_LOADLEAGUE, process.leaguePresent != 0);
}

bool RunMainMenuCommand(Ui& menu, ProcessState& process, int id) {
    for (const Command& command : kCommands) {
        if (command.id == id) {
            command.run(menu, process);
            return true;
        }
    }
    return false;
}

}  // namespace vok
