#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Ui.h"

namespace vok::test {

// The UI seam for tests: records what the logic does to its dialog and
// answers message boxes and child dialogs from a script.
class TestUi final : public Ui {
public:
    struct Message {
        std::string text;
        std::string caption;
        Buttons buttons;
    };

    explicit TestUi(WindowHandle window = reinterpret_cast<WindowHandle>(0x1234))
        : window_(window) {}

    // Answers for the next message boxes, in order; once used up, None.
    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    // Result of RunDialog for `templateName` (default -1: not created).
    // `during`, when given, runs while the dialog is "open".
    void SetDialogResult(const std::string& templateName, int result,
                         std::function<void()> during = nullptr);

    WindowHandle Window() override { return window_; }
    void SetText(int control, const char* text) override;
    // The control's current text: the last one set by the logic or typed.
    void GetText(int control, char* buffer, std::size_t size) override;
    void LimitTyping(int control, std::size_t maxChars) override { limits_[control] = maxChars; }
    void SetCaption(const char* text) override { captions_.emplace_back(text); }
    void Enable(int control, bool enabled) override;
    Answer ShowMessage(const char* text, const char* caption, Buttons buttons) override;
    int RunDialog(const char* templateName) override;
    void EndDialog(int result) override { endResults_.push_back(result); }

    // Puts `text` into `control` as the player would type it; not recorded
    // among Texts().
    void Type(int control, const std::string& text) { current_[control] = text; }

    // The typing limit of each control that has one.
    const std::map<int, std::size_t>& TypingLimits() const { return limits_; }
    // Every SetCaption in order.
    const std::vector<std::string>& Captions() const { return captions_; }
    // Every SetText in order, as {control, text}.
    const std::vector<std::pair<int, std::string>>& Texts() const { return texts_; }
    // The last text set on `control`, or "" when none was.
    std::string TextOf(int control) const;
    // Whether `control` was last enabled; false when never touched.
    bool IsEnabled(int control) const;
    bool WasTouched(int control) const { return enabled_.count(control) != 0; }
    const std::vector<Message>& Messages() const { return messages_; }
    const std::vector<std::string>& DialogsRun() const { return dialogsRun_; }
    const std::vector<int>& EndResults() const { return endResults_; }

private:
    struct DialogScript {
        int result;
        std::function<void()> during;
    };

    WindowHandle window_;
    std::deque<Answer> answers_;
    std::map<std::string, DialogScript> dialogs_;
    std::vector<std::pair<int, std::string>> texts_;
    std::map<int, std::string> current_;
    std::map<int, std::size_t> limits_;
    std::vector<std::string> captions_;
    std::map<int, bool> enabled_;
    std::vector<Message> messages_;
    std::vector<std::string> dialogsRun_;
    std::vector<int> endResults_;
};

}  // namespace vok::test
