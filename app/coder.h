#pragma once
// TCoder1732: turns the 8-digit code of a test-map run into a number whose
// upper 7 bits must carry this build's tag and whose lower 10 bits are the
// map index.
#include <cstdint>
#include <memory>
#include <string>

class TCoder1732 {
 public:
  static constexpr const char* kVersion = "Code1732Unit, version 1.0";
  // The tag a test-map code must carry in bits 10 to 16.
  static constexpr uint32_t kTag = 0x5A;
  static constexpr int kMaxMap = 1023;

  // -1 when the text is not 8 characters long; raises EConvertError when it
  // is not hexadecimal; otherwise a number from 0 to 131071.
  int32_t Decode(const std::string& Text) const;
  // An 8-digit code that Decode turns into Value (0 to 131071).
  std::string Encode(uint32_t Value) const;
  // The code of a test-map run for MapNo (0 to 1023).
  std::string TestMapCode(int MapNo) const { return Encode((kTag << 10) | (static_cast<uint32_t>(MapNo) & 1023u)); }
  // The map index a decoded number asks for, or -1 when its tag is wrong.
  static int32_t MapIndex(int32_t Decoded);
};

extern std::unique_ptr<TCoder1732> Coder;
void StartCoder();
void StopCoder();
