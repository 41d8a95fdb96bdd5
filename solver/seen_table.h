#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Seen states: key -> fewest steps it was reached in (open addressing).
class TSeenTable {
 public:
  TSeenTable() { FSlots.resize(1u << 16); }
  // True when Key is new or now reached in fewer steps (then G is stored).
  bool Improve(uint64_t Key, uint32_t G) {
    if (Key == 0) Key = 1;
    if ((FUsed + 1) * 2 > FSlots.size()) Grow();
    TSlot& S = Find(Key);
    if (S.Key == 0) {
      S = {Key, G};
      ++FUsed;
      return true;
    }
    if (G >= S.G) return false;
    S.G = G;
    return true;
  }
  uint32_t Best(uint64_t Key) {
    if (Key == 0) Key = 1;
    return Find(Key).G;
  }
  size_t Bytes() const { return FSlots.capacity() * sizeof(TSlot); }

 private:
  struct TSlot {
    uint64_t Key = 0;
    uint32_t G = 0;
  };
  TSlot& Find(uint64_t Key) {
    size_t I = (Key ^ (Key >> 29)) & (FSlots.size() - 1);
    while (FSlots[I].Key != 0 && FSlots[I].Key != Key) I = (I + 1) & (FSlots.size() - 1);
    return FSlots[I];
  }
  void Grow() {
    std::vector<TSlot> Old(FSlots.size() * 2);
    Old.swap(FSlots);
    for (const TSlot& S : Old)
      if (S.Key) Find(S.Key) = S;
  }
  std::vector<TSlot> FSlots;
  size_t FUsed = 0;
};
