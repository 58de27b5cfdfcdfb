#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vok {

// The launcher's path buffers, terminating zero included. A path that does not
// fit is refused, never cut: a cut path would name another file.
constexpr std::size_t kPathSize = 512;
using Path = char[kPathSize];

// Result of reading a whole file. A missing file is an ordinary case for the
// launcher (no league yet); a file that exists but cannot be read is not, and
// callers that rewrite files must not mistake it for an empty one.
enum class ReadResult { Ok, Missing, Failed };

// A top-level window of any process, opaque to the core (an HWND on Windows).
using WindowHandle = void*;

// Keys whose state chooses the game's launch level.
enum class Key { Control, Shift };

// What ProbeDirectDraw reports when DirectDraw offers the DirectX 7 interface.
constexpr std::uint32_t kDirectDraw7 = 0x700;

// Everything the portable core takes from the operating system. Exactly one
// instance is current at a time (CurrentOs); the build's own implementation is
// the default, and tests install theirs with ScopedOs to redirect the
// temporary directory or to make a chosen call fail.
//
// Paths are byte strings in the system's ANSI code page. Every operation
// reports failure through its result and never throws.
class Os {
public:
    virtual ~Os() = default;

    // The user's temporary directory, ending in a path separator, written into
    // `buffer` with its terminating zero. False, with `buffer` holding an empty
    // text, when the system cannot supply it, it does not fit, or it cannot be
    // named by the byte-string paths of this interface without naming another
    // folder.
    virtual bool TempPath(char* buffer, std::size_t size) = 0;

    // Makes `path` the temporary directory of the programs this process starts
    // (the game finds its league there), so that they use the very folder the
    // launcher named, by the same name.
    virtual bool ShareTempPath(const char* path) = 0;

    // Reads the whole file in binary mode into `contents`.
    virtual ReadResult ReadWholeFile(const char* path, std::string& contents) = 0;
    // Creates or truncates the file and writes `size` bytes in binary mode.
    virtual bool WriteWholeFile(const char* path, const void* data, std::size_t size) = 0;
    // Forces what was written to the file onto the disk, so that a power loss
    // after a later step cannot leave it empty or cut.
    virtual bool FlushToDisk(const char* path) = 0;
    // Moves `from` over `to` in one step, replacing an existing `to`; either the
    // old `to` or the new one is there afterwards, never a mixture.
    virtual bool MoveReplace(const char* from, const char* to) = 0;
    // Opens the file for reading and closes it at once: the presence test.
    virtual bool CanOpen(const char* path) = 0;
    // Whether `path` names an existing folder (not a file).
    virtual bool IsFolder(const char* path) = 0;
    // Whether anything, file or folder, is at `path`, told by its attributes
    // and not by opening it: a file another program holds open is there all
    // the same. True when the system cannot tell that nothing is there.
    virtual bool Exists(const char* path) = 0;

    // Names of every entry in `folder` (files, sub-folders, and "." and ".."
    // where the system lists them), in the system's order. False when the
    // folder cannot be listed.
    virtual bool ListFolder(const char* folder, std::vector<std::string>& names) = 0;
    // Copies a file, replacing an existing target.
    virtual bool CopyFileOver(const char* from, const char* to) = 0;
    // Clears read-only and the other attribute bits.
    virtual bool SetNormalAttributes(const char* path) = 0;
    virtual bool MakeFolder(const char* path) = 0;
    // Removes an empty folder.
    virtual bool RemoveEmptyFolder(const char* path) = 0;
    virtual bool RemoveFile(const char* path) = 0;
    // The size, terminating zero included, of the longest path the file
    // operations above take: MAX_PATH for Windows' ANSI file functions, far
    // beyond the launcher's path buffers (kPathSize) elsewhere.
    virtual std::size_t PathLimit() { return 4096; }

    // Language identifier of the active keyboard layout (the low 16 bits of
    // the input locale on Windows).
    virtual unsigned short KeyboardLangId() = 0;

    // The folder holding the running program, with its trailing separator.
    // False, with `buffer` empty, when it cannot be told, does not fit, or
    // cannot be named faithfully (as for TempPath).
    virtual bool ExecutableFolder(char* buffer, std::size_t size) = 0;
    // Makes `path` the current directory, against which relative paths resolve.
    virtual bool SetCurrentFolder(const char* path) = 0;

    // Hands `file` to the shell's open operation, shown normally, and does not
    // wait for what it starts. A null `verb` is the file type's default action;
    // an empty `directory` starts a program in this process's current
    // directory. `owner` parents any window the shell shows. True when the
    // shell reports success.
    virtual bool ShellOpen(WindowHandle owner, const char* verb, const char* file,
                           const char* parameters, const char* directory) = 0;

    // The asynchronous state of `key` as Windows reports it: the high bit
    // (0x8000) is set while the key is down; the low bit only says it was
    // pressed since the previous query and does not mean it is down.
    virtual unsigned short AsyncKeyState(Key key) = 0;

    // Makes this process the session's one launcher, for as long as it runs.
    // False when another launcher already is, even one that has not shown a
    // window yet.
    virtual bool ClaimLauncher() = 0;
    // Waits `milliseconds` before the next poll.
    virtual void Pause(unsigned milliseconds) = 0;

    // First top-level window with this class name or title (a null one matches
    // any), or null.
    virtual WindowHandle FindTopWindow(const char* className, const char* title) = 0;
    // Posts `message` with both parameters 0; does not wait for it to be handled.
    virtual bool PostToWindow(WindowHandle window, unsigned message) = 0;
    virtual bool BringToFront(WindowHandle window) = 0;

    // Text for an attached debugger, if any.
    virtual void DebugOutput(const char* text) = 0;

    // Ends the process. The system implementations never return; a test
    // implementation records the code and returns, so callers return at once
    // after calling it and do nothing more.
    virtual void EndProcess(int exitCode) = 0;

    // kDirectDraw7 when a DirectDraw object with the DirectX 7 interface can be
    // created, otherwise 0.
    virtual std::uint32_t ProbeDirectDraw() = 0;
};

// The implementation of this build: Win32 calls on Windows, POSIX natively.
Os& SystemOs();

// The implementation the core uses now.
Os& CurrentOs();

// Makes `os` current for the lifetime of this object, then restores the one
// that was current before.
class ScopedOs {
public:
    explicit ScopedOs(Os& os);
    ~ScopedOs();
    ScopedOs(const ScopedOs&) = delete;
    ScopedOs& operator=(const ScopedOs&) = delete;

private:
    Os* previous_;
};

}  // namespace vok
