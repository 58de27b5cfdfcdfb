// What the unit tests put in place of the system: a test OS seam over the
// real file system, and a stage on which a scripted player runs the
// launcher's real dialog logic.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PlayerWords.h"
#include "i18n/LanguageLines.h"
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
// Every file and folder under `folder` by relative path, with its bytes ("/"
// for a folder).
Files Tree(const std::string& folder);

// A path call that a test can make fail, then made as the system makes it.
#define VOK_PATH_CALL(Name, call, Params, path, Args)   \
    bool Name Params override {                         \
        return !Fails(call, path) && system_.Name Args; \
    }

// The OS seam of the tests, current while it lives, in a fresh process state:
// the system's file calls, everything else under the test's control, each
// call written to `log` ("copy <to>", "mkdir <path>" ...), and faults on
// demand. What the player or another program would see of the launcher goes
// to `events` in the words of the scenarios: "started FILE PARAMETERS",
// "opened FILE", "signalled CLASS|TITLE", "raised CLASS|TITLE", "debug TEXT",
// "exit CODE". The current folder is restored afterwards.
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
    Strings log, failing;       // calls of the kinds in `failing` fail; of "KIND once" the next
    Strings events;             // what the player or another program sees
    std::vector<int> exits;     // EndProcess returns here
    int failAt = 0, calls = 0;  // the failAt-th path call fails (0: none)
    bool faulted = false;       // a fault has fired
    unsigned waited = 0;        // milliseconds paused in all
    std::string shared;         // the temporary folder programs started are told

    bool TempPath(char* buffer, std::size_t size) override { return Give(tempDir, buffer, size); }
    bool ShareTempPath(const char* path) override { return shared = path, true; }
    ReadResult ReadWholeFile(const char* path, std::string& contents) override {
        contents.clear();
        return Fails("read", path) ? ReadResult::Failed : system_.ReadWholeFile(path, contents);
    }
    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override;
    VOK_PATH_CALL(FlushToDisk, "flush", (const char* path), path, (path))
    VOK_PATH_CALL(MoveReplace, "replace", (const char* from, const char* to), to, (from, to))
    VOK_PATH_CALL(CanOpen, "canopen", (const char* path), path, (path))
    VOK_PATH_CALL(IsFolder, "isfolder", (const char* path), path, (path))
    VOK_PATH_CALL(Exists, "exists", (const char* path), path, (path))
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
    bool SetCurrentFolder(const char* path) override { return system_.SetCurrentFolder(path); }
    bool ShellOpen(WindowHandle, const char* verb, const char* file, const char* parameters,
                   const char* directory) override;
    unsigned short AsyncKeyState(Key key) override { return key == Key::Control ? control : shift; }
    bool ClaimLauncher() override { return claim; }
    void Pause(unsigned ms) override;
    WindowHandle FindTopWindow(const char* className, const char* title) override;
    bool PostToWindow(WindowHandle w, unsigned m) override { return Note("signalled ", w, m); }
    bool BringToFront(WindowHandle w) override { return Note("raised ", w); }
    void DebugOutput(const char* text) override {
        Note("debug " + std::string(text).substr(0, std::strcspn(text, "\r\n")));
    }
    void EndProcess(int code) override {
        exits.push_back(code), Note("exit " + std::to_string(code));
    }
    std::uint32_t ProbeDirectDraw() override { return probe; }

private:
    bool Fails(const char* call, const char* path);
    // Adds an event, naming the window `w` and a message other than the peer's.
    bool Note(const std::string& event, WindowHandle w = nullptr, unsigned message = 0);
    static bool Give(const std::string& answer, char* buffer, std::size_t size);

    Os& system_;
    ScopedOs scope_;
    std::string startFolder_;
};

// A data root whose language line n reads "L<n>", with one creature (its
// "data.dat" and a "skin.txt") and a game, a temporary folder beside it, and
// a player who plays scenarios at the launcher's real dialog logic.
struct Stage {
    explicit Stage(int count = lines::kLineCount);
    void Language(int lines, int blank = -1);  // English, of `lines` lines, line `blank` empty
    // Plays a scenario (the words: above the flow table) and returns "" when
    // every step held, else the first failure with its step.
    std::string Play(const std::string& scenario);
    // Loads steps for dialogs run directly, without "start".
    void Load(const std::string& steps);
    const std::string& failure() const { return failure_; }
    Ui& Desktop();  // the owner of the main menu, or of a box run directly
    std::string Expand(const std::string& text) const;  // a step's text as meant

    TestOs os;
    TempFolder root, temp;
    std::string data = "name = Grunt\r\nskin = skin.txt\r\n";
    Strings broken;  // windows that cannot be made: "menu", "box" ...
    // Answers by buttons ("Retry/Cancel": "Retry") to every box, for scenarios
    // whose boxes cannot be foreseen; events then go unchecked.
    std::map<std::string, std::string> answers;
    // Each dialog's controls as it was left, by template: texts by id, "+"/"-"
    // for enabled or disabled controls (key -id), typing limits (key -1000 - id).
    std::map<std::string, std::map<int, std::string>> last;
    int code = 0;  // the process's exit code

private:
    class Dialog;
    int RunDialog(const std::string& templateName, void* context);
    Answer Respond(const char* text, const char* caption, Buttons buttons);
    std::string Take();
    bool Check(const std::string& step);
    bool Setup(const std::string& verb, const std::string& rest);
    bool Fail(const std::string& step, const std::string& why);
    void Seen(const std::string& window);
    words::Window Front() const;
    static std::string Entries(const std::string& folder, const std::string& more = "");

    Strings steps_;
    std::size_t next_ = 0, event_ = 0;
    std::string failure_, seen_, before_;  // before_: the temporary folder at "start"
    int lines_ = 0, blank_ = -1;
    bool box_ = false, started_ = false, ended_ = false;  // ended: the steps stopped in a run
    std::vector<Dialog*> open_;
    std::map<std::string, std::string> closed_;  // the last result of each window
    std::shared_ptr<Ui> desktop_;
};

}  // namespace vok::test
