#include "Fakes.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/ProcessState.h"
#include "dialogs/InputBox.h"
#include "launcher/DialogTable.h"
#include "launcher/StartUp.h"

namespace fs = std::filesystem;

namespace vok::test {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    char base[512];
    SystemOs().TempPath(base, sizeof base);
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    path = base + ("voktest-" + std::to_string(now) + "-" + std::to_string(counter++) + "/");
    fs::create_directories(path);
}

TempFolder::~TempFolder() {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(path, error); !error && it != fs::end(it);
         ++it) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, error);
    }
    fs::remove_all(path, error);
}

std::string ReadFile(const std::string& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& contents) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(contents.data(), contents.size());
}

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
}

bool IsReadOnly(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
}

Files Tree(const std::string& folder) {
    Files tree;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::end(it);
         ++it) {
        tree[fs::relative(it->path(), folder).generic_string()] =
            it->is_directory() ? "/" : ReadFile(it->path().string());
    }
    return tree;
}

std::string LeagueFile(const std::string& temp, const Strings& players, int voks,
                       const std::string& creature) {
    std::string file;  // the last key written stands on top
    auto key = [&](const std::string& line) { file = line + "\r\n" + file; };
    for (std::string line : {"matches_played = 0", "LeagueName = \"Cup\"", "NrPlayers = ",
                             "LeagueRounds = 2", "VoksPerTeam = ", "LivesPerVok = 10"}) {
        key(line + (line == "NrPlayers = "     ? std::to_string(players.size())
                    : line == "VoksPerTeam = " ? std::to_string(voks)
                                               : ""));
    }
    for (std::size_t i = 0; i < players.size(); ++i) {
        const std::string player = "ply[" + std::to_string(i) + "].";
        key(player + "name = \"" + players[i] + "\"");
        for (const char* rest : {"matches_played = 0", "matches_won = 0", "points = 0"}) {
            key(player + rest);
        }
        for (int j = 0; j < voks; ++j) {
            const std::string vok = player + "vok[" + std::to_string(j) + "].";
            key(vok + "name = " + creature);
            key(vok + "path = " + temp + "p" + std::to_string(i) + "_vok" + std::to_string(j) +
                "/");
            for (const char* rest : {"lives = 10", "streak = 1", "health = 100.000000",
                                     "rounds_won = 0", "rounds_lost = 0", "flawlesswins = 0"}) {
                key(vok + rest);
            }
        }
    }
    return file;
}

TestOs::TestOs() : system_(SystemOs()), scope_(*this), startFolder_(fs::current_path().string()) {
    ResetProcess();
}

TestOs::~TestOs() {
    std::error_code error;
    fs::current_path(startFolder_, error);
}

bool TestOs::Fails(const char* call, const char* path) {
    std::string entry = std::string(call) + " " + path;
    bool fail = ++calls == failAt;
    for (const std::string& kind : failing) {
        fail = fail || kind == call;
    }
    log.push_back(entry + (fail ? " FAILED" : ""));
    faulted = faulted || fail;
    return fail;
}

bool TestOs::WriteWholeFile(const char* path, const void* data, std::size_t size) {
    if (Fails("write", path)) {
        system_.WriteWholeFile(path, data, size / 2);  // as a full disk leaves it
        return false;
    }
    return system_.WriteWholeFile(path, data, size);
}

bool TestOs::Give(const std::string& answer, char* buffer, std::size_t size) {
    bool fits = !answer.empty() && answer.size() < size;
    std::snprintf(buffer, size, "%s", fits ? answer.c_str() : "");
    return fits;
}

void TestOs::Pause(unsigned ms) {
    Note("pause " + std::to_string(ms));
    if (!later.empty()) {
        windows.push_back(later.front());
        later.erase(later.begin());
    }
}

WindowHandle TestOs::FindTopWindow(const char* className, const char* title) {
    for (std::size_t i = 0; i < windows.size(); ++i) {
        std::size_t bar = windows[i].find('|');
        if ((!className || windows[i].substr(0, bar) == className) &&
            (!title || windows[i].substr(bar + 1) == title)) {
            return reinterpret_cast<WindowHandle>(i + 1);
        }
    }
    return nullptr;
}

Strings TestOs::Log(const Strings& kinds, const std::string& root) const {
    Strings found;
    for (std::string entry : log) {
        for (const auto& [folder, name] : {std::pair(root, "R/"), std::pair(tempDir, "T/")}) {
            for (std::size_t at;
                 !folder.empty() && (at = entry.find(folder)) != std::string::npos;) {
                entry.replace(at, folder.size(), name);
            }
        }
        for (const std::string& kind : kinds) {
            if (entry.compare(0, kind.size() + 1, kind + " ") == 0) {
                found.push_back(entry);
            }
        }
    }
    return found;
}

