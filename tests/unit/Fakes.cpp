#include "Fakes.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "common/ProcessState.h"
#include "dialogs/InputBox.h"
#include "launcher/DialogTable.h"
#include "launcher/StartUp.h"
#include "league/LeagueFiles.h"

namespace fs = std::filesystem;

namespace vok::test {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    Path base;
    SystemOs().TempPath(base, sizeof base);
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    path = base + ("voktest-" + std::to_string(now) + "-" + std::to_string(counter++) + "/");
    fs::create_directories(path);
}

TempFolder::~TempFolder() {
    std::error_code error;
    for (auto entry = fs::recursive_directory_iterator(path, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        std::error_code ignored;
        fs::permissions(entry->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path, error);
}

// Paths the launcher meets may hold bytes of the ANSI code page that the C++
// library's paths would read in another encoding: these go through the
// system's own calls, as the launcher's do.
std::string ReadFile(const std::string& path) {
    std::string contents;
    SystemOs().ReadWholeFile(path.c_str(), contents);
    return contents;
}

void WriteFile(const std::string& path, const std::string& contents) {
    fs::create_directories(fs::path(path).parent_path());
    SystemOs().WriteWholeFile(path.c_str(), contents.data(), contents.size());
}

bool Exists(const std::string& path) {
    return SystemOs().CanOpen(path.c_str()) || SystemOs().IsFolder(path.c_str());
}

// Walked with the system's own calls as well: MinGW's GCC 14 refuses to give
// the C++ library's name of such a path as bytes.
Files Tree(const std::string& folder, const std::string& under) {
    Files tree;
    Strings names;
    const std::string here = folder + under;  // ends in '/'
    SystemOs().ListFolder(here.substr(0, here.size() - 1).c_str(), names);
    for (const std::string& name : names) {
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = under + name;
        if (SystemOs().IsFolder((folder + path).c_str())) {
            tree[path + "/"];
            tree.merge(Tree(folder, path + "/"));
        } else {
            tree[path] = ReadFile(folder + path);
        }
    }
    return tree;
}

TestOs::TestOs() : system_(SystemOs()), scope_(*this), startFolder_(fs::current_path().string()) {}

TestOs::~TestOs() {
    std::error_code error;
    fs::current_path(startFolder_, error);
}

bool TestOs::Fails(const char* call, const char*) {
    const auto once = std::find(failing.begin(), failing.end(), std::string(call) + " once");
    const bool fail = once != failing.end() || std::count(failing.begin(), failing.end(), call);
    failing.erase(once, once + (once != failing.end()));
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

bool TestOs::ShellOpen(WindowHandle, const char* verb, const char* file, const char* parameters,
                       const char* directory) {
    const std::string how = !verb ? "opened " : std::string(verb) == "open" ? "started " : verb;
    const std::string game = tempDir + kGameFileName;
    found = game == file ? ReadFile(tempDir + kLeagueFileName) : found;
    return !Fails("shell", file) &&
           Note(how + file + (*parameters ? " " : "") + parameters + (*directory ? " in " : "") +
                directory + (shared == tempDir ? "" : " told temp " + shared));
}

void TestOs::Pause(unsigned ms) {
    waited += ms;
    windows.insert(windows.end(), later.begin(), later.begin() + !later.empty());
    later.erase(later.begin(), later.begin() + !later.empty());
}

WindowHandle TestOs::FindTopWindow(const char* className, const char* title) {
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const std::size_t bar = windows[i].find('|');
        if ((!className || windows[i].substr(0, bar) == className) &&
            (!title || windows[i].substr(bar + 1) == title)) {
            return reinterpret_cast<WindowHandle>(i + 1);
        }
    }
    return nullptr;
}

bool TestOs::BringToFront(WindowHandle w) {
    Note("raised ", w);
    const std::string window = events.back().substr(7);
    if (events.size() > 1 && events[events.size() - 2] == "posted " + window) {  // both: signalled
        events.pop_back();
        events.back() = "signalled " + window;
    }
    return true;
}

bool TestOs::Note(const std::string& event, WindowHandle w, unsigned message) {
    const std::size_t i = reinterpret_cast<std::uintptr_t>(w);
    return events.push_back(
               event + (w ? windows.at(i - 1) : "") +
               (message && message != VOK_PEER_MESSAGE ? " " + std::to_string(message) : "")),
           true;
}

namespace {

using scenario::Window;

// A box's buttons by Buttons, and the answers by Answer.
const std::vector<int> kButtonIds[] = {{IDC_OK},
                                       {scenario::kIdYes, scenario::kIdNo},
                                       {IDC_OK, IDC_CANCEL},
                                       {scenario::kIdRetry, IDC_CANCEL}};
static_assert(std::size(kButtonIds) == static_cast<std::size_t>(Buttons::Count));
const int kAnswerIds[] = {
    0, IDC_OK, IDC_CANCEL, scenario::kIdYes, scenario::kIdNo, scenario::kIdRetry};

Answer AnswerOf(int id) {
    const auto at = std::find(std::begin(kAnswerIds) + 1, std::end(kAnswerIds), id);
    return at == std::end(kAnswerIds) ? Answer::None : Answer(at - kAnswerIds);
}

}  // namespace

// One dialog or box: its controls (texts by id, "+"/"-" for an enabled or
// disabled control at -id, a typing limit at -1000 - id) and its end.
class Stage::Dialog final : public Ui {
public:
    Dialog(Stage& stage, const DialogLogic* logic, void* context, scenario::Window window)
        : window(window), stage_(stage), logic_(logic), context_(context) {}

    WindowHandle Window() override { return logic_ ? this : nullptr; }
    void SetText(int control, const char* text) override {
        controls[control] = text;
        if (window == scenario::Window::InputBox && control == IDC_INPUT_EDIT) {
            logic_->command(*this, context_, control, kEditChanged);  // the edit reports it
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
    int RunDialog(const char* templateName, void* context) override {
        return stage_.RunDialog(templateName, context);
    }
    void EndDialog(int result) override { this->result = result; }

    // The player's action: "" or why it cannot be done ("send" reaches a
    // disabled button all the same).
    std::string Act(const std::string& verb, const scenario::Word& word, const std::string& text) {
        const auto state = controls.find(-word.id);
        if (window == scenario::Window::Box ||
            (verb == "click" && state != controls.end() && state->second == "-")) {
            result = window == scenario::Window::Box ? word.id : result;
            return window != scenario::Window::Box ? "a disabled button"
                   : state == controls.end()       ? "the box has no " + std::string(word.name)
                                                   : "";
        }
        controls[word.id] = verb == "type" ? text : controls[word.id];
        // The dialog's own buttons are reported handled; Windows's default applies to the rest.
        return logic_->command(*this, context_, word.command ? word.command : word.id,
                               verb == "type" ? kEditChanged : 0) ||
                       verb == "type" || word.command
                   ? ""
                   : "the dialog leaves its button to Windows";
    }

    const scenario::Window window;
    std::map<int, std::string> controls;
    int result = -2;

private:
    Stage& stage_;
    const DialogLogic* logic_;  // none: the desktop or a box
    void* context_;
};

Stage::Stage() {
    Language(lines::kLineCount);
    WriteFile(root / "data/ply/data.dat", data);
    WriteFile(root / "data/ply/skin.txt", "skin");
    WriteFile(root / kGameFileName, "game");
    os.exeFolder = root.path;
    os.tempDir = temp.path;
}

void Stage::Language(int lines, int blank) {
    std::string language;
    for (int i = 0; i < lines; ++i) {
        language += (i ? "\r\n" : "") + (i == blank ? "" : "L" + std::to_string(i));
    }
    blank_ = blank;
    lines ? WriteFile(root / "data/language/english.txt", language)
          : void(fs::remove(root / "data/language/english.txt"));
    lines_ = lines;
}

std::string Stage::Line(int n) {
    return n == blank_ ? "" : n < lines_ ? "L" + std::to_string(n) : "<error>";
}

std::string Stage::Play(const std::string& scenario) {
    scenario::Engine engine(*this, scenario, VOK_TEST_DATA);
    engine_ = &engine;
    return engine.Run();
}

std::string Stage::Start(const std::string& count) {
    if (started_ || !count.empty()) {
        return started_ ? "one launcher a scenario here" : "one launcher at a time here";
    }
    Dialog desktop(*this, nullptr, nullptr, Window::Any);
    started_ = true;
    code = StartUp(desktop);
    code = os.exits.empty() ? code : os.exits.front();
    running_ = false;
    return "";
}

Window Stage::Front() {
    return open_.empty() ? Window::Any : open_.back()->window;
}

std::optional<std::string> Stage::Control(char what, int id) {
    const auto& controls = open_.empty() ? std::map<int, std::string>() : open_.back()->controls;
    const auto at = controls.find(what == 't' ? id : what == 'l' ? -1000 - id : -id);
    return at == controls.end() ? std::nullopt
           : what == 'e' ? std::optional<std::string>(at->second == "+" ? "enabled" : "disabled")
                         : at->second;
}

std::string Stage::Act(const std::string& verb, const scenario::Word& word,
                       const std::string& text) {
    return !open_.empty() ? open_.back()->Act(verb, word, text)
           : started_     ? "the launcher has ended"
                          : "the launcher has not started";
}

std::optional<std::string> Stage::Event(bool take) {
    return event_ < os.events.size() ? std::optional(os.events[take ? event_++ : event_])
                                     : std::nullopt;
}

std::optional<std::string> Stage::Read(const std::string& path) {
    return Exists(path) ? std::optional(ReadFile(path)) : std::nullopt;
}

int Stage::RunDialog(const std::string& templateName, void* context) {
    const auto at =
        std::find(std::begin(scenario::kTemplates), std::end(scenario::kTemplates), templateName);
    const std::string name = scenario::kWindowNames[at - scenario::kTemplates];
    const DialogLogic* logic = FindDialogLogic(templateName.c_str());
    if (!logic || std::count(broken.begin(), broken.end(), name)) {
        return -1;
    }
    Dialog dialog(*this, logic, context, Window(at - scenario::kTemplates));
    open_.push_back(&dialog);
    logic->open(dialog, context);
    Seen(dialog.result == -2 && os.exits.empty() ? name : "");  // unless it ended on opening
    while (dialog.result == -2 && os.exits.empty() && engine_->Step()) {
    }
    open_.pop_back();
    return dialog.result;
}

Answer Stage::Respond(const char* text, const char* caption, Buttons buttons) {
    const std::vector<int>& ids = kButtonIds[static_cast<int>(buttons)];
    if (std::count(broken.begin(), broken.end(), "box")) {
        return Answer::None;
    }
    Dialog box(*this, nullptr, nullptr, Window::Box);
    box.controls = {{0, caption}, {scenario::kBoxText, text}};
    for (const int id : ids) {
        box.controls[-id] = "+";
    }
    Seen("box");
    open_.push_back(&box);
    while (box.result == -2 && os.exits.empty() && engine_->Step()) {
    }
    open_.pop_back();
    return AnswerOf(box.result);
}

void Stage::Seen(const std::string& window) {
    seen_ += window.empty() || scenario::Match(("* " + window + "*").c_str(), seen_.c_str())
                 ? ""
                 : " " + window;
}

// The steps of this suite alone: the stage's settings, and the checks
// waited and writable. "" when it holds, else why not.
std::string Stage::Other(const std::string& verb, const std::string& rest, const std::string& raw) {
    if (verb == "waited") {  // N s: the launcher gave up within N seconds, not before the last
        const std::string got = std::to_string((os.waited + 999) / 1000) + " s";
        return got == rest ? "" : "found " + got;
    }
    if (verb == "writable") {
        const bool writable = Exists(rest) && (fs::status(rest).permissions() &
                                               fs::perms::owner_write) != fs::perms::none;
        return writable ? "" : "not writable";
    }
    return Setup(verb, rest, raw) ? "" : "unknown step";
}

bool Stage::Setup(const std::string& verb, const std::string& rest, const std::string& raw) {
    const auto space = std::min(rest.find(' '), rest.size());
    const std::string a = rest.substr(0, space),
                      text = rest.substr(std::min(rest.size(), space + 1));
    if (verb == "hold" || verb == "tapped") {
        std::istringstream keys(rest);
        for (std::string name; keys >> name;) {
            const scenario::Word* key = scenario::Find(Window::Held, name);
            if (!key) {
                return false;
            }
            (key->id == scenario::kVkShift ? os.shift : os.control) = verb == "hold" ? 0x8000 : 1;
        }
    } else if (verb == "probe" || verb == "lines" || verb == "blank" || verb == "layout") {
        verb == "probe" ? void(os.probe = std::stoul(a))
        : verb == "lines"
            ? Language(raw[0] == '@' ? scenario::LineNamed(raw.substr(1)) : std::stoi(a))
        : verb == "blank"
            ? Language(lines_, scenario::LineNamed(raw.substr(1)))
            : void(os.langId = static_cast<unsigned short>(std::stoul(a, nullptr, 16)));
    } else if (verb == "window" || verb == "later") {
        (verb == "window" ? os.windows : os.later).push_back(rest);
    } else if (verb == "fail") {  // KIND [once]: calls of that kind fail (the next one only)
        os.failing.push_back(rest);
    } else if (verb == "claim" && rest == "refused") {
        os.claim = false;
    } else if (verb == "broken" && std::count(std::begin(scenario::kWindowNames),
                                              std::end(scenario::kWindowNames), rest)) {
        broken.push_back(rest);
    } else if (verb == "put" || verb == "ro" || verb == "rm" || verb == "mkdir") {
        verb == "put"  ? WriteFile(a, text)
        : verb == "ro" ? fs::permissions(a, fs::perms::owner_write, fs::perm_options::remove)
        : verb == "rm" ? void(fs::remove(a))
                       : void(fs::create_directories(a));
    } else if (verb == "old") {  // [PLAYERS CREATURES]
        for (int i = 0; i < (a.empty() ? 2 : std::stoi(a)); ++i) {
            for (int j = 0; j < (text.empty() ? 2 : std::stoi(text)); ++j) {
                Path folder;
                vok::CreatureFolder(folder, temp.path.c_str(), i, j);
                WriteFile(folder + std::string("/data.dat"), "old");
                WriteFile(folder + std::string("/skin.txt"), "old");
            }
        }
        WriteFile(temp / kLeagueFileName, "LeagueName = \"Old\"\r\nNrPlayers = 2\r\n");
        WriteFile(temp / kGameFileName, "old game");
    } else if (verb == "temp" && !isdigit(a[0])) {  // NAME: that folder in the stage's own
        // Made by the system's own call, as the launcher meets it: the C++
        // library's paths would read the name's bytes in another encoding.
        os.tempDir = temp.path + rest + "/";
        SystemOs().MakeFolder(os.tempDir.c_str());
    } else if (verb == "temp") {  // LENGTH: a path that long, made
        const std::size_t length = std::stoul(a);
        for (os.tempDir = temp.path; os.tempDir.size() < length;) {
            const std::size_t left = length - os.tempDir.size();
            os.tempDir +=
                std::string((left <= 100 ? left : std::min<std::size_t>(100, left - 2)) - 1, 'd') +
                "/";
        }
        for (std::size_t end = 0; (end = os.tempDir.find('/', end + 1)) != std::string::npos;) {
            SystemOs().MakeFolder(os.tempDir.substr(0, end).c_str());  // as far as the system can
        }
    } else {
        return verb == "shot";  // no screen to take a picture of
    }
    return true;
}

}  // namespace vok::test
