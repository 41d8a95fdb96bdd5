#pragma once
// MPEG audio decoding through libmpg123, reading from one of our streams.
// Output is always interleaved stereo 16-bit at the file's own rate.
#include <memory>
#include <string>

#include "audio/pcm_sound.h"
#include "shell/stream.h"

struct mpg123_handle_struct;

class TMp3Decoder {
 public:
  // Null, with the reason in Error, when no MPEG audio frame is found.
  static std::unique_ptr<TMp3Decoder> Open(TVXStreamPtr Input, std::string& Error);
  ~TMp3Decoder();
  TMp3Decoder(const TMp3Decoder&) = delete;
  TMp3Decoder& operator=(const TMp3Decoder&) = delete;

  uint32_t Rate() const { return FRate; }
  // Decodes up to MaxFrames frames; 0 at the end of the data or on a
  // decoding error.
  size_t Read(int16_t* Stereo, size_t MaxFrames);
  // Back to the first frame.
  bool Rewind();

  // The whole input decoded into Sound; false (Error set) when nothing
  // decodes or the sound is longer than kMaxPcmFrames.
  static bool DecodeAll(TVXStreamPtr Input, TPcmSound& Sound, std::string& Error);

 private:
  TMp3Decoder() = default;
  struct THandleDeleter {
    void operator()(mpg123_handle_struct* H) const;
  };
  std::unique_ptr<mpg123_handle_struct, THandleDeleter> FHandle;
  TVXStreamPtr FInput;
  uint32_t FRate = 44100;
};
