#include "tools/tracker/xm_writer.h"

#include <cmath>
#include <stdexcept>

namespace {

class TBytes {
 public:
  std::vector<uint8_t> Data;
  void U8(uint8_t V) { Data.push_back(V); }
  void U16(uint16_t V) {
    U8(static_cast<uint8_t>(V));
    U8(static_cast<uint8_t>(V >> 8));
  }
  void U32(uint32_t V) {
    U16(static_cast<uint16_t>(V));
    U16(static_cast<uint16_t>(V >> 16));
  }
  // Fixed-width text, padded with zeros (cut when longer).
  void Text(const std::string& S, size_t Width) {
    for (size_t I = 0; I < Width; ++I) U8(I < S.size() ? static_cast<uint8_t>(S[I]) : 0);
  }
  void Zeros(size_t N) { Data.insert(Data.end(), N, 0); }
};

void Check(bool Ok, const char* What) {
  if (!Ok) throw std::invalid_argument(What);
}

std::vector<uint8_t> PackPattern(const TXmPattern& P) {
  TBytes B;
  for (const TXmCell& C : P.Cells) {
    const uint8_t Mask = static_cast<uint8_t>((C.Note ? 1 : 0) | (C.Instrument ? 2 : 0) | (C.Volume ? 4 : 0) |
                                              (C.Effect ? 8 : 0) | (C.Param ? 16 : 0));
    if (Mask == 31) {
      B.U8(C.Note);
      B.U8(C.Instrument);
      B.U8(C.Volume);
      B.U8(C.Effect);
      B.U8(C.Param);
      continue;
    }
    B.U8(0x80 | Mask);
    if (C.Note) B.U8(C.Note);
    if (C.Instrument) B.U8(C.Instrument);
    if (C.Volume) B.U8(C.Volume);
    if (C.Effect) B.U8(C.Effect);
    if (C.Param) B.U8(C.Param);
  }
  return B.Data;
}

void WriteInstrument(TBytes& B, const TXmInstrument& I) {
  Check(I.VolumeEnvelope.size() <= 12, "more than 12 envelope points");
  Check(I.Fadeout <= 0xFFF, "fadeout above 4095");
  const TXmSample& S = I.Sample;
  Check(S.Data.size() <= 0x3FFFFFFF, "sample too long");
  Check(S.LoopStart + S.LoopLength <= S.Data.size(), "sample loop runs past the sample");
  Check(S.Volume <= 64, "sample volume above 64");
  const size_t Start = B.Data.size();
  B.U32(263);
  B.Text(I.Name, 22);
  B.U8(0);
  B.U16(1);  // one sample
  B.U32(40);
  B.Zeros(96);  // every note plays sample 0
  for (size_t P = 0; P < 12; ++P) {
    B.U16(P < I.VolumeEnvelope.size() ? I.VolumeEnvelope[P].Tick : 0);
    B.U16(P < I.VolumeEnvelope.size() ? I.VolumeEnvelope[P].Value : 0);
  }
  B.Zeros(48);  // panning envelope
  B.U8(static_cast<uint8_t>(I.VolumeEnvelope.size()));
  B.U8(0);
  B.U8(static_cast<uint8_t>(I.SustainPoint < 0 ? 0 : I.SustainPoint));
  B.U8(0);
  B.U8(0);
  B.Zeros(3);
  uint8_t Type = 0;
  if (!I.VolumeEnvelope.empty()) Type |= 1;
  if (!I.VolumeEnvelope.empty() && I.SustainPoint >= 0) Type |= 2;
  B.U8(Type);
  B.U8(0);
  B.Zeros(4);  // auto-vibrato
  B.U16(I.Fadeout);
  B.Zeros(263 - (B.Data.size() - Start));

  B.U32(static_cast<uint32_t>(S.Data.size() * 2));
  B.U32(S.LoopStart * 2);
  B.U32(S.LoopLength * 2);
  B.U8(S.Volume);
  B.U8(static_cast<uint8_t>(S.Finetune));
  B.U8(static_cast<uint8_t>(0x10 | (S.LoopLength ? 1 : 0)));
  B.U8(S.Panning);
  B.U8(static_cast<uint8_t>(S.RelativeNote));
  B.U8(0);
  B.Text(I.Name, 22);
}

void WriteSampleData(TBytes& B, const TXmSample& S) {
  int16_t Old = 0;
  for (int16_t V : S.Data) {
    B.U16(static_cast<uint16_t>(static_cast<uint16_t>(V) - static_cast<uint16_t>(Old)));
    Old = V;
  }
}

}  // namespace

