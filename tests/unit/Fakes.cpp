#include "Fakes.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "PlayerWords.h"
#include "common/ProcessState.h"
#include "dialogs/InputBox.h"
#include "launcher/DialogTable.h"
#include "launcher/StartUp.h"
#include "league/LeagueFiles.h"

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
    for (const auto& entry : fs::recursive_directory_iterator(path, error)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
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
    std::ofstream(path, std::ios::binary).write(contents.data(), contents.size());
}

bool Exists(const std::string& path) {
    return SystemOs().CanOpen(path.c_str()) || SystemOs().IsFolder(path.c_str());
}

Files Tree(const std::string& folder) {
    Files tree;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        tree[fs::relative(entry.path(), folder).generic_string()] =
            entry.is_directory() ? "/" : ReadFile(entry.path().string());
    }
    return tree;
}

TestOs::TestOs() : system_(SystemOs()), scope_(*this), startFolder_(fs::current_path().string()) {
}

TestOs::~TestOs() {
    std::error_code error;
    fs::current_path(startFolder_, error);
}

bool TestOs::Fails(const char* call, const char* path) {
    const auto once = std::find(failing.begin(), failing.end(), std::string(call) + " once");
    const bool fail = ++calls == failAt || once != failing.end() ||
                      std::count(failing.begin(), failing.end(), call);
    failing.erase(once, once + (once != failing.end()));
    log.push_back(std::string(call) + " " + path + (fail ? " FAILED" : ""));
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

bool TestOs::ShellOpen(WindowHandle, const char* verb, const char* file, const char* parameters,
                       const char* directory) {
    const std::string how = !verb ? "opened " : std::string(verb) == "open" ? "started " : verb;
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

bool TestOs::Note(const std::string& event, WindowHandle w, unsigned message) {
    const std::size_t i = reinterpret_cast<std::uintptr_t>(w);
    return events.push_back(
               event + (w ? windows.at(i - 1) : "") +
               (message && message != VOK_PEER_MESSAGE ? " " + std::to_string(message) : "")),
           true;
}

namespace {

using words::Window;

// "VERB REST" as its two parts.
std::pair<std::string, std::string> Cut(const std::string& step) {
    const std::size_t blank = std::min(step.find(' '), step.size());
    return {step.substr(0, blank), step.substr(std::min(step.size(), blank + 1))};
}

bool IsAction(const std::string& verb) {
    return verb == "click" || verb == "type" || verb == "press" || verb == "answer" ||
           verb == "send";
}

// A box's buttons in the order of Buttons, the answers in that of Answer.
const char* const kButtonSets[] = {"OK", "Yes/No", "OK/Cancel", "Retry/Cancel"};
static_assert(std::size(kButtonSets) == static_cast<std::size_t>(Buttons::Count));
const char* const kAnswerNames[] = {"", "OK", "Cancel", "Yes", "No", "Retry"};

Answer AnswerTo(const std::string& name, const std::string& buttons) {
    const auto at = std::find(std::begin(kAnswerNames) + 1, std::end(kAnswerNames), name);
    const bool has = words::Match(("*/" + name + "/*").c_str(), ("/" + buttons + "/").c_str());
    return has && at != std::end(kAnswerNames) ? Answer(at - kAnswerNames) : Answer::None;
}

}  // namespace

// One dialog: its controls ("+"/"-" for an enabled or disabled one at -id, a
// typing limit at -1000 - id), and its end.
class Stage::Dialog final : public Ui {
public:
    Dialog(Stage& stage, const DialogLogic* logic, void* context, words::Window window)
        : window(window), stage_(stage), logic_(logic), context_(context) {}

    WindowHandle Window() override { return logic_ ? this : nullptr; }
    void SetText(int control, const char* text) override {
        controls[control] = text;
        if (window == words::Window::InputBox && control == IDC_INPUT_EDIT) {
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

    // The player's action; false when it names nothing of this dialog, or a
    // disabled button ("send" gets there all the same).
    bool Act(const std::string& step) {
        const auto [verb, rest] = Cut(step);
        std::string text;
        const words::Word* word = words::Find(verb == "press" ? words::Window::Pressed : window,
                                              rest, verb == "type" ? &text : nullptr);
        if (!word || (verb == "click" && controls[-word->id] == "-") || verb == "answer") {
            return false;
        }
        controls[word->id] = verb == "type" ? stage_.Expand(text) : controls[word->id];
        logic_->command(*this, context_, word->command ? word->command : word->id,
                        verb == "type" ? kEditChanged : 0);
        return true;
    }

    const words::Window window;
    std::map<int, std::string> controls;
    int result = -2;

private:
    Stage& stage_;
    const DialogLogic* logic_;  // none: the desktop
    void* context_;
};

Stage::Stage(int lines) {
    Language(lines);
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

Ui& Stage::Desktop() {
    desktop_ = std::make_shared<Dialog>(*this, nullptr, nullptr, Window::Any);
    return *desktop_;
}

void Stage::Load(const std::string& steps) {
    Strings rest(steps_.begin() + std::min(next_, steps_.size()), steps_.end());
    std::istringstream in(steps);
    steps_.clear();
    for (std::string step; std::getline(in >> std::ws, step, ';');) {
        steps_.push_back(step);
    }
    steps_.insert(steps_.end(), rest.begin(), rest.end());
    next_ = 0;
}

std::string Stage::Play(const std::string& scenario) {
    Load(scenario);
    while (failure_.empty() && next_ < steps_.size()) {
        const std::string step = steps_[next_++];
        if (IsAction(Cut(step).first) || (step == "start" && started_)) {
            Fail(step, started_ ? "the launcher has ended" : "the launcher has not started");
        } else if (step == "start") {
            started_ = true;
            before_ = Entries(os.tempDir);
            code = StartUp(Desktop());
            code = os.exits.empty() ? code : os.exits.front();
            os.events.insert(os.events.end(), !ended_ && os.exits.empty(),
                             "exit " + std::to_string(code));
        } else {
            Check(step);
        }
    }
    if (failure_.empty() && answers.empty() && event_ < os.events.size()) {
        Fail("the end", "the scenario does not say: " + os.events[event_]);
    }
    return failure_;
}

bool Stage::Fail(const std::string& step, const std::string& why) {
    failure_ = failure_.empty() && answers.empty() ? "at \"" + step + "\": " + why : failure_;
    next_ = steps_.size();  // a scenario whose boxes are answered by default just stops
    ended_ = true;
    return false;
}

// The next action for the window in front, after the steps before it; ""
// when the steps ran out, failed, or the process ended.
std::string Stage::Take() {
    while (failure_.empty() && os.exits.empty() && next_ < steps_.size()) {
        const std::string step = steps_[next_++];
        const std::string steps = words::Steps(Front(), step);
        if (!steps.empty()) {
            Load(steps);
        } else if (IsAction(Cut(step).first)) {
            return step;
        } else {
            Check(step);
        }
    }
    ended_ = true;
    return "";
}

int Stage::RunDialog(const std::string& templateName, void* context) {
    const auto at =
        std::find(std::begin(words::kTemplates), std::end(words::kTemplates), templateName);
    const std::string name = words::kWindowNames[at - words::kTemplates];
    const DialogLogic* logic = FindDialogLogic(templateName.c_str());
    if (!logic || std::count(broken.begin(), broken.end(), name)) {
        return -1;
    }
    Dialog dialog(*this, logic, context, Window(at - words::kTemplates));
    open_.push_back(&dialog);
    logic->open(dialog, context);
    Seen(dialog.result == -2 && os.exits.empty() ? name : "");  // unless it ended on opening
    for (std::string step; dialog.result == -2 && !(step = Take()).empty();) {
        dialog.Act(step) || Fail(step, "no such word, or a disabled button, in the " + name);
    }
    open_.pop_back();
    last[templateName] = dialog.controls;
    closed_[name] = std::to_string(dialog.result);
    return dialog.result;
}

Answer Stage::Respond(const char* text, const char* caption, Buttons buttons) {
    const std::string names = kButtonSets[static_cast<int>(buttons)];
    os.events.push_back("box " + names + (*caption ? " [" + std::string(caption) + "] " : " ") +
                        text);
    Seen("box");
    const auto answer = answers.find(names);
    if (std::count(broken.begin(), broken.end(), "box") || !answers.empty()) {
        return answer == answers.end() ? Answer::None : AnswerTo(answer->second, names);
    }
    box_ = true;
    const auto [verb, rest] = Cut(Take());
    box_ = false;
    if (!verb.empty() && (verb != "answer" || AnswerTo(rest, names) == Answer::None)) {
        Fail(verb + " " + rest, "a box is in front: " + os.events.back());
    }
    return failure_.empty() ? AnswerTo(rest, names) : Answer::None;
}

void Stage::Seen(const std::string& window) {
    seen_ += window.empty() || words::Match(("* " + window + "*").c_str(), seen_.c_str())
                 ? ""
                 : " " + window;
}

words::Window Stage::Front() const {
    return box_ ? Window::Box : open_.empty() ? Window::Any : open_.back()->window;
}

std::string Stage::Expand(const std::string& text) const {
    const std::string folders[] = {root.path, os.tempDir, os.tempDir};
    return words::Expand(
        text,
        [&](int n) { return n == blank_  ? ""
                            : n < lines_ ? "L" + std::to_string(n)
                                         : "<error>"; },
        folders);
}

// The entries of `folder` and the names in `more`, each once, sorted, joined by blanks.
std::string Stage::Entries(const std::string& folder, const std::string& more) {
    std::istringstream in(more);
    std::set<std::string> names(std::istream_iterator<std::string>(in), {});
    Strings entries;
    if (!folder.empty()) {  // Windows would list the drive's root
        SystemOs().ListFolder(folder.c_str(), entries);
    }
    names.insert(entries.begin(), entries.end());
    std::string joined;
    for (const std::string& name : names) {
        joined += name == "." || name == ".." ? "" : (joined.empty() ? "" : " ") + name;
    }
    return joined;
}

// Every step that is no action on a window: checks of what the player, the
// system or the disk sees, and the stage's setting. False, failing the
// scenario, for a step that does not hold or that it does not know.
bool Stage::Check(const std::string& step) {
    const auto [verb, rest] = Cut(step);
    const auto [first, text] = Cut(rest);
    const std::string path = Expand(first);
    std::string want;
    const Dialog* dialog = Front() < Window::Box ? open_.back() : nullptr;
    const words::Word* word = dialog ? words::Find(dialog->window, rest, &want) : nullptr;
    auto is = [&](const std::string& got, const std::string& pattern) {
        return words::Match(pattern.c_str(), got.c_str()) || Fail(step, "found \"" + got + "\"");
    };
    auto control = [&](int id, const char* none) {
        return dialog->controls.count(id) ? dialog->controls.at(id) : none;
    };
    if (verb == "box" || verb == "started" || verb == "opened" || verb == "debug" ||
        verb == "exit" || verb == "signalled") {  // in order; a window signalled is raised too
        for (const std::string& event : {Expand(step), "raised " + rest}) {
            if (event_ >= os.events.size() ? !Fail(step, "nothing more happened")
                                           : !is(os.events[event_++], event)) {
                return false;
            }
            if (verb != "signalled") {
                break;
            }
        }
        return true;
    }
    if (verb == "wait" || verb == "seen") {
        const int front = static_cast<int>(Front());
        return is(verb == "seen"              ? seen_.substr(std::min<std::size_t>(1, seen_.size()))
                  : front <= int(Window::Box) ? words::kWindowNames[front]
                                              : "nothing",
                  rest);
    }
    if (verb == "text" || verb == "limit" || verb == "enabled" || verb == "disabled") {
        return (word || Fail(step, "no such control here")) &&
               (verb == "text"    ? is(control(word->id, ""), Expand(want))
                : verb == "limit" ? is(control(-1000 - word->id, ""), want)
                                  : is(control(-word->id, "-"), verb == "enabled" ? "+" : "-"));
    }
    if (verb == "is" || verb == "gone" || verb == "writable") {
        const bool exists = Exists(path), writable = (fs::status(path).permissions() &
                                                      fs::perms::owner_write) != fs::perms::none;
        return verb == "is"
                   ? (exists || Fail(step, "no such file")) && is(ReadFile(path), Expand(text))
               : verb == "gone" ? is(std::to_string(exists), "0")
                                : is(std::to_string(exists && writable), "1");
    }
    if (verb == "tree") {  // [=] [NAMES]: the temporary folder holds exactly these entries
        const std::size_t at = (" " + rest + " ").find(" = ");
        return is(Entries(os.tempDir),
                  Entries("", at == std::string::npos
                                  ? rest
                                  : rest.substr(0, at) + " " + before_ + rest.substr(at + 1)));
    }
    if (verb == "league") {  // FILE beside flows.txt; the game and each creature's files copied
        const std::string league = ReadFile(os.tempDir + kLeagueFileName);
        std::string got = ReadFile(os.tempDir + kGameFileName),
                    want = ReadFile(root / kGameFileName);
        Strings files;
        SystemOs().ListFolder((root / "data/ply").c_str(), files);
        for (std::size_t at = league.find(".path = "); at != std::string::npos;
             at = league.find(".path = ", at + 1)) {
            const std::string folder = league.substr(at + 8, league.find('\r', at) - at - 8);
            for (const std::string& file : files) {  // a folder reads as ""
                got += ReadFile(folder + file);
                want += ReadFile(root / "data/ply/" + file);
            }
        }
        return is(league, Expand(ReadFile(VOK_TEST_DATA + rest))) && is(got, want);
    }
    if (verb == "closed") {  // WINDOW RESULT: what the window ended with last
        for (const auto& [window, result] : closed_) {
            if (rest.compare(0, window.size() + 1, window + " ") == 0) {
                return is(result, rest.substr(window.size() + 1));
            }
        }
        return Fail(step, "no such window has closed");
    }
    if (verb == "waited") {  // N s: the launcher gave up within N seconds, not before the last
        return is(std::to_string((os.waited + 999) / 1000) + " s", rest);
    }
    return Setup(verb, rest) || Fail(step, "unknown step");
}

// The steps that set the stage.
bool Stage::Setup(const std::string& verb, const std::string& rest) {
    const auto [a, text] = Cut(rest);
    const std::string path = Expand(a);
    if (verb == "hold" || verb == "tapped") {
        std::istringstream keys(rest);
        for (std::string name; keys >> name;) {
            const words::Word* key = words::Find(Window::Held, name);
            if (!key) {
                return false;
            }
            (key->id == words::kVkShift ? os.shift : os.control) = verb == "hold" ? 0x8000 : 1;
        }
    } else if (verb == "probe" || verb == "lines" || verb == "blank" || verb == "layout") {
        verb == "probe"   ? void(os.probe = std::stoul(a))
        : verb == "lines" ? Language(a[0] == '@' ? words::LineNamed(a.substr(1)) : std::stoi(a))
        : verb == "blank"
            ? Language(lines_, words::LineNamed(a.substr(1)))
            : void(os.langId = static_cast<unsigned short>(std::stoul(a, nullptr, 16)));
    } else if (verb == "window" || verb == "later") {
        (verb == "window" ? os.windows : os.later).push_back(rest);
    } else if (verb == "fail") {  // KIND [once]: calls of that kind fail (the next one only)
        os.failing.push_back(rest);
    } else if (verb == "claim" && rest == "refused") {
        os.claim = false;
    } else if (verb == "broken" &&
               std::count(std::begin(words::kWindowNames), std::end(words::kWindowNames), rest)) {
        broken.push_back(rest);
    } else if (verb == "put" || verb == "ro" || verb == "rm" || verb == "mkdir") {
        verb == "put"  ? WriteFile(path, Expand(text))
        : verb == "ro" ? fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove)
        : verb == "rm" ? void(fs::remove(path))
                       : void(fs::create_directories(path));
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
    } else if (verb == "temp" && (a[0] == '+' || a[0] == '~')) {
        // Made by the system's own call, as the launcher meets it: the C++
        // library's paths would read the name's bytes in another encoding.
        os.tempDir += Expand(a.substr(1));
        return a[0] == '~' || SystemOs().MakeFolder(os.tempDir.c_str());
    } else if (verb == "temp") {  // none, LENGTH, or max (made) and max+1
        const std::size_t longest = std::min<std::size_t>(495, os.PathLimit() - 18);
        const std::size_t length = a == "none"   ? 0
                                   : a[0] == 'm' ? longest + (a == "max+1")
                                                 : std::stoul(a);
        for (os.tempDir = length ? os.tempDir : ""; os.tempDir.size() < length;) {
            const std::size_t left = length - os.tempDir.size();
            os.tempDir +=
                std::string((left <= 100 ? left : std::min<std::size_t>(100, left - 2)) - 1, 'd') +
                "/";
        }
        return a[0] != 'm' || fs::create_directories(os.tempDir);
    } else {
        return false;
    }
    return true;
}

}  // namespace vok::test
