#include "storage/mad4_mid_level.h"

#include <algorithm>

#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/toolbox.h"
#include "storage/compressor.h"

namespace {
constexpr const char* kMountHeading = "MAD4MidLevelUnit, TMAD4MidLevel.Mount";
constexpr const char* kOpenHeading = "MAD4MidLevelUnit, TMAD4MidLevel.OpenFile";
}  // namespace

TMAD4MidLevel::TMAD4MidLevel() = default;

TMAD4MidLevel::~TMAD4MidLevel() {
  if (Mounted()) TMAD4MidLevel::Unmount();
}

void TMAD4MidLevel::Mount(const std::string& FileName, bool ReadOnly) {
  FFiles.clear();
  FIndex.clear();
  FVersionTexts[0].clear();
  FVersionTexts[1].clear();
  TMAD4LowLevel::Mount(FileName, ReadOnly);
  if (Mounted()) BuildFiles();
}

void TMAD4MidLevel::Unmount() {
  FFiles.clear();
  FIndex.clear();
  TMAD4LowLevel::Unmount();
}

bool TMAD4MidLevel::ReadEntry(const TMAD4ChunkData& Chunk, TMAD4FileData& File) {
  // Every read stays inside the chunk: a name or link running past it is damage.
  const auto Damaged = [&](const std::string& What) {
    Log->Error(What + " runs past its chunk (start: " + std::to_string(Chunk.Start) + ")", kMountHeading);
    return false;
  };
  FStream->Seek(int64_t{Chunk.Start} + 8);
  int64_t Left = Chunk.Size;
  uint8_t Length = 0;
  if (Chunk.FourCC == kFourCCFver) {
    std::string Texts[2];
    for (std::string& T : Texts) {
      if (Left < 1 || !FStream->ReadU8(Length)) return Damaged("Version text");
      Left -= 1;
      if (Left < Length) return Damaged("Version text");
      T.resize(Length);
      if (Length > 0 && !FStream->ReadExact(T.data(), Length)) return Damaged("Version text");
      Left -= Length;
    }
    FVersionTexts[0] = Texts[0];
    FVersionTexts[1] = Texts[1];
    File = {"*V", Chunk.Start, static_cast<int32_t>(Texts[0].size() + Texts[1].size() + 2), Chunk.Start, 0};
    return true;
  }
  if (Left < 1 || !FStream->ReadU8(Length)) return Damaged("Member name");
  if (Left - 1 < Length) return Damaged("Member name");
  File.Name.resize(Length);
  if (Length > 0 && !FStream->ReadExact(File.Name.data(), Length)) return Damaged("Member name");
  File.DataStart = Chunk.Start + 8 + 1 + Length;
  File.DataSize = Chunk.Size - Length - 1;
  File.ChunkStart = Chunk.Start;
  File.Link = 0;
  if (Chunk.FourCC == kFourCCLink) {
    uint32_t Target = 0;
    if (File.DataSize < 4 || !FStream->ReadU32(Target)) return Damaged("Link");
    const int64_t Absolute = int64_t{Target} + BaseOffset();
    // Out of range: no chunk starts there, so the link opens nothing.
    File.Link = Absolute > INT32_MAX ? -1 : static_cast<int32_t>(Absolute);
  }
  return true;
}

void TMAD4MidLevel::BuildFiles() {
  for (const TMAD4ChunkData& Chunk : FChunks) {
    if (Chunk.FourCC != kFourCCComp && Chunk.FourCC != kFourCCRawd && Chunk.FourCC != kFourCCLink &&
        Chunk.FourCC != kFourCCFver)
      continue;
    TMAD4FileData File;
    if (ReadEntry(Chunk, File)) FFiles.push_back(std::move(File));
  }
  Reindex();
}

void TMAD4MidLevel::Reindex() {
  FIndex.clear();
  for (size_t I = 0; I < FFiles.size(); ++I) FIndex.emplace(VXToolbox::UpperCase(FFiles[I].Name), static_cast<int>(I));
}

int TMAD4MidLevel::IndexOf(const std::string& Name) const {
  auto It = FIndex.find(VXToolbox::UpperCase(Name));
  return It == FIndex.end() ? -1 : It->second;
}

const TMAD4FileData* TMAD4MidLevel::GetFile(int Index) const {
  if (Index < 0 || Index >= FileCount()) return nullptr;
  return &FFiles[static_cast<size_t>(Index)];
}

int TMAD4MidLevel::IndexOfChunkStart(int32_t Start) const {
  for (size_t I = 0; I < FFiles.size(); ++I)
    if (FFiles[I].ChunkStart == Start) return static_cast<int>(I);
  return -1;
}

uint32_t TMAD4MidLevel::KindOf(const TMAD4FileData& File) const {
  const TMAD4ChunkData* Chunk = GetChunk(IndexOfStart(File.ChunkStart));
  return Chunk ? Chunk->FourCC : 0;
}

