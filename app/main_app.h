#pragma once
// TMain: the application object. Opens the window and the audio device,
// mounts the game data, loads fonts, sounds and music, shows the splash,
// waits for Space and hands over to the game flow.
#include <memory>
#include <string>
#include <vector>

class TSplashScreen;
class TParameters;

// What the command line asks of the application: full screen, and a
// test-map run (pack and map index, -1 when none). Consumes "FullScreen".
struct TLaunchRequest {
  bool FullScreen = false;
  std::string TestMapPack;
  int32_t TestMapIndex = -1;
};
TLaunchRequest ReadLaunchRequest(TParameters& Params);

class TMain {
 public:
  TMain(const std::string& Version, const std::string& Build, const std::string& Date);
  ~TMain();
  TMain(const TMain&) = delete;
  TMain& operator=(const TMain&) = delete;

  void HandleParameters();
  void Run();
  // Instead of Run, when this copy may not play (the folder is another's):
  // Lines over the splash until a key is pressed or the window is closed;
  // nothing is saved. Reason goes to the log.
  void ShowRefusal(const std::string& Reason, const std::vector<std::string>& Lines);
  // -edit on a file the editor cannot work on: the cause on standard error
  // and exit code 1, before any window.
  static void RefuseUneditablePack();

  // "Starquarry V1.06 Build 0002 (2018.12.17)".
  static std::string Caption(const std::string& Version, const std::string& Build, const std::string& Date);

  std::string TestMapPack;
  int32_t TestMapIndex = -1;
  bool FullScreen = false;
  std::unique_ptr<TSplashScreen> Splash;
};
