#include "launcher/UiWin32.h"

#include <windows.h>

#include <cstring>

#include "common/ProcessState.h"
#include "launcher/MainDialogWin32.h"

namespace vok {

namespace {

// Every dialog template of the launcher with its procedure.
struct DialogEntry {
    const char* templateName;
    DLGPROC procedure;
};

const DialogEntry kDialogs[] = {
    {"IDD_MAINDLG", MainDialogProc},
};

HWND Handle(WindowHandle window) {
    return static_cast<HWND>(window);
}

}  // namespace

void Win32Ui::SetText(int control, const char* text) {
    SetDlgItemTextA(Handle(window_), control, text);
}

void Win32Ui::Enable(int control, bool enabled) {
    EnableWindow(GetDlgItem(Handle(window_), control), enabled ? TRUE : FALSE);
}

Answer Win32Ui::ShowMessage(const char* text, const char* caption, Buttons buttons) {
    UINT type = buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
    switch (MessageBoxA(Handle(window_), text, caption, type)) {
        case IDOK:
            return Answer::Ok;
        case IDCANCEL:
            return Answer::Cancel;
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::None;
    }
}

int Win32Ui::RunDialog(const char* templateName) {
    HINSTANCE instance = static_cast<HINSTANCE>(Process().instance);
    if (!instance) {
        instance = GetModuleHandleA(nullptr);
    }
    for (const DialogEntry& dialog : kDialogs) {
        if (std::strcmp(dialog.templateName, templateName) == 0) {
            return static_cast<int>(
                DialogBoxParamA(instance, templateName, Handle(window_), dialog.procedure, 0));
        }
    }
    return -1;
}

void Win32Ui::EndDialog(int result) {
    ::EndDialog(Handle(window_), result);
}

}  // namespace vok
