#pragma once
// One piece of music: an MP3 played as a looping stream, or a tracker
// module played as a looping module.
#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_system.h"

class TMusic {
 public:
  static constexpr const char* kVersion = "MusicUnit, version 1.02";

  // A name ending in ".mp3" (any case, more than the four characters) is an
  // MP3 stream; anything else a module. A failed load leaves Handle() 0.
  explicit TMusic(const std::string& Name);
  ~TMusic();
  TMusic(const TMusic&) = delete;
  TMusic& operator=(const TMusic&) = delete;

  // Starts from the beginning.
  void Play();
  void Stop();
  // A song that failed to load tries again (the page fetches the songs after
  // the game has started): once it loads, it takes the volume last set and
  // plays if it was asked to play and not stopped since. True when it is
  // loaded (now or before).
  bool LoadLate();
  // Goes on from where Stop left it.
  void Resume();
  // Clamped to 0..1.
  void SetVolume(float Volume);

  bool IsStream() const { return FIsStream; }
  TSoundHandle Handle() const { return FMusic; }
  int32_t BufferSize() const { return FBufferSize; }

  // True when Name is taken as an MP3 stream.
  static bool IsMp3Name(const std::string& Name);

 private:
  // Loads the song; the log says how it went.
  void Load();

  std::string FName;
  bool FIsStream = false;
  bool FWanted = false;  // played and not stopped since
  float FVolume = -1;    // last set, below 0 while never set
  TSoundHandle FMusic = 0;
  std::vector<uint8_t> FBuffer;  // read by the stream while it plays
  int32_t FBufferSize = -1;
};
