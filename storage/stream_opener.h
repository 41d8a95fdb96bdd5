#pragma once
// Every resource is opened by name through the one global stream opener:
// cache, disk path, Data/ beside the executable, then the mounted volumes.
#include <memory>
#include <stdexcept>
#include <string>

#include "app/stream.h"

// Raised when a name is found nowhere: "OpenStream failed: " + name.
class EOpenStream : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TVXFileInfo {
  std::string Path;
  int32_t Offset = -1;
  int32_t Size = -1;
  bool Compressed = false;
};

class TVXStreamOpener {
 public:
  static constexpr const char* kVersion = "VXStream, version 2.06";

  explicit TVXStreamOpener(std::string DataDir);
  ~TVXStreamOpener();

  // A new stream at position 0, owned by the caller; raises EOpenStream.
  TVXStreamPtr OpenStream(const std::string& Name);
  // Where a resource's bytes lie; never raises.
  void GetFileInfo(const std::string& Name, TVXFileInfo& Info);
  std::string ExpandName(const std::string& Name) const;

  const std::string& DataDir() const { return FDataDir; }
  bool CacheEnabled = true;

 private:
  std::string FDataDir;
};

// The module singleton.
extern std::unique_ptr<TVXStreamOpener> StreamOpener;

void StartStreamOpener();
void StopStreamOpener();
