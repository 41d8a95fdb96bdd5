// Loads arbitrary bytes as a player registry file, then checks that what was
// loaded saves, and that the saved form reads back to the same bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "registry/player_registry.h"
#include "shell/memory_stream.h"

namespace {
// Load reads files by name: each input goes through one scratch file,
// removed when the run ends.
struct TScratchFile {
  std::string Path =
      (std::filesystem::temp_directory_path() / ("fuzz_registry." + std::to_string(getpid()) + ".vmu")).string();
  ~TScratchFile() { std::remove(Path.c_str()); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const TScratchFile File;
  std::FILE* F = std::fopen(File.Path.c_str(), "wb");
  if (!F) return 0;
  std::fwrite(Data, 1, Size, F);
  std::fclose(F);

  TPlayerRegistry R;
  R.Load(File.Path);
  TMemoryStream Saved;
  if (!R.WriteTo(Saved)) __builtin_trap();  // whatever loads fits the format
  Saved.Seek(4);
  TPlayerRegistry Back;
  TMemoryStream Again;
  if (!Back.ReadPREG(Saved) || !Back.WriteTo(Again) || Again.Data() != Saved.Data()) __builtin_trap();
  return 0;
}
