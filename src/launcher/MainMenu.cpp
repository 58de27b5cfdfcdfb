#include "launcher/MainMenu.h"

#include <string>

#include "common/ProcessState.h"
#include "i18n/Messages.h"
#include "launcher/ExitCodes.h"
#include "launcher/GameLaunch.h"
#include "league/LeagueRemoval.h"
#include "resources/resource.h"

namespace vok {

namespace {

constexpr int kFirstCaptionLine = 44;
constexpr int kLicenceLine = 53;
constexpr int kWebSiteLine = 54;
constexpr int kDirectXQuestionLine = 55;
constexpr int kReplaceLeagueLine = 69;
constexpr int kNoLeagueLine = 70;

constexpr const char* kDirectXSetup = "DirectX8/DXSETUP.EXE";

// Buttons in the order of their captions' language lines, from line 44. Demo
// keeps the template's text.
const int kCaptionedButtons[] = {
    IDC_MAIN_PRACTICE,   IDC_MAIN_SINGLEMATCH, IDC_MAIN_NEWLEAGUE,
    IDC_MAIN_LOADLEAGUE, IDC_MAIN_CREDITS,     IDC_MAIN_DIRECTX,
    IDC_MAIN_LICENCE,    IDC_MAIN_WEBSITE,     IDC_MAIN_CANCEL,
};

bool KeyDown(Os& os, Key key) {
    return (os.AsyncKeyState(key) & 0x8000) != 0;
}

// A setup, demo, licence or address the shell cannot open is named to the
// player, who would otherwise see a button that does nothing.
void Open(Ui& menu, const char* verb, const char* file, const char* parameters) {
    if (!CurrentOs().ShellOpen(menu.Window(), verb, file, parameters, "")) {
        std::string text = MessageText(Process().language, kCannotOpenLine);
        menu.ShowMessage((text + "\n" + file).c_str(), "", Buttons::Ok);
    }
}

void Leave(Ui& menu) {
    menu.EndDialog(IDC_MAIN_CANCEL);
}

void InstallDirectX(Ui& menu) {
    Open(menu, "open", kDirectXSetup, "");
}

void OpenLicence(Ui& menu) {
    Open(menu, nullptr, Process().language.Text(kLicenceLine), "");
}

void OpenWebSite(Ui& menu) {
    Open(menu, nullptr, Process().language.Text(kWebSiteLine), "");
}

void PlayDemo(Ui& menu) {
    Open(menu, "open", "demo/Zantovid.exe", "demo/vok.avi");
}

void StartPractice(Ui& menu) {
    LaunchGame(menu, IDC_MAIN_PRACTICE, ComputeLaunchLevel());
}

void StartSingleMatch(Ui& menu) {
    LaunchGame(menu, IDC_MAIN_SINGLEMATCH, ComputeLaunchLevel());
}

// The level is read as the button is pressed: keys held while answering the
// questions or filling the create-league dialog do not count.
void LoadLeague(Ui& menu) {
    const int level = ComputeLaunchLevel();
    if (Process().leaguePresent) {
        LaunchGame(menu, IDC_MAIN_NEWLEAGUE, level);
        return;
    }
    menu.ShowMessage(Process().language.Text(kNoLeagueLine), "", Buttons::Ok);
}

void StartNewLeague(Ui& menu) {
    const int level = ComputeLaunchLevel();
    if (Process().leaguePresent) {
        // Only a clear Yes may delete a league; a box that could not be shown
        // keeps it like No.
        Answer answer =
            menu.ShowMessage(Process().language.Text(kReplaceLeagueLine), "", Buttons::YesNo);
        if (answer != Answer::Yes) {
            return;
        }
        DeleteLeague();
    }
    // A league whose game could not be started goes again, as any league
    // that was not handed over: a later run would find it and start it.
    if (menu.RunDialog("IDD_CREATELEAGUE", &Process()) == 1) {
        if (LaunchGame(menu, IDC_MAIN_NEWLEAGUE, level)) {
            return;
        }
        DeleteLeague();
    }
    // Any league there was is gone now, and none is waiting.
    menu.Enable(IDC_MAIN_LOADLEAGUE, false);
}

void ViewCredits(Ui& menu) {
    menu.RunDialog("IDD_CREDITS", &Process().language);
}

struct Command {
    int id;
    void (*run)(Ui& menu);
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

void OpenMainMenu(Ui& menu) {
    ProcessState& process = Process();
    int line = kFirstCaptionLine;
    for (int button : kCaptionedButtons) {
        menu.SetText(button, process.language.Text(line++));
    }

    Os& os = CurrentOs();
    if (os.ProbeDirectDraw() < kDirectDraw7) {
        Answer answer =
            menu.ShowMessage(process.language.Text(kDirectXQuestionLine), "", Buttons::YesNo);
        if (answer != Answer::Yes) {
            os.EndProcess(kExitHandedOver);
            return;
        }
        InstallDirectX(menu);
    }

    menu.Enable(IDC_MAIN_PRACTICE, true);
    menu.Enable(IDC_MAIN_SINGLEMATCH, true);
    menu.Enable(IDC_MAIN_NEWLEAGUE, true);
    menu.Enable(IDC_MAIN_LOADLEAGUE, process.leaguePresent != 0);
}

bool RunMainMenuCommand(Ui& menu, int id) {
    for (const Command& command : kCommands) {
        if (command.id == id) {
            command.run(menu);
            return true;
        }
    }
    return false;
}

}  // namespace vok
