#include "audio/sound_system.h"

#include <gtest/gtest.h>

#include "audio/pcm_sound.h"
#include "tests/audio/test_sounds.h"
#include "tests/support/test_support.h"

using namespace TestSounds;

namespace {

// A started sound system without a device, and sound bytes that live as long
// as the test.
class SoundSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(System.Start(kNoOutputDevice, 0)); }

  TSoundLocation Memory(const std::vector<uint8_t>& Bytes) {
    TSoundLocation L;
    L.FromMemory = true;
    L.Memory = Bytes.data();
    L.Length = static_cast<int64_t>(Bytes.size());
    return L;
  }
  TSoundHandle Sample(const std::vector<uint8_t>& Bytes, int32_t Max, uint32_t Flags) {
    return System.LoadSample(Memory(Bytes), Max, Flags);
  }
  TSoundHandle PlayNew(TSoundHandle S) {
    const TSoundHandle C = System.SampleChannel(S, false);
    EXPECT_NE(C, 0u);
    EXPECT_TRUE(System.Play(C, false));
    return C;
  }
  std::vector<int16_t> Render(size_t Frames) {
    std::vector<int16_t> Out(Frames * 2);
    System.Render(Out.data(), Frames);
    return Out;
  }

  TSoundSystem System;
};

// A constant level is easy to follow through the mixer.
std::vector<uint8_t> ConstantWav(int16_t Level, size_t Frames, int Rate = 44100) {
  return Wav(std::vector<int16_t>(Frames * 2, Level), Rate);
}

}  // namespace

TEST(SoundSystemStartTest, NothingLoadsBeforeStartAndStartIsOnce) {
  TSoundSystem S;
  const auto Bytes = ConstantWav(1000, 100);
  TSoundLocation L{true, Bytes.data(), "", 0, static_cast<int64_t>(Bytes.size())};
  EXPECT_EQ(S.LoadSample(L, 1, 0), 0u);
  EXPECT_EQ(S.CreateStream(L, 0), 0u);
  EXPECT_EQ(S.LoadModule(L, 0, 0), 0u);
  EXPECT_FALSE(S.Start(kNoOutputDevice, 22050)) << "only the mix rate";
  EXPECT_TRUE(S.Start(kNoOutputDevice, 0));
  EXPECT_FALSE(S.Start(kNoOutputDevice, 0));
  EXPECT_NE(S.LoadSample(L, 1, 0), 0u);
  EXPECT_EQ(TSoundSystem::Version() >> 16, 0x0204u);
}

TEST_F(SoundSystemTest, SamplePlaysOnceAtFullScaleThenFallsSilent) {
  const auto Bytes = ConstantWav(8000, 1000);
  const TSoundHandle S = Sample(Bytes, 1, 0);
  ASSERT_NE(S, 0u) << System.LastError();
  const TSoundHandle C = PlayNew(S);
  const auto Out = Render(1500);
  EXPECT_EQ(Out[0], 8000);
  EXPECT_EQ(Out[999 * 2 + 1], 8000);
  EXPECT_EQ(Peak(Out, 1000, 1500), 0);
  EXPECT_FALSE(System.IsPlaying(C));
  // Playing an ended channel again starts it over.
  EXPECT_TRUE(System.Play(C, false));
  EXPECT_EQ(Render(10)[0], 8000);
}

TEST_F(SoundSystemTest, DefaultFrequencyResamples) {
  // 1000 frames at 22050 Hz last 2000 output frames; at 88200 only 500.
  const auto Bytes = ConstantWav(4000, 1000, 22050);
  const TSoundHandle S = Sample(Bytes, 1, 0);
  TSampleInfo Info;
  ASSERT_TRUE(System.GetSampleInfo(S, Info));
  EXPECT_EQ(Info.Frequency, 22050);
  EXPECT_EQ(Info.Length, 1000u);
  PlayNew(S);
  auto Out = Render(2100);
  EXPECT_EQ(Out[1990 * 2], 4000);
  EXPECT_EQ(Out[2010 * 2], 0);

  Info.Frequency = 88200;
  ASSERT_TRUE(System.SetSampleInfo(S, Info));
  PlayNew(S);
  Out = Render(600);
  EXPECT_EQ(Out[490 * 2], 4000);
  EXPECT_EQ(Out[510 * 2], 0);
}

