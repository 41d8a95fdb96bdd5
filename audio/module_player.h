#pragma once
// A tracker module (MOD, XM, S3M, IT, MO3, ...) rendered through libopenmpt,
// looping at its end when asked to.
//
// The samples are resampled with cubic interpolation, not libopenmpt's
// default 8-tap windowed sinc: the music's share of a second of play drops
// by about 40% (bench/play_cost.sh), and the two renderings of each of our
// songs differ by 38 to 43 dB (sqtool audio snr), the difference lying
// mostly above 8 kHz, far under the music itself.
#include <cstddef>
#include <memory>
#include <string>

struct openmpt_module;

class TModulePlayer {
 public:
  // Null, with the reason in Error, when the bytes are no module libopenmpt
  // can read. The bytes are copied; the caller may free them afterwards.
  static std::unique_ptr<TModulePlayer> Load(const void* Data, size_t Size, bool Loop, std::string& Error);
  // Whether libopenmpt reads the bytes as a module, without decoding its
  // samples (a song that is not playing holds no decoded sound). False, with
  // the reason in Error, when it does not.
  static bool Check(const void* Data, size_t Size, std::string& Error);
  ~TModulePlayer();
  TModulePlayer(const TModulePlayer&) = delete;
  TModulePlayer& operator=(const TModulePlayer&) = delete;

  // Back to the first row of the first order.
  void Restart();
  // Renders Frames frames at Rate and adds them, scaled by the two gains, to
  // the interleaved stereo Mix. False once a module that does not loop has
  // played to its end.
  bool MixInto(float* Mix, size_t Frames, int Rate, float LeftGain, float RightGain);

 private:
  TModulePlayer() = default;
  struct TModuleDeleter {
    void operator()(openmpt_module* M) const;
  };
  std::unique_ptr<openmpt_module, TModuleDeleter> FModule;
  bool FLoop = true;
};
