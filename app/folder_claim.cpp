#include "app/folder_claim.h"

#include <unistd.h>

#include "shell/folder_lock.h"
#include "shell/toolbox.h"

namespace {
// sqtool holds a folder for a moment only: the game waits that long.
constexpr double kToolWaitSeconds = 10;

std::string WorkingFolder() {
  char Path[4096];
  return ::getcwd(Path, sizeof Path) ? std::string(Path) : std::string(".");
}

bool IsSwitch(const std::string& Arg, const char* Name) {
  return (Arg.size() > 1 && (Arg[0] == '-' || Arg[0] == '/')) && VXToolbox::SameText(Arg.substr(1), Name);
}
}  // namespace

bool ClaimsPlayerFolder(const std::vector<std::string>& Args) {
  for (size_t I = 0; I + 1 < Args.size(); ++I)
    if (IsSwitch(Args[I], "edit")) return false;
  return true;
}

std::string ClaimPlayerFolder(TFolderLock& Lock, std::string* Warning) {
  switch (Lock.TakeWaiting("starquarry", "sqtool", kToolWaitSeconds)) {
    case TFolderLock::TResult::Held: return "";
    case TFolderLock::TResult::Failed:
      if (Warning) *Warning = Lock.Error() + "; a second copy of the game in this folder would not be stopped";
      return "";
    case TFolderLock::TResult::Busy: break;
  }
  const std::string By = Lock.Holder().empty() ? "" : " (" + Lock.Holder() + ")";
  if (Lock.Holder().rfind("sqtool", 0) == 0)
    return "sqtool is still at work on the player's files in " + WorkingFolder() + By + "; start the game again later";
  return "the game is already running in " + WorkingFolder() + By + "; this copy ends without saving anything";
}

std::vector<std::string> AlreadyRunningLines() {
  return {"Starquarry is already running in this folder.",
          "This copy closes without saving:", "play on in the other window.", "Press any key"};
}
