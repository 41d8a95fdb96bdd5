#pragma once
// TEditorSolveJob: the solver run on a copy of the world on its own thread,
// so that the editor's screen keeps drawing and reading keys meanwhile.
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "solver/solver.h"

class TMaps;

class TEditorSolveJob {
 public:
  // Starts solving map MapNo of World (the job owns the copy).
  TEditorSolveJob(std::unique_ptr<TMaps> World, int MapNo, TSolveOptions Options);
  // Cancels and waits: no thread outlives the job.
  ~TEditorSolveJob();
  TEditorSolveJob(const TEditorSolveJob&) = delete;
  TEditorSolveJob& operator=(const TEditorSolveJob&) = delete;

  bool Done() const { return FDone.load(); }
  // Asks the search to stop and waits for it; the result then says unknown.
  void Cancel();
  // Valid once Done (after Cancel too).
  const TSolveResult& Result();
  int MapNo() const { return FMapNo; }

  // "solved in N steps", "impossible" or "unknown".
  static std::string Summary(const TSolveResult& Result);

 private:
  void Join();

  std::unique_ptr<TMaps> FWorld;
  int FMapNo;
  TSolveOptions FOptions;
  TSolveResult FResult;
  std::atomic<bool> FCancel{false};
  std::atomic<bool> FDone{false};
  std::thread FThread;
};