// One dialog: its controls, and its end.
class Stage::Dialog final : public Ui {
public:
    Dialog(Stage& stage, const DialogLogic* logic) : stage_(stage), logic_(logic) {}

    WindowHandle Window() override { return logic_ ? this : nullptr; }
    void SetText(int control, const char* text) override {
        controls[control] = text;
        if (logic_ && control == 1006 && logic_->open == OpenInputBox) {
            logic_->command(*this, control, 0x300);  // the edit reports the change
        }
    }
    void GetText(int control, char* buffer, std::size_t size) override {
        std::snprintf(buffer, size, "%s", controls[control].c_str());
    }
    void LimitTyping(int control, std::size_t most) override {
        controls[-1000 - control] = std::to_string(most);
    }
    void SetCaption(const char* text) override { controls[0] = text; }
    void Enable(int control, bool enabled) override { controls[-control] = enabled ? "+" : "-"; }
    Answer ShowMessage(const char* text, const char* caption, Buttons buttons) override {
        return stage_.Respond(text, caption, buttons);
    }
    int RunDialog(const char* templateName) override { return stage_.RunDialog(templateName); }
    void EndDialog(int result) override { this->result = result; }

    std::map<int, std::string> controls;
    int result = -2;

private:
    Stage& stage_;
    const DialogLogic* logic_;  // none: the desktop
};

Stage::Stage(int lines) {
    Language(lines);
    WriteFile(root / "data/ply/data.dat", data);
    WriteFile(root / "data/ply/skin.txt", "skin");
    WriteFile(root / "vok.exe", "game");
    os.exeFolder = root.path;
    os.tempDir = temp.path;
}

void Stage::Language(int lines) {
    std::string language;
    for (int i = 0; i < lines; ++i) {
        language += (i ? "\r\nL" : "L") + std::to_string(i);
    }
    WriteFile(root / "data/language/english.txt", language);
}

Ui& Stage::Desktop() {
    desktop_ = std::make_shared<Dialog>(*this, nullptr);
    return *desktop_;
}

int Stage::Run(Strings steps) {
    script = std::move(steps);
    int code = StartUp(nullptr, Desktop());
    return os.exits.empty() ? code : os.exits.front();
}

int Stage::RunDialog(const std::string& templateName) {
    const DialogLogic* logic = FindDialogLogic(templateName.c_str());
    if (!logic || std::count(broken.begin(), broken.end(), templateName)) {
        return -1;
    }
    os.log.push_back("open " + templateName);
    Dialog dialog(*this, logic);
    logic->open(dialog);
    while (dialog.result == -2 && os.exits.empty() && next_ < script.size()) {
        const std::string& step = script[next_++];
        std::size_t equals = step.find('=');
        int control = std::stoi(step.substr(0, equals));
        if (equals != std::string::npos) {
            dialog.controls[control] = step.substr(equals + 1);
            logic->command(dialog, control, 0x300);  // EN_CHANGE
        } else if (!logic->command(dialog, control, 0)) {
            os.log.push_back("unhandled " + step);
        }
    }
    last[templateName] = dialog.controls;
    os.log.push_back("end " + templateName + " " + std::to_string(dialog.result));
    return dialog.result;
}

Answer Stage::Respond(const char* text, const char* caption, Buttons buttons) {
    static const char* const kButtons[] = {"Ok", "YesNo", "OkCancel", "RetryCancel"};
    static const std::map<std::string, Answer> kAnswers = {{"Ok", Answer::Ok},
                                                           {"Cancel", Answer::Cancel},
                                                           {"Yes", Answer::Yes},
                                                           {"No", Answer::No},
                                                           {"Retry", Answer::Retry}};
    os.log.push_back(std::string("box ") + kButtons[static_cast<int>(buttons)] + ": " +
                     (*caption ? "[" + std::string(caption) + "] " : "") + text);
    if (next_ < script.size() && kAnswers.count(script[next_])) {
        return kAnswers.at(script[next_++]);
    }
    auto fallback = kAnswers.find(answers[kButtons[static_cast<int>(buttons)]]);
    return fallback == kAnswers.end() ? Answer::None : fallback->second;
}

const Strings kNewLeague = {"1001", "1003=Cup", "1008=1",  "1", "1006=Ann",
                            "1",    "Ok",       "1006=Bo", "1", "Ok"};
const Strings kPrompts = {"box OkCancel: L67 (1/1)", "box OkCancel: L67 (1/1)"};

}  // namespace vok::test
