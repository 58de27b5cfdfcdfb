#include "Win32System.h"

#include <algorithm>

namespace gui {

namespace {

void ListInto(const std::string& root, const std::string& relative,
              std::map<std::string, std::string>& out) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Join(Join(root, relative), "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[path + "\\"] = "";
            ListInto(root, path, out);
        } else {
            std::string bytes;
            ReadBytes(Join(root, path), bytes);
            out[path] = bytes;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

std::string WindowsPath(const std::string& path) {
    std::string converted = path;
    std::replace(converted.begin(), converted.end(), '/', '\\');
    if (!path.empty() && path[0] == '/') {
        converted = "Z:" + converted;
    }
    return converted;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    const char last = folder.back();
    return (last == '\\' || last == '/') ? folder + name : folder + "\\" + name;
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return CloseHandle(file) && ok;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFolders(const std::string& path) {
    if (path.empty() || FileExists(path)) {
        return true;
    }
    const size_t slash = path.find_last_of('\\', path.size() - 2);
    if (slash != std::string::npos && slash > 2) {
        MakeFolders(path.substr(0, slash));
    }
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return DeleteFileA(path.c_str()) != FALSE;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Join(path, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") {
                RemoveTree(Join(path, name));
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool CopyTree(const std::string& from, const std::string& to) {
    const DWORD attributes = GetFileAttributesA(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
    }
    bool ok = MakeFolders(to);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Join(from, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") {
                ok = CopyTree(Join(from, name), Join(to, name)) && ok;
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return ok;
}

std::map<std::string, std::string> ListTree(const std::string& root) {
    std::map<std::string, std::string> out;
    ListInto(root, "", out);
    return out;
}

ChildProcess::~ChildProcess() {
    Kill();
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
}

bool ChildProcess::Start(const std::string& exe, const std::string& arguments,
                         const std::string& folder,
                         const std::map<std::string, std::string>& environment) {
    // The child's environment: the driver's own, minus every variable that is
    // given anew (names compare without case, as Windows does), plus those.
    std::string block;
    LPCH own = GetEnvironmentStringsA();
    for (const char* entry = own; *entry != '\0'; entry += lstrlenA(entry) + 1) {
        const std::string text = entry;
        const size_t eq = text.find('=', 1);
        const std::string name = text.substr(0, eq);
        bool replaced = false;
        for (const auto& variable : environment) {
            replaced = replaced || lstrcmpiA(variable.first.c_str(), name.c_str()) == 0;
        }
        if (!replaced) {
            block += text;
            block += '\0';
        }
    }
    FreeEnvironmentStringsA(own);
    for (const auto& variable : environment) {
        block += variable.first + "=" + variable.second;
        block += '\0';
    }
    block += '\0';

    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, &block[0],
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    return true;
}

bool ChildProcess::WaitExit(DWORD timeoutMs, DWORD& code) {
    if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process_, &code) != FALSE;
}

bool ChildProcess::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill() {
    if (Running()) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
}

bool CloseWindowProcess(HWND window, DWORD timeoutMs) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process == nullptr) {
        return false;
    }
    bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process, 0xDEAD);
        ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    }
    CloseHandle(process);
    return ended;
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name,
                                         const std::string& value)
    : root_(root), key_(key), name_(name) {
    // Remember which parts of the key path are new, to delete exactly those.
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = key.find('\\', pos + 1);
        const std::string part = key.substr(0, pos);
        HKEY probe = nullptr;
        if (RegOpenKeyExA(root_, part.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS) {
            RegCloseKey(probe);
        } else {
            createdKeys_.push_back(part);
        }
    }
    HKEY handle = nullptr;
    if (RegCreateKeyExA(root_, key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    char old[2048];
    DWORD size = sizeof old;
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &oldType_, reinterpret_cast<BYTE*>(old),
                         &size) == ERROR_SUCCESS) {
        hadValue_ = true;
        oldData_.assign(old, size);
    }
    ok_ = RegSetValueExA(handle, name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(handle);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_WRITE, &handle) == ERROR_SUCCESS) {
        if (hadValue_) {
            RegSetValueExA(handle, name_.c_str(), 0, oldType_,
                           reinterpret_cast<const BYTE*>(oldData_.data()),
                           static_cast<DWORD>(oldData_.size()));
        } else {
            RegDeleteValueA(handle, name_.c_str());
        }
        RegCloseKey(handle);
    }
    for (auto part = createdKeys_.rbegin(); part != createdKeys_.rend(); ++part) {
        RegDeleteKeyA(root_, part->c_str());
    }
}

}  // namespace gui
