// Replays every seed and every stored finding of the fuzz targets through the
// fuzzers' own checks, with any compiler, as part of the ordinary test run.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "KvFileCase.h"
#include "LanguageCase.h"

namespace fs = std::filesystem;

namespace {

using Runner = std::string (*)(const std::uint8_t*, std::size_t);

// Files of corpus/<target>/ and regressions/<target>/.
std::vector<fs::path> Inputs(const char* target) {
    std::vector<fs::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        fs::path folder = fs::path(VOK_FUZZ_DIR) / kind / target;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    return inputs;
}

void Replay(const char* target, Runner run, std::size_t minimum) {
    std::vector<fs::path> inputs = Inputs(target);
    EXPECT_GE(inputs.size(), minimum) << "seed corpus of " << target << " is missing";
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        std::string data = bytes.str();
        EXPECT_EQ(run(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), "")
            << input;
    }
}

}  // namespace

TEST(FuzzReplayTest, KeyValueFileInputsKeepEveryInvariant) {
    Replay("fuzz_kvfile", vok::fuzz::RunKvFileCase, 20);
}

TEST(FuzzReplayTest, LanguageInputsKeepEveryInvariant) {
    Replay("fuzz_language", vok::fuzz::RunLanguageCase, 10);
}
