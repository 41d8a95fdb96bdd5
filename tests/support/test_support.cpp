#include "tests/support/test_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TTempDir::TTempDir() {
  std::string Pattern = (std::filesystem::temp_directory_path() / "sqtest.XXXXXX").string();
  if (!mkdtemp(Pattern.data())) throw std::runtime_error("mkdtemp failed");
  FPath = Pattern;
}

TTempDir::~TTempDir() {
  std::error_code Ignored;
  std::filesystem::remove_all(FPath, Ignored);
}

TChangeDir::TChangeDir(const std::string& Path) {
  char Buffer[PATH_MAX];
  if (getcwd(Buffer, sizeof Buffer)) FOld = Buffer;
  if (chdir(Path.c_str()) != 0) throw std::runtime_error("chdir failed: " + Path);
}

TChangeDir::~TChangeDir() {
  if (!FOld.empty() && chdir(FOld.c_str()) != 0) std::perror("chdir");
}

TFileSizeLimit::TFileSizeLimit(uint64_t Bytes) {
  rlimit Limit{};
  if (getrlimit(RLIMIT_FSIZE, &Limit) != 0) throw std::runtime_error("getrlimit failed");
  FOldLimit = Limit.rlim_cur;
  FOldSignal = std::signal(SIGXFSZ, SIG_IGN);
  Limit.rlim_cur = Bytes;
  if (setrlimit(RLIMIT_FSIZE, &Limit) != 0) throw std::runtime_error("setrlimit failed");
}

TFileSizeLimit::~TFileSizeLimit() {
  rlimit Limit{};
  getrlimit(RLIMIT_FSIZE, &Limit);
  Limit.rlim_cur = FOldLimit;
  setrlimit(RLIMIT_FSIZE, &Limit);
  std::signal(SIGXFSZ, FOldSignal);
}

std::vector<std::string> TempFilesIn(const std::string& Folder) {
  std::vector<std::string> Names;
  std::error_code Ignored;
  for (const auto& Entry : std::filesystem::directory_iterator(Folder, Ignored)) {
    const std::string Name = Entry.path().filename().string();
    if (Name.size() > 4 && Name.compare(Name.size() - 4, 4, ".tmp") == 0) Names.push_back(Name);
  }
  std::sort(Names.begin(), Names.end());
  return Names;
}

std::vector<uint8_t> ReadFileBytes(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), {});
}

std::string ReadFileText(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

void WriteFileBytes(const std::string& Path, const std::vector<uint8_t>& Bytes) {
  std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

void WriteFileText(const std::string& Path, const std::string& Text) {
  std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
  Out << Text;
}

int RunCommand(const std::string& Command, std::string* Output) {
  std::FILE* Pipe = popen(Command.c_str(), "r");
  if (!Pipe) return -1;
  char Buffer[4096];
  size_t N;
  while ((N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0)
    if (Output) Output->append(Buffer, N);
  const int Status = pclose(Pipe);
  return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

std::vector<uint8_t> SolidTga(uint8_t Shade) {
  std::vector<uint8_t> T = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 32, 0, 24, 0x20};
  T.resize(T.size() + 32 * 32 * 3, Shade);
  return T;
}

std::string PlayDir() { return SQ_PLAY_DIR "/"; }
