#include "world/effects.h"

#include "audio/wave.h"
#include "audio/wave_collection.h"

namespace {
std::function<void(const std::string&)>& Listener() {
  static std::function<void(const std::string&)> L;
  return L;
}
}  // namespace

void SetEffectListener(std::function<void(const std::string&)> L) { Listener() = std::move(L); }

void PlayEffect(const std::string& Name) {
  if (Listener()) Listener()(Name);
  if (!WaveCollection) return;
  if (TWaveCollectionItem* Item = WaveCollection->ItemByName(Name))
    if (Item->Wave) Item->Wave->Play();
}
