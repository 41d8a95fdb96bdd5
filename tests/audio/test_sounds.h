#pragma once
// Sounds made by the tests themselves: a tone as WAV, the same encoded as MP3
// with LAME, and tiny XM modules. Header-only so the sqtool tests can share it.
#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace TestSounds {

inline constexpr double kPi = 3.14159265358979323846;

// Interleaved stereo 16-bit sine frames.
inline std::vector<int16_t> Sine(double Hz, double Seconds, int Rate, double Amplitude = 0.5) {
  const size_t Frames = static_cast<size_t>(Seconds * Rate);
  std::vector<int16_t> S(Frames * 2);
  for (size_t I = 0; I < Frames; ++I) {
    const auto V = static_cast<int16_t>(std::lround(32767 * Amplitude * std::sin(2 * kPi * Hz * I / Rate)));
    S[I * 2] = S[I * 2 + 1] = V;
  }
  return S;
}

inline void Put16(std::vector<uint8_t>& B, uint32_t V) {
  B.push_back(static_cast<uint8_t>(V));
  B.push_back(static_cast<uint8_t>(V >> 8));
}
inline void Put32(std::vector<uint8_t>& B, uint32_t V) {
  Put16(B, V & 0xFFFF);
  Put16(B, V >> 16);
}
inline void PutText(std::vector<uint8_t>& B, const std::string& T, size_t Width) {
  for (size_t I = 0; I < Width; ++I) B.push_back(I < T.size() ? static_cast<uint8_t>(T[I]) : 0);
}

// A canonical WAV file; Channels 1 takes the left channel of Stereo.
inline std::vector<uint8_t> Wav(const std::vector<int16_t>& Stereo, int Rate, int Channels = 2) {
  const uint32_t Frames = static_cast<uint32_t>(Stereo.size() / 2);
  const uint32_t Data = Frames * static_cast<uint32_t>(Channels) * 2;
  std::vector<uint8_t> B;
  PutText(B, "RIFF", 4);
  Put32(B, 36 + Data);
  PutText(B, "WAVEfmt ", 8);
  Put32(B, 16);
  Put16(B, 1);
  Put16(B, static_cast<uint32_t>(Channels));
  Put32(B, static_cast<uint32_t>(Rate));
  Put32(B, static_cast<uint32_t>(Rate * Channels * 2));
  Put16(B, static_cast<uint32_t>(Channels * 2));
  Put16(B, 16);
  PutText(B, "data", 4);
  Put32(B, Data);
  for (uint32_t I = 0; I < Frames; ++I)
    for (int C = 0; C < Channels; ++C) Put16(B, static_cast<uint16_t>(Stereo[I * 2 + static_cast<uint32_t>(C)]));
  return B;
}

// Stereo frames encoded as a constant-bit-rate MP3 by LAME.
inline std::vector<uint8_t> Mp3(const std::vector<int16_t>& Stereo, int Rate) {
  lame_global_flags* L = lame_init();
  lame_set_in_samplerate(L, Rate);
  lame_set_out_samplerate(L, Rate);
  lame_set_num_channels(L, 2);
  lame_set_brate(L, 128);
  lame_set_quality(L, 5);
  lame_init_params(L);
  const int Frames = static_cast<int>(Stereo.size() / 2);
  std::vector<uint8_t> Out(static_cast<size_t>(1.25 * Frames + 7200) + 16384);
  std::vector<int16_t> Copy(Stereo);
  int N = lame_encode_buffer_interleaved(L, Copy.data(), Frames, Out.data(), static_cast<int>(Out.size()));
  int Size = N > 0 ? N : 0;
  N = lame_encode_flush(L, Out.data() + Size, static_cast<int>(Out.size()) - Size);
  Size += N > 0 ? N : 0;
  // The first frame is a placeholder for the tag that tells decoders the
  // encoder's delay and padding; fill it in.
  std::vector<uint8_t> Tag(4096);
  const size_t TagSize = lame_get_lametag_frame(L, Tag.data(), Tag.size());
  if (TagSize > 0 && TagSize <= static_cast<size_t>(Size)) std::memcpy(Out.data(), Tag.data(), TagSize);
  lame_close(L);
  Out.resize(static_cast<size_t>(Size));
  return Out;
}