TEST_F(SoundSystemTest, ResamplingInterpolatesBetweenFrames) {
  // Two frames 0 and 10000 at half speed: the in-between output is 5000.
  const auto Bytes = Wav({0, 0, 10000, 10000, 10000, 10000}, 22050);
  PlayNew(Sample(Bytes, 1, 0));
  const auto Out = Render(4);
  EXPECT_EQ(Out[0], 0);
  EXPECT_EQ(Out[2], 5000);
  EXPECT_EQ(Out[4], 10000);
}

TEST_F(SoundSystemTest, EqualSidesAreHeldOnceAndDifferentSidesStayApart) {
  TPcmSound Pcm;
  Pcm.Samples = {5, 5, -7, -7, 9, 9};
  ASSERT_TRUE(Pcm.FoldToMono());
  EXPECT_EQ(Pcm.Channels, 1u);
  EXPECT_EQ(Pcm.Frames(), 3u);
  EXPECT_EQ(Pcm.Samples, (std::vector<int16_t>{5, -7, 9}));
  EXPECT_FALSE(Pcm.FoldToMono()) << "already mono";
  TPcmSound Wide;
  Wide.Samples = {5, 5, -7, 7};
  EXPECT_FALSE(Wide.FoldToMono());
  EXPECT_EQ(Wide.Frames(), 2u);

  // A mono sound plays on both sides, resampled and looped like any other:
  // frames 0 and 8000 at half speed, the last one blending into the first.
  const auto Mono = Wav({0, 0, 8000, 8000}, 22050);
  PlayNew(Sample(Mono, 1, SoundFlags::Loop));
  auto Out = Render(5);
  EXPECT_EQ(std::vector<int16_t>(Out.begin(), Out.begin() + 10),
            (std::vector<int16_t>{0, 0, 4000, 4000, 8000, 8000, 4000, 4000, 0, 0}));
}

TEST_F(SoundSystemTest, DifferentSidesStayApart) {
  const auto Stereo = Wav({1000, -2000, 3000, -4000}, 44100);
  PlayNew(Sample(Stereo, 1, 0));
  const auto Out = Render(3);
  EXPECT_EQ(Out, (std::vector<int16_t>{1000, -2000, 3000, -4000, 0, 0}));
}

TEST_F(SoundSystemTest, MaximumOneRestartsInsteadOfLayering) {
  const auto Bytes = ConstantWav(10000, 44100);
  const TSoundHandle S = Sample(Bytes, 1, SoundFlags::TakeOverOldest);
  const TSoundHandle First = PlayNew(S);
  Render(1000);
  const TSoundHandle Second = PlayNew(S);
  EXPECT_EQ(Second, First) << "the one channel is taken over";
  EXPECT_EQ(System.PlayedFrames(Second), 0) << "and starts from the beginning";
  const auto Out = Render(100);
  EXPECT_EQ(Peak(Out, 0, 100), 10000) << "one voice, not two";
}

TEST_F(SoundSystemTest, FourthPlayOfMaximumThreeTakesOverTheOldest) {
  const auto Bytes = ConstantWav(1000, 44100);
  const TSoundHandle S = Sample(Bytes, 3, SoundFlags::TakeOverOldest);
  std::vector<TSoundHandle> C;
  for (int I = 0; I < 3; ++I) {
    C.push_back(PlayNew(S));
    Render(100);
  }
  EXPECT_EQ(Render(1)[0], 3000) << "three voices layer";
  const TSoundHandle Fourth = PlayNew(S);
  EXPECT_EQ(Fourth, C[0]);
  EXPECT_EQ(System.PlayedFrames(C[1]), 201);
  EXPECT_EQ(System.PlayedFrames(C[2]), 101);
  EXPECT_EQ(Render(1)[0], 3000) << "still three voices";
}

