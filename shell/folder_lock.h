#pragma once
// One writer of a player's folder at a time. The game and the tools load the
// progress, runs and state files whole and write them whole, so two of them
// at work in one folder would each write back what they loaded and the last
// one would undo the other's wins and players. Whoever writes those files
// holds the folder's lock first.
//
// On the desktop the lock is the system's lock on the file "Starquarry.lock"
// in the folder: it is tied to the open file, so it goes with the process,
// however that ends (a crash never leaves a folder locked). The file itself
// stays behind and names the last holder, for the message of whoever finds
// the folder taken. In the browser build every Take succeeds: the page keeps
// its own watch over its tabs.
#include <string>

class TFolderLock {
 public:
  static constexpr const char* kFileName = "Starquarry.lock";

  enum class TResult {
    Held,    // this lock holds the folder now
    Busy,    // another process holds it
    Failed,  // the lock file cannot be made or opened (Error says why)
  };

  // Folder: a folder name with or without its trailing '/', or "" for the
  // working folder.
  explicit TFolderLock(const std::string& Folder);
  // Gives the folder back.
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

  // Takes the lock without waiting. Who (a program's name) is written into
  // the lock file while it is held, for Holder() of others.
  TResult Take(const std::string& Who);
  // Tries again every 50 ms until Seconds have passed, while the holder's
  // name begins with WaitFor (a tool's short run ends soon; a game's does
  // not). Busy once the time is up, or once another kind of holder has it
  // (looked at for a fifth of a second at least).
  TResult TakeWaiting(const std::string& Who, const std::string& WaitFor, double Seconds);
  void Release();
  bool Held() const { return FHeld; }

  // After Busy: the holder's name and process as written in the lock file
  // ("starquarry 4711"); empty when it wrote none.
  const std::string& Holder() const { return FHolder; }
  // After Failed: why.
  const std::string& Error() const { return FError; }
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
  std::string FHolder;
  std::string FError;
  int FFd = -1;
  bool FHeld = false;
};
