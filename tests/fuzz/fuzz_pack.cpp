// Whole level packs mounted and loaded as the game loads them, then every
// map started and stepped: no input may end the game. The input is cut into
// members (info, maps 001.mpp on, a controls.ini and a picture), so most
// runs reach the map loader; with its first byte odd it is the pack file as is.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/sprite.h"
#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"
#include "tests/storage/archive_bytes.h"
#include "world/map_runner.h"
#include "world/maps.h"
#include "world/pack_reader.h"

namespace {

const std::string& ScratchFile() {
  static const std::string Name = [] {
    const char* Base = std::getenv("TMPDIR");
    std::string Pattern = std::string(Base ? Base : "/tmp") + "/fuzz_pack_XXXXXX";
    const int Fd = mkstemp(Pattern.data());
    if (Fd >= 0) close(Fd);
    return Pattern;
  }();
  return Name;
}

std::vector<uint8_t> Members(const uint8_t* Data, size_t Size) {
  static const char* const kNames[] = {"info", "001.mpp", "002.mpp", "003.mpp", "controls.ini", "b.tga", "004.mpp"};
  static const char* const kKinds[] = {"RAWD", "RAWD", "RAWD", "LINK"};
  TArchiveBytes A;
  size_t At = 1;
  while (At + 3 <= Size) {
    const uint8_t Which = Data[At];
    const size_t Length = std::min<size_t>(Data[At + 1] | Data[At + 2] << 8, Size - At - 3);
    const std::vector<uint8_t> Bytes(Data + At + 3, Data + At + 3 + Length);
    A.Member(kKinds[(Which >> 4) & 3], kNames[(Which & 0x0F) % 7], Bytes);
    At += 3 + Length;
  }
  return A.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool Started = [] {
    StartVolumeManager();
    StartStreamOpener();
    return true;
  }();
  (void)Started;
  if (Size == 0) return 0;
  const std::vector<uint8_t> Pack = Data[0] & 1 ? std::vector<uint8_t>(Data, Data + Size) : Members(Data, Size);
  const std::string& Name = ScratchFile();
  std::FILE* F = std::fopen(Name.c_str(), "wb");
  if (!F) return 0;
  std::fwrite(Pack.data(), 1, Pack.size(), F);
  std::fclose(F);

  Blocks = std::make_unique<TImageCollection>();
  TImage Screen(640, 480);
  SetDefaultSpriteTarget(&Screen);
  {
    TMaps World;
    World.Effects = {};
    if (World.Load(Name)) {
      if (VolumeManager->IsExists("info")) __builtin_trap();  // the pack must not stay mounted
      for (int MapNo = 0; MapNo < World.MapCount(); ++MapNo) {
        TMapRun Run;
        Run.MapNo = MapNo;
        StartMapRun(World, Run);
        for (char Key : std::string("RRDDLLUU.."))
          while (!RunMapFrame(World, Run, Screen, [Key] { return ElfKeysFor(Key); })) {}
      }
    }
  }
  // The editor's reading: whatever it accepts, every map it keeps was read.
  {
    TStoredPack Stored;
    std::string Error;
    if (ReadStoredPack(Name, Stored, Error) && Stored.Maps.size() != Stored.Numbers.size()) __builtin_trap();
  }
  SetDefaultSpriteTarget(nullptr);
  Blocks.reset();
  return 0;
}
