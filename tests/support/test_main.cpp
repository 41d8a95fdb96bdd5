// Test entry: headless SDL drivers, and a parameter list for the modules
// that read it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/parameters.h"

int main(int Argc, char** Argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ::testing::InitGoogleTest(&Argc, Argv);
  Parameters = TParameters::FromCommandLine(1, Argv);
  const int Result = RUN_ALL_TESTS();
  Parameters.reset();
  return Result;
}
