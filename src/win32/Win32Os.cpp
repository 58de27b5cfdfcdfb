// The operating-system seam on Windows: the Win32 calls the launcher was
// written against.
#include <windows.h>

#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Os.h"
#include "platform/StdioFiles.h"
#include "win32/DirectDrawProbe.h"

namespace vok {

namespace {

class Win32Os final : public Os {
public:
    bool TempPath(char* buffer, std::size_t size) override {
        if (size == 0) {
            return false;
        }
        buffer[0] = '\0';
        DWORD length = GetTempPathA(static_cast<DWORD>(size), buffer);
        if (length == 0 || length >= size) {
            buffer[0] = '\0';
            return false;
        }
        return true;
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
        FindClose(find);
        return true;
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
        char path[MAX_PATH * 4];
        DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
        // A full buffer means the name was cut.
        if (length == 0 || length >= sizeof path) {
            return false;
        }
        char* separator = std::strrchr(path, '\\');
        char* slash = std::strrchr(path, '/');
        if (!separator || (slash && slash > separator)) {
            separator = slash;
        }
        if (!separator) {
            return false;
        }
        std::size_t folderLength = static_cast<std::size_t>(separator - path) + 1;
        if (folderLength + 1 > size) {
            return false;
        }
        std::memcpy(buffer, path, folderLength);
        buffer[folderLength] = '\0';
        return true;
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
