#include "registry/run_store.h"

#include <zlib.h>

#include <algorithm>

#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/toolbox.h"

// The file: "SQRN", version (u16), run count (u32), the runs, then the CRC-32
// of everything before it (u32). A run: player identifier (i32), pack name
// (u16 length and its bytes), map number (i32), step count (u32) and one key
// byte per step; in version 2 then a byte of marks (bit 0: a hint was shown
// on the way). All little-endian. A store without marks is written as
// version 1, which older builds read too.

namespace {
constexpr const char* kMagic = "SQRN";
constexpr uint16_t kPlainVersion = 1;
constexpr uint16_t kMarkedVersion = 2;
constexpr uint8_t kHintedMark = 1;
constexpr const char* kLoadHeading = "RunStoreUnit, TRunStore.Load";
constexpr size_t kMaxPackName = 65535;

uint32_t Checksum(const uint8_t* Bytes, size_t Count) {
  uLong Crc = crc32(0L, Z_NULL, 0);
  // zlib counts in unsigned int; feed it in pieces that fit.
  while (Count > 0) {
    const uInt Piece = static_cast<uInt>(std::min<size_t>(Count, 1u << 30));
    Crc = crc32(Crc, Bytes, Piece);
    Bytes += Piece;
    Count -= Piece;
  }
  return static_cast<uint32_t>(Crc);
}

bool ReadRun(TVXStreamBase& In, uint16_t Version, TRun& R) {
  uint16_t NameLength;
  uint32_t Steps;
  if (!In.ReadI32(R.Player) || !In.ReadU16(NameLength)) return false;
  R.Pack.resize(NameLength);
  if (!In.ReadExact(R.Pack.data(), NameLength) || !In.ReadI32(R.MapNo) || !In.ReadU32(Steps)) return false;
  if (Steps > static_cast<uint32_t>(TRunStore::kMaxSteps) || Steps > static_cast<uint64_t>(In.Remaining()))
    return false;
  R.Keys.resize(Steps);
  if (!In.ReadExact(R.Keys.data(), Steps) || R.MapNo < 0 || !TRunStore::ValidKeys(R.Keys)) return false;
  if (Version < kMarkedVersion) return true;
  uint8_t Marks;
  if (!In.ReadU8(Marks) || (Marks & ~kHintedMark) != 0) return false;
  R.Hinted = (Marks & kHintedMark) != 0;
  return true;
}
}  // namespace

TRunStore::TRunStore(std::string FileName) : FFileName(std::move(FileName)) { Load(); }

size_t TRunStore::TKeyHash::operator()(const TKey& K) const {
  size_t H = std::hash<std::string>()(K.Pack);
  H ^= std::hash<uint64_t>()((uint64_t{static_cast<uint32_t>(K.Player)} << 32) | static_cast<uint32_t>(K.MapNo)) +
       0x9e3779b97f4a7c15ULL + (H << 6) + (H >> 2);
  return H;
}

TRunStore::TKey TRunStore::KeyOf(int32_t Player, const std::string& Pack, int32_t MapNo) {
  return {Player, VXToolbox::UpperCase(Pack), MapNo};
}

void TRunStore::Reindex() {
  FIndex.clear();
  FIndex.reserve(FRuns.size());
  for (size_t I = 0; I < FRuns.size(); ++I) FIndex.emplace(KeyOf(FRuns[I].Player, FRuns[I].Pack, FRuns[I].MapNo), I);
}

bool TRunStore::ValidKeys(const std::string& Keys) {
  if (Keys.empty() || Keys.size() > static_cast<size_t>(kMaxSteps)) return false;
  return std::all_of(Keys.begin(), Keys.end(),
                     [](char C) { return C == 'U' || C == 'D' || C == 'L' || C == 'R' || C == '.'; });
}

std::vector<uint8_t> TRunStore::Encode(const std::vector<TRun>& Runs) {
  TMemoryStream Out;
  Out.WriteString(kMagic);
  const bool Marked = std::any_of(Runs.begin(), Runs.end(), [](const TRun& R) { return R.Hinted; });
  Out.WriteU16(Marked ? kMarkedVersion : kPlainVersion);
  Out.WriteU32(static_cast<uint32_t>(Runs.size()));
  for (const TRun& R : Runs) {
    Out.WriteI32(R.Player);
    Out.WriteU16(static_cast<uint16_t>(R.Pack.size()));
    Out.WriteString(R.Pack);
    Out.WriteI32(R.MapNo);
    Out.WriteU32(static_cast<uint32_t>(R.Keys.size()));
    Out.WriteString(R.Keys);
    if (Marked) Out.WriteU8(R.Hinted ? kHintedMark : 0);
  }
  const uint32_t Crc = Checksum(Out.Data().data(), Out.Data().size());
  Out.WriteU32(Crc);
  return std::move(Out.Data());
}

