#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Os.h"

namespace vok::test {

// A fresh, empty folder in the system's temporary directory for one test,
// removed with everything in it afterwards. Its path ends in '/'.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Small file helpers for assertions; they bypass the seam.
std::string ReadFile(const std::string& path);  // "" when missing
void WriteFile(const std::string& path, const std::string& contents);
bool Exists(const std::string& path);
void MakeReadOnly(const std::string& path);
// The names in `folder`, without their paths.
std::set<std::string> Entries(const std::string& folder);
// A creature's folder name in a league: "p<player>_vok<vok>".
std::string CreatureFolder(int player, int vok);

// The operating-system seam for tests: the system's own calls, with the
// temporary directory and the keyboard layout under the test's control, and
// failures injected on demand. Each operation counts its calls from 1.
class TestOs final : public Os {
public:
    enum class Op {
        TempPath,
        Read,
        Write,
        Replace,
        CanOpen,
        List,
        Copy,
        SetNormal,
        MakeFolder,
        RemoveFolder,
        RemoveFile,
        CurrentFolder
    };

    // One request to the shell, as made; nothing is started.
    struct ShellCall {
        WindowHandle owner;
        std::optional<std::string> verb;  // none: the default verb
        std::string file;
        std::string parameters;
        std::string directory;
    };

    TestOs();

    // The temporary directory TempPath reports; empty makes TempPath fail.
    void SetTempDir(const std::string& dir) { tempDir_ = dir; }
    void SetLangId(unsigned short langId) { langId_ = langId; }
    // The folder ExecutableFolder reports; unset, the test program's own.
    void SetExecutableFolder(const std::string& dir) { exeFolder_ = dir; }
    void SetKeyState(Key key, unsigned short state) { keys_[key] = state; }
    void SetProbeResult(std::uint32_t result) { probe_ = result; }
    // What ShellOpen answers; it never starts anything.
    void SetShellResult(bool ok) { shellOk_ = ok; }
    // Adds a top-level window for FindTopWindow to find; returns its handle.
    WindowHandle AddWindow(const std::string& className, const std::string& title);

    // One call that named a path (for a copy or a replacement, its target);
    // `faulted` marks the call the first injected fault fell on.
    struct PathCall {
        Op op;
        std::string path;
        bool faulted;
    };
    const std::vector<PathCall>& PathCalls() const { return pathLog_; }
    const std::vector<ShellCall>& ShellCalls() const { return shellCalls_; }
    // Codes EndProcess was called with, in order (it returns here).
    const std::vector<int>& Exits() const { return exits_; }
    const std::vector<std::pair<WindowHandle, unsigned>>& Posts() const { return posts_; }
    const std::vector<WindowHandle>& BroughtToFront() const { return fronts_; }
    const std::vector<std::string>& DebugTexts() const { return debugTexts_; }
    const std::vector<std::string>& CurrentFolders() const { return currentFolders_; }

    // Makes call number `nth` of `op` fail; with `sticky`, every later call too.
    void FailCall(Op op, int nth, bool sticky = false);
    // Makes every call of `op` on a path containing `fragment` fail.
    void FailPath(Op op, const std::string& fragment);
    // Fails the first call, of any operation that takes a path, that happens
    // after `n` such calls have succeeded; 0 means no failure. Used to walk a
    // failure through every step of a flow in turn.
    void FailAfter(int n) { failAfter_ = n; }
    bool Failed() const { return failed_; }
    int Calls(Op op) const;
    void ClearFaults();

    bool TempPath(char* buffer, std::size_t size) override;
    ReadResult ReadWholeFile(const char* path, std::string& contents) override;
    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override;
    bool MoveReplace(const char* from, const char* to) override;
    bool CanOpen(const char* path) override;
    bool ListFolder(const char* folder, std::vector<std::string>& names) override;
    bool CopyFileOver(const char* from, const char* to) override;
    bool SetNormalAttributes(const char* path) override;
    bool MakeFolder(const char* path) override;
    bool RemoveEmptyFolder(const char* path) override;
    bool RemoveFile(const char* path) override;
    std::size_t PathLimit() override { return inner_.PathLimit(); }
    unsigned short KeyboardLangId() override { return langId_; }
    bool ExecutableFolder(char* buffer, std::size_t size) override;
    // Changes the real current directory (relative paths must resolve); tests
    // that reach it restore the directory themselves.
    bool SetCurrentFolder(const char* path) override;
    bool ShellOpen(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                   const char* directory) override;
    unsigned short AsyncKeyState(Key key) override;
    WindowHandle FindTopWindow(const char* className, const char* title) override;
    bool PostToWindow(WindowHandle window, unsigned message) override;
    bool BringToFront(WindowHandle window) override;
    void DebugOutput(const char* text) override { debugTexts_.emplace_back(text); }
    void EndProcess(int exitCode) override { exits_.push_back(exitCode); }
    std::uint32_t ProbeDirectDraw() override { return probe_; }

private:
    // Counts the call and says whether it is to fail.
    bool Fails(Op op, const char* path);

    Os& inner_;
    std::string tempDir_;
    unsigned short langId_ = 0x0409;
    std::map<Op, int> calls_;
    std::map<Op, std::pair<int, bool>> failCalls_;
    std::multimap<Op, std::string> failPaths_;
    int failAfter_ = 0;
    int pathCalls_ = 0;
    bool failed_ = false;

    struct Window {
        std::string className;
        std::string title;
    };
    std::optional<std::string> exeFolder_;
    std::map<Key, unsigned short> keys_;
    std::uint32_t probe_ = kDirectDraw7;
    bool shellOk_ = true;
    std::vector<Window> windows_;  // handle i + 1 is windows_[i]
    std::vector<PathCall> pathLog_;
    std::vector<ShellCall> shellCalls_;
    std::vector<int> exits_;
    std::vector<std::pair<WindowHandle, unsigned>> posts_;
    std::vector<WindowHandle> fronts_;
    std::vector<std::string> debugTexts_;
    std::vector<std::string> currentFolders_;
};

const char* OpName(TestOs::Op op);

}  // namespace vok::test
