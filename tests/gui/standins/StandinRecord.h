// Where the stand-in programs leave their evidence for the GUI test driver.
//
// Each stand-in appends to a text file of its own in the folder named by the
// environment variable VOK_GUI_RECORDS (the driver puts it into the launcher's
// environment block, and the programs the launcher starts inherit it); without
// the variable the file goes next to the program. Every write opens, appends
// and closes at once, so the driver can read a record while the program still
// runs and nothing is lost when the driver ends the program.
#pragma once

#include <windows.h>

#include <string.h>

namespace standin {

// Full path of the record file `name` (for example "game.txt").
inline void RecordPath(const char* name, char* path, DWORD size) {
    char folder[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA("VOK_GUI_RECORDS", folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) {
        n = GetModuleFileNameA(nullptr, folder, sizeof folder);
        char* slash = strrchr(folder, '\\');
        if (slash != nullptr) {
            slash[1] = '\0';
        }
    } else if (folder[n - 1] != '\\' && folder[n - 1] != '/') {
        lstrcatA(folder, "\\");
    }
    path[0] = '\0';
    if (lstrlenA(folder) + lstrlenA(name) < static_cast<int>(size)) {
        lstrcpyA(path, folder);
        lstrcatA(path, name);
    }
}

// Appends `size` raw bytes to the record file `name`. Other stand-ins may
// write at the same time, so a sharing violation is retried for a moment.
inline void Append(const char* name, const void* data, DWORD size) {
    char path[MAX_PATH * 2];
    RecordPath(name, path, sizeof path);
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, data, size, &written, nullptr);
            CloseHandle(file);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) {
            return;
        }
        Sleep(20);
    }
}

// Appends one text line "<key> <value>\r\n".
inline void AppendLine(const char* name, const char* key, const char* value) {
    char line[4096];
    if (value[0] == '\0') {
        wsprintfA(line, "%.1000s\r\n", key);
    } else {
        wsprintfA(line, "%.1000s %.2000s\r\n", key, value);
    }
    Append(name, line, lstrlenA(line));
}

// The command line without the program name, as the program was given it.
inline const char* Arguments() {
    const char* p = GetCommandLineA();
    bool quoted = false;
    while (*p != '\0' && (quoted || (*p != ' ' && *p != '\t'))) {
        if (*p == '"') {
            quoted = !quoted;
        }
        ++p;
    }
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    return p;
}

// Records what every started stand-in reports: its arguments, its full command
// line, its current directory and its temporary path.
inline void RecordStart(const char* name) {
    char cwd[MAX_PATH] = {};
    char temp[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    GetTempPathA(sizeof temp, temp);
    AppendLine(name, "start", "");
    AppendLine(name, "args", Arguments());
    AppendLine(name, "cmdline", GetCommandLineA());
    AppendLine(name, "cwd", cwd);
    AppendLine(name, "temp", temp);
}

}  // namespace standin
