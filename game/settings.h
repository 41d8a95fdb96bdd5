#pragma once
// The two player-adjustable volumes and their 8-byte settings file.
#include <memory>
#include <string>

class TVXStreamBase;

class TConfig {
 public:
  static constexpr const char* kVersion = "SQConfigUnit, version 1.0";
  static constexpr const char* kFileName = "Starquarry.cfg";

  // Full volume; nothing read.
  TConfig() = default;

  // Reads the settings file through the stream opener; a missing or
  // unreadable file gives full volume for both.
  void Load(const std::string& FileName = kFileName);
  // The file's layout: music volume, then effects volume, each a
  // little-endian single-precision float. Missing bytes leave 0.0.
  void ReadFrom(TVXStreamBase& Stream);
  void WriteTo(TVXStreamBase& Stream) const;
  // Replaces the file safely; false (old file kept, error logged) on failure.
  bool Save(const std::string& FileName = kFileName) const;

  float EffectsVolume = 1.0f;
  float MusicVolume = 1.0f;
  // The game writes its settings back at shutdown; the command-line tool,
  // which starts the same modules in any folder, must not.
  bool SaveAtStop = true;
};

// The module singleton: read when the module starts, written to the working
// directory when it stops.
extern std::unique_ptr<TConfig> Config;

void StartConfig();
void StopConfig();
