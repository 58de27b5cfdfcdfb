#pragma once

#include <windows.h>

namespace vok {

// Dialog procedure of "IDD_CREATELEAGUE": hands the opening and the commands
// (by control id; the notification is not looked at) to the create-league
// logic and reports every other message as not handled.
INT_PTR CALLBACK CreateLeagueDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vok
