#include "storage/stream_opener.h"

#include <algorithm>

#include "shell/file_stream.h"
#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/parameters.h"
#include "shell/toolbox.h"
#include "storage/disk_lookup.h"
#include "storage/mad4_high_level.h"
#include "storage/zstream.h"

std::unique_ptr<TVXStreamOpener> StreamOpener;

namespace {

constexpr const char* kOpenHeading = "VXStream, TVXStreamOpener.OpenStream";

bool IsSeparator(char C) { return C == '\\' || C == '/'; }

bool IsZLName(const std::string& Name) {
  return Name.size() > 3 && VXToolbox::UpperCase(Name.substr(Name.size() - 3)) == ".ZL";
}

}  // namespace

TVXStreamOpener::TVXStreamOpener(std::string DataDir) : FDataDir(std::move(DataDir)) {}
TVXStreamOpener::~TVXStreamOpener() = default;

std::string TVXStreamOpener::ExpandName(const std::string& Name) const {
  // A network path (two leading separators) is kept as it is.
  if (Name.size() >= 2 && IsSeparator(Name[0]) && IsSeparator(Name[1])) return Name;
  return ExpandRelativeName(Name, CurrentDir);
}

TVXStreamPtr TVXStreamOpener::OpenZLStream(const std::string& Path) {
  Log->Debug("Decompressing .ZL file", "VXStream, OpenZLStream");
  auto File = TFileStream::Open(Path, TFileStream::TMode::Read);
  if (!File) throw EOpenStream("Cannot open file " + Path);
  auto Result = std::make_unique<TMemoryStream>();
  try {
    InflateStream(*File, *Result);
  } catch (const EDecompress& E) {
    Log->Error("Cannot inflate " + Path + ": " + E.what(), "VXStream, OpenZLStream");
    throw EOpenStream("Cannot inflate " + Path + ": " + E.what());
  }
  Result->Seek(0);
  return Result;
}

TVXStreamPtr TVXStreamOpener::OpenFromDisk(const std::string& Name) {
  const std::string Path = FindOnDisk(Name);
  if (Path.empty()) return nullptr;
  if (IsZLName(Name)) return OpenZLStream(Path);
  auto File = TFileStream::Open(Path, TFileStream::TMode::Read);
  if (!File) {
    Log->Error("Cannot open file " + Path, kOpenHeading);
    throw EOpenStream("Cannot open file " + Path);
  }
  return File;
}

void TVXStreamOpener::AddToCache(const std::string& Name, TVXStreamBase& Stream) {
  if (FCache.size() >= kCacheItems) FCache.erase(FCache.begin());
  FCache.push_back({Name, Stream.ReadAll()});
}

TVXStreamPtr TVXStreamOpener::OpenStream(const std::string& Name) {
  Log->Debug("OpenStream('" + Name + "')", kOpenHeading);
  const std::string Expanded = ExpandName(Name);

  if (CacheEnabled) {
    Log->Debug("Check in cache (" + Expanded + ")", kOpenHeading);
    for (auto It = FCache.begin(); It != FCache.end(); ++It)
      if (VXToolbox::SameText(It->Name, Expanded)) {
        auto Copy = std::make_unique<TMemoryStream>(It->Data);
        // Most recently used goes last.
        std::rotate(It, It + 1, FCache.end());
        return Copy;
      }
  }

  Log->Debug("Check on disk (" + Name + ")", kOpenHeading);
  TVXStreamPtr Result = OpenFromDisk(Name);
  if (!Result) {
    Log->Debug("Check on disk - Base dir (" + FDataDir + Expanded + ")", kOpenHeading);
    Result = OpenFromDisk(FDataDir + Expanded);
  }
  if (!Result) {
    Log->Debug("Check in MAD4 (" + Expanded + ")", kOpenHeading);
    if (VolumeManager && VolumeManager->IsExists(Expanded)) Result = VolumeManager->OpenFile(Expanded);
  }
  if (!Result) {
    Log->Error("Openstream failed: " + Name, kOpenHeading);
    throw EOpenStream("OpenStream failed: " + Name);
  }
  if (CacheEnabled) AddToCache(Expanded, *Result);
  Result->Seek(0);
  return Result;
}

void TVXStreamOpener::GetFileInfo(const std::string& Name, TVXFileInfo& Info) {
  Log->Debug("GetFileInfo('" + Name + "')", kOpenHeading);
  const std::string Expanded = ExpandName(Name);
  const auto FromDisk = [&](const std::string& Wanted) {
    const std::string Path = FindOnDisk(Wanted);
    if (Path.empty()) return false;
    const int64_t Size = VXToolbox::FileSize(Path);
    Info.Path = Path;
    Info.Offset = 0;
    Info.Size = Size < 0 || Size > INT32_MAX ? -1 : static_cast<int32_t>(Size);
    Info.Compressed = IsZLName(Wanted);
    return true;
  };
  Log->Debug("Check on disk (" + Name + ")", kOpenHeading);
  if (FromDisk(Name)) return;
  Log->Debug("Check on disk - Base dir (" + FDataDir + Expanded + ")", kOpenHeading);
  if (FromDisk(FDataDir + Expanded)) return;
  Log->Debug("Check in MAD4 (" + Expanded + ")", kOpenHeading);
  if (VolumeManager && VolumeManager->IsExists(Expanded)) {
    Info.Path = Expanded;
    VolumeManager->GetFileInfo(Info.Path, Info.Offset, Info.Size, Info.Compressed);
    return;
  }
  Info.Path.clear();
  Info.Offset = -1;
  Info.Size = -1;
}

void StartStreamOpener() {
  const std::string Program = Parameters ? Parameters->Get(0) : ExecutablePath();
  StreamOpener = std::make_unique<TVXStreamOpener>(VXToolbox::ExtractFileDir(Program) + "Data/");
}

void StopStreamOpener() { StreamOpener.reset(); }
