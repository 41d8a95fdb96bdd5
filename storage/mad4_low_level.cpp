#include "storage/mad4_low_level.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "shell/logger.h"
#include "shell/memory_stream.h"

namespace {

constexpr const char* kMountHeading = "MAD4LowLevelUnit, TMAD4LowLevel.Mount";
constexpr const char* kAddHeading = "MAD4LowLevelUnit, TMAD4LowLevel.Add";

std::string Hex8(uint32_t V) {
  char Buffer[16];
  std::snprintf(Buffer, sizeof Buffer, "%08X", V);
  return Buffer;
}

uint32_t GetU32(const uint8_t* P) {
  return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) | (static_cast<uint32_t>(P[2]) << 16) |
         (static_cast<uint32_t>(P[3]) << 24);
}

bool IsMagic(uint32_t V) { return V == MakeFourCC("MAD4") || V == MakeFourCC("MADU"); }

}  // namespace

std::string FourCCText(uint32_t FourCC) {
  std::string Text(4, ' ');
  for (int I = 0; I < 4; ++I) Text[static_cast<size_t>(I)] = static_cast<char>(FourCC >> (8 * I));
  return Text;
}

TMAD4LowLevel::TMAD4LowLevel() = default;

TMAD4LowLevel::~TMAD4LowLevel() {
  if (FMounted) TMAD4LowLevel::Unmount();
}

void TMAD4LowLevel::Mount(const std::string& FileName, bool ReadOnly) {
  if (FMounted) Unmount();
  FMounted = false;
  FDamaged = false;
  FEnded = false;
  FChunks.clear();
  FStream.reset();
  FBaseOffset = 0;
  Log->Debug("Mounting file: " + FileName, kMountHeading);
  Log->Debug(ReadOnly ? "Mode: Read-only" : "Mode: Read/Write", kMountHeading);
  FFileName = FileName;
  FReadOnly = ReadOnly;

  std::error_code Error;
  if (!std::filesystem::exists(FileName, Error)) {
    // Read-only writes nothing, so it cannot make the empty archive either.
    if (ReadOnly) {
      Log->Error("Cannot mount " + FileName + " read-only: it does not exist", kMountHeading);
      FStatus = kNotMAD4;
      return;
    }
    CreateEmpty();
    FMounted = true;
    FStatus = kMountedOk;
    return;
  }

  FStream = TFileStream::Open(FileName, ReadOnly ? TFileStream::TMode::Read : TFileStream::TMode::ReadWrite);
  if (!FStream) {
    // A FIFO or a device is refused without waiting on it: say so plainly.
    const std::string Cause = std::strerror(errno);
    struct stat St;
    const bool Regular = ::stat(FileName.c_str(), &St) != 0 || S_ISREG(St.st_mode);
    throw EArchiveOpen("Cannot open file " + FileName + ": " + (Regular ? Cause : "not a regular file"));
  }
  const int64_t Size = FStream->Size();
  if (Size > INT32_MAX) {
    Log->Error("File too large for a MAD4 archive: " + FileName, kMountHeading);
    FStream.reset();
    FStatus = kNotMAD4;
    return;
  }

  // Locate the archive from the trailer; without one it starts at 0.
  uint8_t Tail[12];
  if (Size >= 12 && FStream->Seek(Size - 12) && FStream->ReadExact(Tail, 12) && GetU32(Tail) == kFourCCEnds &&
      GetU32(Tail + 4) == 4) {
    const int64_t Length = GetU32(Tail + 8);
    if (Length <= Size) {
      FBaseOffset = static_cast<int32_t>(Size - Length);
      FEnded = true;
    } else {
      Log->Warning("Archive length " + std::to_string(Length) + " in the trailer exceeds the file; reading from 0",
                   kMountHeading);
    }
  }

  uint32_t Magic = 0;
  if (!FStream->Seek(FBaseOffset) || !FStream->ReadU32(Magic) || !IsMagic(Magic)) {
    Log->Error("Not a MAD4 file!", kMountHeading);
    FStream.reset();
    FStatus = kNotMAD4;
    return;
  }

  // The walk runs to the end of the file, not to the header's length.
  int64_t Position = FBaseOffset + 8;
  while (Position <= Size - 8) {
    const TMAD4ChunkData Chunk = ReadChunkData(Position);
    if (Chunk.Size < 0 || Position + 8 + Chunk.Size > Size) {
      Log->Error("Chunk runs past the end of the file (start: " + std::to_string(Position) + ", size: " +
                     std::to_string(static_cast<uint32_t>(Chunk.Size)) + "); the rest of the archive is ignored",
                 kMountHeading);
      FDamaged = true;
      break;
    }
    FChunks.push_back(Chunk);
    Position += 8 + Chunk.Size;
  }
  if (FDamaged && !FReadOnly) Log->Warning("Damaged archive mounted without writing", kMountHeading);
  FMounted = true;
  FStatus = kMountedOk;
}

