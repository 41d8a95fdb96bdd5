#pragma once
// Every resource is opened by name through the one global stream opener:
// cache, disk path, Data/ beside the executable, then the mounted volumes.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/stream.h"

// Raised when a name is found nowhere: "OpenStream failed: " + name.
class EOpenStream : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TVXFileInfo {
  std::string Path;     // loose file or archive file; "" when not found
  int32_t Offset = -1;  // first byte in that file
  int32_t Size = -1;
  bool Compressed = false;  // a ".ZL" file or a "COMP" member
};

struct TVXCacheItem {
  std::string Name;  // expanded name
  std::vector<uint8_t> Data;
};

class TVXStreamOpener {
 public:
  static constexpr const char* kVersion = "VXStream, version 2.06";
  // The cache holds this many items after an addition at most.
  static constexpr size_t kCacheItems = 65;

  explicit TVXStreamOpener(std::string DataDir);
  ~TVXStreamOpener();

  // A new stream at position 0, owned by the caller; raises EOpenStream.
  TVXStreamPtr OpenStream(const std::string& Name);
  // Where a resource's bytes lie; never raises for a missing name.
  void GetFileInfo(const std::string& Name, TVXFileInfo& Info);
  // The name used for the cache, the Data folder and the archives.
  std::string ExpandName(const std::string& Name) const;
  // The inflated content of a zlib-compressed file; raises EOpenStream.
  TVXStreamPtr OpenZLStream(const std::string& Path);

  const std::string& DataDir() const { return FDataDir; }
  // Least recently used first.
  const std::vector<TVXCacheItem>& Cache() const { return FCache; }
  void ClearCache() { FCache.clear(); }
  bool CacheEnabled = true;
  std::string CurrentDir;

 private:
  TVXStreamPtr OpenFromDisk(const std::string& Name);
  void AddToCache(const std::string& Name, TVXStreamBase& Stream);

  std::string FDataDir;
  std::vector<TVXCacheItem> FCache;
};

// The module singleton.
extern std::unique_ptr<TVXStreamOpener> StreamOpener;

void StartStreamOpener();
void StopStreamOpener();
