// The operating-system seam for native builds. The launcher ships only for
// Windows; this implementation exists so that the core runs, and is tested,
// natively. Where Windows and POSIX differ in a way the core depends on, it
// keeps the Windows rule: a read-only file can be neither deleted, overwritten
// nor replaced, and its copy is read-only too.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Os.h"
#include "platform/StdioFiles.h"

namespace vok {

namespace {

bool IsReadOnlyFile(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

class PosixOs final : public Os {
public:
    bool TempPath(char* buffer, std::size_t size) override {
        if (size == 0) {
            return false;
        }
        buffer[0] = '\0';
        const char* dir = std::getenv("TMPDIR");
        if (!dir || !*dir) {
            dir = "/tmp/";
        }
        std::size_t length = std::strlen(dir);
        bool needsSlash = dir[length - 1] != '/';
        if (length + (needsSlash ? 1 : 0) + 1 > size) {
            return false;
        }
        std::memcpy(buffer, dir, length);
        if (needsSlash) {
            buffer[length++] = '/';
        }
        buffer[length] = '\0';
        return true;
    }

    // A native build starts no program.
    bool ShareTempPath(const char*) override { return true; }

    ReadResult ReadWholeFile(const char* path, std::string& contents) override {
        contents.clear();
        FILE* file = std::fopen(path, "rb");
        if (!file) {
            return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
        }
        // A folder opens for reading here, where Windows refuses it; its "size"
        // would be nonsense.
        struct stat st;
        if (fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
            std::fclose(file);
            return ReadResult::Failed;
        }
        return ReadAndClose(file, contents);
    }

    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override {
        if (IsReadOnlyFile(path)) {
            return false;
        }
        return WriteStreamFile(path, data, size);
    }

    bool FlushToDisk(const char* path) override {
        int file = open(path, O_WRONLY);
        if (file < 0) {
            return false;
        }
        bool flushed = fsync(file) == 0;
        return close(file) == 0 && flushed;
    }

    bool MoveReplace(const char* from, const char* to) override {
        return !IsReadOnlyFile(to) && std::rename(from, to) == 0;
    }

    bool CanOpen(const char* path) override {
        FILE* file = std::fopen(path, "rb");
        if (!file) {
            return false;
        }
        // A folder opens for reading here, where Windows refuses it: a folder
        // named "data.dat" is no creature.
        struct stat st;
        bool folder = fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode);
        std::fclose(file);
        return !folder;
    }

    bool ListFolder(const char* folder, std::vector<std::string>& names) override {
        names.clear();
        DIR* dir = opendir(folder);
        if (!dir) {
            return false;
        }
        // readdir tells its end from a failure by errno alone.
        const dirent* entry;
        while ((errno = 0, entry = readdir(dir)) != nullptr) {
            names.emplace_back(entry->d_name);
        }
        const bool whole = errno == 0;
        closedir(dir);
        return whole;
    }

    // As on Windows, the copy takes the source's read-only attribute along.
    bool CopyFileOver(const char* from, const char* to) override {
        std::string contents;
        if (ReadWholeFile(from, contents) != ReadResult::Ok ||
            !WriteWholeFile(to, contents.data(), contents.size())) {
            return false;
        }
        return !IsReadOnlyFile(from) || chmod(to, S_IRUSR | S_IRGRP | S_IROTH) == 0;
    }

    bool SetNormalAttributes(const char* path) override {
        struct stat st;
        if (stat(path, &st) != 0) {
            return false;
        }
        return chmod(path, st.st_mode | S_IWUSR) == 0;
    }

    bool MakeFolder(const char* path) override { return mkdir(path, 0777) == 0; }

    bool RemoveEmptyFolder(const char* path) override { return rmdir(path) == 0; }

    bool RemoveFile(const char* path) override {
        struct stat st;
        if (lstat(path, &st) != 0 || S_ISDIR(st.st_mode) || IsReadOnlyFile(path)) {
            return false;
        }
        return unlink(path) == 0;
    }

    // Native builds have no keyboard layout to ask, and no installed launcher
    // whose folder would be the data root: the language is the fallback,
    // English, and the data root the current folder.
    unsigned short KeyboardLangId() override { return 0; }
    bool ExecutableFolder(char* buffer, std::size_t size) override {
        if (size > 0) {
            buffer[0] = '\0';
        }
        return false;
    }

    bool SetCurrentFolder(const char* path) override { return chdir(path) == 0; }

    // There is no shell to hand a Windows program or document to.
    bool ShellOpen(WindowHandle, const char*, const char*, const char*, const char*) override {
        return false;
    }

    // No keyboard state outside a window system: no key is ever down.
    unsigned short AsyncKeyState(Key) override { return 0; }

    // The game and the launcher are Windows programs: there is never a peer.
    WindowHandle FindTopWindow(const char*, const char*) override { return nullptr; }
    bool PostToWindow(WindowHandle, unsigned) override { return false; }
    bool BringToFront(WindowHandle) override { return false; }

    bool IsFolder(const char* path) override {
        struct stat st;
        return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
    }

    bool Exists(const char* path) override {
        struct stat st;
        return lstat(path, &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
    }

    // Only Windows programs look for each other; natively every process is
    // the one launcher.
    bool ClaimLauncher() override { return true; }
    void Pause(unsigned milliseconds) override { usleep(milliseconds * 1000u); }

    void DebugOutput(const char*) override {}

    void EndProcess(int exitCode) override { std::exit(exitCode); }

    // DirectDraw does not exist here; answering as a capable system keeps the
    // menu from offering a DirectX setup that could never run.
    std::uint32_t ProbeDirectDraw() override { return kDirectDraw7; }
};

}  // namespace

Os& SystemOs() {
    static PosixOs os;
    return os;
}

}  // namespace vok
