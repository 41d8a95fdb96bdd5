// sqtool audio render, run as a program on sounds made here.
#include <gtest/gtest.h>

#include "audio/wav_file.h"
#include "shell/memory_stream.h"
#include "shell/toolbox.h"
#include "tests/audio/test_sounds.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

using namespace TestSounds;

namespace {
class AudioTool : public ::testing::Test {
 protected:
  // The rendered file as stereo frames; checks its format on the way.
  std::vector<int16_t> Rendered(const std::string& Name) {
    TMemoryStream S(ReadFileBytes(Dir.File(Name)));
    TPcmSound Sound;
    std::string Error;
    EXPECT_TRUE(ReadWav(S, Sound, Error)) << Error;
    EXPECT_EQ(Sound.Rate, 44100u);
    return Sound.Samples;
  }
  TTempDir Dir;
  // "sqtool audio" in Dir; errors join the output.
  const TSqtool Audio{Dir.Path(), "audio"};
};
}  // namespace

TEST_F(AudioTool, RendersAnMp3LoopingForTheWholeTime) {
  WriteFileBytes(Dir.File("tone.mp3"), Mp3(Sine(440, 0.5, 44100), 44100));
  std::string Out;
  ASSERT_EQ(Audio.RunJoined("render tone.mp3 1.5 out.wav", &Out), 0) << Out;
  EXPECT_EQ(Out.rfind("out.wav: 66150 frames (1.500 s), 44100 Hz stereo 16-bit, peak ", 0), 0u) << Out;
  const auto S = Rendered("out.wav");
  ASSERT_EQ(S.size(), 66150u * 2);
  EXPECT_GT(Rms(S, 2000, 20000), 5000);
  EXPECT_GT(Rms(S, 50000, 66150), 5000) << "looped past its end";
}

TEST_F(AudioTool, RendersAModuleAndAWav) {
  WriteFileBytes(Dir.File("song.xm"), Xm());
  std::string Out;
  ASSERT_EQ(Audio.RunJoined("render song.xm 2 song.wav", &Out), 0) << Out;
  const auto Song = Rendered("song.wav");
  ASSERT_EQ(Song.size(), 88200u * 2);
  EXPECT_GT(Rms(Song, 0, 8000), 1000);
  EXPECT_LT(Rms(Song, 22050, 55000), 10);
  EXPECT_GT(Rms(Song, 56500, 64000), 1000) << "the second pass at 1.28 s";

  WriteFileBytes(Dir.File("blip.wav"), Wav(Sine(1000, 0.25, 22050), 22050));
  ASSERT_EQ(Audio.RunJoined("render blip.wav 1 blip-out.wav", &Out), 0) << Out;
  const auto Blip = Rendered("blip-out.wav");
  EXPECT_GT(Rms(Blip, 0, 11000), 5000);
  EXPECT_EQ(Peak(Blip, 11100, 44100), 0) << "an effect plays once";
}

TEST_F(AudioTool, FailuresSayWhy) {
  WriteFileText(Dir.File("notes.txt"), "not a sound at all, just words\n");
  std::string Out;
  EXPECT_EQ(Audio.RunJoined("render missing.xm 1 x.wav", &Out), 1);
  EXPECT_EQ(Out, "sqtool: OpenStream failed: missing.xm\n");
  EXPECT_EQ(Audio.RunJoined("render notes.txt 1 x.wav", &Out), 1);
  EXPECT_EQ(Out.rfind("sqtool: cannot play notes.txt: ", 0), 0u) << Out;
  EXPECT_EQ(Audio.RunJoined("render notes.txt 0 x.wav", &Out), 1);
  EXPECT_EQ(Audio.RunJoined("render notes.txt", &Out), 1);
  EXPECT_EQ(Out, "sqtool: usage: sqtool audio render NAME SECONDS OUTFILE\n");
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("x.wav")));
}

TEST_F(AudioTool, SnrComparesTwoRenderings) {
  const auto Tone = Sine(440, 0.5, 44100);
  std::vector<int16_t> Softer(Tone.size());
  for (size_t I = 0; I < Tone.size(); ++I) Softer[I] = static_cast<int16_t>(Tone[I] * 9 / 10);
  WriteFileBytes(Dir.File("a.wav"), Wav(Tone, 44100));
  WriteFileBytes(Dir.File("b.wav"), Wav(Softer, 44100));
  WriteFileBytes(Dir.File("short.wav"), Wav(std::vector<int16_t>(Tone.begin(), Tone.begin() + 2000), 44100));
  WriteFileBytes(Dir.File("slow.wav"), Wav(Tone, 22050));
  std::string Out;
  ASSERT_EQ(Audio.RunJoined("snr a.wav a.wav", &Out), 0) << Out;
  EXPECT_EQ(Out, "SNR identical over 22050 frames, largest difference 0\n");
  // A tenth off everywhere: the difference has a hundredth of the power.
  ASSERT_EQ(Audio.RunJoined("snr a.wav b.wav", &Out), 0) << Out;
  EXPECT_EQ(Out.rfind("SNR 20.0 dB over 22050 frames, largest difference ", 0), 0u) << Out;
  ASSERT_EQ(Audio.RunJoined("snr a.wav short.wav", &Out), 0) << Out;
  EXPECT_EQ(Out, "SNR identical over 1000 frames, largest difference 0 (lengths differ: 22050 and 1000 frames)\n");
  EXPECT_EQ(Audio.RunJoined("snr a.wav slow.wav", &Out), 1);
  EXPECT_EQ(Out, "sqtool: the two files have different rates\n");
  EXPECT_EQ(Audio.RunJoined("snr a.wav missing.wav", &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot open missing.wav\n");
  EXPECT_EQ(Audio.RunJoined("snr a.wav", &Out), 1);
}
