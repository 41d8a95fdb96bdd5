#include "solver/solver.h"
#include "world/maps.h"

TSolveJob::TSolveJob(std::unique_ptr<TMaps> World, int MapNo, TSolveOptions Options)
    : FWorld(std::move(World)), FMapNo(MapNo), FOptions(std::move(Options)) {
  FWorld->Effects = {};
  FOptions.Cancel = &FCancel;
  FThread = std::thread([this] {
    FResult = SolveMap(*FWorld, FMapNo, FOptions);
    FDone.store(true);
  });
}

TSolveJob::~TSolveJob() { Cancel(); }

void TSolveJob::Join() {
  if (FThread.joinable()) FThread.join();
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
