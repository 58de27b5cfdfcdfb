// What the unit tests put in place of the system: a test OS seam over the
// real file system, and a player who runs the launcher's real dialog logic
// from a script.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Os.h"
#include "platform/Ui.h"

namespace vok::test {

using Strings = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

// A fresh folder in the system's temporary directory, removed with its
// contents afterwards. Its path ends in '/'.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    std::string operator/(const std::string& name) const { return path + name; }
    std::string path;
};

std::string ReadFile(const std::string& path);                         // "" when missing
void WriteFile(const std::string& path, const std::string& contents);  // makes its folders
bool Exists(const std::string& path);
void MakeReadOnly(const std::string& path);
bool IsReadOnly(const std::string& path);
// Every file and folder under `folder` by relative path, with its bytes
// ("/" for a folder).
Files Tree(const std::string& folder);
// Entries of `list` that begin with `prefix`.
Strings Starting(const Strings& list, const std::string& prefix);

// The league file of the league "Cup" (2 rounds, 10 lives) with these
// players and `voks` creatures each named `creature`, just after a reset:
// one key a line, the last one written on top.
std::string LeagueFile(const std::string& temp, const Strings& players, int voks,
                       const std::string& creature = "Grunt");

// The OS seam of the tests, current while it lives, in a fresh process state:
// the system's file calls, everything else under the test's control, every
// call written to `log` ("copy <to>", "shell open|file|parameters|directory",
// "exit 1" ...), and faults on demand. The current folder is restored after.
class TestOs final : public Os {
public:
    TestOs();
    ~TestOs() override;

    std::string tempDir;    // TempPath's answer; empty: TempPath fails
    std::string exeFolder;  // ExecutableFolder's answer; empty: it fails
    unsigned short langId = 0x0409, control = 0, shift = 0;
    std::uint32_t probe = kDirectDraw7;
    Strings windows;    // "class|title" of each top-level window
    Strings later;      // windows that appear, one after each pause
    bool claim = true;  // ClaimLauncher's answer
    Strings log;
    std::vector<int> exits;  // EndProcess returns here
    // Path calls ("read", "write", "replace", "canopen", "list", "copy",
    // "normal", "mkdir", "rmdir", "delete") fail: the failAt-th one (0: none),
    // and every one matching a pattern "<call> <fragment of its path>".
    int failAt = 0, pathCalls = 0;
    Strings failing;
    bool faulted = false;  // a fault has fired

    Strings Calls(const std::string& prefix) const { return Starting(log, prefix); }