std::vector<uint8_t> WriteXm(const TXmModule& M) {
  Check(M.Channels >= 1 && M.Channels <= 32, "channel count outside 1..32");
  Check(!M.Orders.empty() && M.Orders.size() <= 256, "order list empty or longer than 256");
  Check(M.Restart >= 0 && static_cast<size_t>(M.Restart) < M.Orders.size(), "restart outside the order list");
  Check(!M.Patterns.empty() && M.Patterns.size() <= 256, "pattern count outside 1..256");
  Check(M.Instruments.size() <= 128, "more than 128 instruments");
  Check(M.Speed >= 1 && M.Speed <= 31 && M.Tempo >= 32 && M.Tempo <= 255, "speed or tempo out of range");
  for (uint8_t O : M.Orders) Check(O < M.Patterns.size(), "order names a missing pattern");

  TBytes B;
  B.Text("Extended Module: ", 17);
  B.Text(M.Name, 20);
  B.U8(0x1A);
  B.Text("sqtracker", 20);
  B.U16(0x0104);
  B.U32(276);
  B.U16(static_cast<uint16_t>(M.Orders.size()));
  B.U16(static_cast<uint16_t>(M.Restart));
  B.U16(static_cast<uint16_t>(M.Channels));
  B.U16(static_cast<uint16_t>(M.Patterns.size()));
  B.U16(static_cast<uint16_t>(M.Instruments.size()));
  B.U16(1);  // linear frequency table
  B.U16(static_cast<uint16_t>(M.Speed));
  B.U16(static_cast<uint16_t>(M.Tempo));
  for (size_t I = 0; I < 256; ++I) B.U8(I < M.Orders.size() ? M.Orders[I] : 0);

  for (const TXmPattern& P : M.Patterns) {
    Check(P.Rows >= 1 && P.Rows <= 256, "pattern rows outside 1..256");
    Check(P.Cells.size() == static_cast<size_t>(P.Rows) * M.Channels, "pattern cell count does not match");
    const auto Packed = PackPattern(P);
    Check(Packed.size() <= 0xFFFF, "packed pattern too large");
    B.U32(9);
    B.U8(0);
    B.U16(static_cast<uint16_t>(P.Rows));
    B.U16(static_cast<uint16_t>(Packed.size()));
    B.Data.insert(B.Data.end(), Packed.begin(), Packed.end());
  }
  for (const TXmInstrument& I : M.Instruments) {
    WriteInstrument(B, I);
    WriteSampleData(B, I.Sample);
  }
  return B.Data;
}

void TuneSample(TXmSample& S, double Freq, int SampleRate) {
  // With the linear table, note n of a sample with relative note r and
  // finetune f plays at 8363 * 2^((n - 49 + r + f/128) / 12) samples per
  // second; note 58 must sound at 440 Hz.
  const double Semis = 12.0 * std::log2(440.0 * SampleRate / (8363.0 * Freq)) - 9.0;
  const long Steps = std::lround(Semis * 128.0);
  long Rel = Steps >= 0 ? Steps / 128 : -((-Steps + 127) / 128);
  long Fine = Steps - Rel * 128;
  if (Fine > 127) {
    Fine -= 128;
    ++Rel;
  }
  if (Rel < -96 || Rel > 95) throw std::invalid_argument("sample pitch out of range");
  S.RelativeNote = static_cast<int8_t>(Rel);
  S.Finetune = static_cast<int8_t>(Fine);
}
