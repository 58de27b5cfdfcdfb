#pragma once

// Where a league's files live: in the temporary directory, the league file,
// the game's copy, and a creature folder for each creature of each player.
// Paths are built in the launcher's path buffers (Path), and never cut.

#include <cstdio>

#include "platform/Os.h"

namespace vok {

constexpr const char* kLeagueFileName = "vokleague.dat";
constexpr const char* kGameFileName = "vok.exe";  // the game, in the data root and its copy

// Formats into `path` (or any text of its size); false when the result would
// not fit.
template <typename... Args>
bool Format(Path& path, const char* format, Args... args) {
    int length = std::snprintf(path, sizeof path, format, args...);
    return length >= 0 && length < static_cast<int>(sizeof path);
}

// `folder` + `name`, for a temporary directory that ends in its separator.
inline bool FileIn(Path& path, const char* folder, const char* name) {
    return Format(path, "%s%s", folder, name);
}

// The folder of creature `vok` (from 0) of player `player` (from 0): "p0_vok0"
// in the temporary directory, without a separator at the end.
inline bool CreatureFolder(Path& path, const char* temp, int player, int vok) {
    return Format(path, "%s%s%d%s%d", temp, "p", player, "_vok", vok);
}

}  // namespace vok
