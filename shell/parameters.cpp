#include "shell/parameters.h"

#include <unistd.h>

#include <climits>

#include "shell/toolbox.h"

std::unique_ptr<TParameters> Parameters;

std::string ExecutablePath() {
  char Buffer[PATH_MAX];
  const ssize_t N = readlink("/proc/self/exe", Buffer, sizeof Buffer - 1);
  if (N <= 0) return "";
  return std::string(Buffer, static_cast<size_t>(N));
}

TParameters::TParameters(std::string ProgramPath, std::vector<std::string> Args) {
  FItems.push_back(std::move(ProgramPath));
  for (auto& A : Args) FItems.push_back(std::move(A));
}

std::unique_ptr<TParameters> TParameters::FromCommandLine(int Argc, char** Argv) {
  std::string Path = ExecutablePath();
  if (Path.empty() && Argc > 0) Path = Argv[0];
  std::vector<std::string> Args;
  for (int I = 1; I < Argc; ++I) Args.emplace_back(Argv[I]);
  return std::make_unique<TParameters>(std::move(Path), std::move(Args));
}

int TParameters::IndexOf(const std::string& Text) const {
  const std::string Wanted = VXToolbox::UpperCase(Text);
  for (size_t I = 0; I < FItems.size(); ++I)
    if (VXToolbox::UpperCase(FItems[I]) == Wanted) return static_cast<int>(I);
  return -1;
}

bool TParameters::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return false;
  FItems.erase(FItems.begin() + Index);
  return true;
}

bool TParameters::Exists(const std::string& Word) {
  const int I = IndexOf(Word);
  if (I < 0) return false;
  Delete(I);
  return true;
}

int TParameters::FindSwitch(const std::string& Name, bool Remove) {
  int I = IndexOf("-" + Name);
  if (I < 0) I = IndexOf("/" + Name);
  if (I < 0) I = IndexOf("-" + VXToolbox::UpperCase(Name));
  if (I < 0) I = IndexOf("/" + VXToolbox::UpperCase(Name));
  if (I >= 0 && Remove) Delete(I);
  return I;
}

std::string TParameters::SwitchValue(const std::string& Name, bool Remove) {
  const int I = FindSwitch(Name, false);
  if (I > -1 && I < Count() - 1) {
    std::string Value = FItems[static_cast<size_t>(I) + 1];
    if (Remove) {
      Delete(I + 1);
      Delete(I);
    }
    return Value;
  }
  return "";
}
