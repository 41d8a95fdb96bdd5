#include "storage/rle.h"

#include <algorithm>

#include "shell/memory_stream.h"

namespace {

uint32_t GetU32(const uint8_t* P) {
  return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) | (static_cast<uint32_t>(P[2]) << 16) |
         (static_cast<uint32_t>(P[3]) << 24);
}

void PutU32(std::vector<uint8_t>& Out, size_t At, uint32_t V) {
  for (int I = 0; I < 4; ++I) Out[At + static_cast<size_t>(I)] = static_cast<uint8_t>(V >> (8 * I));
}

[[noreturn]] void Truncated() { throw EDecompress("run-length stream ends early"); }

// Length of the run of equal bytes starting at I, at most Max.
size_t RunAt(std::span<const uint8_t> D, size_t I, size_t Max) {
  size_t N = 1;
  while (I + N < D.size() && N < Max && D[I + N] == D[I]) ++N;
  return N;
}

std::vector<uint8_t> EncodeVariant5(std::span<const uint8_t> D) {
  std::vector<uint8_t> Out(5);
  Out[0] = 5;
  size_t I = 0;
  while (I < D.size()) {
    const size_t Run = RunAt(D, I, 128);
    if (Run >= 2) {
      Out.push_back(static_cast<uint8_t>(127 + Run));
      Out.push_back(D[I]);
      I += Run;
      continue;
    }
    // Literals until a run of three or more begins (a pair is cheaper inside).
    size_t J = I;
    while (J < D.size() && J - I < 128 && RunAt(D, J, 3) < 3) ++J;
    Out.push_back(static_cast<uint8_t>(J - I - 1));
    Out.insert(Out.end(), D.begin() + static_cast<std::ptrdiff_t>(I), D.begin() + static_cast<std::ptrdiff_t>(J));
    I = J;
  }
  return Out;
}

std::vector<uint8_t> EncodeVariant6(std::span<const uint8_t> D) {
  std::vector<uint8_t> Out(5);
  Out[0] = 6;
  size_t I = 0;
  while (I < D.size()) {
    if (D[I] >= 128) throw EEncode("run-length variant 6 holds only bytes below 128");
    const size_t Run = RunAt(D, I, 256);
    if (Run == 1) {
      Out.push_back(D[I]);
    } else {
      Out.push_back(static_cast<uint8_t>(128 + D[I]));
      Out.push_back(static_cast<uint8_t>(Run - 1));
    }
    I += Run;
  }
  return Out;
}

}  // namespace

std::vector<uint8_t> DecodeRLEBytes(std::span<const uint8_t> In, int64_t Limit) {
  std::vector<uint8_t> Out;
  if (In.empty()) return Out;
  const uint8_t Variant = In[0];
  if (Variant != 5 && Variant != 6) return Out;
  if (In.size() < 5) Truncated();
  const uint64_t Total = GetU32(In.data() + 1);
  // Every packet byte yields at most 128 bytes: reserve what the input can justify.
  Out.reserve(static_cast<size_t>(std::min<uint64_t>({Total, In.size(), static_cast<uint64_t>(Limit)})) * 2);
  uint64_t Count = 5;
  size_t P = 5;
  while (Count < Total) {
    if (P >= In.size()) Truncated();
    const uint8_t C = In[P++];
    if (Variant == 5) {
      if (C >= 128) {
        if (P >= In.size()) Truncated();
        Out.insert(Out.end(), static_cast<size_t>(C - 127), In[P++]);
        Count += 2;
      } else {
        const size_t N = static_cast<size_t>(C) + 1;
        if (In.size() - P < N) Truncated();
        Out.insert(Out.end(), In.begin() + static_cast<std::ptrdiff_t>(P),
                   In.begin() + static_cast<std::ptrdiff_t>(P + N));
        P += N;
        Count += 1 + N;
      }
    } else {
      if (C >= 128) {
        if (P >= In.size()) Truncated();
        Out.insert(Out.end(), static_cast<size_t>(In[P++]) + 1, static_cast<uint8_t>(C - 128));
        Count += 2;
      } else {
        Out.push_back(C);
        Count += 1;
      }
    }
    if (static_cast<int64_t>(Out.size()) > Limit)
      throw EDecompress("decoded data exceeds the limit of " + std::to_string(Limit >> 20) + " MiB");
  }
  return Out;
}

void DecodeRLE(TVXStreamBase& Input, TVXStreamBase& Output) {
  const std::vector<uint8_t> In = Input.ReadRest();
  const std::vector<uint8_t> Out = DecodeRLEBytes(In);
  Output.WriteExact(Out.data(), Out.size());
  Output.Seek(0);
}

std::vector<uint8_t> EncodeRLE(std::span<const uint8_t> Data, uint8_t Variant) {
  std::vector<uint8_t> Out;
  if (Variant == 5) {
    Out = EncodeVariant5(Data);
  } else if (Variant == 6) {
    Out = EncodeVariant6(Data);
  } else if (Variant == 0) {
    Out = EncodeVariant5(Data);
    if (std::all_of(Data.begin(), Data.end(), [](uint8_t B) { return B < 128; })) {
      std::vector<uint8_t> Six = EncodeVariant6(Data);
      if (Six.size() < Out.size()) Out = std::move(Six);
    }
  } else {
    throw EEncode("unknown run-length variant " + std::to_string(Variant));
  }
  if (Out.size() > UINT32_MAX) throw EEncode("run-length stream too long");
  PutU32(Out, 1, static_cast<uint32_t>(Out.size()));
  return Out;
}
