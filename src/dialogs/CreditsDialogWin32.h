#pragma once

#include <windows.h>

namespace vok {

// Dialog procedure of "IDD_CREDITS": fills the columns on opening and ends
// on OK or Escape; every other message is reported as not handled.
INT_PTR CALLBACK CreditsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vok
