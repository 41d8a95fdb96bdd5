#include "ui/stack.h"

#include "shell/logger.h"

void TStack::Push4(int32_t Value) {
  const auto U = static_cast<uint32_t>(Value);
  for (int Shift = 0; Shift < 32; Shift += 8) FBytes.push_back(static_cast<uint8_t>(U >> Shift));
}

int32_t TStack::Pop4() {
  if (FBytes.size() < 4) {
    Log->Warning("Stack underflow!", "StackUnit, TStack.Pop4");
    return 0;
  }
  uint32_t U = 0;
  // The last byte pushed is the most significant.
  for (int K = 0; K < 4; ++K) {
    U = (U << 8) | FBytes.back();
    FBytes.pop_back();
  }
  return static_cast<int32_t>(U);
}
