#include "tools/sqtool/solve_format.h"

#include <cstdio>
#include <cstdlib>

#include "solver/solver.h"

namespace {
std::string Counts(const TSolveResult& R) {
  char Seconds[32];
  std::snprintf(Seconds, sizeof Seconds, "%.2f", R.Seconds);
  return "states=" + std::to_string(R.States) + " seconds=" + Seconds;
}
}  // namespace

std::string SolveReport(const TSolveResult& R, int MaxSteps) {
  switch (R.Status) {
    case TSolveResult::TStatus::Solved:
      return "status=solved steps=" + std::to_string(R.Keys.size()) + " " + Counts(R) + "\n" + R.Keys + "\n";
    case TSolveResult::TStatus::Unsolvable:
      return "status=unsolvable steps<=" + std::to_string(MaxSteps) + " " + Counts(R) + "\n";
    case TSolveResult::TStatus::Unknown: break;
  }
  return "status=unknown " + Counts(R) + "\n";
}

std::string SolveSummary(const TSolveResult& R) {
  switch (R.Status) {
    case TSolveResult::TStatus::Solved: return std::to_string(R.Keys.size());
    case TSolveResult::TStatus::Unsolvable: return "unsolvable";
    case TSolveResult::TStatus::Unknown: break;
  }
  return "unknown";
}

bool ParseSeconds(const std::string& Text, double& Seconds) {
  if (Text.empty()) return false;
  char* End = nullptr;
  const double V = std::strtod(Text.c_str(), &End);
  if (!End || *End != '\0' || !(V > 0) || V > 1e6) return false;
  Seconds = V;
  return true;
}
