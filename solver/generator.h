#pragma once
// Maps made from a number: random quarries kept only when the solver finds
// a way through them that is long enough and needs more than digging. The
// search is bounded by states, never by time, so a seed gives the same map
// on every machine.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "solver/solver.h"

class TXMap;

struct TGenerateOptions {
  // 1 to 5: only maps whose rating rounds to it are kept; 0 keeps any.
  int Difficulty = 0;
  // The shortest way a kept map may have.
  int MinSteps = 30;
  // The states one search of a candidate may expand.
  int64_t MaxStates = 60000;
  // Candidates tried for one map before giving up.
  int MaxCandidates = 5000;
};

struct TGeneratedMap {
  std::shared_ptr<TXMap> Map;
  std::string Keys;   // the solver's script through it
  uint32_t Seed = 0;  // the candidate seed that made it
  TMapRating Rating;
};

// The candidate seed tried after Seed.
uint32_t NextCandidateSeed(uint32_t Seed);

// The map the candidate Seed makes for a difficulty, settled (nothing left
// falling) but not yet searched; null when it came out unplayable (the
// elf crushed, something blown up while settling).
std::shared_ptr<TXMap> CandidateMap(uint32_t Seed, int Difficulty);

// True when the map, still as it starts, cannot be completed by walking
// and digging alone: some diamond or every exit lies beyond cells the elf
// can neither walk nor dig through, so every way through it (not only the
// solver's) must make something fall, roll, be pushed or blow up, or ride a
// balloon or a tunnel.
bool NeedsMoreThanDigging(const TXMap& Map);

// Tries the candidates from Seed on until one is kept (Out filled, Seed set
// past it) or MaxCandidates were tried (false). Progress, when given, hears
// each candidate tried and may return false to stop (then false). Needs the
// block images (the exit's animation decides when it opens).
bool GenerateMap(uint32_t& Seed, const TGenerateOptions& Options, TGeneratedMap& Out,
                 const std::function<bool(int Tried)>& Progress = {});

// A name for a generated map, made from its seed ("Crooked Seam").
std::string GeneratedMapName(uint32_t Seed);
