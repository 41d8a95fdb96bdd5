#include "audio/mp3_stream.h"

namespace {
constexpr size_t kDecodeFrames = 2304;
}

TMp3Stream::TMp3Stream(std::unique_ptr<TMp3Decoder> Decoder, bool Loop) : FDecoder(std::move(Decoder)), FLoop(Loop) {}

void TMp3Stream::Restart() {
  FDecoder->Rewind();
  FBuffer.clear();
  FRead = 0;
  FFraction = 0;
  FEnded = false;
}

bool TMp3Stream::Fill(size_t Count) {
  if (FRead > 0 && FRead * 2 >= FBuffer.size() / 2) {
    FBuffer.erase(FBuffer.begin(), FBuffer.begin() + static_cast<long>(FRead * 2));
    FRead = 0;
  }
  bool Rewound = false;
  while (FBuffer.size() / 2 < FRead + Count && !FEnded) {
    const size_t Have = FBuffer.size();
    FBuffer.resize(Have + kDecodeFrames * 2);
    const size_t Got = FDecoder->Read(FBuffer.data() + Have, kDecodeFrames);
    FBuffer.resize(Have + Got * 2);
    if (Got > 0) {
      Rewound = false;
      continue;
    }
    // At the end: a looping stream continues from its first frame, unless
    // that yields nothing at once (then there is nothing to loop).
    if (FLoop && !Rewound && FDecoder->Rewind()) {
      Rewound = true;
      continue;
    }
    FEnded = true;
  }
  return FBuffer.size() / 2 >= FRead + Count;
}

bool TMp3Stream::MixInto(float* Mix, size_t Frames, int Rate, float LeftGain, float RightGain) {
  const double Step = static_cast<double>(FDecoder->Rate()) / Rate;
  constexpr float kScale = 1.0f / 32768.0f;
  for (size_t I = 0; I < Frames; ++I) {
    if (!Fill(2)) {
      // The last frame has no successor to blend with.
      if (FBuffer.size() / 2 <= FRead) return false;
    }
    const int16_t* A = &FBuffer[FRead * 2];
    const int16_t* B = FBuffer.size() / 2 > FRead + 1 ? A + 2 : A;
    const float T = static_cast<float>(FFraction);
    Mix[I * 2] += (A[0] + (B[0] - A[0]) * T) * kScale * LeftGain;
    Mix[I * 2 + 1] += (A[1] + (B[1] - A[1]) * T) * kScale * RightGain;
    FFraction += Step;
    const size_t Whole = static_cast<size_t>(FFraction);
    FRead += Whole;
    FFraction -= static_cast<double>(Whole);
  }
  return true;
}
