// Saving a full league (12 players, 5 creatures each: 534 keyed writes) and
// removing one. Save collects its writes in memory and replaces the file once;
// beside it, the same writes each rewriting the file, and one plain write of
// the same final bytes. Setting up files happens outside the timed region
// (PauseTiming), so that both the wall and the CPU figures are the operation's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchFolder.h"
#include "LeagueFixture.h"
#include "common/ProcessState.h"
#include "kvfile/KeyValueFile.h"
#include "league/LeagueRemoval.h"
#include "league/VokLeagueData.h"

namespace {

using vok::DeleteLeague;
using vok::KeyValueFile;
using vok::VokLeagueData;
using vok::bench::BenchFolder;

// The process state of a launcher whose temporary directory is `dir`.
vok::ProcessState TempDirIs(const std::string& dir) {
    vok::ProcessState process;
    std::snprintf(process.tempDir, sizeof process.tempDir, "%s", dir.c_str());
    process.tempDirValid = true;
    return process;
}

void BM_SaveFullLeague(benchmark::State& state) {
    BenchFolder folder;
    const vok::ProcessState temp = TempDirIs(folder.Path());
    VokLeagueData data = vok::test::MakeLeague(12, 5, folder.Path());
    std::string path = folder / "vokleague.dat";
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(path.c_str());
        state.ResumeTiming();
        data.Save(temp);
    }
    state.counters["bytes"] = static_cast<double>(vok::bench::Get(path).size());
}

void BM_SaveFullLeagueWriteByWrite(benchmark::State& state) {
    BenchFolder folder;
    VokLeagueData data = vok::test::MakeLeague(12, 5, folder.Path());
    std::string path = folder / "vokleague.dat";
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(path.c_str());
        state.ResumeTiming();
        {
            KeyValueFile file(path.c_str());
            data.WriteKeys(file);
        }
    }
}

void BM_PlainWriteOfLeagueBytes(benchmark::State& state) {
    BenchFolder folder;
    const vok::ProcessState temp = TempDirIs(folder.Path());
    VokLeagueData data = vok::test::MakeLeague(12, 5, folder.Path());
    data.Save(temp);
    std::string path = folder / "vokleague.dat";
    std::string bytes = vok::bench::Get(path);
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(path.c_str());
        state.ResumeTiming();
        vok::SystemOs().WriteWholeFile(path.c_str(), bytes.data(), bytes.size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

// The floor for Save: the same bytes written beside the file and moved over it.
void BM_AtomicWriteOfLeagueBytes(benchmark::State& state) {
    BenchFolder folder;
    const vok::ProcessState temp = TempDirIs(folder.Path());
    VokLeagueData data = vok::test::MakeLeague(12, 5, folder.Path());
    data.Save(temp);
    std::string path = folder / "vokleague.dat";
    std::string side = path + ".new";
    std::string bytes = vok::bench::Get(path);
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(path.c_str());
        state.ResumeTiming();
        vok::SystemOs().WriteWholeFile(side.c_str(), bytes.data(), bytes.size());
        vok::SystemOs().MoveReplace(side.c_str(), path.c_str());
    }
}

// What the create-league dialog and Save leave behind: 60 creature folders of
// two files each, the league file and the game copy.
void MakeFullLeagueFiles(const std::string& temp, const std::string& creatureFile) {
    for (int i = 0; i < 12; ++i) {
        for (int j = 0; j < 5; ++j) {
            std::string creature = temp + "p" + std::to_string(i) + "_vok" + std::to_string(j);
            std::filesystem::create_directory(creature);
            vok::bench::Put(creature + "/data.dat", creatureFile);
            vok::bench::Put(creature + "/model.bin", std::string(4096, '\x5A'));
        }
    }
    vok::bench::Put(temp + "vokleague.dat", std::string(20000, 'x'));
    vok::bench::Put(temp + "vok.exe", std::string(64 << 10, '\x4D'));
}

void BM_DeleteFullLeague(benchmark::State& state) {
    BenchFolder folder;
    vok::ProcessState process = TempDirIs(folder.Path());
    for (auto _ : state) {
        state.PauseTiming();
        MakeFullLeagueFiles(folder.Path(), "name = Grunt\r\n");
        process.leaguePresent = 1;
        state.ResumeTiming();
        DeleteLeague(process);
    }
    if (std::filesystem::exists(folder / "p0_vok0")) {
        state.SkipWithError("the league was not removed");
    }
}

}  // namespace

BENCHMARK(BM_SaveFullLeague)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveFullLeagueWriteByWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainWriteOfLeagueBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AtomicWriteOfLeagueBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteFullLeague)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
