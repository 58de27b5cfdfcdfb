#include "dialogs/InputBox.h"

#include <cstring>

#include "resources/resource.h"

namespace vok {

namespace {

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

// Cuts the edit's text to the maximum length, as a change of it leaves it;
// false when it was short enough.
bool Cut(char (&text)[kInputBoxTextSize], int maxLength) {
    const std::size_t limit = static_cast<unsigned>(maxLength);
    if (std::strlen(text) <= limit) {
        return false;
    }
    text[limit] = '\0';
    return true;
}

}  // namespace

std::string InputBox(Ui& owner, const char* title, const char* prompt, const char* defaultText,
                     const char* okCaption, int maxLength) {
    InputBoxRequest request;
    CopyText(request.title, title);
    CopyText(request.prompt, prompt);
    CopyText(request.defaultText, defaultText);
    CopyText(request.okCaption, okCaption);
    request.maxLength = maxLength;
    CopyText(request.answer, defaultText);
    Cut(request.answer, maxLength);
    owner.RunDialog("IDD_INPUTBOX", &request);
    return request.answer;
}

void OpenInputBox(Ui& box, const InputBoxRequest& request) {
    box.SetCaption(request.title);
    box.SetText(IDC_INPUT_PROMPT, request.prompt);
    box.SetText(IDC_INPUT_EDIT, request.defaultText);
    box.SetText(IDC_OK, request.okCaption);
    // Writing a cut text back (below) puts the edit's caret at the start, so
    // every key typed after the box is full would go in front and push the
    // end of the name out. The edit itself therefore refuses keys beyond the
    // maximum; the cut stays for texts that arrive otherwise. A maximum of 0
    // needs no limit: its cut leaves nothing for a caret to move in.
    if (request.maxLength > 0) {
        box.LimitTyping(IDC_INPUT_EDIT, static_cast<std::size_t>(request.maxLength));
    }
}

bool RunInputBoxCommand(Ui& box, InputBoxRequest& request, int control, int notification) {
    if (control == IDC_OK) {
        box.GetText(IDC_INPUT_EDIT, request.answer, sizeof request.answer);
        box.EndDialog(IDC_CANCEL);
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
        if (Cut(text, request.maxLength)) {
            box.SetText(IDC_INPUT_EDIT, text);
        }
    }
    return true;
}

}  // namespace vok
