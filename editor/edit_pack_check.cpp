#include "editor/edit_pack_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "maps/xmap.h"
#include "shell/toolbox.h"
#include "world/pack_reader.h"

namespace {

// A missing pack is created beside where it would be: that folder must
// exist and take a new file.
std::string CreationProblem(const std::string& Pack) {
  const std::string Dir = VXToolbox::ExtractFileDir(Pack);
  const std::string Folder = Dir.empty() ? std::string(".") : Dir;
  if (::access(Folder.c_str(), W_OK | X_OK) != 0) return "cannot create " + Pack + ": " + std::strerror(errno);
  return "";
}

}  // namespace

std::string EditPackProblem(const std::string& Pack) {
  struct stat St;
  if (::stat(Pack.c_str(), &St) != 0) {
    if (errno == ENOENT) return CreationProblem(Pack);
    return "cannot open " + Pack + ": " + std::strerror(errno);
  }
  if (S_ISDIR(St.st_mode)) return Pack + " is a folder, not a level pack";
  // Opening a FIFO or a device would wait for something to write into it.
  if (!S_ISREG(St.st_mode)) return Pack + " is not a regular file";
  TStoredPack Stored;
  std::string Error;
  if (!ReadStoredPack(Pack, Stored, Error)) return Error;
  if (Stored.Maps.empty()) return Pack + " holds no maps";
  for (const auto& Map : Stored.Maps)
    if (Map->Status != "OK") return Pack + ": " + Map->Status;
  return "";
}
