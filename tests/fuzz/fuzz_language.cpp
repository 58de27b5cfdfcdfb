// libFuzzer entry point for the language table; the input layout and the
// checks are in LanguageCase.h.
#include <cstdio>
#include <cstdlib>

#include "LanguageCase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error = vok::fuzz::RunLanguageCase(data, size);
    if (!error.empty()) {
        std::fprintf(stderr, "fuzz_language: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}
