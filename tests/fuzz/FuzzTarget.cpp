// libFuzzer entry point; VOK_FUZZ_CASE names the case it runs (FuzzCases.h).
#include <cstdio>
#include <cstdlib>

#include "FuzzCases.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error = vok::fuzz::VOK_FUZZ_CASE(data, size);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    return 0;
}
