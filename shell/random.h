#pragma once
// The one process-wide pseudo-random generator. Seeded from the clock at
// start-up; a seed makes a run repeatable (headless runs, tests).
#include <cstdint>

namespace VXRandom {

void Seed(uint32_t Value);
// Uniform in 0 .. Range - 1; 0 when Range <= 0.
int32_t Next(int32_t Range);

}  // namespace VXRandom
