#include "league/LeagueRemoval.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/ProcessState.h"
#include "platform/Os.h"

namespace vok {

namespace {

// Formats into a 512-byte path buffer; false when the result would not fit,
// so that a cut path never names another file.
template <typename... Args>
bool FormatPath(char (&buffer)[512], const char* format, Args... args) {
    int length = std::snprintf(buffer, sizeof buffer, format, args...);
    return length >= 0 && length < static_cast<int>(sizeof buffer);
}

}  // namespace

// A league's files are the launcher's own: one left behind for its read-only
// attribute would join the next league that uses its folder.
bool RemoveLeagueFile(const char* path) {
    Os& os = CurrentOs();
    return os.RemoveFile(path) || (os.SetNormalAttributes(path) && os.RemoveFile(path));
}

bool RemoveFolder(const char* path) {
    Os& os = CurrentOs();
    char pattern[512];
    if (!path || !FormatPath(pattern, "%s/*.*", path)) {
        return false;
    }
    std::vector<std::string> names;
    if (!os.ListFolder(path, names)) {
        return false;
    }
    char entry[512];
    for (const std::string& name : names) {
        if (name == "." || name == "..") {
            continue;
        }
        if (!FormatPath(entry, "%s/%s", path, name.c_str()) || !RemoveLeagueFile(entry)) {
            return false;
        }
    }
    return os.RemoveEmptyFolder(path);
}

void DeleteLeague() {
    ProcessState& process = Process();
    const char* temp = process.tempDir;
    char path[512];
    if (process.tempDirValid) {
        for (int i = 0; i < 12; ++i) {
            bool playerFound = true;
            for (int j = 0; j < 5; ++j) {
                if (!FormatPath(path, "%s%s%d%s%d", temp, "p", i, "_vok", j) ||
                    !RemoveFolder(path)) {
                    playerFound = j != 0;
                    break;
                }
            }
            if (!playerFound) {
                break;
            }
        }
        for (const char* file : {"vokleague.dat", "vok.exe"}) {
            if (FormatPath(path, "%s%s", temp, file)) {
                RemoveLeagueFile(path);
            }
        }
    }
    process.leaguePresent = 0;
}

}  // namespace vok
