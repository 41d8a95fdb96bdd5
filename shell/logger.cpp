#include "shell/logger.h"

#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

#include "shell/parameters.h"
#include "shell/toolbox.h"

TLogHandle Log;

TLogger* TLogHandle::operator->() const {
  if (FLogger) return FLogger.get();
  static const std::unique_ptr<TLogger> Silent = TLogger::Disabled();
  return Silent.get();
}

std::unique_ptr<TLogger> TLogger::Disabled() { return std::unique_ptr<TLogger>(new TLogger()); }

TLogger::TLogger(std::string FileName, bool Append) {
  const std::string Program = Parameters ? Parameters->Get(0) : ExecutablePath();
  FExeName = VXToolbox::ExtractFileName(Program);
  FExeDir = VXToolbox::ExtractFileDir(Program);
  if (Parameters) {
    if (Parameters->FindSwitch("nolog", true) >= 0) return;
    if (Parameters->FindSwitch("waitlog", true) >= 0) usleep(1000 * 1000);
    if (Parameters->FindSwitch("appendlog", true) >= 0) Append = true;
    if (FileName.empty()) FileName = Parameters->SwitchValue("mainlog", false);
  }
  if (FileName.empty()) FileName = FExeDir + FExeName.substr(0, FExeName.find('.')) + ".log";
  if (Parameters && Parameters->FindSwitch("safelog", false) >= 0) FileName = FExeDir + "run.log";
  FFileName = FileName;

  if (!Append || !VXToolbox::FileExists(FileName)) {
    if (!TFileStream::Open(FileName, TFileStream::TMode::Create)) return;
  }
  FStream = TFileStream::Open(FileName, TFileStream::TMode::ReadWrite);
  if (!FStream) return;
  // Other writers are kept out for as long as we hold the log.
  if (flock(FStream->Handle(), LOCK_EX | LOCK_NB) != 0) {
    FStream.reset();
    return;
  }
  FStream->Seek(FStream->Size());
  SetLevels("SWED");
  FEnabled = true;
}

TLogger::~TLogger() = default;

void TLogger::Put(const std::string& Line) {
  if (!FStream) return;
  // A search on a worker thread may log (a block image missing) while the
  // screen does.
  const std::lock_guard<std::mutex> Hold(FPutLock);
  const std::string Whole = Line + "\r\n";
  FStream->Write(Whole.data(), Whole.size());
  std::fflush(nullptr);
}

void TLogger::Error(const std::string& Text, const std::string& Heading) {
  if (FEnabled && ShowErrors) Put("{" + Heading + "} " + Text);
}
void TLogger::Warning(const std::string& Text, const std::string& Heading) {
  if (FEnabled && ShowWarnings) Put("[" + Heading + "] " + Text);
}
void TLogger::Status(const std::string& Text, const std::string& Heading) {
  if (FEnabled && ShowStatus) Put("(" + Heading + ") " + Text);
}
void TLogger::Debug(const std::string& Text, const std::string& Heading) {
  if (FEnabled && ShowDebug) Put("<" + Heading + "> " + Text);
}
void TLogger::Banner(const std::string& Text, const std::string& Heading) {
  if (!FEnabled) return;
  const std::string L = "<" + Heading + "> " + Text;
  const std::string D(std::max<size_t>(L.size(), 1), '-');
  Put(D);
  Put(L);
  Put(D);
}
void TLogger::Trace(const std::string& Text) {
  if (FEnabled) Put("< Trace > " + Text);
}
void TLogger::TraceNumber(long long N) { Trace(std::to_string(N)); }
void TLogger::WriteLine(const std::string& Text) {
  if (FEnabled) Put(Text);
}
void TLogger::SetLevels(const std::string& Letters) {
  const std::string U = VXToolbox::UpperCase(Letters);
  ShowErrors = U.find('E') != std::string::npos;
  ShowWarnings = U.find('W') != std::string::npos;
  ShowStatus = U.find('S') != std::string::npos;
  ShowDebug = U.find('D') != std::string::npos;
}

std::string LogTimeStamp() {
  const std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  char Buffer[64];
  std::strftime(Buffer, sizeof Buffer, "%d.%m.%Y %H:%M:%S", &Local);
  return Buffer;
}

void StartLogger() {
  Log.Reset(std::make_unique<TLogger>("", false));
  Log->Status("Starting Application. " + LogTimeStamp(), "..system..");
  Log->Status("(Status) [Warning] {Error} <Debug>", "..system..");
  Log->Uses(TLogger::kVersion);
}

void StopLogger() {
  Log->Status("Terminating Application. " + LogTimeStamp(), "..system..");
  Log.Reset();
}
