#pragma once

#include <cstddef>

#include "platform/Os.h"

namespace vok {

// Buttons of a message box. Count stays last: tables by button set have as
// many entries.
enum class Buttons { Ok, YesNo, OkCancel, RetryCancel, Count };

// The button that closed a message box; None when the box could not be shown.
enum class Answer { None, Ok, Cancel, Yes, No, Retry };

// What the launcher's logic needs of one dialog: its controls, the message
// boxes and child dialogs it owns, and its end. The Win32 front end implements
// it over a dialog window; tests implement it with scripted answers.
//
// A Ui without a window stands for the desktop: it can only run a dialog that
// has no owner (start-up's main menu).
class Ui {
public:
    virtual ~Ui() = default;

    // The dialog's window, to parent what the shell shows; null for the desktop.
    virtual WindowHandle Window() = 0;

    virtual void SetText(int control, const char* text) = 0;
    // The text of `control`, cut to `size` - 1 bytes and zero-terminated; the
    // empty text when the control has none or cannot be read. `size` is at
    // least 1. The default, for a dialog without edits, reads nothing.
    virtual void GetText(int control, char* buffer, std::size_t size) {
        (void)control;
        if (size > 0) {
            buffer[0] = '\0';
        }
    }
    // Keeps the player from typing more than `maxChars` characters into the
    // edit `control`; texts that the logic sets are not held to it. The
    // default, for a dialog without edits, does nothing.
    virtual void LimitTyping(int control, std::size_t maxChars) {
        (void)control;
        (void)maxChars;
    }
    // The dialog's own caption. The default, for a dialog whose template gives
    // the caption, does nothing.
    virtual void SetCaption(const char* text) { (void)text; }
    virtual void Enable(int control, bool enabled) = 0;

    // A modal message box owned by the dialog. An empty caption shows an empty
    // title bar, as every box of the launcher but one has.
    virtual Answer ShowMessage(const char* text, const char* caption, Buttons buttons) = 0;

    // Runs the dialog of template `templateName` modally, owned by this one,
    // handing its logic `context` (what the dialog takes and returns, as
    // DialogBoxParam's parameter does), and returns the result it ended
    // with, or -1 when it could not be created.
    virtual int RunDialog(const char* templateName, void* context) = 0;

    // Ends this dialog; RunDialog of its owner returns `result`.
    virtual void EndDialog(int result) = 0;
};

}  // namespace vok
