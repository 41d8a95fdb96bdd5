#pragma once
// The solver's results as sqtool prints them (solve, pack check --solve).
#include <string>

struct TSolveResult;

// "status=solved steps=N states=S seconds=T" and the script on a second
// line; "status=unsolvable steps<=N ..." or "status=unknown ...".
std::string SolveReport(const TSolveResult& Result, int MaxSteps);
// The short form for a table: the script's length, "unsolvable" or "unknown".
std::string SolveSummary(const TSolveResult& Result);
// A positive number of seconds ("60", "0.5"); false for anything else.
bool ParseSeconds(const std::string& Text, double& Seconds);
