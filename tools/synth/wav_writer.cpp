#include "tools/synth/wav_writer.h"

namespace {

void Put32(std::vector<uint8_t>& Out, uint32_t V) {
  for (int I = 0; I < 4; ++I) Out.push_back(static_cast<uint8_t>(V >> (8 * I)));
}
void Put16(std::vector<uint8_t>& Out, uint16_t V) {
  Out.push_back(static_cast<uint8_t>(V));
  Out.push_back(static_cast<uint8_t>(V >> 8));
}
void PutTag(std::vector<uint8_t>& Out, const char* Tag) {
  for (int I = 0; I < 4; ++I) Out.push_back(static_cast<uint8_t>(Tag[I]));
}

}  // namespace

std::vector<uint8_t> WavImage(const std::vector<int16_t>& Samples, int SampleRate) {
  const uint32_t DataSize = static_cast<uint32_t>(Samples.size() * 2);
  std::vector<uint8_t> Out;
  Out.reserve(44 + DataSize);
  PutTag(Out, "RIFF");
  Put32(Out, 36 + DataSize);
  PutTag(Out, "WAVE");
  PutTag(Out, "fmt ");
  Put32(Out, 16);
  Put16(Out, 1);  // PCM
  Put16(Out, 1);  // mono
  Put32(Out, static_cast<uint32_t>(SampleRate));
  Put32(Out, static_cast<uint32_t>(SampleRate) * 2);
  Put16(Out, 2);
  Put16(Out, 16);
  PutTag(Out, "data");
  Put32(Out, DataSize);
  for (int16_t S : Samples) Put16(Out, static_cast<uint16_t>(S));
  return Out;
}
