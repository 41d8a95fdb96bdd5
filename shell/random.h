#pragma once
// The pseudo-random generator, one per thread (each starts from the same
// fixed seed). The main thread's is seeded from the clock at start-up; a
// seed makes a run repeatable (headless runs, tests).
#include <cstdint>

namespace VXRandom {

void Seed(uint32_t Value);
// Uniform in 0 .. Range - 1; 0 when Range <= 0.
int32_t Next(int32_t Range);

}  // namespace VXRandom
