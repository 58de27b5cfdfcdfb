#include "ScriptedPlayer.h"

#include <utility>

#include "dialogs/InputBox.h"
#include "launcher/MainMenu.h"
#include "league/CreateLeague.h"
#include "resources/resource.h"

namespace vok::test {

// One of the launcher's dialogs, or the desktop that owns the main menu.
class ScriptedPlayer::Dialog final : public Ui {
public:
    enum class Kind { Desktop, MainMenu, CreateLeague, InputBox };

    Dialog(ScriptedPlayer& player, Kind kind) : player_(player), kind_(kind) {}

    WindowHandle Window() override { return kind_ == Kind::Desktop ? nullptr : this; }
    void SetText(int control, const char* text) override { texts_[control] = text; }
    void GetText(int control, char* buffer, std::size_t size) override {
        const std::string& text = texts_[control];
        std::size_t length = text.size() < size ? text.size() : size - 1;
        text.copy(buffer, length);
        buffer[length] = '\0';
    }
    void Enable(int control, bool enabled) override {
        if (kind_ == Kind::MainMenu && control == IDC_MAIN_LOADLEAGUE) {
            player_.loadLeagueEnabled_ = enabled;
        }
    }
    Answer ShowMessage(const char* text, const char* caption, Buttons buttons) override {
        return player_.Respond(text, caption, buttons);
    }
    int RunDialog(const char* templateName) override {
        const std::string name = templateName;
        if (kind_ == Kind::Desktop && name == "IDD_MAINDLG") {
            return player_.RunMainMenu();
        }
        if (kind_ == Kind::MainMenu && name == "IDD_CREATELEAGUE") {
            return player_.RunCreateLeague();
        }
        if (kind_ == Kind::CreateLeague && name == "IDD_INPUTBOX") {
            return player_.RunInputBox();
        }
        return -1;
    }
    void EndDialog(int result) override {
        ended_ = true;
        result_ = result;
    }

    // Puts `text` into a control as typing would.
    void Type(int control, const std::string& text) { texts_[control] = text; }

    ScriptedPlayer& player_;
    Kind kind_;
    std::map<int, std::string> texts_;
    bool ended_ = false;
    int result_ = -1;
};

ScriptedPlayer::ScriptedPlayer(TestOs& os) : os_(os) {}

ScriptedPlayer::~ScriptedPlayer() = default;

Ui& ScriptedPlayer::Desktop(std::vector<int> buttons) {
    buttons_ = std::move(buttons);
    desktop_ = std::make_unique<Dialog>(*this, Dialog::Kind::Desktop);
    return *desktop_;
}

void ScriptedPlayer::Press(int button) {
    if (!menu_) {
        menu_ = std::make_unique<Dialog>(*this, Dialog::Kind::MainMenu);
        OpenMainMenu(*menu_);
        menuTexts_ = menu_->texts_;
    }
    RunMainMenuCommand(*menu_, button);
}

bool ScriptedPlayer::LoadLeagueEnabled() const {
    return loadLeagueEnabled_;
}

std::vector<std::string> ScriptedPlayer::TextsOf(Buttons buttons) const {
    std::vector<std::string> texts;
    for (const Shown& shown : messages_) {
        if (shown.buttons == buttons) {
            texts.push_back(shown.text);
        }
    }
    return texts;
}

Answer ScriptedPlayer::Respond(const char* text, const char* caption, Buttons buttons) {
    messages_.push_back({text, caption, buttons});
    switch (buttons) {
        case Buttons::YesNo:
            return replace;
        case Buttons::RetryCancel:
            if (retried_ < retries) {
                ++retried_;
                return Answer::Retry;
            }
            return Answer::Cancel;
        case Buttons::Ok:
        case Buttons::OkCancel:
            break;
    }
    return Answer::Ok;
}

int ScriptedPlayer::RunMainMenu() {
    menu_ = std::make_unique<Dialog>(*this, Dialog::Kind::MainMenu);
    Dialog& menu = *menu_;
    OpenMainMenu(menu);
    menuTexts_ = menu.texts_;
    for (int button : buttons_) {
        if (Ended() || menu.ended_) {
            break;
        }
        RunMainMenuCommand(menu, button);
    }
    return menu.ended_ ? menu.result_ : 0;
}

int ScriptedPlayer::RunCreateLeague() {
    Dialog dialog(*this, Dialog::Kind::CreateLeague);
    OpenCreateLeague(dialog);
    dialog.Type(IDC_LEAGUE_NAME, leagueName);
    dialog.Type(IDC_LEAGUE_PLAYERS, players);
    dialog.Type(IDC_LEAGUE_ROUNDS, rounds);
    dialog.Type(IDC_LEAGUE_VOKS, voks);
    dialog.Type(IDC_LEAGUE_LIVES, lives);
    RunCreateLeagueCommand(dialog, 1);
    if (!dialog.ended_) {
        // Settings were corrected: this player does not try again.
        RunCreateLeagueCommand(dialog, 2);
    }
    createResult_ = dialog.result_;
    return dialog.result_;
}

int ScriptedPlayer::RunInputBox() {
    Dialog box(*this, Dialog::Kind::InputBox);
    OpenInputBox(box);
    if (nameIndex_ < names.size()) {
        box.Type(IDC_INPUT_EDIT, names[nameIndex_++]);
        RunInputBoxCommand(box, IDC_INPUT_EDIT, kEditChanged);
    }
    RunInputBoxCommand(box, 1, 0);
    return box.ended_ ? box.result_ : -1;
}

namespace {

// Through the system's own calls, so that names are the bytes the launcher
// uses (the ANSI code page on Windows).
void AddTree(const std::string& folder, const std::string& prefix,
             std::map<std::string, std::string>& tree) {
    std::vector<std::string> names;
    if (!SystemOs().ListFolder(folder.c_str(), names)) {
        return;
    }
    for (const std::string& name : names) {
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = folder + "/" + name;
        std::vector<std::string> inside;
        if (SystemOs().ListFolder(path.c_str(), inside)) {
            tree[prefix + name + "/"] = "";
            AddTree(path, prefix + name + "/", tree);
        } else {
            SystemOs().ReadWholeFile(path.c_str(), tree[prefix + name]);
        }
    }
}

}  // namespace

std::map<std::string, std::string> Tree(const std::string& folder) {
    std::string root = folder;
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    std::map<std::string, std::string> tree;
    AddTree(root, "", tree);
    return tree;
}

}  // namespace vok::test
