// What the unit tests put in place of the system: a test OS seam over the
// real file system, and the stage on which the scenarios (tests/scenario)
// play the launcher's real dialog logic.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "i18n/LanguageLines.h"
#include "platform/Os.h"
#include "platform/Ui.h"
#include "scenario/Engine.h"

namespace vok::test {

using Strings = std::vector<std::string>;
using scenario::Files;

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
// Every file and folder under `folder` (which ends in '/'), or its sub-folder
// `under`, by relative path, with its bytes (a folder's path ends in '/').
Files Tree(const std::string& folder, const std::string& under = "");

// A path call that a test can make fail, then made as the system makes it.
#define VOK_PATH_CALL(Name, call, Params, path, Args)   \
    bool Name Params override {                         \
        return !Fails(call, path) && system_.Name Args; \
    }

// The OS seam of the tests, current while it lives: the system's file calls,
// everything else under the test's control, and faults on demand. What
// another program sees of the launcher goes to `events` in the scenarios'
// words: "started FILE PARAMETERS", "opened FILE", "signalled CLASS|TITLE"
// (posted the peer message and raised), "debug TEXT". The current folder is
// restored afterwards.
class TestOs final : public Os {
public:
    TestOs();
    ~TestOs() override;

    std::string tempDir;    // TempPath's answer; it fails while `failing` holds "temp"
    std::string exeFolder;  // ExecutableFolder's answer; empty: it fails
    unsigned short langId = 0x0409, control = 0, shift = 0;
    std::uint32_t probe = kDirectDraw7;
    bool claim = true;          // ClaimLauncher's answer
    Strings windows, later;     // "class|title" of top-level windows; `later` appear one a pause
    Strings failing;            // calls of the kinds in `failing` fail; of "KIND once" the next
    Strings events;             // what another program sees
    std::vector<int> exits;     // EndProcess returns here
    unsigned waited = 0;        // milliseconds paused in all
    std::string shared, found;  // the temporary folder programs are told; the league the game found

    bool TempPath(char* buffer, std::size_t size) override {
        return !std::count(failing.begin(), failing.end(), "temp") && Give(tempDir, buffer, size);
    }
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
    bool PostToWindow(WindowHandle w, unsigned m) override { return Note("posted ", w, m); }
    bool BringToFront(WindowHandle w) override;
    void DebugOutput(const char* text) override {
        Note("debug " + std::string(text).substr(0, std::strcspn(text, "\r\n")));
    }
    void EndProcess(int code) override { exits.push_back(code); }
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
// the launcher's real dialog logic for the scenarios to play.
class Stage final : public scenario::Stage {
public:
    Stage();
    // Plays a scenario; "" when every step held, else the first failure.
    std::string Play(const std::string& scenario);

    TestOs os;
    TempFolder root, temp;
    std::string data = "name = Grunt\r\nskin = skin.txt\r\n";
    Strings broken;  // windows that cannot be made: "menu", "box" ...
    int code = 0;    // the process's exit code

    std::string Line(int n) override;
    std::vector<std::string> Folders() override { return {root.path, os.tempDir, os.tempDir}; }
    bool Until(const std::function<bool()>& done) override { return done(); }
    std::string Start(const std::string& count) override;
    scenario::Window Front() override;
    bool Find(scenario::Window window) override { return Front() == window; }
    std::optional<std::string> Control(char what, int id) override;
    std::string Act(const std::string& verb, const scenario::Word& word,
                    const std::string& text) override;
    std::optional<std::string> Event(bool take) override;
    std::string Exit() override { return running_ ? "running" : std::to_string(code); }
    std::string Seen() override { return seen_.substr(std::min<std::size_t>(1, seen_.size())); }
    std::optional<std::string> Read(const std::string& path) override;
    Files Tree(const std::string& folder) override { return test::Tree(folder); }
    std::string GameFound() override { return os.found; }
    std::string Other(const std::string& verb, const std::string& rest,
                      const std::string& raw) override;

private:
    class Dialog;
    int RunDialog(const std::string& templateName, void* context);
    Answer Respond(const char* text, const char* caption, Buttons buttons);
    void Language(int lines, int blank = -1);  // English, of `lines` lines, line `blank` empty
    void Seen(const std::string& window);
    bool Setup(const std::string& verb, const std::string& rest, const std::string& raw);

    scenario::Engine* engine_ = nullptr;
    std::string seen_;
    int lines_ = 0, blank_ = -1;
    bool started_ = false, running_ = true;
    std::size_t event_ = 0;
    std::vector<Dialog*> open_;
};

}  // namespace vok::test
