#include "launcher/MainDialogWin32.h"

#include "launcher/MainMenu.h"
#include "launcher/UiWin32.h"

namespace vok {

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            Win32Ui menu(dialog);
            OpenMainMenu(menu);
            return TRUE;  // the system sets the default focus
        }
        case WM_COMMAND: {
            Win32Ui menu(dialog);
            return RunMainMenuCommand(menu, LOWORD(wParam)) ? TRUE : FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace vok
