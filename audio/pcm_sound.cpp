#include "audio/pcm_sound.h"

bool TPcmSound::FoldToMono() {
  if (Channels != 2) return false;
  const size_t N = Frames();
  for (size_t I = 0; I < N; ++I)
    if (Samples[I * 2] != Samples[I * 2 + 1]) return false;
  for (size_t I = 0; I < N; ++I) Samples[I] = Samples[I * 2];
  Samples.resize(N);
  Samples.shrink_to_fit();
  Channels = 1;
  return true;
}