struct TXmOptions {
  uint16_t Speed = 1;  // ticks per row
  uint16_t Bpm = 125;  // a tick lasts 2.5 / Bpm seconds
  uint16_t Rows = 64;
  uint32_t ClaimedLength = 0;  // sample length written in the header; 0: the real one
  bool Busy = false;           // a note in both channels on every row
};

// A two-channel, one-pattern XM: a square-wave note on the first row, the
// rest silent (or busy). With the defaults one pass lasts 64 ticks of 20 ms (1.28 s).
inline std::vector<uint8_t> Xm(const TXmOptions& O = {}) {
  std::vector<uint8_t> B;
  PutText(B, "Extended Module: ", 17);
  PutText(B, "test", 20);
  B.push_back(0x1A);
  PutText(B, "tests", 20);
  Put16(B, 0x0104);
  Put32(B, 276);  // header size, counted from this field
  Put16(B, 1);    // song length
  Put16(B, 0);    // restart position
  Put16(B, 2);    // channels
  Put16(B, 1);    // patterns
  Put16(B, 1);    // instruments
  Put16(B, 1);    // linear frequency table
  Put16(B, O.Speed);
  Put16(B, O.Bpm);
  for (int I = 0; I < 256; ++I) B.push_back(0);  // order table: pattern 0

  // Pattern: unpacked first row (note C-4 = 49, instrument 1), then packed empties.
  std::vector<uint8_t> P = {49, 1, 0, 0, 0, 0x80};
  for (int R = 1; R < O.Rows; ++R) {
    if (O.Busy) {
      for (uint8_t Note : {static_cast<uint8_t>(37 + R % 24), static_cast<uint8_t>(49 + R % 12)})
        P.insert(P.end(), {Note, 1, 0, 0, 0});
    } else {
      P.push_back(0x80);
      P.push_back(0x80);
    }
  }
  Put32(B, 9);
  B.push_back(0);
  Put16(B, O.Rows);
  Put16(B, static_cast<uint32_t>(P.size()));
  B.insert(B.end(), P.begin(), P.end());

  // Instrument with one sample.
  constexpr uint32_t kSampleLength = 2048;
  const size_t Start = B.size();
  Put32(B, 263);  // instrument header size, this field included
  PutText(B, "square", 22);
  B.push_back(0);
  Put16(B, 1);   // samples
  Put32(B, 40);  // sample header size
  // Keymap (all notes to sample 0), envelopes, their settings, vibrato,
  // fadeout and padding: all zero.
  B.resize(Start + 263, 0);
  Put32(B, O.ClaimedLength ? O.ClaimedLength : kSampleLength);
  Put32(B, 0);
  Put32(B, 0);
  B.push_back(64);   // volume
  B.push_back(0);    // finetune
  B.push_back(0);    // 8-bit, no loop
  B.push_back(128);  // pan
  B.push_back(0);    // relative note
  B.push_back(0);
  PutText(B, "square", 22);
  // Delta-coded 8-bit square wave, 32 samples per period.
  int8_t Previous = 0;
  for (uint32_t I = 0; I < kSampleLength; ++I) {
    const int8_t V = (I / 16) % 2 ? -100 : 100;
    B.push_back(static_cast<uint8_t>(static_cast<int8_t>(V - Previous)));
    Previous = V;
  }
  return B;
}

// Root mean square of one channel of interleaved stereo, frames [From, To).
inline double Rms(const std::vector<int16_t>& S, size_t From, size_t To, int Channel = 0) {
  double Sum = 0;
  for (size_t I = From; I < To; ++I) Sum += double(S[I * 2 + Channel]) * S[I * 2 + Channel];
  return To > From ? std::sqrt(Sum / double(To - From)) : 0;
}

inline int Peak(const std::vector<int16_t>& S, size_t From, size_t To) {
  int P = 0;
  for (size_t I = From * 2; I < To * 2; ++I) P = std::max(P, std::abs(int(S[I])));
  return P;
}

}  // namespace TestSounds
