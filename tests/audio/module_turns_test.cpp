// Modules decode their samples only while they have the stage: what a
// module does when another took over, and when its file's bytes are gone.
#include <gtest/gtest.h>

#include "audio/sound_system.h"
#include "tests/audio/test_sounds.h"

using namespace TestSounds;

namespace {

class ModuleTurnsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(System.Start(kNoOutputDevice, 0)); }

  // The bytes are gone once the module is loaded: it must keep its own.
  TSoundHandle Load() {
    const std::vector<uint8_t> Bytes = Xm();
    TSoundLocation L;
    L.FromMemory = true;
    L.Memory = Bytes.data();
    L.Length = static_cast<int64_t>(Bytes.size());
    const TSoundHandle M = System.LoadModule(L, SoundFlags::Loop, 0);
    EXPECT_NE(M, 0u) << System.LastError();
    return M;
  }
  std::vector<int16_t> Render(size_t Frames) {
    std::vector<int16_t> Out(Frames * 2);
    System.Render(Out.data(), Frames);
    return Out;
  }

  TSoundSystem System;
};

}  // namespace

TEST_F(ModuleTurnsTest, AStoppedModuleResumesWhereItStood) {
  const TSoundHandle M = Load();
  ASSERT_TRUE(System.Play(M, true));
  // The note sounds at the start of each 1.28 s pass, then silence.
  EXPECT_GT(Rms(Render(8000), 0, 8000), 1000);
  Render(14000);
  System.Stop(M);
  EXPECT_EQ(Peak(Render(100), 0, 100), 0);
  ASSERT_TRUE(System.Play(M, false));
  EXPECT_EQ(System.PlayedFrames(M), 22000);
  EXPECT_LT(Rms(Render(8000), 0, 8000), 10) << "resumed in the silent part";
}

TEST_F(ModuleTurnsTest, AModuleThatLostItsTurnStartsAgainFromTheBeginning) {
  const TSoundHandle First = Load(), Second = Load();
  ASSERT_TRUE(System.Play(First, true));
  Render(22000);
  System.Stop(First);
  ASSERT_TRUE(System.Play(Second, true));
  EXPECT_GT(Rms(Render(8000), 0, 8000), 1000) << "the second plays from its own bytes";
  System.Stop(Second);

  ASSERT_TRUE(System.Play(First, false));
  EXPECT_EQ(System.PlayedFrames(First), 0);
  EXPECT_GT(Rms(Render(8000), 0, 8000), 1000) << "the note of the first row again";
  EXPECT_TRUE(System.IsPlaying(First));
  EXPECT_FALSE(System.IsPlaying(Second));
  // Freeing both, playing or not, leaves the mixer quiet.
  EXPECT_TRUE(System.FreeModule(First));
  EXPECT_TRUE(System.FreeModule(Second));
  EXPECT_EQ(Peak(Render(1000), 0, 1000), 0);
}