TEST_F(SoundSystemTest, BusySampleWithoutTakeOverRefusesAChannel) {
  const auto Bytes = ConstantWav(1000, 44100);
  const TSoundHandle S = Sample(Bytes, 1, 0);
  PlayNew(S);
  EXPECT_EQ(System.SampleChannel(S, false), 0u);
  EXPECT_EQ(System.SampleChannel(S, true), 0u);
}

TEST_F(SoundSystemTest, VolumePanAndClipping) {
  const auto Bytes = ConstantWav(20000, 44100);
  const TSoundHandle S = Sample(Bytes, 4, 0);
  TSampleInfo Info;
  System.GetSampleInfo(S, Info);
  Info.Volume = 0.5f;
  Info.Pan = 0.5f;  // right of centre: left at half, right full
  System.SetSampleInfo(S, Info);
  const TSoundHandle C = PlayNew(S);
  auto Out = Render(1);
  EXPECT_EQ(Out[0], 5000);
  EXPECT_EQ(Out[1], 10000);

  ASSERT_TRUE(System.SetAttribute(C, TSoundAttribute::Pan, -1));
  Out = Render(1);
  EXPECT_EQ(Out[0], 10000);
  EXPECT_EQ(Out[1], 0);

  // Three full voices add up past 16 bits and are clipped, not wrapped.
  System.SetAttribute(C, TSoundAttribute::Volume, 1);
  System.SetAttribute(C, TSoundAttribute::Pan, 0);
  Info.Volume = 1;
  Info.Pan = 0;
  System.SetSampleInfo(S, Info);
  PlayNew(S);
  PlayNew(S);
  Out = Render(1);
  EXPECT_EQ(Out[0], 32767);
  EXPECT_EQ(Out[1], 32767);

  // Out-of-range values are clamped by the mixer.
  System.SetAttribute(C, TSoundAttribute::Volume, 7);
  float V = 0;
  System.GetAttribute(C, TSoundAttribute::Volume, V);
  EXPECT_EQ(V, 7.0f) << "kept as given";
}

TEST_F(SoundSystemTest, LoopedSampleWrapsAndStopHolds) {
  const auto Bytes = ConstantWav(3000, 100);
  const TSoundHandle C = PlayNew(Sample(Bytes, 1, SoundFlags::Loop));
  auto Out = Render(1000);
  EXPECT_EQ(Out[999 * 2], 3000);
  EXPECT_TRUE(System.IsPlaying(C));
  System.Stop(C);
  EXPECT_EQ(Peak(Render(10), 0, 10), 0);
  EXPECT_FALSE(System.Play(0, false));
  EXPECT_FALSE(System.Stop(12345));
}

TEST_F(SoundSystemTest, FreedSampleTakesItsChannelsAlong) {
  const auto Bytes = ConstantWav(3000, 44100);
  const TSoundHandle S = Sample(Bytes, 1, 0);
  const TSoundHandle C = PlayNew(S);
  EXPECT_TRUE(System.FreeSample(S));
  EXPECT_FALSE(System.FreeSample(S));
  EXPECT_FALSE(System.IsPlaying(C));
  EXPECT_EQ(Peak(Render(10), 0, 10), 0);
  TSampleInfo Info;
  EXPECT_FALSE(System.GetSampleInfo(S, Info));
}

TEST_F(SoundSystemTest, Mp3SampleDecodesWhole) {
  const auto Tone = Sine(440, 0.5, 44100);
  const auto Bytes = Mp3(Tone, 44100);
  ASSERT_GT(Bytes.size(), 1000u);
  const TSoundHandle S = Sample(Bytes, 1, 0);
  ASSERT_NE(S, 0u) << System.LastError();
  TSampleInfo Info;
  System.GetSampleInfo(S, Info);
  EXPECT_EQ(Info.Frequency, 44100);
  EXPECT_NEAR(Info.Length, 22050u, 100u) << "encoder delay and padding removed";
  PlayNew(S);
  const auto Out = Render(44100);
  EXPECT_NEAR(Rms(Out, 2000, 20000), Rms(Tone, 2000, 20000), 800);
  EXPECT_LT(Rms(Out, 24000, 44100), 50) << "no loop";
}

