#pragma once
// A window under the dummy driver without frame pacing, for the play
// screen's tests: the fixture's map becomes the global Maps it plays, and
// keys are held by writing the key table.
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "graphics/video.h"
#include "tests/world/world_fixture.h"

class PlayWindowTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    VX_SDL::Start();
    VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
    VX_SDL::SetFrameRate(0);
  }
  void TearDown() override {
    VX_SDL::ClearKeys();
    VX_SDL::Finalize();
    VX_SDL::Stop();
    WorldTest::TearDown();
  }
  void Pack(const std::vector<std::string>& Rows) {
    Load(Rows);
    Maps = std::move(World);
  }
  static void Hold(std::initializer_list<int> Keys) {
    VX_SDL::ClearKeys();
    for (int K : Keys) VX_SDL::Keys[static_cast<size_t>(K)] = true;
  }
};
