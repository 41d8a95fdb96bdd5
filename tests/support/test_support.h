#pragma once
// Shared helpers for the tests: temporary folders and file bytes.
#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes. Tests write only here.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return FPath; }
  // Path + "/" + Name.
  std::string File(const std::string& Name) const { return FPath + "/" + Name; }

 private:
  std::string FPath;
};

// Changes the working directory for the lifetime of the object.
class TChangeDir {
 public:
  explicit TChangeDir(const std::string& Path);
  ~TChangeDir();

 private:
  std::string FOld;
};

// While it lives, no file this process writes may grow past Bytes: a write
// beyond fails ("File too large") as on a disk that fills up, and the
// signal that would end the process is ignored.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(uint64_t Bytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  uint64_t FOldLimit = 0;
  void (*FOldSignal)(int) = nullptr;
};

// The names of the safe writer's temporary files ("*.tmp") in Folder,
// sorted: none once every save has ended, well or not.
std::vector<std::string> TempFilesIn(const std::string& Folder);

std::vector<uint8_t> ReadFileBytes(const std::string& Path);
std::string ReadFileText(const std::string& Path);
void WriteFileBytes(const std::string& Path, const std::vector<uint8_t>& Bytes);
void WriteFileText(const std::string& Path, const std::string& Text);
// Runs a shell command, returns its exit code; its standard output in Output when given.
int RunCommand(const std::string& Command, std::string* Output = nullptr);
// A 32x32 true-colour TGA of one grey shade, top-left origin: a stand-in
// block image for tests.
std::vector<uint8_t> SolidTga(uint8_t Shade);
// The folder the build puts the game and sqtool in (with a trailing "/").
std::string PlayDir();