TEST_F(SoundSystemTest, BadSampleDataFailsWithAZeroHandle) {
  const auto Good = Wav(Sine(440, 0.1, 44100), 44100);
  auto LongData = Good;
  LongData[40] = 0xFF;  // data size far beyond the file
  auto BadAlign = Good;
  BadAlign[32] = 3;  // block align contradicting two 16-bit channels
  const auto Mp3Bytes = Mp3(Sine(440, 0.5, 44100), 44100);
  const std::vector<uint8_t> Truncated(Mp3Bytes.begin(), Mp3Bytes.begin() + 40);
  const std::vector<uint8_t> Text(5000, 'A');
  for (const std::vector<uint8_t>& Bytes : {LongData, BadAlign, Truncated, Text})
    EXPECT_EQ(Sample(Bytes, 1, 0), 0u) << System.LastError();
  EXPECT_EQ(Sample(Good, 0, 0), 0u) << "maximum below 1";
  TSoundLocation Missing;
  Missing.Path = "no/such/file.wav";
  EXPECT_EQ(System.LoadSample(Missing, 1, 0), 0u);
  EXPECT_EQ(System.LoadSample(TSoundLocation{}, 1, 0), 0u) << "empty path";
  EXPECT_NE(Sample(Good, 1, 0), 0u);
}

TEST_F(SoundSystemTest, SampleFromAFileWindow) {
  TTempDir Dir;
  const auto Bytes = ConstantWav(2500, 100);
  // The sound between 7 bytes before it and 5 after.
  std::vector<uint8_t> File(7 + Bytes.size() + 5, 0xEE);
  std::copy(Bytes.begin(), Bytes.end(), File.begin() + 7);
  const std::string Path = Dir.File("pack.bin");
  WriteFileBytes(Path, File);
  TSoundLocation L;
  L.Path = Path;
  L.Offset = 7;
  L.Length = static_cast<int64_t>(Bytes.size());
  const TSoundHandle S = System.LoadSample(L, 1, 0);
  ASSERT_NE(S, 0u) << System.LastError();
  PlayNew(S);
  EXPECT_EQ(Render(1)[0], 2500);
  L.Offset = static_cast<int64_t>(File.size()) + 1;
  EXPECT_EQ(System.LoadSample(L, 1, 0), 0u) << "offset past the end";
}

TEST_F(SoundSystemTest, LoopingStreamKeepsPlayingPastItsEnd) {
  const auto Bytes = Mp3(Sine(440, 0.3, 44100), 44100);
  const TSoundHandle Looping = System.CreateStream(Memory(Bytes), SoundFlags::Loop);
  ASSERT_NE(Looping, 0u) << System.LastError();
  ASSERT_TRUE(System.Play(Looping, false));
  const auto Out = Render(44100);
  EXPECT_GT(Rms(Out, 30000, 44100), 5000) << "still sounding after three lengths";
  EXPECT_TRUE(System.IsPlaying(Looping));

  System.Stop(Looping);
  const TSoundHandle Once = System.CreateStream(Memory(Bytes), 0);
  System.Play(Once, false);
  const auto Out2 = Render(44100);
  EXPECT_GT(Rms(Out2, 1000, 10000), 5000);
  EXPECT_EQ(Peak(Out2, 20000, 44100), 0);
  EXPECT_FALSE(System.IsPlaying(Once));
  EXPECT_TRUE(System.FreeStream(Once));
  EXPECT_FALSE(System.FreeStream(Once));
}

TEST_F(SoundSystemTest, StreamAtAnotherRateIsResampled) {
  // One second at 22050 Hz plays for one second of output.
  const auto Bytes = Mp3(Sine(300, 1.0, 22050), 22050);
  const TSoundHandle S = System.CreateStream(Memory(Bytes), 0);
  ASSERT_NE(S, 0u) << System.LastError();
  System.Play(S, false);
  const auto Out = Render(60000);
  EXPECT_GT(Rms(Out, 38000, 42000), 5000);
  EXPECT_EQ(Peak(Out, 46000, 60000), 0);
  // About 300 rising zero crossings per second.
  int Crossings = 0;
  for (size_t I = 4410; I < 4410 + 22050; ++I) Crossings += Out[I * 2] < 0 && Out[I * 2 + 2] >= 0;
  EXPECT_NEAR(Crossings, 150, 3);
}

