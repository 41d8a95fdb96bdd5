#include "tests/support/bytes.h"

namespace test_support {

TBytes& TBytes::U8(unsigned V) {
  FBytes.push_back(static_cast<uint8_t>(V));
  return *this;
}

TBytes& TBytes::U16(unsigned V) { return U8(V & 0xFF).U8((V >> 8) & 0xFF); }

TBytes& TBytes::U32(uint32_t V) { return U16(V & 0xFFFF).U16(V >> 16); }

TBytes& TBytes::I32(int32_t V) { return U32(static_cast<uint32_t>(V)); }

TBytes& TBytes::Text(const std::string& S) {
  FBytes.insert(FBytes.end(), S.begin(), S.end());
  return *this;
}

TBytes& TBytes::Str(const std::string& S) { return U16(static_cast<unsigned>(S.size())).Text(S); }

TBytes& TBytes::Add(const std::vector<uint8_t>& More) {
  FBytes.insert(FBytes.end(), More.begin(), More.end());
  return *this;
}

TBytes& TBytes::Fill(size_t N, uint8_t V) {
  FBytes.insert(FBytes.end(), N, V);
  return *this;
}

}  // namespace test_support
