// Every seed and stored finding of the fuzz targets, through the targets' own
// checks, in the ordinary test run and with any compiler.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
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

// Seeded pseudo-random writes on missing, empty, populated and key-equal files,
// a batch begun at the start of half of them: the batch gives what the same
// writes give one by one.
TEST(KeyValueFileProperty, BatchEqualsWritesOneByOne) {
    const std::string starts[] = {"", "a = 1\r\nname = \"Old\"\r\nply[1].points = 3\r\n",
                                  "ply[0].name = \"ply[1].points\"\r\nply[1].points = 0\r\nb"};
    const std::string words[] = {"a",       "B",  "ply[1].points", "name", "x y", "",
                                 "\"Cup\"", "\"", "a=b",           "x\"",  "\r\n"};
    std::mt19937 random(1);
    for (int n = 0; n < 400; ++n) {
        const std::string& start = starts[n % 3];
        std::string input = {char(n % 7 == 0), char(start.size()), 0};
        input += start + (n % 2 ? "\x05" : "");
        while (input.size() < 200) {
            int op = random() % 8;
            input += char(op | (random() % 4 ? 0x10 : 0));
            std::string word = words[random() % 11];
            input += random() % 2 ? std::string(1, char(0x80 | (random() % 128)))
                                  : char(word.size()) + word;
            word = words[random() % 11];
            input += op == 2 ? char(word.size()) + word : std::string(4, char(random()));
        }
        EXPECT_EQ(vok::fuzz::RunKvFileCase(reinterpret_cast<const std::uint8_t*>(input.data()),
                                           input.size()),
                  "")
            << n;
    }
}

}  // namespace
