// The operating-system seam on Windows: the Win32 calls the launcher was
// written against.
#include <windows.h>

#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "kvfile/KeyValueFile.h"
#include "platform/Os.h"
#include "platform/StdioFiles.h"
#include "win32/DirectDrawProbe.h"

namespace vok {

namespace {

// Characters a path from the wide calls may have here.
constexpr DWORD kWidePath = 1024;

// Converts a wide path to the ANSI code page. True only when converting back
// gives exactly the same path: the ANSI file calls then name this path and no
// look-alike: no '?' for a letter the code page lacks, no plain L for a
// Polish L with stroke.
bool FaithfulAnsi(const wchar_t* wide, char (&ansi)[2 * kWidePath]) {
    wchar_t back[kWidePath];
    return WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr) > 0 &&
           MultiByteToWideChar(CP_ACP, 0, ansi, -1, back, kWidePath) > 0 &&
           std::wcscmp(back, wide) == 0;
}

// The ANSI name of a path the wide calls gave: the path itself where the code
// page holds it, else its short 8.3 form where the file system has one. With
// `plain`, a form without the bytes that separate the tokens of a key-value
// file comes first: a league file names the temporary folder's files, and
// the game reads it by those rules (where no form is plain, the league writer
// quotes the path). False, with `buffer` empty, when no form names it or the
// name does not fit.
bool AnsiPath(const wchar_t* wide, char* buffer, std::size_t size, bool plain = false) {
    char longForm[2 * kWidePath];
    char shortForm[2 * kWidePath];
    wchar_t shortPath[kWidePath];
    auto isPlain = [](const char* ansi) { return !std::strpbrk(ansi, KeyValueFile::kSeparators); };
    const bool hasLong = FaithfulAnsi(wide, longForm);
    const bool longFits = hasLong && (!plain || isPlain(longForm));
    DWORD shortLength = 0;
    const bool hasShort = !longFits &&
                          (shortLength = GetShortPathNameW(wide, shortPath, kWidePath)) > 0 &&
                          shortLength < kWidePath && FaithfulAnsi(shortPath, shortForm);
    const char* ansi = longFits                                     ? longForm
                       : hasShort && (!plain || isPlain(shortForm)) ? shortForm
                       : hasLong                                    ? longForm
                       : hasShort                                   ? shortForm
                                                                    : nullptr;
    std::size_t length = ansi ? std::strlen(ansi) : size;
    if (length >= size) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, ansi, length + 1);
    return true;
}

class Win32Os final : public Os {
public:
    bool TempPath(char* buffer, std::size_t size) override {
        if (size == 0) {
            return false;
        }
        wchar_t wide[kWidePath];
        DWORD length = GetTempPathW(kWidePath, wide);
        if (length == 0 || length >= kWidePath || !AnsiPath(wide, buffer, size, true)) {
            buffer[0] = '\0';
            return false;
        }
        return true;
    }

    // A folder named by its short form is one that a program asking the ANSI
    // calls (the game, looking for the league) cannot find by its own name:
    // the programs the launcher starts inherit the name it uses.
    bool ShareTempPath(const char* path) override {
        return SetEnvironmentVariableA("TMP", path) && SetEnvironmentVariableA("TEMP", path);
    }

    ReadResult ReadWholeFile(const char* path, std::string& contents) override {
        contents.clear();
        FILE* file = std::fopen(path, "rb");
        if (!file) {
            return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
        }
        return ReadAndClose(file, contents);
    }

    bool WriteWholeFile(const char* path, const void* data, std::size_t size) override {
        return WriteStreamFile(path, data, size);
    }

    bool FlushToDisk(const char* path) override {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        bool flushed = FlushFileBuffers(file) != 0;
        return CloseHandle(file) != 0 && flushed;
    }

