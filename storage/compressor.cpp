#include "storage/compressor.h"

#include "shell/memory_stream.h"
#include "storage/coding.h"
#include "storage/rle.h"
#include "storage/zstream.h"

std::unique_ptr<TCompressor> Compressor;

void StartCompressor() { Compressor = std::make_unique<TCompressor>(); }
void StopCompressor() { Compressor.reset(); }

namespace {

int SecondStage(uint8_t Method) { return (Method >> 3) & 7; }
int ThirdStage(uint8_t Method) { return Method & 7; }
bool Zipped(uint8_t Method) { return (Method & 0x40) != 0; }

void ThirdStageDecode(std::vector<uint8_t>& S, int Stage) {
  switch (Stage) {
    case 1: S = DeinterleaveBytes(S, 2); break;
    case 2: S = DeinterleaveBytes(S, 3); break;
    case 3: DeltaDecodeBytes(S); break;
    case 4: MoveToFrontDecodeBytes(S); break;
    case 5:
      DeltaDecodeBytes(S);
      S = DeinterleaveBytes(S, 2);
      break;
    case 6:
      DeltaDecodeBytes(S);
      S = DeinterleaveBytes(S, 3);
      break;
    case 7:
      MoveToFrontDecodeBytes(S);
      DeltaDecodeBytes(S);
      break;
    default: break;
  }
}

// Undoes ThirdStageDecode: the transforms in reverse order, each inverted.
void ThirdStageEncode(std::vector<uint8_t>& S, int Stage) {
  switch (Stage) {
    case 1: S = SplitPlanes(S, 2); break;
    case 2: S = SplitPlanes(S, 3); break;
    case 3: DeltaEncodeBytes(S); break;
    case 4: MoveToFrontEncodeBytes(S); break;
    case 5:
      S = SplitPlanes(S, 2);
      DeltaEncodeBytes(S);
      break;
    case 6:
      S = SplitPlanes(S, 3);
      DeltaEncodeBytes(S);
      break;
    case 7:
      DeltaEncodeBytes(S);
      MoveToFrontEncodeBytes(S);
      break;
    default: break;
  }
}

}  // namespace

bool TCompressor::MethodDecodes(uint8_t Method) {
  const int Second = SecondStage(Method);
  return Second == 0 || Second == 1 || Second == 2 || Second == 4;
}

std::vector<uint8_t> TCompressor::DecompressBytes(std::span<const uint8_t> Data, int64_t Limit) {
  if (Data.empty()) throw EDecompress("member data has no method byte");
  const uint8_t Method = Data[0];
  std::vector<uint8_t> T;
  if (Zipped(Method)) T = InflateBytes(Data.subspan(1), Limit);
  else if (Data.size() > 5) T.assign(Data.begin() + 5, Data.end());

  std::vector<uint8_t> S;
  switch (SecondStage(Method)) {
    case 0: S = std::move(T); break;
    case 1: S = DecodeRLEBytes(T, Limit); break;
    case 2: S = DecodeRLEBytes(FHuffman.Decode(T, Limit), Limit); break;
    case 4: S = FHuffman.Decode(T, Limit); break;
    default: return S;
  }
  ThirdStageDecode(S, ThirdStage(Method));
  return S;
}

TVXStreamPtr TCompressor::Decompress(TVXStreamBase& Data) {
  return std::make_unique<TMemoryStream>(DecompressBytes(Data.ReadAll()));
}

std::vector<uint8_t> TCompressor::Compress(std::span<const uint8_t> Data, uint8_t Method) {
  if (!MethodDecodes(Method) && !Data.empty())
    throw EEncode("method " + std::to_string(Method) + " decodes to nothing");
  std::vector<uint8_t> S(Data.begin(), Data.end());
  ThirdStageEncode(S, ThirdStage(Method));
  switch (SecondStage(Method)) {
    case 1: S = EncodeRLE(S); break;
    case 2: S = FHuffman.Encode(EncodeRLE(S)); break;
    case 4: S = FHuffman.Encode(S); break;
    default: break;
  }
  std::vector<uint8_t> Out = {Method};
  if (Zipped(Method)) {
    const std::vector<uint8_t> Z = DeflateBytes(S);
    Out.insert(Out.end(), Z.begin(), Z.end());
  } else {
    // The stored form's 32-bit value is never read; it holds the payload size.
    const uint32_t N = static_cast<uint32_t>(S.size());
    for (int I = 0; I < 4; ++I) Out.push_back(static_cast<uint8_t>(N >> (8 * I)));
    Out.insert(Out.end(), S.begin(), S.end());
  }
  return Out;
}
