// Files, processes and registry values for the driver, in plain Win32.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace gui {

// A path given on the command line in Unix form ("/work/...") as a Windows
// path on Wine's drive Z:; Windows paths pass unchanged. Slashes become
// backslashes.
std::string WindowsPath(const std::string& path);
// "a\\b" + "c" with exactly one separator between them.
std::string Join(const std::string& folder, const std::string& name);

bool ReadBytes(const std::string& path, std::string& bytes);
bool WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
bool MakeFolders(const std::string& path);
// Removes a file or a folder with everything in it, read-only files included.
bool RemoveTree(const std::string& path);
bool CopyTree(const std::string& from, const std::string& to);

// Every file and folder under `root`, by path relative to it with backslashes;
// folders end in a backslash and map to "", files map to their bytes. The map
// is ordered, so two listings compare regardless of the system's order.
std::map<std::string, std::string> ListTree(const std::string& root);

// A process the driver started and owns. Killed on destruction if it still
// runs, so a failing case cannot leave it behind.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `exe` with the given arguments, working folder and environment
    // variables added to (or replacing those of) the driver's own environment.
    bool Start(const std::string& exe, const std::string& arguments, const std::string& folder,
               const std::map<std::string, std::string>& environment);
    // True with `code` set once the process has ended within `timeoutMs`.
    bool WaitExit(DWORD timeoutMs, DWORD& code);
    bool Running() const;
    void Kill();
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Ends the process that owns `window` and waits for it (bounded). Used to
// clear away the game stand-in, which the launcher, not the driver, started.
bool CloseWindowProcess(HWND window, DWORD timeoutMs);

// Sets a string value for as long as it lives, then puts back whatever was
// there before (deleting the keys it created). An empty `name` is the key's
// default value.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name,
                        const std::string& value);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;
    bool Ok() const { return ok_; }

private:
    HKEY root_;
    std::string key_;
    std::string name_;
    std::vector<std::string> createdKeys_;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::string oldData_;
    bool ok_ = false;
};

}  // namespace gui
