#include "dialogs/InputBoxDialogWin32.h"

#include "dialogs/InputBox.h"
#include "launcher/UiWin32.h"

namespace vok {

INT_PTR CALLBACK InputBoxDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            Win32Ui ui(dialog);
            OpenInputBox(ui);
            return TRUE;  // the system sets the default focus
        }
        case WM_COMMAND: {
            Win32Ui ui(dialog);
            return RunInputBoxCommand(ui, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace vok
