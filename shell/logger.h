#pragma once
// The run log: one line per entry, CR LF ends, each kind in its own brackets.
#include <memory>
#include <mutex>
#include <string>

#include "shell/file_stream.h"

class TLogger {
 public:
  static constexpr const char* kVersion = "Logger, version 1.13a";

  // Reads (and consumes) its switches from Parameters; FileName "" means the
  // default name next to the program.
  TLogger(std::string FileName, bool Append);
  // A logger that writes nothing.
  static std::unique_ptr<TLogger> Disabled();
  ~TLogger();

  void Error(const std::string& Text, const std::string& Heading);
  void Warning(const std::string& Text, const std::string& Heading);
  void Status(const std::string& Text, const std::string& Heading);
  void Debug(const std::string& Text, const std::string& Heading);
  void Banner(const std::string& Text, const std::string& Heading);
  void Trace(const std::string& Text);
  void TraceNumber(long long N);
  void WriteLine(const std::string& Text);
  void SetLevels(const std::string& Letters);

  // The "uses" line a module writes when it starts.
  void Uses(const std::string& ModuleVersion) { Status(ModuleVersion, "uses"); }

  bool Enabled() const { return FEnabled; }
  const std::string& ExeName() const { return FExeName; }
  const std::string& ExeDir() const { return FExeDir; }
  const std::string& FileName() const { return FFileName; }
  bool ShowErrors = false, ShowWarnings = false, ShowStatus = false, ShowDebug = false;

 private:
  TLogger() = default;
  void Put(const std::string& Line);

  std::unique_ptr<TFileStream> FStream;
  std::string FExeName, FExeDir, FFileName;
  bool FEnabled = false;
  std::mutex FPutLock;
};

// The process-wide logger. Calls through it are safe before the logger module
// starts and after it stops: they then go to a disabled logger.
class TLogHandle {
 public:
  TLogger* operator->() const;
  TLogger& operator*() const { return *operator->(); }
  explicit operator bool() const { return static_cast<bool>(FLogger); }
  void Reset(std::unique_ptr<TLogger> Logger = nullptr) { FLogger = std::move(Logger); }
  TLogger* Get() const { return FLogger.get(); }

 private:
  std::unique_ptr<TLogger> FLogger;
};

extern TLogHandle Log;

// Module start and stop: the opening lines, and the closing line.
void StartLogger();
void StopLogger();
// "Now" in the log's date and time format.
std::string LogTimeStamp();
