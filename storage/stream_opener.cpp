// Placeholder: disk only, until the volume manager and cache arrive.
#include "storage/stream_opener.h"

#include "app/file_stream.h"
#include "app/logger.h"
#include "app/parameters.h"
#include "app/toolbox.h"

std::unique_ptr<TVXStreamOpener> StreamOpener;

TVXStreamOpener::TVXStreamOpener(std::string DataDir) : FDataDir(std::move(DataDir)) {}
TVXStreamOpener::~TVXStreamOpener() = default;

std::string TVXStreamOpener::ExpandName(const std::string& Name) const { return Name; }

TVXStreamPtr TVXStreamOpener::OpenStream(const std::string& Name) {
  if (auto F = TFileStream::Open(Name, TFileStream::TMode::Read)) return F;
  if (auto F = TFileStream::Open(FDataDir + Name, TFileStream::TMode::Read)) return F;
  Log->Error("Openstream failed: " + Name, "VXStream, TVXStreamOpener.OpenStream");
  throw EOpenStream("OpenStream failed: " + Name);
}

void TVXStreamOpener::GetFileInfo(const std::string& Name, TVXFileInfo& Info) {
  Info.Path.clear();
  Info.Offset = -1;
  Info.Size = -1;
  (void)Name;
}

void StartStreamOpener() {
  const std::string Program = Parameters ? Parameters->Get(0) : ExecutablePath();
  StreamOpener = std::make_unique<TVXStreamOpener>(VXToolbox::ExtractFileDir(Program) + "Data/");
}

void StopStreamOpener() { StreamOpener.reset(); }
