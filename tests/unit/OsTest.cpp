// The POSIX seam where it guards a caller's buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Os.h"

namespace vok::test {
namespace {

#ifndef _WIN32
// TMPDIR with the slash that Windows' answer ends in, refused rather than cut
// when the buffer is too small.
TEST(PosixOs, TempPathFitsItsBufferOrFails) {
    const char* old = std::getenv("TMPDIR");
    const std::string kept = old ? old : "";
    setenv("TMPDIR", "/ab", 1);
    char buffer[8];
    EXPECT_FALSE(SystemOs().TempPath(buffer, 4));
    EXPECT_TRUE(SystemOs().TempPath(buffer, 5));
    EXPECT_STREQ(buffer, "/ab/");
    old ? setenv("TMPDIR", kept.c_str(), 1) : unsetenv("TMPDIR");
}
#endif

}  // namespace
}  // namespace vok::test
