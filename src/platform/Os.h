#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vok {

// Result of reading a whole file. A missing file is an ordinary case for the
// launcher (no league yet); a file that exists but cannot be read is not, and
// callers that rewrite files must not mistake it for an empty one.
enum class ReadResult { Ok, Missing, Failed };

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
    // text, when the system cannot supply it or it does not fit.
    virtual bool TempPath(char* buffer, std::size_t size) = 0;

    // Reads the whole file in binary mode into `contents`.
    virtual ReadResult ReadWholeFile(const char* path, std::string& contents) = 0;
    // Creates or truncates the file and writes `size` bytes in binary mode.
    virtual bool WriteWholeFile(const char* path, const void* data, std::size_t size) = 0;
    // Moves `from` over `to` in one step, replacing an existing `to`; either the
    // old `to` or the new one is there afterwards, never a mixture.
    virtual bool MoveReplace(const char* from, const char* to) = 0;
    // Opens the file for reading and closes it at once: the presence test.
    virtual bool CanOpen(const char* path) = 0;

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

    // Language identifier of the active keyboard layout (the low 16 bits of
    // the input locale on Windows).
    virtual unsigned short KeyboardLangId() = 0;
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