void TMAD4LowLevel::CreateEmpty() {
  FStream = TFileStream::Open(FFileName, TFileStream::TMode::Create);
  if (!FStream) throw EArchiveOpen("Cannot create file " + FFileName);
  FStream->WriteU32(MakeFourCC("MAD4"));
  FStream->WriteU32(8);
  const bool WasReadOnly = FReadOnly;
  FReadOnly = false;
  WriteEnds();
  FReadOnly = WasReadOnly;
}

void TMAD4LowLevel::Unmount() {
  if (!FMounted) return;
  WriteEnds();
  FMounted = false;
  FStatus = kNotMounted;
  CombineNulls();
  FChunks.clear();
  FStream.reset();
}

TMAD4ChunkData TMAD4LowLevel::ReadChunkData(int64_t Position) {
  TMAD4ChunkData Chunk;
  Chunk.Start = static_cast<int32_t>(Position);
  uint32_t FourCC = 0, Size = 0;
  FStream->Seek(Position);
  if (FStream->ReadU32(FourCC) && FStream->ReadU32(Size)) {
    Chunk.FourCC = FourCC;
    Chunk.Size = static_cast<int32_t>(Size);
  }
  Log->Debug("Chunk found: " + FourCCText(Chunk.FourCC) + " (start: " + std::to_string(Chunk.Start) +
                 ", size: " + std::to_string(Chunk.Size) + ")",
             "MAD4LowLevelUnit, TMAD4LowLevel.ReadChunkData");
  FStream->Seek(Position + 8 + std::max<int64_t>(Chunk.Size, 0));
  return Chunk;
}

TVXStreamPtr TMAD4LowLevel::OpenChunkStream(int32_t Start, int32_t& Size) {
  const int Index = IndexOfStart(Start);
  if (Index < 0) return nullptr;
  auto Stream = TFileStream::Open(FFileName, TFileStream::TMode::Read);
  if (!Stream) return nullptr;
  Stream->Seek(int64_t{Start} + 8);
  Size = FChunks[static_cast<size_t>(Index)].Size;
  return Stream;
}

int TMAD4LowLevel::IndexOfStart(int32_t Start) const {
  // List order is file order, so starts ascend.
  auto It = std::lower_bound(FChunks.begin(), FChunks.end(), Start,
                             [](const TMAD4ChunkData& C, int32_t S) { return C.Start < S; });
  if (It == FChunks.end() || It->Start != Start) return -1;
  return static_cast<int>(It - FChunks.begin());
}

const TMAD4ChunkData* TMAD4LowLevel::GetChunk(int Index) const {
  if (Index < 0 || Index >= ChunkCount()) return nullptr;
  return &FChunks[static_cast<size_t>(Index)];
}

int64_t TMAD4LowLevel::ArchiveLength() const { return FStream->Size() - FBaseOffset; }

