#pragma once
// The command line as a list: item 0 is the program's own path, the rest the
// arguments. Switches are consumed (removed) by whoever handles them.
#include <memory>
#include <string>
#include <vector>

class TParameters {
 public:
  // Item 0 is ProgramPath; Args follow in order.
  TParameters(std::string ProgramPath, std::vector<std::string> Args);
  // From main's argv; item 0 is the real executable path (/proc/self/exe).
  static std::unique_ptr<TParameters> FromCommandLine(int Argc, char** Argv);

  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& Get(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  int IndexOf(const std::string& Text) const;
  bool Delete(int Index);
  bool Exists(const std::string& Word);
  int FindSwitch(const std::string& Name, bool Remove);
  std::string SwitchValue(const std::string& Name, bool Remove);

 private:
  std::vector<std::string> FItems;
};

// The module singleton.
extern std::unique_ptr<TParameters> Parameters;

// The running executable's path, read from /proc/self/exe ("" if unknown).
std::string ExecutablePath();
