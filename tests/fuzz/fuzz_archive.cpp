// Mounts arbitrary bytes as an archive and opens every member.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "storage/mad4_mid_level.h"

namespace {

// One scratch file per fuzzing process: the chunk layer mounts files.
const std::string& ScratchFile() {
  static const std::string Name = [] {
    const char* Base = std::getenv("TMPDIR");
    std::string Pattern = std::string(Base ? Base : "/tmp") + "/fuzz_archive_XXXXXX";
    const int Fd = mkstemp(Pattern.data());
    if (Fd >= 0) close(Fd);
    return Pattern;
  }();
  return Name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string& Name = ScratchFile();
  std::FILE* F = std::fopen(Name.c_str(), "wb");
  if (!F) return 0;
  std::fwrite(Data, 1, Size, F);
  std::fclose(F);

  TMAD4MidLevel Archive;
  Archive.Mount(Name, true);
  if (Archive.Status() != TMAD4LowLevel::kMountedOk) return 0;
  for (int I = 0; I < Archive.FileCount(); ++I) {
    const TMAD4FileData File = *Archive.GetFile(I);
    if (auto S = Archive.OpenFile(File.Name)) S->ReadAll();
    std::string InfoName = File.Name;
    int32_t Start = 0, Length = 0;
    bool Compressed = false;
    Archive.GetFileInfo(InfoName, Start, Length, Compressed);
  }
  for (int I = 0; I < Archive.ChunkCount(); ++I) {
    int32_t Length = 0;
    Archive.OpenChunkStream(Archive.GetChunk(I)->Start, Length);
  }
  return 0;
}
