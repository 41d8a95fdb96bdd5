#include "solver/solve_job.h"

#include "world/maps.h"

TEditorSolveJob::TEditorSolveJob(std::unique_ptr<TMaps> World, int MapNo, TSolveOptions Options)
    : FWorld(std::move(World)), FMapNo(MapNo), FOptions(std::move(Options)) {
  FWorld->Effects = {};
  FOptions.Cancel = &FCancel;
  FThread = std::thread([this] {
    FResult = SolveMap(*FWorld, FMapNo, FOptions);
    FDone.store(true);
  });
}

TEditorSolveJob::~TEditorSolveJob() { Cancel(); }

void TEditorSolveJob::Join() {
  if (FThread.joinable()) FThread.join();
}

void TEditorSolveJob::Cancel() {
  FCancel.store(true);
  Join();
}

const TSolveResult& TEditorSolveJob::Result() {
  Join();
  return FResult;
}

std::string TEditorSolveJob::Summary(const TSolveResult& Result) {
  switch (Result.Status) {
    case TSolveResult::TStatus::Solved: return "solved in " + std::to_string(Result.Keys.size()) + " steps";
    case TSolveResult::TStatus::Unsolvable: return "impossible";
    default: return "unknown";
  }
}
