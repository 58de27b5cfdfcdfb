#pragma once

#include <windows.h>

namespace vok {

// Dialog procedure of "IDD_MAINDLG": hands the opening and the commands to
// the main menu's logic and reports every other message as not handled (so a
// second launcher's peer message does nothing).
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vok
