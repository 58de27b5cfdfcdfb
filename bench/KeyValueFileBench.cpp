// Loading a key-value file (read and cut into tokens) beside a plain read of
// the same bytes, for files of 1 KB, 20 KB (a full league) and 1 MB.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "BenchFolder.h"
#include "kvfile/KeyValueFile.h"

namespace {

using vok::KeyValueFile;
using vok::bench::BenchFolder;

// League-style lines, "key = value\r\n", up to `size` bytes.
std::string KeyValueText(std::size_t size) {
    std::string text;
    char line[128];
    for (int n = 0; text.size() < size; ++n) {
        std::snprintf(line, sizeof line, "ply[%d].vok[%d].rounds_won = %d\r\n", n / 5, n % 5, n);
        text += line;
    }
    text.resize(size);
    return text;
}

std::string FileOf(const BenchFolder& folder, std::size_t size) {
    std::string path = folder / ("kv-" + std::to_string(size) + ".dat");
    vok::bench::Put(path, KeyValueText(size));
    return path;
}

void BM_PlainRead(benchmark::State& state) {
    BenchFolder folder;
    std::string path = FileOf(folder, static_cast<std::size_t>(state.range(0)));
    std::string bytes;
    for (auto _ : state) {
        vok::SystemOs().ReadWholeFile(path.c_str(), bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_KeyValueFileLoad(benchmark::State& state) {
    BenchFolder folder;
    std::string path = FileOf(folder, static_cast<std::size_t>(state.range(0)));
    KeyValueFile file;
    for (auto _ : state) {
        file.Load(path.c_str());
        benchmark::DoNotOptimize(file.TokenCount());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.counters["tokens"] = file.TokenCount();
}

}  // namespace

BENCHMARK(BM_PlainRead)->Arg(1 << 10)->Arg(20 << 10)->Arg(1 << 20);
BENCHMARK(BM_KeyValueFileLoad)->Arg(1 << 10)->Arg(20 << 10)->Arg(1 << 20);

BENCHMARK_MAIN();
