#include "league/LeagueRemoval.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "league/LeagueFiles.h"
#include "league/VokLeagueData.h"
#include "platform/Os.h"

namespace vok {

// A league's files are the launcher's own: one left behind for its read-only
// attribute would join the next league that uses its folder.
bool RemoveLeagueFile(const char* path) {
    Os& os = CurrentOs();
    return os.RemoveFile(path) || (os.SetNormalAttributes(path) && os.RemoveFile(path));
}

bool RemoveFolder(const char* path) {
    Os& os = CurrentOs();
    std::vector<std::string> names;
    if (!path || !os.ListFolder(path, names)) {
        return false;
    }
    Path entry;
    for (const std::string& name : names) {
        if (name == "." || name == "..") {
            continue;
        }
        if (!Format(entry, "%s/%s", path, name.c_str()) || !RemoveLeagueFile(entry)) {
            return false;
        }
    }
    return os.RemoveEmptyFolder(path);
}

void DeleteLeague(ProcessState& process) {
    const char* temp = process.tempDir;
    Path path;
    if (process.tempDirValid) {
        for (int i = 0; i < VokLeagueData::kMaxPlayers; ++i) {
            bool playerFound = true;
            for (int j = 0; j < VokLeagueData::kMaxVoksPerTeam; ++j) {
                if (!CreatureFolder(path, temp, i, j) || !RemoveFolder(path)) {
                    playerFound = j != 0;
                    break;
                }
            }
            if (!playerFound) {
                break;
            }
        }
        for (const char* file : {kLeagueFileName, kGameFileName}) {
            if (FileIn(path, temp, file)) {
                RemoveLeagueFile(path);
            }
        }
    }
    process.leaguePresent = 0;
}

}  // namespace vok
