#include "audio/wav_file.h"

#include <gtest/gtest.h>

#include "shell/memory_stream.h"
#include "tests/audio/test_sounds.h"

using namespace TestSounds;

namespace {

// A WAV with a free-form format block and data, plus any extra chunk first.
std::vector<uint8_t> RawWav(uint16_t Tag, uint16_t Channels, uint32_t Rate, uint16_t Bits,
                            const std::vector<uint8_t>& Data, const std::vector<uint8_t>& Extra = {}) {
  std::vector<uint8_t> B;
  PutText(B, "RIFF", 4);
  Put32(B, 0);
  PutText(B, "WAVE", 4);
  B.insert(B.end(), Extra.begin(), Extra.end());
  PutText(B, "fmt ", 4);
  Put32(B, 16);
  Put16(B, Tag);
  Put16(B, Channels);
  Put32(B, Rate);
  Put32(B, Rate * Channels * Bits / 8);
  Put16(B, static_cast<uint16_t>(Channels * Bits / 8));
  Put16(B, Bits);
  PutText(B, "data", 4);
  Put32(B, static_cast<uint32_t>(Data.size()));
  B.insert(B.end(), Data.begin(), Data.end());
  return B;
}

bool Read(const std::vector<uint8_t>& Bytes, TPcmSound& Sound, std::string& Error) {
  TMemoryStream S(Bytes);
  return ReadWav(S, Sound, Error);
}

}  // namespace

TEST(WavFileTest, WrittenFileReadsBackTheSameFrames) {
  const auto Tone = Sine(1000, 0.01, 32000);
  TMemoryStream S;
  ASSERT_TRUE(WriteWav(S, Tone.data(), Tone.size() / 2, 2, 32000));
  EXPECT_EQ(S.Data(), Wav(Tone, 32000)) << "the canonical 44-byte header";
  S.Seek(0);
  EXPECT_TRUE(LooksLikeWav(S));
  EXPECT_EQ(S.Position(), 0);
  TPcmSound Sound;
  std::string Error;
  ASSERT_TRUE(ReadWav(S, Sound, Error)) << Error;
  EXPECT_EQ(Sound.Rate, 32000u);
  EXPECT_EQ(Sound.Samples, Tone);
}

TEST(WavFileTest, EncodingsBecomeStereo16Bit) {
  TPcmSound Sound;
  std::string Error;
  // 8-bit unsigned mono, after an odd-sized chunk that is padded to even.
  const std::vector<uint8_t> Odd = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 1, 2, 3, 0};
  ASSERT_TRUE(Read(RawWav(1, 1, 8000, 8, {128, 255, 0}, Odd), Sound, Error)) << Error;
  EXPECT_EQ(Sound.Samples, (std::vector<int16_t>{0, 0, 32512, 32512, -32768, -32768}));
  // 24-bit stereo keeps the upper 16 bits.
  ASSERT_TRUE(Read(RawWav(1, 2, 48000, 24, {0x00, 0x34, 0x12, 0xFF, 0xFF, 0x80}), Sound, Error)) << Error;
  EXPECT_EQ(Sound.Samples, (std::vector<int16_t>{0x1234, static_cast<int16_t>(0x80FF)}));
  // 32-bit float, clamped.
  std::vector<uint8_t> Floats;
  for (float F : {0.5f, -2.0f}) {
    uint32_t Bits;
    std::memcpy(&Bits, &F, 4);
    Put32(Floats, Bits);
  }
  ASSERT_TRUE(Read(RawWav(3, 2, 44100, 32, Floats), Sound, Error)) << Error;
  EXPECT_EQ(Sound.Samples, (std::vector<int16_t>{16384, -32767}));
}

TEST(WavFileTest, LyingOrUnsupportedHeadersAreRefused) {
  const std::vector<uint8_t> Data(400, 0);
  auto Past = RawWav(1, 2, 44100, 16, Data);
  Past[40] = 0xFF;  // data size beyond the file
  auto BadAlign = RawWav(1, 2, 44100, 16, Data);
  BadAlign[32] = 2;
  auto FmtTooLong = RawWav(1, 2, 44100, 16, Data);
  FmtTooLong[16] = 0xF0;  // format chunk running past the end
  const std::vector<std::vector<uint8_t>> Bad = {
      Past,
      BadAlign,
      FmtTooLong,
      RawWav(2, 2, 44100, 16, Data),  // ADPCM
      RawWav(1, 0, 44100, 16, Data),  // no channels
      RawWav(1, 6, 44100, 16, Data),  // surround
      RawWav(1, 2, 0, 16, Data),      // no rate
      RawWav(1, 2, 44100, 12, Data),  // odd sample size
      RawWav(1, 2, 44100, 16, {}),    // no frames
      std::vector<uint8_t>(Past.begin(), Past.begin() + 20),
  };
  for (size_t I = 0; I < Bad.size(); ++I) {
    TPcmSound Sound;
    std::string Error;
    EXPECT_FALSE(Read(Bad[I], Sound, Error)) << "case " << I;
    EXPECT_FALSE(Error.empty()) << "case " << I;
  }
}
