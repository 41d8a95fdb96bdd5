// Loads arbitrary bytes as the players' runs file: whatever loads saves back
// to the very same bytes, and new players beside it get identifiers that are
// non-negative, distinct and filed under no run.
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "registry/player_reg.h"
#include "registry/run_store.h"

namespace {
// The store reads and the registry writes files by name: one scratch folder
// (in memory where there is one, as the registry syncs every save), removed
// when the run ends.
struct TScratchFolder {
  std::filesystem::path Path;
  TScratchFolder() {
    const std::filesystem::path Shm = "/dev/shm";
    Path = (std::filesystem::is_directory(Shm) ? Shm : std::filesystem::temp_directory_path()) /
           ("fuzz_runs." + std::to_string(getpid()));
    std::filesystem::create_directories(Path);
  }
  ~TScratchFolder() {
    std::error_code Ignored;
    std::filesystem::remove_all(Path, Ignored);
  }
};

// Whatever decodes encodes back to the very same bytes.
void RoundTrip(const std::vector<uint8_t>& Bytes, std::vector<TRun>& Runs) {
  if (TRunStore::Decode(Bytes, Runs) && TRunStore::Encode(Runs) != Bytes) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const TScratchFolder Folder;
  std::vector<uint8_t> Bytes(Data, Data + Size);
  std::vector<TRun> Runs;
  RoundTrip(Bytes, Runs);
  // The input as a body with its checksum made right, so that the search
  // gets past the checksum into the runs.
  const uLong Crc = crc32(crc32(0L, Z_NULL, 0), Data, static_cast<uInt>(Size));
  for (int I = 0; I < 4; ++I) Bytes.push_back(static_cast<uint8_t>(Crc >> (8 * I)));
  RoundTrip(Bytes, Runs);

  const std::string RunsFile = (Folder.Path / TRunStore::kFileName).string();
  const std::string RegistryFile = (Folder.Path / TPlayerReg::kFileName).string();
  std::FILE* F = std::fopen(RunsFile.c_str(), "wb");
  if (!F) return 0;
  std::fwrite(Bytes.data(), 1, Bytes.size(), F);
  std::fclose(F);
  std::remove(RegistryFile.c_str());
  {
    TPlayerReg Registry(RegistryFile);
    // The counter a registry file might hold: the input's first bytes.
    uint32_t Counter = 0;
    for (size_t I = 0; I < std::min<size_t>(4, Size); ++I) Counter |= uint32_t{Data[I]} << (8 * I);
    Registry.NextID = static_cast<int32_t>(Counter);
    const std::vector<TRun>& Loaded = Registry.Runs().Runs();
    if (Loaded.size() != Runs.size()) __builtin_trap();
    std::vector<int32_t> Given;
    for (const char* Name : {"A", "B", "C"}) {
      if (!Registry.AddPlayer(Name)) __builtin_trap();
      const int32_t ID = Registry.PlayerID(Name);
      if (ID < 0 || std::find(Given.begin(), Given.end(), ID) != Given.end()) __builtin_trap();
      for (const TRun& R : Loaded)
        if (R.Player == ID) __builtin_trap();
      Given.push_back(ID);
    }
  }
  std::remove(RegistryFile.c_str());
  return 0;
}