void TMAD4LowLevel::WriteEnds() {
  if (!FStream || FReadOnly || FDamaged) return;
  // Lengths count from the archive's magic, so an archive appended to
  // another file stays consistent too.
  const int64_t Size = FStream->Size();
  int64_t EndStart = Size;
  uint8_t Tail[12];
  if (Size - 12 >= FBaseOffset + 8 && FStream->Seek(Size - 12) && FStream->ReadExact(Tail, 12) &&
      GetU32(Tail) == kFourCCEnds && GetU32(Tail + 4) == 4) {
    EndStart = Size - 12;
    FStream->Seek(Size - 4);
    FStream->WriteU32(static_cast<uint32_t>(Size - FBaseOffset));
  } else {
    FStream->Seek(Size);
    FStream->WriteU32(kFourCCEnds);
    FStream->WriteU32(4);
    FStream->WriteU32(static_cast<uint32_t>(Size + 12 - FBaseOffset));
  }
  if (!FChunks.empty() && FChunks.back().FourCC == kFourCCEnds) FChunks.back().Start = static_cast<int32_t>(EndStart);
  else FChunks.push_back({kFourCCEnds, 4, static_cast<int32_t>(EndStart)});
  FStream->Seek(int64_t{FBaseOffset} + 4);
  FStream->WriteU32(static_cast<uint32_t>(ArchiveLength() - 8));
}

void TMAD4LowLevel::WriteChunkAt(int64_t Position, uint32_t FourCC, TVXStreamBase& Data, int32_t Size) {
  FStream->Seek(Position);
  FStream->WriteU32(FourCC);
  FStream->WriteU32(static_cast<uint32_t>(Size));
  Data.Seek(0);
  FStream->CopyFrom(Data, Size);
}

void TMAD4LowLevel::Truncate(int64_t Size) {
  FStream->Size();  // flushes buffered writes ahead of the cut
  if (ftruncate(FStream->Handle(), static_cast<off_t>(Size)) != 0)
    Log->Error("Cannot shorten " + FFileName, kAddHeading);
}

int32_t TMAD4LowLevel::Add(uint32_t FourCC, TVXStreamBase& Data) {
  const std::string Hex = Hex8(FourCC);
  Log->Debug(Hex, kAddHeading);
  if (FourCC == kFourCCNull || FourCC == kFourCCEnds) {
    Log->Error("Invalid FourCC! (" + Hex + ")", kAddHeading);
    return -1;
  }
  if (!Writable()) {
    Log->Warning("Archive not writable, nothing added: " + FFileName, kAddHeading);
    return -1;
  }
  const int64_t D = Data.Size();
  if (D < 0 || FStream->Size() + D + 20 > INT32_MAX) {
    Log->Error("Chunk too large for the archive (" + std::to_string(D) + " bytes)", kAddHeading);
    return -1;
  }
  const int32_t Size = static_cast<int32_t>(D);

  for (TMAD4ChunkData& C : FChunks)
    if (C.FourCC == kFourCCNull && C.Size == Size) {
      WriteChunkAt(C.Start, FourCC, Data, Size);
      C.FourCC = FourCC;
      Log->Debug("  Replace whole NULL (Start=" + std::to_string(C.Start) + ", Size=" + std::to_string(C.Size) + ")",
                 kAddHeading);
      return C.Start;
    }

  for (size_t I = 0; I < FChunks.size(); ++I) {
    const TMAD4ChunkData Free = FChunks[I];
    if (Free.FourCC != kFourCCNull || int64_t{Free.Size} < D + 8) continue;
    Log->Debug("  Overwrite partial NULL (Start=" + std::to_string(Free.Start) + ", Size=" + std::to_string(Size) + ")",
               kAddHeading);
    WriteChunkAt(Free.Start, FourCC, Data, Size);
    const TMAD4ChunkData Rest{kFourCCNull, Free.Size - Size - 8, Free.Start + 8 + Size};
    WriteNull(Rest.Start, Rest.Size);
    FChunks[I] = Rest;
    FChunks.insert(FChunks.begin() + static_cast<std::ptrdiff_t>(I), TMAD4ChunkData{FourCC, Size, Free.Start});
    return Free.Start;
  }

  while (!FChunks.empty() && (FChunks.back().FourCC == kFourCCNull || FChunks.back().FourCC == kFourCCEnds))
    FChunks.pop_back();
  const int64_t Start =
      FChunks.empty() ? int64_t{FBaseOffset} + 8 : int64_t{FChunks.back().Start} + 8 + FChunks.back().Size;
  Log->Debug("  Put at the end (Start=" + std::to_string(Start) + ", Size=" + std::to_string(Size) + ")", kAddHeading);
  WriteChunkAt(Start, FourCC, Data, Size);
  FChunks.push_back({FourCC, Size, static_cast<int32_t>(Start)});
  Log->Debug("Start=" + std::to_string(Start) + ", Size=" + std::to_string(Size) +
                 ", Streamsize=" + std::to_string(FStream->Size()),
             kAddHeading);
  const int64_t EndStart = Start + 8 + Size;
  FStream->Seek(EndStart);
  FStream->WriteU32(kFourCCEnds);
  FStream->WriteU32(4);
  FStream->WriteU32(static_cast<uint32_t>(EndStart + 12 - FBaseOffset));
  Truncate(EndStart + 12);
  FChunks.push_back({kFourCCEnds, 4, static_cast<int32_t>(EndStart)});
  FStream->Seek(int64_t{FBaseOffset} + 4);
  FStream->WriteU32(static_cast<uint32_t>(EndStart + 12 - FBaseOffset - 8));
  return static_cast<int32_t>(Start);
}

