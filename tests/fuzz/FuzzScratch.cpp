#include "FuzzScratch.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Os.h"

namespace vok::fuzz {

namespace {

std::string g_folder;

void RemoveScratch() {
    std::error_code error;
    std::filesystem::remove_all(g_folder, error);
}

}  // namespace

const std::string& ScratchFolder() {
    if (g_folder.empty()) {
        char temp[512];
        if (!SystemOs().TempPath(temp, sizeof temp)) {
            std::abort();  // nowhere to put the files under test
        }
        std::string folder = std::string(temp) + "vokfuzz-" + std::to_string(getpid());
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        std::filesystem::create_directories(folder + "/language");
        g_folder = folder + "/";
        std::atexit(RemoveScratch);
    }
    return g_folder;
}

}  // namespace vok::fuzz