bool TRunStore::Decode(const std::vector<uint8_t>& Bytes, std::vector<TRun>& Runs) {
  TIndex Index;
  return DecodeIndexed(Bytes, Runs, Index);
}

bool TRunStore::DecodeIndexed(const std::vector<uint8_t>& Bytes, std::vector<TRun>& Runs, TIndex& Index) {
  Runs.clear();
  Index.clear();
  if (Bytes.size() < 14) return false;
  const size_t Body = Bytes.size() - 4;
  const uint32_t Stored =
      Bytes[Body] | (Bytes[Body + 1] << 8) | (Bytes[Body + 2] << 16) | (static_cast<uint32_t>(Bytes[Body + 3]) << 24);
  if (Stored != Checksum(Bytes.data(), Body)) return false;
  TMemoryStream In(std::vector<uint8_t>(Bytes.begin(), Bytes.begin() + static_cast<std::ptrdiff_t>(Body)));
  char Magic[4];
  uint16_t Version;
  uint32_t Count;
  if (!In.ReadExact(Magic, 4) || std::string(Magic, 4) != kMagic || !In.ReadU16(Version) ||
      (Version != kPlainVersion && Version != kMarkedVersion) || !In.ReadU32(Count))
    return false;
  std::vector<TRun> Read;
  // Files of a few hundred thousand runs load in a blink: one lookup a run.
  TIndex Seen;
  Seen.reserve(std::min<size_t>(Count, Bytes.size() / 15));
  for (uint32_t I = 0; I < Count; ++I) {
    TRun R;
    if (!ReadRun(In, Version, R)) return false;
    // The store files one run per map; a second is no file of ours.
    if (!Seen.emplace(KeyOf(R.Player, R.Pack, R.MapNo), Read.size()).second) return false;
    Read.push_back(std::move(R));
  }
  if (!In.Eof()) return false;
  Runs = std::move(Read);
  Index = std::move(Seen);
  return true;
}

void TRunStore::Load() {
  std::vector<uint8_t> Bytes;
  std::string Error;
  switch (ReadWholeFile(FFileName, Bytes, &Error)) {
    case TFileRead::Missing: return;
    case TFileRead::Unreadable:
      Log->Error("Cannot read " + FFileName + " (" + Error + "); starting without runs, and the file is not replaced " +
                     "unless it can first be kept aside as " + FFileName + ".bad (or .bad.N)",
                 kLoadHeading);
      FFile.MarkDamaged(FFileName);
      return;
    case TFileRead::Read: break;
  }
  if (!DecodeIndexed(Bytes, FRuns, FIndex)) {
    Log->Error("Damaged runs file " + FFileName + "; starting without runs, the file will be kept aside as " +
                   FFileName + ".bad (or .bad.N)",
               kLoadHeading);
    FFile.MarkDamaged(FFileName);
  }
}

bool TRunStore::Save() {
  FLastSaveOk = FFile.Save(FFileName, Encode(FRuns));
  return FLastSaveOk;
}

TRunKept TRunStore::Keep(int32_t Player, const std::string& Pack, int32_t MapNo, const std::string& Keys, bool Hinted) {
  if (MapNo < 0 || Pack.size() > kMaxPackName || !ValidKeys(Keys)) return TRunKept::BadRun;
  const auto [It, New] = FIndex.emplace(KeyOf(Player, Pack, MapNo), FRuns.size());
  if (New) {
    FRuns.push_back({Player, Pack, MapNo, Keys, Hinted});
  } else {
    TRun& Kept = FRuns[It->second];
    // A run of the player's own beats one a hint helped, whatever its steps.
    const bool Better = Kept.Hinted != Hinted ? Kept.Hinted : Keys.size() < Kept.Keys.size();
    if (!Better) return TRunKept::NotShorter;
    Kept.Keys = Keys;
    Kept.Hinted = Hinted;
  }
  Save();
  return TRunKept::Kept;
}

const TRun* TRunStore::Best(int32_t Player, const std::string& Pack, int32_t MapNo) const {
  const auto It = FIndex.find(KeyOf(Player, Pack, MapNo));
  return It == FIndex.end() ? nullptr : &FRuns[It->second];
}

int TRunStore::DeletePlayer(int32_t Player) {
  const auto Before = FRuns.size();
  std::erase_if(FRuns, [Player](const TRun& R) { return R.Player == Player; });
  const int Dropped = static_cast<int>(Before - FRuns.size());
  if (Dropped > 0) {
    Reindex();
    Save();
  }
  return Dropped;
}

int32_t TRunStore::HighestPlayer() const {
  int32_t Highest = -1;
  for (const TRun& R : FRuns) Highest = std::max(Highest, R.Player);
  return Highest;
}