int32_t TMAD4LowLevel::Add(uint32_t FourCC, const void* Buffer, size_t Count) {
  (void)Buffer;
  (void)Count;
  if (FourCC == kFourCCNull || FourCC == kFourCCEnds) {
    Log->Error("Invalid FourCC! (" + Hex8(FourCC) + ")", kAddHeading);
    return -1;
  }
  Log->Warning("Add untyped data currently only supported with WriteOnly archives!", kAddHeading);
  return -1;
}

void TMAD4LowLevel::WriteNull(int32_t Start, int32_t Size) {
  Log->Debug("Start: " + std::to_string(Start) + ", Size: " + std::to_string(Size),
             "MAD4LowLevelUnit, TMAD4LowLevel.WriteNull");
  if (!FStream || FReadOnly || FDamaged || Size < 0) return;
  static constexpr uint8_t Zeros[4096] = {};
  FStream->Seek(Start);
  FStream->WriteU32(kFourCCNull);
  FStream->WriteU32(static_cast<uint32_t>(Size));
  int32_t Left = Size;
  while (Left > 0) {
    const int32_t N = std::min<int32_t>(Left, sizeof Zeros);
    FStream->WriteExact(Zeros, static_cast<size_t>(N));
    Left -= N;
  }
}

void TMAD4LowLevel::CombineNulls() {
  const char* Heading = "MAD4LowLevelUnit, TMAD4LowLevel.CombineNulls";
  Log->Debug("Before combining NULLs", Heading);
  const bool Write = FStream && !FReadOnly && !FDamaged;
  for (int I = ChunkCount() - 2; I >= 0; --I) {
    TMAD4ChunkData& A = FChunks[static_cast<size_t>(I)];
    const TMAD4ChunkData& B = FChunks[static_cast<size_t>(I) + 1];
    if (A.FourCC != kFourCCNull || B.FourCC != kFourCCNull) continue;
    A.Size = A.Size + B.Size + 8;
    if (Write) {
      static constexpr uint8_t Zeros[8] = {};
      FStream->Seek(int64_t{A.Start} + 4);
      FStream->WriteU32(static_cast<uint32_t>(A.Size));
      FStream->Seek(B.Start);
      FStream->WriteExact(Zeros, 8);
    }
    FChunks.erase(FChunks.begin() + I + 1);
  }
  Log->Debug("After combining NULLs", Heading);
}
