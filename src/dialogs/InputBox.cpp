#include "dialogs/InputBox.h"

#include <cstring>

#include "resources/resource.h"

namespace vok {

namespace {

// Button 1 of the template.
constexpr int kOk = 1;

struct InputBoxState {
    char title[kInputBoxTextSize];
    char prompt[kInputBoxTextSize];
    char defaultText[kInputBoxTextSize];
    char okCaption[kInputBoxTextSize];
    int maxLength;
    char result[kInputBoxTextSize];
};

InputBoxState g_box = {};

// Callers keep their texts within the buffers; one that does not is cut
// rather than allowed to run past the buffer.
void CopyText(char (&buffer)[kInputBoxTextSize], const char* text) {
    if (!text) {
        text = "";
    }
    std::size_t length = std::strlen(text);
    if (length >= sizeof buffer) {
        length = sizeof buffer - 1;
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

}  // namespace

const char* InputBox(Ui& owner, const char* title, const char* prompt, const char* defaultText,
                     const char* okCaption, int maxLength) {
    CopyText(g_box.title, title);
    CopyText(g_box.prompt, prompt);
    CopyText(g_box.defaultText, defaultText);
    CopyText(g_box.okCaption, okCaption);
    g_box.maxLength = maxLength;
    owner.RunDialog("IDD_INPUTBOX");
    return g_box.result;
}

void OpenInputBox(Ui& box) {
    box.SetCaption(g_box.title);
    box.SetText(IDC_INPUT_PROMPT, g_box.prompt);
    box.SetText(IDC_INPUT_EDIT, g_box.defaultText);
    box.SetText(kOk, g_box.okCaption);
    // Writing a cut text back (below) puts the edit's caret at the start, so
    // every key typed after the box is full would go in front and push the
    // end of the name out. The edit itself therefore refuses keys beyond the
    // maximum; the cut stays for texts that arrive otherwise. A maximum of 0
    // needs no limit: its cut leaves nothing for a caret to move in.
    if (g_box.maxLength > 0) {
        box.LimitTyping(IDC_INPUT_EDIT, static_cast<std::size_t>(g_box.maxLength));
    }
}

bool RunInputBoxCommand(Ui& box, int control, int notification) {
    if (control == kOk) {
        box.GetText(IDC_INPUT_EDIT, g_box.result, sizeof g_box.result);
        box.EndDialog(2);
        return true;
    }
    if (control != IDC_INPUT_EDIT) {
        return false;
    }
    if (notification == kEditChanged) {
        char text[kInputBoxTextSize];
        box.GetText(IDC_INPUT_EDIT, text, sizeof text);
        // Writing the shorter text back changes the edit once more; that
        // second notification finds it short enough and stops there.
        std::size_t limit = static_cast<unsigned>(g_box.maxLength);
        if (std::strlen(text) > limit) {
            text[limit] = '\0';
            box.SetText(IDC_INPUT_EDIT, text);
        }
    }
    return true;
}

}  // namespace vok
