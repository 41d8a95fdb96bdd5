#pragma once
// Helpers shared by the registry tests: a log captured in a file, and
// "PREG" files built byte by byte.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/logger.h"
#include "tests/support/test_support.h"

// Routes Log into a file of its own for the lifetime of the object.
class TLogCapture {
 public:
  explicit TLogCapture(const TTempDir& Dir) : FFile(Dir.File("capture.log")) {
    Log.Reset(std::make_unique<TLogger>(FFile, false));
  }
  ~TLogCapture() { Log.Reset(); }
  std::string Text() const { return ReadFileText(FFile); }
  bool Has(const std::string& Line) const { return Text().find(Line + "\r\n") != std::string::npos; }
  size_t Count(const std::string& Line) const {
    const std::string T = Text();
    size_t N = 0;
    for (size_t At = T.find(Line); At != std::string::npos; At = T.find(Line, At + 1)) ++N;
    return N;
  }

 private:
  std::string FFile;
};

// Little-endian byte builder for hand-made files.
class TBytes {
 public:
  TBytes& Text(const std::string& S) {
    FBytes.insert(FBytes.end(), S.begin(), S.end());
    return *this;
  }
  TBytes& U16(uint16_t V) { return Byte(V & 0xFF).Byte(V >> 8); }
  TBytes& I32(int32_t V) {
    const uint32_t U = static_cast<uint32_t>(V);
    return U16(U & 0xFFFF).U16(U >> 16);
  }
  TBytes& Str(const std::string& S) { return U16(static_cast<uint16_t>(S.size())).Text(S); }
  TBytes& Byte(uint8_t B) {
    FBytes.push_back(B);
    return *this;
  }
  const std::vector<uint8_t>& Get() const { return FBytes; }

 private:
  std::vector<uint8_t> FBytes;
};
