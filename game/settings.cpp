#include "game/settings.h"

#include <cmath>
#include <cstring>

#include "shell/file_stream.h"
#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/safe_file_writer.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"

std::unique_ptr<TConfig> Config;

namespace {
constexpr const char* kUnit = "SQConfigUnit, TConfig.";

// Bit for bit, as the file holds it (memcpy: not every standard library
// the game is built with has std::bit_cast).
template <typename TTo, typename TFrom>
TTo SameBits(TFrom From) {
  static_assert(sizeof(TTo) == sizeof(TFrom));
  TTo To;
  std::memcpy(&To, &From, sizeof To);
  return To;
}

bool ReadFloat(TVXStreamBase& Stream, float& Value) {
  uint32_t Bits;
  if (!Stream.ReadU32(Bits)) return false;
  Value = SameBits<float>(Bits);
  return true;
}

// A volume that is not a number would poison every later computation with it.
float Sanitized(float Value) { return std::isfinite(Value) ? Value : 1.0f; }

}  // namespace

void TConfig::ReadFrom(TVXStreamBase& Stream) {
  MusicVolume = 0.0f;
  EffectsVolume = 0.0f;
  if (ReadFloat(Stream, MusicVolume)) ReadFloat(Stream, EffectsVolume);
  if (!std::isfinite(MusicVolume) || !std::isfinite(EffectsVolume))
    Log->Warning("A volume in the settings file is not a number; full volume used", std::string(kUnit) + "ReadFrom");
  MusicVolume = Sanitized(MusicVolume);
  EffectsVolume = Sanitized(EffectsVolume);
}

void TConfig::WriteTo(TVXStreamBase& Stream) const {
  Stream.WriteU32(SameBits<uint32_t>(MusicVolume));
  Stream.WriteU32(SameBits<uint32_t>(EffectsVolume));
}

void TConfig::Load(const std::string& FileName) {
  MusicVolume = 1.0f;
  EffectsVolume = 1.0f;
  if (!StreamOpener) return;
  try {
    TVXStreamPtr Stream = StreamOpener->OpenStream(FileName);
    ReadFrom(*Stream);
  } catch (const std::exception&) {
    MusicVolume = 1.0f;
    EffectsVolume = 1.0f;
  }
}

bool TConfig::Save(const std::string& FileName) const {
  TMemoryStream Bytes;
  WriteTo(Bytes);
  // A crash mid-save leaves either the old settings or the new ones, never a cut file.
  std::string Error;
  if (!TSafeFileWriter::WriteFile(FileName, Bytes.Data().data(), Bytes.Data().size(), &Error)) {
    Log->Error("Settings not saved, the previous file is kept: " + Error, std::string(kUnit) + "Save");
    return false;
  }
  return true;
}

void StartConfig() {
  Config = std::make_unique<TConfig>();
  Config->Load();
}

void StopConfig() {
  if (Config && Config->SaveAtStop) Config->Save();
  Config.reset();
}
