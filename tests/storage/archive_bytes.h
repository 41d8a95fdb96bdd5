#pragma once
// Builds MAD4 archive bytes chunk by chunk, for tests that need exact layouts.
#include <cstdint>
#include <string>
#include <vector>

class TArchiveBytes {
 public:
  TArchiveBytes() { Put("MAD4"), U32(0); }
  TArchiveBytes& Chunk(const std::string& FourCC, const std::vector<uint8_t>& Data) {
    Put(FourCC);
    U32(static_cast<uint32_t>(Data.size()));
    Bytes.insert(Bytes.end(), Data.begin(), Data.end());
    return *this;
  }
  // A member chunk: name length, name, data.
  TArchiveBytes& Member(const std::string& FourCC, const std::string& Name, const std::vector<uint8_t>& Data) {
    std::vector<uint8_t> D = {static_cast<uint8_t>(Name.size())};
    D.insert(D.end(), Name.begin(), Name.end());
    D.insert(D.end(), Data.begin(), Data.end());
    return Chunk(FourCC, D);
  }
  TArchiveBytes& Null(uint32_t Size) { return Chunk("NULL", std::vector<uint8_t>(Size, 0)); }
  // Closes with the trailer and fixes the header length.
  std::vector<uint8_t> Finish() {
    Put("ENDS");
    U32(4);
    U32(static_cast<uint32_t>(Bytes.size() + 4));
    SetU32(4, static_cast<uint32_t>(Bytes.size() - 8));
    return Bytes;
  }
  size_t Size() const { return Bytes.size(); }

  std::vector<uint8_t> Bytes;

 private:
  void Put(const std::string& Text) { Bytes.insert(Bytes.end(), Text.begin(), Text.end()); }
  void U32(uint32_t V) {
    for (int I = 0; I < 4; ++I) Bytes.push_back(static_cast<uint8_t>(V >> (8 * I)));
  }
  void SetU32(size_t At, uint32_t V) {
    for (int I = 0; I < 4; ++I) Bytes[At + static_cast<size_t>(I)] = static_cast<uint8_t>(V >> (8 * I));
  }
};

inline std::vector<uint8_t> Bytes(const std::string& Text) { return {Text.begin(), Text.end()}; }

inline uint32_t U32At(const std::vector<uint8_t>& B, size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (static_cast<uint32_t>(B[At + 3]) << 24);
}
