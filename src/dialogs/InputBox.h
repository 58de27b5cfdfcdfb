#pragma once

#include <string>

#include "platform/Ui.h"

namespace vok {

// A modal one-line prompt: a caption, a prompt, an edit and an OK button that
// is the only way out (Escape and the close box do nothing).

constexpr int kInputBoxTextSize = 512;

// What one input box shows, and what the player entered: the context of
// "IDD_INPUTBOX". Each text holds at most 511 bytes.
struct InputBoxRequest {
    char title[kInputBoxTextSize];
    char prompt[kInputBoxTextSize];
    char defaultText[kInputBoxTextSize];
    char okCaption[kInputBoxTextSize];
    int maxLength;                   // compared as unsigned: a negative one sets no limit
    char answer[kInputBoxTextSize];  // what the edit held at OK
};

// Runs "IDD_INPUTBOX" modally, owned by `owner`, and returns the entered text.
// The four texts are cut to 511 bytes; the edit then holds at most
// `maxLength` characters. A box that cannot be shown answers with its
// default text, as the box would have shown it.
std::string InputBox(Ui& owner, const char* title, const char* prompt, const char* defaultText,
                     const char* okCaption, int maxLength);

// The dialog's initialisation: caption, prompt, default text and OK caption.
void OpenInputBox(Ui& box, const InputBoxRequest& request);

// A command from `control` with `notification` (the high word of the
// command's first parameter). OK copies the edit into the answer and ends the
// box; a change of the edit cuts a text longer than the maximum length and
// writes it back. False for every command the box ignores, Cancel included.
bool RunInputBoxCommand(Ui& box, InputBoxRequest& request, int control, int notification);

// The notification an edit sends after its text has changed (EN_CHANGE).
constexpr int kEditChanged = 0x300;

}  // namespace vok
