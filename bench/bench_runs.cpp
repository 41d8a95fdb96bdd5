// Loading the players' runs file, and looking one run up, at 50,000 and
// 200,000 runs. The game loads the file when a player is added and when the
// map selection opens: the target is 200,000 runs (some 20 MB) in well under
// a second, growing with the file and no faster.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "registry/run_store.h"

namespace {
std::vector<TRun> ManyRuns(int Count) {
  std::vector<TRun> Runs;
  Runs.reserve(static_cast<size_t>(Count));
  for (int32_t I = 0; I < Count; ++I)
    Runs.push_back({I % 400, "Pack" + std::to_string(I % 5) + ".sq", I / 400, std::string(40 + I % 60, 'R')});
  return Runs;
}

// The file lives in the system's temporary folder while the benchmark runs.
class TRunsFile {
 public:
  explicit TRunsFile(int Count)
      : FPath((std::filesystem::temp_directory_path() /
               ("bench_runs." + std::to_string(getpid()) + "." + std::to_string(Count) + ".runs"))
                  .string()) {
    const std::vector<uint8_t> Bytes = TRunStore::Encode(ManyRuns(Count));
    std::ofstream(FPath, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()), Bytes.size());
  }
  ~TRunsFile() { std::remove(FPath.c_str()); }
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

void LoadRuns(benchmark::State& State) {
  const TRunsFile File(static_cast<int>(State.range(0)));
  for (auto _ : State) {
    TRunStore Store(File.Path());
    if (Store.LoadedDamaged()) State.SkipWithError("the file did not load");
    benchmark::DoNotOptimize(Store.Runs().data());
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void FindRun(benchmark::State& State) {
  const TRunsFile File(static_cast<int>(State.range(0)));
  TRunStore Store(File.Path());
  int32_t MapNo = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(Store.Best(123, "pack3.sq", MapNo));
    MapNo = (MapNo + 1) % 100;
  }
}
}  // namespace

BENCHMARK(LoadRuns)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(FindRun)->Arg(200000)->Unit(benchmark::kNanosecond);
