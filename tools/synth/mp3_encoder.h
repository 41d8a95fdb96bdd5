#pragma once
// Mono 16-bit samples to an MP3 file image through libmp3lame. The result
// carries no ID3 tag and nothing time-dependent, only a LAME info frame at
// the start: decoders read the encoder delay and padding from it and so
// return the sound without the leading silence an MP3 otherwise has.
#include <cstdint>
#include <stdexcept>
#include <vector>

class EMp3Encode : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& Samples, int SampleRate, int KBitsPerSecond);
