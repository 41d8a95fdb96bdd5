#pragma once
// TOptions: the options screen, a menu in a framed box over the dimmed
// current screen where the music and effect volumes are set in steps of ten
// percent and take effect at once. Screens open it with Options->Run() when
// F12 is held and clear the key states afterwards.
#include <memory>

#include "ui/menu.h"

class TImage;

class TOptions {
 public:
  static constexpr const char* kVersion = "SQOptionsUnit, version 1.0";

  // Builds the menu and sets its volumes from Config.
  TOptions();
  ~TOptions();
  TOptions(const TOptions&) = delete;
  TOptions& operator=(const TOptions&) = delete;

  // Shows the screen until Back is chosen or Escape is pressed, then puts
  // the screen behind back as it was.
  void Run();

  // Run in its parts, for callers that drive the frames themselves:
  // Begin dims the screen, each Step is one frame (false once the menu is
  // left), End restores the screen.
  void Begin();
  bool Step();
  void End();

  std::unique_ptr<TMenu> Menu;

 private:
  // Hands changed volumes to Config and the sound collections.
  void ApplyVolumes();

  std::unique_ptr<TImage> FSaved;  // the screen behind, between Begin and End
};

// Created by the application object after everything it shows is loaded.
extern std::unique_ptr<TOptions> Options;
