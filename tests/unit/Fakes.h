// What the unit tests put in place of the system: a test OS seam over the
// real file system, and a stage on which a scripted player runs the
// launcher's real dialog logic.
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

// A fresh folder in the system's temporary directory, removed afterwards.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    std::string operator/(const std::string& name) const { return path + name; }
    std::string path;  // ends in '/'
};

std::string ReadFile(const std::string& path);                         // "" when missing
void WriteFile(const std::string& path, const std::string& contents);  // makes its folders
bool Exists(const std::string& path);
void MakeReadOnly(const std::string& path);
bool IsReadOnly(const std::string& path);
// Every file and folder under `folder` by relative path, with its bytes ("/"
// for a folder).
Files Tree(const std::string& folder);

// The league file of the league "Cup" (2 rounds, 10 lives) with these players
// and `voks` creatures each named `creature`, just after a reset: one key a
// line, the last one written on top.
std::string LeagueFile(const std::string& temp, const Strings& players, int voks,
                       const std::string& creature = "Grunt");

// A path call that a test can make fail, then made as the system makes it.
#define VOK_PATH_CALL(Name, call, Params, path, Args)   \
    bool Name Params override {                         \
        return !Fails(call, path) && system_.Name Args; \
    }

// The OS seam of the tests, current while it lives, in a fresh process state:
// the system's file calls, everything else under the test's control, each call
// written to `log` ("copy <to>", "shell open|file|parameters|directory", "exit
// 1" ...), and faults on demand. The current folder is restored afterwards.
class TestOs final : public Os {
public:
    TestOs();
    ~TestOs() override;

    std::string tempDir;    // TempPath's answer; empty: it fails
    std::string exeFolder;  // ExecutableFolder's answer; empty: it fails
    unsigned short langId = 0x0409, control = 0, shift = 0;
    std::uint32_t probe = kDirectDraw7;
    bool claim = true;          // ClaimLauncher's answer
    Strings windows, later;     // "class|title" of top-level windows; `later` appear one a pause
    Strings log, failing;       // every path call of the kinds in `failing` fails
    std::vector<int> exits;     // EndProcess returns here
    int failAt = 0, calls = 0;  // the failAt-th path call fails (0: none)
    bool faulted = false;       // a fault has fired

    // Log entries of these kinds, the folder `root` shown as "R/", tempDir as "T/".
    Strings Log(const Strings& kinds, const std::string& root = "") const;

    bool TempPath(char* buffer, std::size_t size) override { return Give(tempDir, buffer, size); }
    ReadResult ReadWholeFile(const char* path, std::string& contents) override {
        contents.clear();
        return Fails("read", path) ? ReadResult::Failed : system_.ReadWholeFile(path, contents);
    }
    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override;
    VOK_PATH_CALL(MoveReplace, "replace", (const char* from, const char* to), to, (from, to))
    VOK_PATH_CALL(CanOpen, "canopen", (const char* path), path, (path))
    VOK_PATH_CALL(IsFolder, "isfolder", (const char* path), path, (path))
    VOK_PATH_CALL(ListFolder, "list", (const char* path, Strings& names), path, (path, names))
    VOK_PATH_CALL(CopyFileOver, "copy", (const char* from, const char* to), to, (from, to))
    VOK_PATH_CALL(SetNormalAttributes, "normal", (const char* path), path, (path))
    VOK_PATH_CALL(MakeFolder, "mkdir", (const char* path), path, (path))
    VOK_PATH_CALL(RemoveEmptyFolder, "rmdir", (const char* path), path, (path))
    VOK_PATH_CALL(RemoveFile, "delete", (const char* path), path, (path))
    std::size_t PathLimit() override { return 260; }  // as Windows' ANSI calls take
    unsigned short KeyboardLangId() override { return langId; }
    bool ExecutableFolder(char* buffer, std::size_t size) override {
        return Give(exeFolder, buffer, size);
    }
    bool SetCurrentFolder(const char* path) override {
        return Note(std::string("cd ") + path), system_.SetCurrentFolder(path);
    }
    bool ShellOpen(WindowHandle, const char* verb, const char* file, const char* parameters,
                   const char* directory) override {
        return Note(std::string("shell ") + (verb ? verb : "(default)") + "|" + file + "|" +
                    parameters + "|" + directory);
    }
    unsigned short AsyncKeyState(Key key) override { return key == Key::Control ? control : shift; }
    bool ClaimLauncher() override { return Note(claim ? "claim" : "claim refused"), claim; }
    void Pause(unsigned ms) override;
    WindowHandle FindTopWindow(const char* className, const char* title) override;
    bool PostToWindow(WindowHandle w, unsigned m) override {
        return Note("post " + Id(w) + " " + std::to_string(m));
    }
    bool BringToFront(WindowHandle w) override { return Note("front " + Id(w)); }
    void DebugOutput(const char* text) override { Note(std::string("debug ") + text); }
    void EndProcess(int code) override {
        exits.push_back(code), Note("exit " + std::to_string(code));
    }
    std::uint32_t ProbeDirectDraw() override { return probe; }

private:
    bool Fails(const char* call, const char* path);
    bool Note(const std::string& entry) { return log.push_back(entry), true; }
    static std::string Id(WindowHandle w) {
        return std::to_string(reinterpret_cast<std::uintptr_t>(w));
    }
    static bool Give(const std::string& answer, char* buffer, std::size_t size);

    Os& system_;
    ScopedOs scope_;
    std::string startFolder_;
};

// A data root whose language line n reads "L<n>", with one creature (its
// "data.dat" and a "skin.txt") and a game, a temporary folder beside it, and a
// player at the launcher's dialogs. Each dialog opens with its real logic and
// takes the script's next steps until it ends: "<id>=<text>" types into a
// control (an edit reports its change, also of a text the logic sets), "<id>"
// presses a button. A message box takes the next step when it is an answer
// ("Ok", "Cancel", "Yes", "No", "Retry"), else the answer `answers` gives for
// its buttons ("RetryCancel" ...), else it counts as not shown. When the
// script runs out or the process ends, open dialogs return -2. The log shows
// "open <template>", "box <buttons>: <text>", "end <template> <result>" and
// "unhandled <id>" for a button the dialog reports as not its own.
struct Stage {
    explicit Stage(int lines = 102);
    void Language(int lines);  // an English language file of `lines` lines
    int Run(Strings steps);    // starts the launcher; the process's exit code
    Ui& Desktop();             // the owner of the main menu, or of a box run directly
    Strings Log(const Strings& kinds = {"box", "shell", "exit", "post", "front", "unhandled",
                                        "end IDD_CREATELEAGUE"}) const {
        return os.Log(kinds, root.path);
    }

    TestOs os;
    TempFolder root, temp;
    std::string data = "name = Grunt\r\nskin = skin.txt\r\n";
    Strings script, broken;  // `broken`: templates that cannot be created
    std::map<std::string, std::string> answers;
    // Each dialog's controls as it was left: texts by id, "+"/"-" for enabled
    // or disabled controls (key -id), typing limits (key -1000 - id), the
    // caption (key 0).
    std::map<std::string, std::map<int, std::string>> last;

private:
    class Dialog;
    int RunDialog(const std::string& templateName);
    Answer Respond(const char* text, const char* caption, Buttons buttons);
    std::size_t next_ = 0;
    std::shared_ptr<Ui> desktop_;
};

// New League for "Cup", two players (Ann, Bo) with one creature each, and the
// creature prompts it shows.
extern const Strings kNewLeague, kPrompts;

}  // namespace vok::test
