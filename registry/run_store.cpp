#include "registry/run_store.h"

#include <zlib.h>

#include <algorithm>

#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/toolbox.h"

// The file: "SQRN", version (u16), run count (u32), the runs, then the CRC-32
// of everything before it (u32). A run: player identifier (i32), pack name
// (u16 length and its bytes), map number (i32), step count (u32) and one key
// byte per step. All little-endian.

namespace {
constexpr const char* kMagic = "SQRN";
constexpr uint16_t kVersion = 1;
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

bool SameRun(const TRun& R, int32_t Player, const std::string& Pack, int32_t MapNo) {
  return R.Player == Player && R.MapNo == MapNo && VXToolbox::SameText(R.Pack, Pack);
}

bool ReadRun(TVXStreamBase& In, TRun& R) {
  uint16_t NameLength;
  uint32_t Steps;
  if (!In.ReadI32(R.Player) || !In.ReadU16(NameLength)) return false;
  R.Pack.resize(NameLength);
  if (!In.ReadExact(R.Pack.data(), NameLength) || !In.ReadI32(R.MapNo) || !In.ReadU32(Steps)) return false;
  if (Steps > static_cast<uint32_t>(TRunStore::kMaxSteps) || Steps > static_cast<uint64_t>(In.Remaining()))
    return false;
  R.Keys.resize(Steps);
  return In.ReadExact(R.Keys.data(), Steps) && R.MapNo >= 0 && TRunStore::ValidKeys(R.Keys);
}
}  // namespace

TRunStore::TRunStore(std::string FileName) : FFileName(std::move(FileName)) { Load(); }

bool TRunStore::ValidKeys(const std::string& Keys) {
  if (Keys.empty() || Keys.size() > static_cast<size_t>(kMaxSteps)) return false;
  return std::all_of(Keys.begin(), Keys.end(),
                     [](char C) { return C == 'U' || C == 'D' || C == 'L' || C == 'R' || C == '.'; });
}

std::vector<uint8_t> TRunStore::Encode(const std::vector<TRun>& Runs) {
  TMemoryStream Out;
  Out.WriteString(kMagic);
  Out.WriteU16(kVersion);
  Out.WriteU32(static_cast<uint32_t>(Runs.size()));
  for (const TRun& R : Runs) {
    Out.WriteI32(R.Player);
    Out.WriteU16(static_cast<uint16_t>(R.Pack.size()));
    Out.WriteString(R.Pack);
    Out.WriteI32(R.MapNo);
    Out.WriteU32(static_cast<uint32_t>(R.Keys.size()));
    Out.WriteString(R.Keys);
  }
  const uint32_t Crc = Checksum(Out.Data().data(), Out.Data().size());
  Out.WriteU32(Crc);
  return std::move(Out.Data());
}

bool TRunStore::Decode(const std::vector<uint8_t>& Bytes, std::vector<TRun>& Runs) {
  Runs.clear();
  if (Bytes.size() < 14) return false;
  const size_t Body = Bytes.size() - 4;
  const uint32_t Stored =
      Bytes[Body] | (Bytes[Body + 1] << 8) | (Bytes[Body + 2] << 16) | (static_cast<uint32_t>(Bytes[Body + 3]) << 24);
  if (Stored != Checksum(Bytes.data(), Body)) return false;
  TMemoryStream In(std::vector<uint8_t>(Bytes.begin(), Bytes.begin() + static_cast<std::ptrdiff_t>(Body)));
  char Magic[4];
  uint16_t Version;
  uint32_t Count;
  if (!In.ReadExact(Magic, 4) || std::string(Magic, 4) != kMagic || !In.ReadU16(Version) || Version != kVersion ||
      !In.ReadU32(Count))
    return false;
  std::vector<TRun> Read;
  for (uint32_t I = 0; I < Count; ++I) {
    TRun R;
    if (!ReadRun(In, R)) return false;
    // The store files one run per map; a second is no file of ours.
    for (const TRun& Earlier : Read)
      if (SameRun(Earlier, R.Player, R.Pack, R.MapNo)) return false;
    Read.push_back(std::move(R));
  }
  if (!In.Eof()) return false;
  Runs = std::move(Read);
  return true;
}

void TRunStore::Load() {
  std::vector<uint8_t> Bytes;
  std::string Error;
  switch (ReadWholeFile(FFileName, Bytes, &Error)) {
    case TFileRead::Missing: return;
    case TFileRead::Unreadable:
      Log->Error("Cannot read " + FFileName + " (" + Error + "); starting without runs, and the file is not replaced " +
                     "unless it can first be kept as " + FFileName + ".bad",
                 kLoadHeading);
      FFile.MarkDamaged(FFileName);
      return;
    case TFileRead::Read: break;
  }
  if (!Decode(Bytes, FRuns)) {
    Log->Error(
        "Damaged runs file " + FFileName + "; starting without runs, the file will be kept as " + FFileName + ".bad",
        kLoadHeading);
    FFile.MarkDamaged(FFileName);
  }
}

bool TRunStore::Save() {
  FLastSaveOk = FFile.Save(FFileName, Encode(FRuns));
  return FLastSaveOk;
}

TRunKept TRunStore::Keep(int32_t Player, const std::string& Pack, int32_t MapNo, const std::string& Keys) {
  if (MapNo < 0 || Pack.size() > kMaxPackName || !ValidKeys(Keys)) return TRunKept::BadRun;
  auto It = std::find_if(FRuns.begin(), FRuns.end(), [&](const TRun& R) { return SameRun(R, Player, Pack, MapNo); });
  if (It != FRuns.end()) {
    if (It->Keys.size() <= Keys.size()) return TRunKept::NotShorter;
    It->Keys = Keys;
  } else {
    FRuns.push_back({Player, Pack, MapNo, Keys});
  }
  Save();
  return TRunKept::Kept;
}

const TRun* TRunStore::Best(int32_t Player, const std::string& Pack, int32_t MapNo) const {
  for (const TRun& R : FRuns)
    if (SameRun(R, Player, Pack, MapNo)) return &R;
  return nullptr;
}

int TRunStore::DeletePlayer(int32_t Player) {
  const auto Before = FRuns.size();
  std::erase_if(FRuns, [Player](const TRun& R) { return R.Player == Player; });
  const int Dropped = static_cast<int>(Before - FRuns.size());
  if (Dropped > 0) Save();
  return Dropped;
}

int32_t TRunStore::HighestPlayer() const {
  int32_t Highest = -1;
  for (const TRun& R : FRuns) Highest = std::max(Highest, R.Player);
  return Highest;
}
