#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/Os.h"

namespace vok::bench {

// A folder of the benchmark's own in the system's temporary directory (TMPDIR),
// removed with its contents at the end. The path ends in '/'.
class BenchFolder {
public:
    BenchFolder() {
        char temp[512];
        SystemOs().TempPath(temp, sizeof temp);
        path_ = std::string(temp) + "vokbench-" + std::to_string(getpid()) + "/";
        std::error_code error;
        std::filesystem::remove_all(path_, error);
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

inline void Put(const std::string& path, const std::string& bytes) {
    SystemOs().WriteWholeFile(path.c_str(), bytes.data(), bytes.size());
}

inline std::string Get(const std::string& path) {
    std::string bytes;
    SystemOs().ReadWholeFile(path.c_str(), bytes);
    return bytes;
}

}  // namespace vok::bench
