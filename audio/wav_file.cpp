#include "audio/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

struct TWavFormat {
  uint16_t Tag = 0;
  uint16_t Channels = 0;
  uint32_t Rate = 0;
  uint16_t BlockAlign = 0;
  uint16_t Bits = 0;
};

bool ReadTag(TVXStreamBase& S, char (&Tag)[4]) { return S.ReadExact(Tag, 4); }
bool Is(const char (&Tag)[4], const char* Want) { return std::memcmp(Tag, Want, 4) == 0; }

uint16_t Get16(const uint8_t* P) { return static_cast<uint16_t>(P[0] | (P[1] << 8)); }
uint32_t Get32(const uint8_t* P) {
  return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) | (static_cast<uint32_t>(P[2]) << 16) |
         (static_cast<uint32_t>(P[3]) << 24);
}

bool ParseFormat(const std::vector<uint8_t>& B, TWavFormat& F, std::string& Error) {
  if (B.size() < 16) {
    Error = "format chunk too short";
    return false;
  }
  F.Tag = Get16(&B[0]);
  F.Channels = Get16(&B[2]);
  F.Rate = Get32(&B[4]);
  F.BlockAlign = Get16(&B[12]);
  F.Bits = Get16(&B[14]);
  if (F.Tag == kFormatExtensible) {
    // The real encoding is the first two bytes of the sub-format GUID.
    if (B.size() < 40) {
      Error = "extensible format chunk too short";
      return false;
    }
    F.Tag = Get16(&B[24]);
  }
  if (F.Tag != kFormatPcm && F.Tag != kFormatFloat) {
    Error = "unsupported encoding " + std::to_string(F.Tag);
    return false;
  }
  if (F.Channels < 1 || F.Channels > 2) {
    Error = "unsupported channel count " + std::to_string(F.Channels);
    return false;
  }
  if (F.Rate < 1000 || F.Rate > 384000) {
    Error = "unsupported sample rate " + std::to_string(F.Rate);
    return false;
  }
  const bool BitsOk =
      F.Tag == kFormatFloat ? F.Bits == 32 : (F.Bits == 8 || F.Bits == 16 || F.Bits == 24 || F.Bits == 32);
  if (!BitsOk) {
    Error = "unsupported sample size " + std::to_string(F.Bits);
    return false;
  }
  if (F.BlockAlign != F.Channels * (F.Bits / 8)) {
    Error = "block size does not match the format";
    return false;
  }
  return true;
}

int16_t ToInt16(const uint8_t* P, const TWavFormat& F) {
  switch (F.Bits) {
    case 8: return static_cast<int16_t>((P[0] - 128) * 256);
    case 16: return static_cast<int16_t>(Get16(P));
    case 24: return static_cast<int16_t>(Get16(P + 1));
    default: break;
  }
  if (F.Tag == kFormatFloat) {
    float V;
    const uint32_t Bits = Get32(P);
    std::memcpy(&V, &Bits, 4);
    if (!std::isfinite(V)) return 0;
    return static_cast<int16_t>(std::lround(std::clamp(V, -1.0f, 1.0f) * 32767.0f));
  }
  return static_cast<int16_t>(Get32(P) >> 16);
}

}  // namespace

bool LooksLikeWav(TVXStreamBase& Stream) {
  const int64_t Start = Stream.Position();
  uint8_t Head[12];
  const bool Ok =
      Stream.ReadExact(Head, 12) && std::memcmp(Head, "RIFF", 4) == 0 && std::memcmp(Head + 8, "WAVE", 4) == 0;
  Stream.Seek(Start);
  return Ok;
}

bool ReadWav(TVXStreamBase& Stream, TPcmSound& Sound, std::string& Error) {
  char Tag[4];
  uint32_t RiffSize;
  if (!ReadTag(Stream, Tag) || !Is(Tag, "RIFF") || !Stream.ReadU32(RiffSize) || !ReadTag(Stream, Tag) ||
      !Is(Tag, "WAVE")) {
    Error = "not a RIFF WAVE file";
    return false;
  }
  TWavFormat Format;
  bool HaveFormat = false;
  while (Stream.Remaining() >= 8) {
    uint32_t Size;
    if (!ReadTag(Stream, Tag) || !Stream.ReadU32(Size)) break;
    if (Size > Stream.Remaining()) {
      Error = "chunk runs past the end of the file";
      return false;
    }
    if (Is(Tag, "fmt ")) {
      std::vector<uint8_t> Block(Size);
      if (!Stream.ReadExact(Block.data(), Size) || !ParseFormat(Block, Format, Error)) {
        if (Error.empty()) Error = "format chunk unreadable";
        return false;
      }
      HaveFormat = true;
    } else if (Is(Tag, "data")) {
      if (!HaveFormat) {
        Error = "data before the format chunk";
        return false;
      }
      const size_t Frames = Size / Format.BlockAlign;
      if (Frames == 0) {
        Error = "no sound data";
        return false;
      }
      if (Frames > kMaxPcmFrames) {
        Error = "sound too long";
        return false;
      }
      std::vector<uint8_t> Raw(Frames * Format.BlockAlign);
      if (!Stream.ReadExact(Raw.data(), Raw.size())) {
        Error = "data chunk unreadable";
        return false;
      }
      const size_t Width = Format.Bits / 8;
      Sound.Rate = Format.Rate;
      Sound.Samples.resize(Frames * 2);
      for (size_t I = 0; I < Frames; ++I) {
        const uint8_t* Frame = &Raw[I * Format.BlockAlign];
        const int16_t L = ToInt16(Frame, Format);
        Sound.Samples[I * 2] = L;
        Sound.Samples[I * 2 + 1] = Format.Channels == 2 ? ToInt16(Frame + Width, Format) : L;
      }
      return true;
    } else {
      Stream.Skip(Size);
    }
    if (Size & 1) Stream.Skip(1);  // chunks are padded to even sizes
  }
  Error = HaveFormat ? "no data chunk" : "no format chunk";
  return false;
}

bool WriteWav(TVXStreamBase& Stream, const int16_t* Samples, size_t Frames, int Channels, uint32_t Rate) {
  const uint64_t DataSize = static_cast<uint64_t>(Frames) * static_cast<uint64_t>(Channels) * 2;
  if (Channels < 1 || DataSize > 0xFFFFFFFFull - 36) return false;
  const uint16_t Align = static_cast<uint16_t>(Channels * 2);
  bool Ok = Stream.WriteString("RIFF") && Stream.WriteU32(static_cast<uint32_t>(36 + DataSize)) &&
            Stream.WriteString("WAVEfmt ") && Stream.WriteU32(16) && Stream.WriteU16(kFormatPcm) &&
            Stream.WriteU16(static_cast<uint16_t>(Channels)) && Stream.WriteU32(Rate) &&
            Stream.WriteU32(Rate * Align) && Stream.WriteU16(Align) && Stream.WriteU16(16) &&
            Stream.WriteString("data") && Stream.WriteU32(static_cast<uint32_t>(DataSize));
  // Little-endian on disk, sample by sample so the host order does not matter.
  const size_t Count = Frames * static_cast<size_t>(Channels);
  std::vector<uint8_t> Bytes(Count * 2);
  for (size_t I = 0; I < Count; ++I) {
    const uint16_t V = static_cast<uint16_t>(Samples[I]);
    Bytes[I * 2] = static_cast<uint8_t>(V & 0xFF);
    Bytes[I * 2 + 1] = static_cast<uint8_t>(V >> 8);
  }
  return Ok && Stream.WriteExact(Bytes.data(), Bytes.size());
}
