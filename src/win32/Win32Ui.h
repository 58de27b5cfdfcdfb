#pragma once

#include "platform/Ui.h"

namespace vok {

// The UI seam over a dialog window (an HWND). It holds nothing but the
// handle, so a dialog procedure makes one for each message it handles.
class Win32Ui final : public Ui {
public:
    // `window` null: the desktop, owner of the main menu. Dialogs are made
    // from the templates of `instance`.
    Win32Ui(WindowHandle window, void* instance) : window_(window), instance_(instance) {}

    WindowHandle Window() override { return window_; }
    void SetText(int control, const char* text) override;
    void GetText(int control, char* buffer, std::size_t size) override;
    void LimitTyping(int control, std::size_t maxChars) override;
    void SetCaption(const char* text) override;
    void Enable(int control, bool enabled) override;
    Answer ShowMessage(const char* text, const char* caption, Buttons buttons) override;
    // Knows each template's dialog procedure; an unknown name gives -1.
    int RunDialog(const char* templateName, void* context) override;
    void EndDialog(int result) override;

private:
    WindowHandle window_;
    void* instance_;  // an HINSTANCE
};

}  // namespace vok
