#pragma once

#include <windows.h>

namespace vok {

// Dialog procedure of "IDD_INPUTBOX": hands the opening, OK and the edit's
// notifications to the input box's logic. Cancel (Escape, the close box) is
// reported as not handled, so it does nothing and OK stays the only way out.
INT_PTR CALLBACK InputBoxDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vok