    bool MoveReplace(const char* from, const char* to) override {
        return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool CanOpen(const char* path) override {
        std::FILE* file = std::fopen(path, "rb");
        if (!file) {
            return false;
        }
        std::fclose(file);
        return true;
    }

    bool ListFolder(const char* folder, std::vector<std::string>& names) override {
        names.clear();
        std::string pattern = std::string(folder) + "/*.*";
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return false;
        }
        do {
            names.emplace_back(data.cFileName);
        } while (FindNextFileA(find, &data));
        // Anything but the end of the listing leaves names out.
        const bool whole = GetLastError() == ERROR_NO_MORE_FILES;
        FindClose(find);
        return whole;
    }

    bool CopyFileOver(const char* from, const char* to) override {
        return CopyFileA(from, to, FALSE) != 0;
    }

    bool SetNormalAttributes(const char* path) override {
        return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != 0;
    }

    bool MakeFolder(const char* path) override { return CreateDirectoryA(path, nullptr) != 0; }

    bool RemoveEmptyFolder(const char* path) override { return RemoveDirectoryA(path) != 0; }

    bool RemoveFile(const char* path) override { return DeleteFileA(path) != 0; }

    std::size_t PathLimit() override { return MAX_PATH; }

    unsigned short KeyboardLangId() override {
        return LOWORD(reinterpret_cast<ULONG_PTR>(GetKeyboardLayout(0)));
    }

    bool ExecutableFolder(char* buffer, std::size_t size) override {
        if (size == 0) {
            return false;
        }
        buffer[0] = '\0';
        wchar_t path[kWidePath];
        DWORD length = GetModuleFileNameW(nullptr, path, kWidePath);
        // A full buffer means the name was cut.
        if (length == 0 || length >= kWidePath) {
            return false;
        }
        wchar_t* separator = std::wcsrchr(path, L'\\');
        wchar_t* slash = std::wcsrchr(path, L'/');
        if (!separator || (slash && slash > separator)) {
            separator = slash;
        }
        if (!separator) {
            return false;
        }
        separator[1] = L'\0';
        return AnsiPath(path, buffer, size);
    }

    bool SetCurrentFolder(const char* path) override { return SetCurrentDirectoryA(path) != 0; }

    bool ShellOpen(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                   const char* directory) override {
        HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), verb, file, parameters,
                                         directory, SW_SHOWNORMAL);
        // Values up to 32 are error codes.
        return reinterpret_cast<INT_PTR>(result) > 32;
    }

    unsigned short AsyncKeyState(Key key) override {
        return static_cast<unsigned short>(
            GetAsyncKeyState(key == Key::Control ? VK_CONTROL : VK_SHIFT));
    }

    WindowHandle FindTopWindow(const char* className, const char* title) override {
        return FindWindowA(className, title);
    }

    bool PostToWindow(WindowHandle window, unsigned message) override {
        return PostMessageA(static_cast<HWND>(window), message, 0, 0) != 0;
    }

    bool BringToFront(WindowHandle window) override {
        return SetForegroundWindow(static_cast<HWND>(window)) != 0;
    }

    bool IsFolder(const char* path) override {
        DWORD attributes = GetFileAttributesA(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool Exists(const char* path) override {
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        const DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }

    bool ClaimLauncher() override {
        // The handle stays open until the process ends, which releases it.
        // Where no mutex can be made the launcher runs as it always did.
        HANDLE mutex = CreateMutexA(nullptr, FALSE, "Local\\VokLauncher");
        return !mutex || GetLastError() != ERROR_ALREADY_EXISTS;
    }

    void Pause(unsigned milliseconds) override { Sleep(milliseconds); }

    void DebugOutput(const char* text) override { OutputDebugStringA(text); }

    void EndProcess(int exitCode) override { ExitProcess(static_cast<UINT>(exitCode)); }

    std::uint32_t ProbeDirectDraw() override { return ProbeDirectDrawLibrary("DDRAW.DLL"); }
};

}  // namespace

Os& SystemOs() {
    static Win32Os os;
    return os;
}

}  // namespace vok
