#include "dialogs/CreditsDialogWin32.h"

#include "dialogs/Credits.h"
#include "launcher/UiWin32.h"

namespace vok {

INT_PTR CALLBACK CreditsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            Win32Ui ui(dialog);
            OpenCredits(ui);
            return TRUE;  // the focus goes to the first tab stop, OK
        }
        case WM_COMMAND: {
            Win32Ui ui(dialog);
            return RunCreditsCommand(ui, LOWORD(wParam)) ? TRUE : FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace vok
