// libFuzzer entry point for the key-value file; the input layout and the
// checks are in KvFileCase.h.
#include <cstdio>
#include <cstdlib>

#include "KvFileCase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error = vok::fuzz::RunKvFileCase(data, size);
    if (!error.empty()) {
        std::fprintf(stderr, "fuzz_kvfile: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}
