// The native seam keeps the rules the core relies on.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Fakes.h"

#ifndef _WIN32
namespace vok::test {
namespace {

TEST(PosixOs, GivesTheTemporaryFolderWithItsSeparator) {
    const char* saved = std::getenv("TMPDIR");
    std::string restore = saved ? saved : "";
    const struct {
        const char* tmpdir;
        std::size_t size;
        const char* path;
    } cases[] = {{nullptr, 512, "/tmp/"}, {"", 512, "/tmp/"},   {"/a/b", 512, "/a/b/"},
                 {"/a/b/", 6, "/a/b/"},   {"/a/b", 6, "/a/b/"}, {"/a/b", 5, ""}};
    for (const auto& c : cases) {
        c.tmpdir ? setenv("TMPDIR", c.tmpdir, 1) : unsetenv("TMPDIR");
        char buffer[512] = "x";
        EXPECT_EQ(SystemOs().TempPath(buffer, c.size), *c.path != '\0');
        EXPECT_STREQ(buffer, c.path);
    }
    saved ? setenv("TMPDIR", restore.c_str(), 1) : unsetenv("TMPDIR");
}

}  // namespace
}  // namespace vok::test
#endif