std::vector<uint8_t> TMAD4MidLevel::ReadData(const TMAD4FileData& File, int32_t MaxBytes) {
  std::vector<uint8_t> Data(static_cast<size_t>(std::clamp(File.DataSize, 0, std::max(MaxBytes, 0))));
  if (!FStream || !FStream->Seek(File.DataStart) || !FStream->ReadExact(Data.data(), Data.size())) Data.clear();
  return Data;
}

TVXStreamPtr TMAD4MidLevel::OpenFile(const std::string& Name) {
  int Index = IndexOf(Name);
  if (Index < 0) return nullptr;
  if (FFiles[static_cast<size_t>(Index)].Link != 0) {
    Index = IndexOfChunkStart(FFiles[static_cast<size_t>(Index)].Link);
    if (Index < 0) {
      Log->Error("Link target of '" + Name + "' is not a member", kOpenHeading);
      return nullptr;
    }
  }
  const TMAD4FileData& File = FFiles[static_cast<size_t>(Index)];
  const uint32_t Kind = KindOf(File);
  if (Kind != kFourCCComp && Kind != kFourCCRawd) {
    Log->Error("Member '" + Name + "' is held in a " + FourCCText(Kind) + " chunk and cannot be opened", kOpenHeading);
    return nullptr;
  }
  std::vector<uint8_t> Data = ReadData(File);
  if (static_cast<int64_t>(Data.size()) != File.DataSize) {
    Log->Error("Cannot read member '" + Name + "'", kOpenHeading);
    return nullptr;
  }
  if (Kind == kFourCCRawd) return std::make_unique<TMemoryStream>(std::move(Data));
  try {
    if (Compressor) return std::make_unique<TMemoryStream>(Compressor->DecompressBytes(Data));
    return std::make_unique<TMemoryStream>(TCompressor().DecompressBytes(Data));
  } catch (const EDecompress& E) {
    Log->Error("Cannot decode member '" + Name + "': " + E.what(), kOpenHeading);
    return nullptr;
  }
}

void TMAD4MidLevel::GetFileInfo(std::string& Name, int32_t& Start, int32_t& Size, bool& Compressed) const {
  const TMAD4FileData* File = GetFile(IndexOf(Name));
  // A link reports its target, one step only, as OpenFile reads it.
  if (File && File->Link != 0) {
    File = GetFile(IndexOfChunkStart(File->Link));
    const uint32_t Kind = File ? KindOf(*File) : 0;
    if (Kind != kFourCCComp && Kind != kFourCCRawd) File = nullptr;
  }
  if (!File) {
    Start = -1;
    return;
  }
  Name = FileName();
  Start = File->DataStart;
  Size = File->DataSize;
  Compressed = KindOf(*File) == kFourCCComp;
}

bool TMAD4MidLevel::AddChunkAndList(uint32_t FourCC, const std::vector<uint8_t>& Chunk) {
  TMemoryStream Data(Chunk);
  const int32_t Start = Add(FourCC, Data);
  if (Start < 0) return false;
  const TMAD4ChunkData Listed{FourCC, static_cast<int32_t>(Chunk.size()), Start};
  TMAD4FileData File;
  if (!ReadEntry(Listed, File)) return false;
  auto At = std::upper_bound(FFiles.begin(), FFiles.end(), Start,
                             [](int32_t S, const TMAD4FileData& F) { return S < F.ChunkStart; });
  FFiles.insert(At, std::move(File));
  Reindex();
  return true;
}

bool TMAD4MidLevel::AddMember(uint32_t FourCC, const std::string& Name, std::span<const uint8_t> Data) {
  if (Name.empty() || Name.size() > 255 || (FourCC != kFourCCComp && FourCC != kFourCCRawd)) return false;
  std::vector<uint8_t> Chunk;
  Chunk.reserve(1 + Name.size() + Data.size());
  Chunk.push_back(static_cast<uint8_t>(Name.size()));
  Chunk.insert(Chunk.end(), Name.begin(), Name.end());
  Chunk.insert(Chunk.end(), Data.begin(), Data.end());
  return AddChunkAndList(FourCC, Chunk);
}

bool TMAD4MidLevel::AddLink(const std::string& Name, const std::string& Target) {
  const TMAD4FileData* File = GetFile(IndexOf(Target));
  if (!File || Name.empty() || Name.size() > 255) return false;
  const uint32_t Relative = static_cast<uint32_t>(File->ChunkStart - BaseOffset());
  std::vector<uint8_t> Chunk;
  Chunk.push_back(static_cast<uint8_t>(Name.size()));
  Chunk.insert(Chunk.end(), Name.begin(), Name.end());
  for (int I = 0; I < 4; ++I) Chunk.push_back(static_cast<uint8_t>(Relative >> (8 * I)));
  return AddChunkAndList(kFourCCLink, Chunk);
}
