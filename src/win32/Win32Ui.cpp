#include "win32/Win32Ui.h"

#include <windows.h>

#include <climits>

#include "launcher/DialogTable.h"
#include "resources/resource.h"

static_assert(IDC_OK == IDOK && IDC_CANCEL == IDCANCEL, "the dialog manager's ids");

namespace vok {

namespace {

HWND Handle(WindowHandle window) {
    return static_cast<HWND>(window);
}

// A dialog's logic and the context its opener handed to it: what the one
// dialog procedure keeps in the window's user data while the dialog runs.
struct Binding {
    const DialogLogic* logic;
    void* context;
};

// The one procedure of every dialog. Its binding arrives with WM_INITDIALOG;
// the messages that come before it (WM_SETFONT) and every message other than
// the opening and the commands are not handled.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    }
    auto binding = reinterpret_cast<const Binding*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!binding) {
        return FALSE;
    }
    Win32Ui dialog(window, reinterpret_cast<void*>(GetWindowLongPtrA(window, GWLP_HINSTANCE)));
    switch (message) {
        case WM_INITDIALOG:
            binding->logic->open(dialog, binding->context);
            return TRUE;  // the system sets the default focus
        case WM_COMMAND:
            return binding->logic->command(dialog, binding->context, LOWORD(wParam), HIWORD(wParam))
                       ? TRUE
                       : FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void Win32Ui::SetText(int control, const char* text) {
    SetDlgItemTextA(Handle(window_), control, text);
}

void Win32Ui::GetText(int control, char* buffer, std::size_t size) {
    if (size == 0) {
        return;
    }
    buffer[0] = '\0';
    int capacity = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    GetDlgItemTextA(Handle(window_), control, buffer, capacity);
}

void Win32Ui::LimitTyping(int control, std::size_t maxChars) {
    // EM_LIMITTEXT reads 0 as "no limit" and takes at most 0x7FFFFFFE.
    if (maxChars == 0 || maxChars > 0x7FFFFFFE) {
        return;
    }
    SendDlgItemMessageA(Handle(window_), control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void Win32Ui::SetCaption(const char* text) {
    SetWindowTextA(Handle(window_), text);
}

void Win32Ui::Enable(int control, bool enabled) {
    EnableWindow(GetDlgItem(Handle(window_), control), enabled ? TRUE : FALSE);
}

Answer Win32Ui::ShowMessage(const char* text, const char* caption, Buttons buttons) {
    static const UINT kTypes[] = {MB_OK, MB_YESNO, MB_OKCANCEL, MB_RETRYCANCEL};  // by Buttons
    static_assert(sizeof kTypes / sizeof *kTypes == static_cast<int>(Buttons::Count),
                  "a type for each set of buttons");
    switch (MessageBoxA(Handle(window_), text, caption, kTypes[static_cast<int>(buttons)])) {
        case IDOK:
            return Answer::Ok;
        case IDCANCEL:
            return Answer::Cancel;
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        case IDRETRY:
            return Answer::Retry;
        default:
            return Answer::None;
    }
}

int Win32Ui::RunDialog(const char* templateName, void* context) {
    const Binding binding = {FindDialogLogic(templateName), context};
    if (!binding.logic) {
        return -1;
    }
    return static_cast<int>(DialogBoxParamA(static_cast<HINSTANCE>(instance_), templateName,
                                            Handle(window_), DialogProc,
                                            reinterpret_cast<LPARAM>(&binding)));
}

void Win32Ui::EndDialog(int result) {
    ::EndDialog(Handle(window_), result);
}

}  // namespace vok
