#include "solver/solver.h"
#include "world/map_runner.h"
#include "world/maps.h"

TSolveJob::TSolveJob(std::unique_ptr<TMaps> World, int MapNo, TSolveOptions Options)
    : FWorld(std::move(World)), FMapNo(MapNo), FOptions(std::move(Options)) {
  Start([this] { return SolveMap(*FWorld, FMapNo, FOptions); });
}

TSolveJob::TSolveJob(std::unique_ptr<TMaps> World, const TMapRun& Run, TSolveOptions Options)
    : FWorld(std::move(World)), FFrom(std::make_unique<TMapRun>(Run)), FMapNo(Run.MapNo), FOptions(std::move(Options)) {
  Start([this] { return SolveHint(*FWorld, *FFrom, FOptions); });
}

void TSolveJob::Start(std::function<TSolveResult()> Search) {
  FWorld->Effects = {};
  FOptions.Cancel = &FCancel;
  auto Run = [this, Search = std::move(Search)] {
    FResult = Search();
    FDone.store(true);
  };
  if (VXWeb::InBrowser()) FSliced = std::make_unique<VXWeb::TSlicedTask>(std::move(Run));
  else FThread = std::thread(std::move(Run));
}

bool TSolveJob::Done() const {
  if (FSliced && !FDone.load()) FSliced->Resume();
  return FDone.load();
}

TSolveJob::~TSolveJob() { Cancel(); }

void TSolveJob::Join() {
  if (FThread.joinable()) FThread.join();
  if (FSliced)
    while (!FSliced->Resume()) {}
}

void TSolveJob::Cancel() {
  FCancel.store(true);
  Join();
}

const TSolveResult& TSolveJob::Result() {
  Join();
  return FResult;
}

std::string TSolveJob::Summary(const TSolveResult& Result) {
  switch (Result.Status) {
    case TSolveResult::TStatus::Solved: return "solved in " + std::to_string(Result.Keys.size()) + " steps";
    case TSolveResult::TStatus::Unsolvable: return "impossible";
    default: return "unknown";
  }
}
