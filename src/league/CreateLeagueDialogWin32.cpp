#include "league/CreateLeagueDialogWin32.h"

#include "launcher/UiWin32.h"
#include "league/CreateLeague.h"

namespace vok {

INT_PTR CALLBACK CreateLeagueDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            Win32Ui ui(dialog);
            OpenCreateLeague(ui);
            return TRUE;  // the system sets the default focus
        }
        case WM_COMMAND: {
            Win32Ui ui(dialog);
            return RunCreateLeagueCommand(ui, LOWORD(wParam)) ? TRUE : FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace vok