TEST_F(SoundSystemTest, StreamVolumeAndRestart) {
  const auto Bytes = Mp3(Sine(440, 1.0, 44100), 44100);
  const TSoundHandle S = System.CreateStream(Memory(Bytes), SoundFlags::Loop);
  System.Play(S, false);
  const auto Full = Render(8000);
  System.Play(S, true);
  System.SetAttribute(S, TSoundAttribute::Volume, 0.25f);
  const auto Quarter = Render(8000);
  for (size_t I = 2000; I < 8000; I += 97) EXPECT_NEAR(Quarter[I * 2], Full[I * 2] / 4.0, 1.0);
}

TEST_F(SoundSystemTest, ModuleLoopsAndRestartsFromTheBeginning) {
  const auto Bytes = Xm();
  const TSoundHandle M = System.LoadModule(Memory(Bytes), SoundFlags::Loop | SoundFlags::Ramping, 0);
  ASSERT_NE(M, 0u) << System.LastError();
  ASSERT_TRUE(System.Play(M, true));
  // One pass lasts 1.28 s: the note at the start, then silence, then again.
  const auto Out = Render(44100 * 2);
  EXPECT_GT(Rms(Out, 0, 8000), 1000);
  EXPECT_LT(Rms(Out, 22050, 55000), 10);
  EXPECT_GT(Rms(Out, 56500, 64000), 1000) << "the second pass";
  EXPECT_TRUE(System.IsPlaying(M));

  System.Stop(M);
  EXPECT_EQ(Peak(Render(100), 0, 100), 0);
  ASSERT_TRUE(System.Play(M, true));
  const auto Again = Render(8000);
  EXPECT_GT(Rms(Again, 0, 8000), 1000);
  int Differences = 0;
  for (size_t I = 0; I < 8000 * 2; ++I) Differences += std::abs(Again[I] - Out[I]) > 64;
  EXPECT_LT(Differences, 80) << "the restart sounds like the first start";

  ASSERT_TRUE(System.SetAttribute(M, TSoundAttribute::Volume, 0));
  System.Play(M, true);
  EXPECT_EQ(Peak(Render(4000), 0, 4000), 0);
  EXPECT_FALSE(System.SetAttribute(M, TSoundAttribute::Frequency, 22050));
}

TEST_F(SoundSystemTest, ModuleWithoutLoopEnds) {
  const auto Bytes = Xm();
  const TSoundHandle M = System.LoadModule(Memory(Bytes), 0, 0);
  ASSERT_NE(M, 0u);
  System.Play(M, true);
  const auto Out = Render(44100 * 2);
  EXPECT_LT(Rms(Out, 56500, 64000), 10);
  EXPECT_FALSE(System.IsPlaying(M));
}

TEST_F(SoundSystemTest, BadModulesFail) {
  const std::vector<uint8_t> Text(3000, 'x');
  EXPECT_EQ(System.LoadModule(Memory(Text), SoundFlags::Loop, 0), 0u);
  auto Cut = Xm();
  Cut.resize(60);
  EXPECT_EQ(System.LoadModule(Memory(Cut), SoundFlags::Loop, 0), 0u);
  // A sample claiming gigabytes: refused or cut to the data present, but
  // neither a crash nor a huge allocation.
  TXmOptions Huge;
  Huge.ClaimedLength = 0xF0000000u;
  const auto Greedy = Xm(Huge);
  const TSoundHandle M = System.LoadModule(Memory(Greedy), SoundFlags::Loop, 0);
  if (M) {
    System.Play(M, true);
    Render(4410);
  }
  EXPECT_EQ(System.LoadModule(Memory(Text), SoundFlags::Loop, 11025), 0u) << "only the mix rate";
}
