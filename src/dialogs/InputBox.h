#pragma once

#include "platform/Ui.h"

namespace vok {

// A modal one-line prompt: a caption, a prompt, an edit and an OK button that
// is the only way out (Escape and the close box do nothing).
//
// The box keeps its texts in one process-wide set of 512-byte buffers, so
// only one input box can be open at a time and InputBox is not re-entrant.

constexpr int kInputBoxTextSize = 512;

// Runs "IDD_INPUTBOX" modally, owned by `owner`, and returns the entered text.
// The four texts are copied first, each cut to 511 bytes; the edit then holds
// at most `maxLength` characters (compared as unsigned, so a negative length
// sets no limit). The returned buffer is the box's own: it stays valid, and
// unchanged, only until the next call.
const char* InputBox(Ui& owner, const char* title, const char* prompt, const char* defaultText,
                     const char* okCaption, int maxLength);

// The dialog's initialisation: caption, prompt, default text and OK caption
// from the buffers InputBox filled.
void OpenInputBox(Ui& box);

// A command from `control` with `notification` (the high word of the
// command's first parameter). OK copies the edit into the result and ends the
// box; a change of the edit cuts a text longer than the maximum length and
// writes it back. False for every command the box ignores, Cancel included.
bool RunInputBoxCommand(Ui& box, int control, int notification);

// The notification an edit sends after its text has changed (EN_CHANGE).
constexpr int kEditChanged = 0x300;

}  // namespace vok
