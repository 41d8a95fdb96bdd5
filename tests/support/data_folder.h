#pragma once
// The game's data as the game finds it: the built data archive mounted, and
// an empty working folder so no loose file stands in for one of its members.
#include <memory>
#include <string>

#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace test_support {

// The built game, with the data archive appended to the program.
std::string GameProgram();
// The data archive alone, as the build makes it before appending it.
std::string DataArchive();

// For its lifetime: the working folder is a new empty folder, Archive is the
// only volume (mounted as the game mounts it) and the stream opener looks in
// the folder's Data/; the previous volumes, opener and folder come back after.
class TDataFolder {
 public:
  explicit TDataFolder(const std::string& Archive = GameProgram());
  TDataFolder(const TDataFolder&) = delete;
  TDataFolder& operator=(const TDataFolder&) = delete;

  // False when Archive could not be mounted.
  bool Mounted() const { return FMounted; }
  const TTempDir& Dir() const { return FDir; }

 private:
  TTempDir FDir;
  TChangeDir FInDir;
  TRestore<std::unique_ptr<TMAD4HighLevel>> FVolumes;
  TRestore<std::unique_ptr<TVXStreamOpener>> FOpener;
  bool FMounted = false;
};

}  // namespace test_support

using test_support::DataArchive;
using test_support::GameProgram;
using test_support::TDataFolder;
