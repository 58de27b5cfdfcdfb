// Every seed and stored finding of the fuzz targets, through the targets' own
// checks, in the ordinary test run and with any compiler.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FuzzCases.h"

namespace {

void Replay(const char* target, std::string (*run)(const std::uint8_t*, std::size_t)) {
    int inputs = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::string(VOK_FUZZ_DIR) + kind + "/" + target, error)) {
            std::ostringstream bytes;
            bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            std::string data = bytes.str();
            EXPECT_EQ(run(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), "")
                << entry.path();
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 20) << target;
}

TEST(FuzzReplay, KeyValueFile) {
    Replay("fuzz_kvfile", vok::fuzz::RunKvFileCase);
}

TEST(FuzzReplay, LanguageTable) {
    Replay("fuzz_language", vok::fuzz::RunLanguageCase);
}

}  // namespace
