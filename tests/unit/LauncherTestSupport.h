#pragma once

#include <filesystem>
#include <string>

#include "TestOs.h"

namespace vok::test {

// Restores the current directory on destruction, for tests whose code under
// test changes it or resolves paths against it. Declare it after any
// TempFolder it enters, so it leaves the folder before the folder is removed.
class CurrentFolderGuard {
public:
    CurrentFolderGuard() : saved_(std::filesystem::current_path()) {}
    ~CurrentFolderGuard() {
        std::error_code error;
        std::filesystem::current_path(saved_, error);
    }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    std::filesystem::path saved_;
};

// Writes dataRoot + "data/language/" + fileName with `lines` lines reading
// prefix + their number ("en 0", "en 1", ...), separated by CR LF with no
// line break after the last, so the table has exactly `lines` lines.
inline void WriteLanguageFile(const std::string& dataRoot, const std::string& fileName, int lines,
                              const std::string& prefix) {
    std::filesystem::create_directories(dataRoot + "data/language");
    std::string text;
    for (int i = 0; i < lines; ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += prefix + std::to_string(i);
    }
    WriteFile(dataRoot + "data/language/" + fileName, text);
}

}  // namespace vok::test
