// Driving another process's dialogs from outside, the way a player would see
// and use them: find a dialog by its control ids, read texts and enabled
// states, click buttons, type into edits, answer message boxes, hold keys.
//
// Every call that sends a message to the other process has a time limit, so a
// hung launcher makes a case fail instead of stopping the run; clicks are
// posted, because the click usually opens a modal loop (a message box, a child
// dialog) or ends the process, and a sent message would wait for that.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

// Polls `condition` until it holds or `timeoutMs` has passed; the condition is
// evaluated once more at the end. True when it held.
bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& condition);

// Visible top-level windows of the process `pid`.
std::vector<HWND> TopLevelWindows(DWORD pid);

std::string ClassName(HWND window);
// The window's text through WM_GETTEXT with a time limit; "" on failure.
std::string WindowText(HWND window);

// A visible dialog (class "#32770") of `pid` that has a child control for each
// of `ids`, or nullptr. Message boxes, group boxes and pictures all use id
// 0xFFFF, so a dialog is recognised by ids of its own.
// Dialogs that share ids are told apart by ids the wanted one lacks (`absent`).
HWND FindDialog(DWORD pid, const std::vector<int>& ids, const std::vector<int>& absent = {});
HWND WaitForDialog(DWORD pid, const std::vector<int>& ids, DWORD timeoutMs,
                   const std::vector<int>& absent = {});

std::string ControlText(HWND dialog, int id);
bool ControlEnabled(HWND dialog, int id);
bool ControlExists(HWND dialog, int id);

// Posts a click to the button. False (and nothing posted) when the button is
// missing or disabled, as a player could not press it either.
bool Click(HWND dialog, int id);
// Clicks and waits until the launcher has handled the click: for buttons whose
// action neither ends the process nor opens a modal window. False when the
// button is missing or disabled, or the handler did not return in time (a
// message box it opened, for instance, would keep it from returning).
bool ClickAndWait(HWND dialog, int id, DWORD timeoutMs);
// Replaces the text of an edit control.
bool TypeText(HWND dialog, int id, const std::string& text);
// Types `text` into an edit one character at a time (WM_CHAR at the caret),
// as the keyboard does, so every character raises the edit's own change
// notification. Returns when the edit has taken the last one.
bool TypeChars(HWND dialog, int id, const std::string& text);

// Posts a key press and release to `control` of a dialog. The dialog's modal
// loop then handles it as a keystroke (Escape as Cancel, Enter as the default
// button), which a message sent straight to the control would bypass.
bool PostKey(HWND control, WORD key);
// Posts what the close box of `window` sends (WM_SYSCOMMAND, SC_CLOSE).
bool PostCloseBox(HWND window);
// Posts the command a click on button `id` sends to `dialog`, whether the
// button is enabled or not: for a command the player cannot click.
bool PostCommand(HWND dialog, int id);
// Waits until the thread of `dialog` has handled the messages posted to it
// before the call. A sent message would be handled ahead of them, so a
// posted marker is used: the modified flag of the edit `editId`, which the
// launcher never reads, is set to the other value and read back.
bool WaitPostedHandled(HWND dialog, int editId, DWORD timeoutMs);

struct MessageBoxInfo {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // ids of the visible buttons (IDOK, IDYES, ...)
};

// A message box shown by `pid`: a "#32770" window whose statics are only the
// text (id 0xFFFF) and the icon, and whose buttons are the standard answers.
bool FindMessageBox(DWORD pid, MessageBoxInfo& box);
bool WaitForMessageBox(DWORD pid, MessageBoxInfo& box, DWORD timeoutMs);
// Presses the answer `id` (IDYES, IDNO, IDOK ...). False when the box has no
// such button.
bool Answer(const MessageBoxInfo& box, int id);

// Holds keys down through synthesised input for as long as it lives, and
// releases them afterwards.
//
// Wine resynchronises Control and Shift with the X server when one of its
// windows gains focus, which releases a key that only SendInput pressed. So
// Confirm presses, lets the target's message loop run, checks over a short
// settle that the keys stay down, and presses again when they did not.
class HeldKeys {
public:
    explicit HeldKeys(std::vector<WORD> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

    // True once every key has been seen down throughout a settle period after
    // a round trip through `target`'s message loop.
    bool Confirm(HWND target);

private:
    void Send(WORD key, bool down);
    std::vector<WORD> keys_;
};

bool KeyDown(WORD key);

// Saves what the screen shows of the window, frame included, as a PNG.
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace gui
