#pragma once
// The mounted archives ("volumes") in priority order: a name is served by the
// first volume, highest priority first, that holds it.
#include <memory>
#include <string>
#include <vector>

#include "storage/mad4_mid_level.h"

struct TMAD4VolumeData {
  std::string FileName;
  int32_t Priority = 0;
  std::unique_ptr<TMAD4MidLevel> Volume;
};

class TMAD4HighLevel {
 public:
  static constexpr const char* kVersion = "MAD4HighLevelUnit, version 1.05";

  // Mounts a volume; the newest of equal priorities is asked first. False
  // (nothing added) when the file is not a MAD4 archive or cannot be opened.
  bool Mount(const std::string& FileName, int32_t Priority, bool ReadOnly);
  // Unmounts the volume of that file name (compared without regard to case).
  void Unmount(const std::string& FileName);
  bool IsExists(const std::string& Name) const;
  TVXStreamPtr OpenFile(const std::string& Name);
  // As TMAD4MidLevel::GetFileInfo, from the first volume holding the name.
  void GetFileInfo(std::string& Name, int32_t& Start, int32_t& Size, bool& Compressed) const;
  void ListVolumes() const;
  // Drops a leading backslash, or leading "..\" groups (each shortening
  // CurrentDir), and prefixes CurrentDir. "/" works like "\".
  std::string ExpandName(const std::string& Name) const;

  const std::vector<TMAD4VolumeData>& Volumes() const { return FVolumes; }
  std::string CurrentDir;

 private:
  std::vector<TMAD4VolumeData> FVolumes;
};

// The module singleton: the volume manager.
extern std::unique_ptr<TMAD4HighLevel> VolumeManager;

void StartVolumeManager();
void StopVolumeManager();