    bool TempPath(char* buffer, std::size_t size) override { return Give(tempDir, buffer, size); }
    ReadResult ReadWholeFile(const char* path, std::string& contents) override {
        contents.clear();
        return Fails("read", path) ? ReadResult::Failed : system_.ReadWholeFile(path, contents);
    }
    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override;
    bool MoveReplace(const char* from, const char* to) override {
        return !Fails("replace", to) && system_.MoveReplace(from, to);
    }
    bool CanOpen(const char* path) override {
        return !Fails("canopen", path) && system_.CanOpen(path);
    }
    bool IsFolder(const char* path) override {
        return !Fails("isfolder", path) && system_.IsFolder(path);
    }
    bool ListFolder(const char* folder, std::vector<std::string>& names) override {
        names.clear();
        return !Fails("list", folder) && system_.ListFolder(folder, names);
    }
    bool CopyFileOver(const char* from, const char* to) override {
        return !Fails("copy", to) && system_.CopyFileOver(from, to);
    }
    bool SetNormalAttributes(const char* path) override {
        return !Fails("normal", path) && system_.SetNormalAttributes(path);
    }
    bool MakeFolder(const char* path) override {
        return !Fails("mkdir", path) && system_.MakeFolder(path);
    }
    bool RemoveEmptyFolder(const char* path) override {
        return !Fails("rmdir", path) && system_.RemoveEmptyFolder(path);
    }
    bool RemoveFile(const char* path) override {
        return !Fails("delete", path) && system_.RemoveFile(path);
    }
    std::size_t PathLimit() override { return system_.PathLimit(); }
    unsigned short KeyboardLangId() override { return langId; }
    bool ExecutableFolder(char* buffer, std::size_t size) override {
        return Give(exeFolder, buffer, size);
    }
    bool SetCurrentFolder(const char* path) override {
        log.push_back(std::string("cd ") + path);
        return system_.SetCurrentFolder(path);
    }
    bool ShellOpen(WindowHandle, const char* verb, const char* file, const char* parameters,
                   const char* directory) override {
        log.push_back(std::string("shell ") + (verb ? verb : "(default)") + "|" + file + "|" +
                      parameters + "|" + directory);
        return true;
    }
    unsigned short AsyncKeyState(Key key) override { return key == Key::Control ? control : shift; }
    bool ClaimLauncher() override { return Note(claim ? "claim" : "claim refused"), claim; }
    void Pause(unsigned ms) override;
    WindowHandle FindTopWindow(const char* className, const char* title) override;
    bool PostToWindow(WindowHandle window, unsigned message) override {
        return Note("post " + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + " " +
                    std::to_string(message));
    }
    bool BringToFront(WindowHandle window) override {
        return Note("front " + std::to_string(reinterpret_cast<std::uintptr_t>(window)));
    }
    void DebugOutput(const char* text) override { Note(std::string("debug ") + text); }
    void EndProcess(int code) override {
        exits.push_back(code), Note("exit " + std::to_string(code));
    }
    std::uint32_t ProbeDirectDraw() override { return probe; }

private:
    bool Fails(const char* call, const char* path);
    bool Note(const std::string& entry) { return log.push_back(entry), true; }
    static bool Give(const std::string& answer, char* buffer, std::size_t size);

    Os& system_;
    ScopedOs scope_;
    std::string startFolder_;
};

// A player at the launcher's dialogs. Each dialog the logic runs opens with
// its real logic and then takes the script's next steps until it ends:
// "<id>=<text>" types into a control (the edit then reports its change),
// "<id>" presses a button. A message box takes the next step when it is an
// answer ("Ok", "Cancel", "Yes", "No", "Retry"), else the answer `answers`
// gives for its buttons ("RetryCancel" ...), else it counts as not shown.
// When the script runs out, or the process ends, open dialogs return -2.
// What the player sees goes to the OS log: "open <template>", "box
// <buttons>: <text>", "end <template> <result>", and "unhandled <id>" for a
// button the dialog reports as not its own.
class Player {
public:
    Player(TestOs& os, Strings script) : os_(os), script_(std::move(script)) {}

    // The owner of the main menu, for StartUp.
    Ui& Desktop();

    // Each dialog's controls as it was left: texts by id, "+" or "-" for
    // enabled or disabled controls (key -id), typing limits (key -1000 - id),
    // the caption (key 0).
    std::map<std::string, std::map<int, std::string>> last;
    Strings broken;  // templates that cannot be created
    std::map<std::string, std::string> answers;

private:
    class Dialog;
    int Run(const std::string& templateName);
    Answer Respond(const char* text, const char* caption, Buttons buttons);

    TestOs& os_;
    Strings script_;
    std::size_t next_ = 0;
    std::shared_ptr<Ui> desktop_;
};

// A data root whose language line n reads "L<n>", with one creature (its
// "data.dat" and a "skin.txt") and a game, and a temporary folder beside it.
struct Stage {
    explicit Stage(int lines = 102);
    // Writes an English language file of `lines` lines.
    void Language(int lines);
    // Starts the launcher for the player; the process's exit code.
    int Run(Player& player);
    // The log's entries of these kinds, the folders shown as "R/" and "T/".
    Strings Log(const Strings& kinds = {"box", "shell", "exit", "post", "front",
                                        "unhandled"}) const;

    TestOs os;
    TempFolder root, temp;
    std::string data = "name = Grunt\r\nskin = skin.txt\r\n";
};

// New League for "Cup", two players (Ann, Bo) with one creature each, and the
// creature prompts it shows.
extern const Strings kNewLeague, kPrompts;

}  // namespace vok::test
