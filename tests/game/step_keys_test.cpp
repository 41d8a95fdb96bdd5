#include "game/step_keys.h"

#include <gtest/gtest.h>

#include "graphics/key_codes.h"

namespace {

std::string Arrows(const TElfKeys& K) {
  return std::string(K.Up ? "U" : "") + (K.Down ? "D" : "") + (K.Left ? "L" : "") + (K.Right ? "R" : "");
}

TEST(StepKeysTest, APressSinceTheLastStepCountsOnceHeldOrNot) {
  std::array<bool, 512> Held{};
  EXPECT_EQ(Arrows(StepElfKeys(Held, {})), "");
  // A tap already over when the step comes.
  EXPECT_EQ(Arrows(StepElfKeys(Held, {VXKey::Left})), "L");
  // Two taps between steps: the later one alone.
  EXPECT_EQ(Arrows(StepElfKeys(Held, {VXKey::Left, VXKey::Up})), "U");
  // Keys that are no arrows do not hide an arrow pressed before them.
  EXPECT_EQ(Arrows(StepElfKeys(Held, {VXKey::Down, VXKey::Space, VXKey::Letter('p')})), "D");
  EXPECT_EQ(Arrows(StepElfKeys(Held, {VXKey::Space})), "");

  // Without a new press the held arrows count, each step.
  Held[VXKey::Right] = true;
  Held[VXKey::Up] = true;
  EXPECT_EQ(Arrows(StepElfKeys(Held, {})), "UR");
  // A new press wins over what is held.
  EXPECT_EQ(Arrows(StepElfKeys(Held, {VXKey::Down})), "D");
}

}  // namespace
