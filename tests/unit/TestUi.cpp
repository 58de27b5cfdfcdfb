#include "TestUi.h"

namespace vok::test {

void TestUi::SetDialogResult(const std::string& templateName, int result,
                             std::function<void()> during) {
    dialogs_[templateName] = {result, std::move(during)};
}

void TestUi::SetText(int control, const char* text) {
    texts_.emplace_back(control, text);
    current_[control] = text;
}

void TestUi::GetText(int control, char* buffer, std::size_t size) {
    auto it = current_.find(control);
    std::string text = it == current_.end() ? std::string() : it->second;
    if (size == 0) {
        return;
    }
    std::size_t length = text.size() < size ? text.size() : size - 1;
    text.copy(buffer, length);
    buffer[length] = '\0';
}

void TestUi::Enable(int control, bool enabled) {
    enabled_[control] = enabled;
}

Answer TestUi::ShowMessage(const char* text, const char* caption, Buttons buttons) {
    messages_.push_back({text, caption, buttons});
    if (answers_.empty()) {
        return Answer::None;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

int TestUi::RunDialog(const char* templateName) {
    dialogsRun_.emplace_back(templateName);
    auto it = dialogs_.find(templateName);
    if (it == dialogs_.end()) {
        return -1;
    }
    if (it->second.during) {
        it->second.during();
    }
    return it->second.result;
}

std::string TestUi::TextOf(int control) const {
    for (auto it = texts_.rbegin(); it != texts_.rend(); ++it) {
        if (it->first == control) {
            return it->second;
        }
    }
    return "";
}

bool TestUi::IsEnabled(int control) const {
    auto it = enabled_.find(control);
    return it != enabled_.end() && it->second;
}

}  // namespace vok::test
