#pragma once
// An MP3 played as it decodes: small buffers, resampled to the mix rate,
// optionally looping at its end.
#include <memory>
#include <vector>

#include "audio/mp3_decoder.h"

class TMp3Stream {
 public:
  TMp3Stream(std::unique_ptr<TMp3Decoder> Decoder, bool Loop);

  // From the first frame again.
  void Restart();
  // Adds Frames frames at Rate to the interleaved stereo Mix. False once a
  // stream that does not loop has played to its end.
  bool MixInto(float* Mix, size_t Frames, int Rate, float LeftGain, float RightGain);

 private:
  // Makes at least Count frames available from FRead on; false when the
  // data has ended (fewer are then there).
  bool Fill(size_t Count);

  std::unique_ptr<TMp3Decoder> FDecoder;
  bool FLoop;
  bool FEnded = false;
  std::vector<int16_t> FBuffer;  // decoded stereo frames
  size_t FRead = 0;              // frame index of the current position
  double FFraction = 0;          // between FRead and FRead + 1
};
