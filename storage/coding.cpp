#include "storage/coding.h"

#include <array>
#include <cstring>
#include <numeric>

#include "shell/memory_stream.h"

namespace {

std::array<uint8_t, 256> IdentityTable() {
  std::array<uint8_t, 256> T;
  std::iota(T.begin(), T.end(), 0);
  return T;
}

TVXStreamPtr Wrap(std::vector<uint8_t> Bytes) { return std::make_unique<TMemoryStream>(std::move(Bytes)); }

}  // namespace

std::vector<uint8_t> DeinterleaveBytes(std::span<const uint8_t> Data, int Step) {
  const size_t K = Step > 0 ? static_cast<size_t>(Step) : 1;
  std::vector<uint8_t> Out(Data.size());
  size_t In = 0;
  for (size_t Plane = 0; Plane < K; ++Plane)
    for (size_t Pos = Plane; Pos < Out.size(); Pos += K) Out[Pos] = Data[In++];
  return Out;
}

std::vector<uint8_t> SplitPlanes(std::span<const uint8_t> Data, int Step) {
  const size_t K = Step > 0 ? static_cast<size_t>(Step) : 1;
  std::vector<uint8_t> Out(Data.size());
  size_t O = 0;
  for (size_t Plane = 0; Plane < K; ++Plane)
    for (size_t Pos = Plane; Pos < Data.size(); Pos += K) Out[O++] = Data[Pos];
  return Out;
}

void DeltaDecodeBytes(std::vector<uint8_t>& Data) {
  uint8_t Running = 0;
  for (uint8_t& B : Data) B = Running = static_cast<uint8_t>(Running + B);
}

void DeltaEncodeBytes(std::vector<uint8_t>& Data) {
  uint8_t Previous = 0;
  for (uint8_t& B : Data) {
    const uint8_t Now = B;
    B = static_cast<uint8_t>(Now - Previous);
    Previous = Now;
  }
}

void MoveToFrontDecodeBytes(std::vector<uint8_t>& Data) {
  std::array<uint8_t, 256> Table = IdentityTable();
  for (uint8_t& B : Data) {
    const uint8_t K = B;
    const uint8_t V = Table[K];
    std::memmove(Table.data() + 1, Table.data(), K);
    Table[0] = V;
    B = V;
  }
}

void MoveToFrontEncodeBytes(std::vector<uint8_t>& Data) {
  std::array<uint8_t, 256> Table = IdentityTable();
  for (uint8_t& B : Data) {
    const uint8_t V = B;
    uint8_t K = 0;
    while (Table[K] != V) ++K;
    std::memmove(Table.data() + 1, Table.data(), K);
    Table[0] = V;
    B = K;
  }
}

TVXStreamPtr Deinterleave(TVXStreamBase& Stream, int Step) { return Wrap(DeinterleaveBytes(Stream.ReadAll(), Step)); }

TVXStreamPtr DeltaDecode(TVXStreamBase& Stream) {
  std::vector<uint8_t> Data = Stream.ReadAll();
  DeltaDecodeBytes(Data);
  return Wrap(std::move(Data));
}

TVXStreamPtr MoveToFrontDecode(TVXStreamBase& Stream) {
  std::vector<uint8_t> Data = Stream.ReadAll();
  MoveToFrontDecodeBytes(Data);
  return Wrap(std::move(Data));
}
