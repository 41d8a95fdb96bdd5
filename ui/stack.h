#pragma once
// TStack: a byte stack of 32-bit values. The menu keeps the enclosing levels
// on it while it reads nested items.
#include <cstdint>
#include <vector>

class TStack {
 public:
  static constexpr const char* kVersion = "StackUnit, version 1.02";

  // Appends the value's four bytes.
  void Push4(int32_t Value);
  // The last four bytes as a value, removed; 0 with a warning when fewer
  // than four are held.
  int32_t Pop4();
  // Bytes held.
  int Count() const { return static_cast<int>(FBytes.size()); }

 private:
  std::vector<uint8_t> FBytes;
};
